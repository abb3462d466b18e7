// Drag and drop on a tree: a drop target like the one OLE gets, fed with real data objects.
#include "../support/TestSupport.h"

#include <app/search/TreeFind.h>
#include <base/DragDrop.h>
#include <base/FileSystem.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <tree/ClipboardFormats.h>
#include <tree/TreeItemBlock.h>

#include <gtest/gtest.h>

#include <shlobj.h>

#include <cstring>

using testutil::ChildLabels;

namespace {

std::string Text(const std::string& text) { return text + '\0'; }

std::string FileGroup(const std::string& name) {
    FILEGROUPDESCRIPTORA group{};
    group.cItems = 1;
    lstrcpynA(group.fgd[0].cFileName, name.c_str(), MAX_PATH);
    return std::string(reinterpret_cast<const char*>(&group), sizeof group);
}

struct DropFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;
    win::ComPtr<IDropTarget> target;

    void SetUp() override {
        dir.MakeDir("fav\\News");
        dir.MakeDir("fav\\News\\Inner");
        dir.MakeDir("fav\\Newsletters");
        dir.WriteShortcut("fav\\x", "http://x/");
    }
    CFavTreeView& Open(const std::string& extra = "") {
        CFavTreeView& tree = Load(extra);
        *target.put() = dnd::CreateDropTarget(tree.hwnd(), CFavTreeView::kDropEvent, CFavTreeView::AcceptedDropFormats());
        return tree;
    }
    // What a drag of `node` renders in `format`, offered by `data` as another program passes it on.
    static void OfferDragged(CFavTreeView& tree, HTREEITEM node, UINT format, testutil::FakeData& data) {
        tree.SetCurrentNode(node);
        win::ComPtr<IDataObject> source;
        *source.put() = dnd::CreateDataObject(tree.hwnd(), CFavTreeView::kRenderDragData, tree.DragFormats(node));
        data.Offer(format, *dnd::GetGlobalBytes(source.get(), format));
    }
    // Enter, hover and drop over `node`; returns the effect offered while hovering.
    DWORD DragTo(const CFavTreeView& tree, IDataObject& data, HTREEITEM node, DWORD allowed = DROPEFFECT_COPY | DROPEFFECT_LINK) {
        return testutil::DropOn(*target.get(), tree, data, node, allowed);
    }
};

}  // namespace

TEST_F(DropFixture, LinkNamedByTheBrowsersFileDescriptorBecomesAShortcut) {
    CFavTreeView& tree = Open();
    testutil::FakeData data;
    data.Offer(CF_TEXT, Text("https://example.com/page?a=1"));
    data.Offer(RegisterClipboardFormatA(CFSTR_FILEDESCRIPTORA), FileGroup("例のページ.url"));
    EXPECT_EQ(DragTo(tree, data, testutil::Node(tree, {"News"})), DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));
    EXPECT_EQ(testutil::ReadBytes(root + "\\News\\例のページ.url"), "[InternetShortcut]\r\nURL=https://example.com/page?a=1");
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"News"})), (std::vector<std::string>{"Inner", "例のページ"}));
    EXPECT_EQ(testutil::OpenEditor(tree), nullptr);
}

std::string WideBytes(const std::wstring& text) {
    return std::string(reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t));
}

// A browser offers a link outside the code page in the wide formats alone: the shortcut keeps
// its exact name and opens its exact address.
TEST_F(DropFixture, LinksOfferedOnlyInWideFormatsKeepTheirExactAddressAndName) {
    const std::wstring name = L"caf\u00e9 \U0001F600";
    FILEGROUPDESCRIPTORW group{};
    group.cItems = 1;
    lstrcpynW(group.fgd[0].cFileName, (name + L".url").c_str(), MAX_PATH);
    for (const UINT format : {UINT(CF_UNICODETEXT), dnd::WideUrlFormat()}) {
        SCOPED_TRACE(format);
        CFavTreeView& tree = Open();
        testutil::FakeData data;
        data.Offer(format, WideBytes(testutil::kAccentedAddress));
        data.Offer(dnd::WideFileGroupFormat(), std::string(reinterpret_cast<const char*>(&group), sizeof group));
        EXPECT_EQ(DragTo(tree, data, testutil::Node(tree, {"News"})), DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));
        const std::wstring file = text::AnsiToWide(root) + L"\\News\\" + name + L".url";
        EXPECT_EQ(fsys::ReadAll(file), testutil::kAccentedShortcut);
        HTREEITEM node = tree.FindNodeByFile(file);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(tree.FileName(node), name);
        EXPECT_EQ(tree.NodeAddress(node), testutil::kAccentedAddress);
        EXPECT_TRUE(DeleteFileW(file.c_str()));
    }
}

// A dragged entry with an exact address offers it in the wide formats; an imported item offers
// a whole shortcut file under its exact name as well.
TEST_F(DropFixture, DraggedEntriesOfferTheirExactAddressInTheWideFormats) {
    dir.WriteFile("fav\\cafe.url", testutil::kAccentedShortcut);
    CFavTreeView& tree = Open("BookMark=C:\\bm.htm\r\n");
    HTREEITEM imported = tree.AddImportedItem(testutil::Node(tree, {"Netscape BookMark"}), "輸入", std::string("http://imp/"));
    const auto render = [&](HTREEITEM node, UINT format) {
        tree.SetCurrentNode(node);
        win::ComPtr<IDataObject> data;
        *data.put() = dnd::CreateDataObject(tree.hwnd(), CFavTreeView::kRenderDragData, tree.DragFormats(node));
        return dnd::GetGlobalBytes(data.get(), format).value_or("<not offered>");
    };
    HTREEITEM cafe = testutil::Node(tree, {"cafe"});
    EXPECT_EQ(render(cafe, CF_UNICODETEXT), WideBytes(testutil::kAccentedAddress));
    EXPECT_EQ(render(cafe, dnd::WideUrlFormat()), WideBytes(testutil::kAccentedAddress));
    EXPECT_EQ(render(cafe, CF_TEXT), Text("http://example.com/caf?"));
    EXPECT_EQ(render(imported, CF_UNICODETEXT), WideBytes(L"http://imp/"));
    EXPECT_EQ(render(imported, dnd::FileContentsFormat()), "[InternetShortcut]\r\nURL=http://imp/");
    const std::string group = render(imported, dnd::WideFileGroupFormat());
    ASSERT_EQ(group.size(), sizeof(FILEGROUPDESCRIPTORW));
    const auto* read = reinterpret_cast<const FILEGROUPDESCRIPTORW*>(group.data());
    EXPECT_EQ(read->cItems, 1u);
    EXPECT_STREQ(read->fgd[0].cFileName, L"\u8f38\u5165.url");
}

TEST_F(DropFixture, LinkWithoutANameIsANewItemWhoseLabelOpensForEditing) {
    CFavTreeView& tree = Open();
    testutil::FakeData data;
    data.Offer(CF_TEXT, Text("mailto:someone@example.com"));
    DragTo(tree, data, testutil::Node(tree, {"x"}));  // onto a shortcut: into its folder
    EXPECT_TRUE(path::Exists(root + "\\新しいアイテム.url"));
    EXPECT_NE(testutil::OpenEditor(tree), nullptr);
    testutil::FinishEdit(tree, nullptr);
}

TEST_F(DropFixture, TextThatIsNoLinkIsRefused) {
    CFavTreeView& tree = Open();
    testutil::FakeData data;
    data.Offer(CF_TEXT, Text("just some words"));
    EXPECT_EQ(DragTo(tree, data, testutil::Node(tree, {"News"})), DWORD(DROPEFFECT_NONE));
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"News"})), (std::vector<std::string>{"Inner"}));
}

TEST_F(DropFixture, DroppedShortcutFilesAreCopiedAndOthersIgnored) {
    CFavTreeView& tree = Open("EditOnDrop=1\r\n");
    const std::string a = dir.WriteShortcut("outside-a", "http://a/");
    const std::string b = dir.WriteShortcut("表計算", "http://b/");
    const std::string text = dir.WriteFile("notes.txt", "x");
    testutil::FakeData data;
    data.Offer(CF_HDROP, testutil::FileList({a, b, text}));
    DragTo(tree, data, testutil::Node(tree, {"News"}));
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"News"})), (std::vector<std::string>{"Inner", "outside-a", "表計算"}));
    EXPECT_EQ(testutil::ReadBytes(root + "\\News\\表計算.url"), "[InternetShortcut]\r\nURL=http://b/");
    EXPECT_FALSE(path::Exists(root + "\\News\\notes.txt"));
    EXPECT_TRUE(path::Exists(a));  // copied, not moved
    EXPECT_EQ(testutil::OpenEditor(tree), nullptr);  // several files: no label edit

    testutil::FakeData one;
    one.Offer(CF_HDROP, testutil::FileList({dir.WriteShortcut("single", "http://s/")}));
    DragTo(tree, one, testutil::Node(tree, {"Newsletters"}));
    EXPECT_NE(testutil::OpenEditor(tree), nullptr);
    testutil::FinishEdit(tree, nullptr);
}

TEST_F(DropFixture, ExistingFilesAreOverwrittenOnlyWhenTheUserSaysYes) {
    CFavTreeView& tree = Open();
    testutil::FakeData data;
    data.Offer(CF_HDROP, testutil::FileList({dir.WriteShortcut("x", "http://new/")}));
    messages.AnswerNext(IDNO);
    DragTo(tree, data, tree.Root());
    EXPECT_EQ(testutil::ReadBytes(root + "\\x.url"), "[InternetShortcut]\r\nURL=http://x/");
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "すでに同じ名前のファイルが存在します。\n上書きしますか？\n\nx.url");
    EXPECT_EQ(messages.messages()[0].caption, "上書きの確認");

    messages.AnswerNext(IDYES);
    DragTo(tree, data, tree.Root());
    EXPECT_EQ(testutil::ReadBytes(root + "\\x.url"), "[InternetShortcut]\r\nURL=http://new/");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"News", "Newsletters", "x"}));
}

TEST_F(DropFixture, AShortcutReplacedByADroppedFileIsFoundWithItsNewAddress) {
    // In a sub-folder, where this Wine's folder watch sees no change: the drop itself must tell.
    dir.WriteShortcut("fav\\News\\x", "http://x/");
    CFavTreeView& tree = Open();
    const HTREEITEM x = testutil::Node(tree, {"News", "x"});
    search::FindFirst(tree, L"http://x/");  // the address is kept from here on
    ASSERT_EQ(TreeView_GetSelection(tree.hwnd()), x);
    testutil::FakeData data;
    data.Offer(CF_HDROP, testutil::FileList({dir.WriteShortcut("x", "http://replaced.example/")}));
    messages.AnswerNext(IDYES);
    DragTo(tree, data, testutil::Node(tree, {"News"}));
    TreeView_SelectItem(tree.hwnd(), tree.Root());
    search::FindFirst(tree, L"replaced.example");
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), x);
    EXPECT_EQ(messages.texts().size(), 1u);  // the question only
}

TEST_F(DropFixture, DraggedNodesRenderTheirBlockTextAndFileList) {
    CFavTreeView& tree = Open();
    HTREEITEM x = testutil::Node(tree, {"x"});
    tree.SetCurrentNode(x);
    win::ComPtr<IDataObject> data;
    *data.put() = dnd::CreateDataObject(tree.hwnd(), CFavTreeView::kRenderDragData, tree.DragFormats(x));
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();

    const auto block = dnd::GetGlobalBytes(data.get(), formats.shared);
    ASSERT_TRUE(block);
    ASSERT_EQ(block->size(), sizeof(fav::TreeItemBlock));
    fav::TreeItemBlock read{};
    std::memcpy(&read, block->data(), sizeof read);
    EXPECT_EQ(read.marker, 2u);
    EXPECT_EQ(read.flags, fav::kBlockFileNode);
    EXPECT_EQ(static_cast<HWND>(LongToHandle(static_cast<LONG>(read.window))), tree.hwnd());
    EXPECT_STREQ(read.text, (root + "\\x.url").c_str());
    EXPECT_EQ(dnd::GetGlobalBytes(data.get(), CF_TEXT), Text("http://x/"));
    EXPECT_FALSE(dnd::GetGlobalBytes(data.get(), formats.raw));

    const auto files = dnd::GetGlobalBytes(data.get(), CF_HDROP);
    ASSERT_TRUE(files);
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, files->size());
    std::memcpy(GlobalLock(copy), files->data(), files->size());
    GlobalUnlock(copy);
    char dropped[MAX_PATH] = "";
    EXPECT_EQ(DragQueryFileA(static_cast<HDROP>(copy), 0xFFFFFFFF, nullptr, 0), 1u);
    DragQueryFileA(static_cast<HDROP>(copy), 0, dropped, sizeof dropped);
    EXPECT_STREQ(dropped, (root + "\\x.url").c_str());
    GlobalFree(copy);

    EXPECT_TRUE(tree.DragFormats(testutil::Node(tree, {"News"})).size() == 2u);
    EXPECT_TRUE(tree.DragFormats(tree.Root()).size() == 2u);
}

TEST_F(DropFixture, NodesMoveBetweenFoldersAndTreesButNeverIntoThemselves) {
    CFavTreeView& tree = Open();
    testutil::TempDir other;
    const std::string otherRoot = other.MakeDir("fav2");
    testutil::TreeHost otherHost;
    CFavTreeView& second =
        otherHost.AddTree(testutil::WriteSettings(other, "[Tolvak#1]\r\nFavRoot=" + otherRoot + "\r\n"));

    // Into its own sub-folder, or into a sibling whose name starts with the same bytes: refused.
    EXPECT_FALSE(tree.MoveNode(tree, testutil::Node(tree, {"News"}), testutil::Node(tree, {"News", "Inner"})));
    EXPECT_FALSE(tree.MoveNode(tree, testutil::Node(tree, {"News"}), testutil::Node(tree, {"Newsletters"})));
    EXPECT_FALSE(tree.MoveNode(tree, testutil::Node(tree, {"x"}), tree.Root()));  // already there
    EXPECT_TRUE(path::IsDirectory(root + "\\News"));

    // A shortcut into another folder of the same tree.
    ASSERT_TRUE(tree.MoveNode(tree, testutil::Node(tree, {"x"}), testutil::Node(tree, {"Newsletters"})));
    EXPECT_FALSE(path::Exists(root + "\\x.url"));
    EXPECT_TRUE(path::Exists(root + "\\Newsletters\\x.url"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"News", "Newsletters"}));
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"Newsletters"})), (std::vector<std::string>{"x"}));

    // A folder with its content into another tree, through the block the first tree renders.
    testutil::FakeData forwarded;
    OfferDragged(tree, testutil::Node(tree, {"News"}), fav::RegisterTreeFormats().shared, forwarded);
    *target.put() = dnd::CreateDropTarget(second.hwnd(), CFavTreeView::kDropEvent, CFavTreeView::AcceptedDropFormats());
    DragTo(second, forwarded, second.Root());
    EXPECT_TRUE(path::IsDirectory(otherRoot + "\\News\\Inner"));
    EXPECT_FALSE(path::Exists(root + "\\News"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"Newsletters"}));
    EXPECT_EQ(ChildLabels(second, second.Root()), (std::vector<std::string>{"News"}));
    EXPECT_EQ(ChildLabels(second, testutil::Node(second, {"News"})), (std::vector<std::string>{"Inner"}));
}

TEST_F(DropFixture, ImportedItemsAreCopiedAsShortcuts) {
    CFavTreeView& tree = Open("BookMark=C:\\bm.htm\r\n");
    HTREEITEM imported = tree.AddImportedItem(testutil::Node(tree, {"Netscape BookMark"}), "輸入", std::string("http://imp/"));
    testutil::FakeData forwarded;
    OfferDragged(tree, imported, fav::RegisterTreeFormats().raw, forwarded);
    DragTo(tree, forwarded, testutil::Node(tree, {"News"}));
    EXPECT_EQ(testutil::ReadBytes(root + "\\News\\輸入.url"), "[InternetShortcut]\r\nURL=http://imp/");
    EXPECT_EQ(tree.KindOf(imported), fav::kImportedItem);  // the imported item stays
}

// An entry imported from a Chromium file with a title and an address outside the code page,
// dragged into a folder as the tree offers it: the shortcut has the exact, safe name and keeps the
// exact address in its .W section, as the system writes it.
TEST_F(DropFixture, ImportedEntriesOutsideTheCodePageBecomeExactShortcuts) {
    const std::string bookmarks = dir.WriteFile(
        "Bookmarks", reinterpret_cast<const char*>(u8R"({"roots": {"bookmark_bar": {"type": "folder", "name": "bar", )"
                                                   u8R"("children": [{"type": "url", "name": "😀 Party: 한국어", )"
                                                   u8R"("url": "https://ko.example/한국?q=😀"}]}}})"));
    CFavTreeView& tree = Open("ChromiumBookMark=" + bookmarks + "\r\n");
    HTREEITEM source = testutil::Node(tree, {"Chromium BookMark"});
    ASSERT_TRUE(testutil::ImportSource(tree, source, "CRBM", bookmarks));
    HTREEITEM imported = TreeView_GetChild(tree.hwnd(), testutil::Child(tree, source, "bar"));
    ASSERT_NE(imported, nullptr);
    tree.SetCurrentNode(imported);
    win::ComPtr<IDataObject> dragged;
    *dragged.put() = dnd::CreateDataObject(tree.hwnd(), CFavTreeView::kRenderDragData, tree.DragFormats(imported));
    DragTo(tree, *dragged.get(), testutil::Node(tree, {"News"}));

    const std::wstring file = text::AnsiToWide(root) + L"\\News\\\U0001F600 Party_ \uD55C\uAD6D\uC5B4.url";
    EXPECT_EQ(fsys::ReadAll(file), "[InternetShortcut]\r\nURL=https://ko.example/???q=??\r\n"
                                   "[InternetShortcut.A]\r\nURL=https://ko.example/???q=??\r\n"
                                   "[InternetShortcut.W]\r\nURL=https://ko.example/+1VytbQ-?q+AD3YPd4A-\r\n");
    HTREEITEM node = tree.FindNodeByFile(file);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(tree.NodeAddress(node), L"https://ko.example/\uD55C\uAD6D?q=\U0001F600");
    EXPECT_EQ(tree.KindOf(imported), fav::kImportedItem);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(DropFixture, HoveringOverAFolderNamesItInTheStatusBarAndOpensItAfterASecond) {
    CFavTreeView& tree = Open();
    SetForegroundWindow(host.hwnd());
    HTREEITEM news = testutil::Node(tree, {"News"});
    ASSERT_FALSE(TreeView_GetItemState(tree.hwnd(), news, TVIS_EXPANDED) & TVIS_EXPANDED);
    testutil::FakeData data;
    data.Offer(CF_TEXT, Text("http://example.com/"));
    const POINTL point = testutil::PointOn(tree, news);
    testutil::PlaceCursor(POINT{point.x, point.y});
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, MK_LBUTTON, point, &effect);
    effect = DROPEFFECT_COPY;
    target->DragOver(MK_LBUTTON, point, &effect);
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY));
    EXPECT_EQ(host.StatusText(), "ドロップ先：" + root + "\\News");
    EXPECT_EQ(TreeView_GetDropHilight(tree.hwnd()), news);

    const ULONGLONG end = GetTickCount64() + 3000;
    while (!(TreeView_GetItemState(tree.hwnd(), news, TVIS_EXPANDED) & TVIS_EXPANDED) && GetTickCount64() < end) {
        testutil::PumpMessages();
        Sleep(20);
    }
    EXPECT_TRUE(TreeView_GetItemState(tree.hwnd(), news, TVIS_EXPANDED) & TVIS_EXPANDED);
    target->DragLeave();
    EXPECT_EQ(TreeView_GetDropHilight(tree.hwnd()), nullptr);
    EXPECT_EQ(host.StatusText(), "フォルダ");
}

TEST_F(DropFixture, NamesFromDropsAndImportsNeverLeaveTheTargetFolder) {
    CFavTreeView& tree = Open("BookMark=C:\\bm.htm\r\n");
    HTREEITEM news = testutil::Node(tree, {"News"});
    // A browser's suggested name and an imported label ("&#92;" and "/" decode to separators).
    testutil::FakeData link;
    link.Offer(CF_TEXT, Text("http://evil/"));
    link.Offer(RegisterClipboardFormatA(CFSTR_FILEDESCRIPTORA), FileGroup("..\\..\\evil.url"));
    DragTo(tree, link, news);

    HTREEITEM imported = tree.AddImportedItem(testutil::Node(tree, {"Netscape BookMark"}), "a/b\\..", std::string("http://imp/"));
    testutil::FakeData forwarded;
    OfferDragged(tree, imported, fav::RegisterTreeFormats().raw, forwarded);
    DragTo(tree, forwarded, news);

    EXPECT_EQ(testutil::ReadBytes(root + "\\News\\_._.._evil.url"), "[InternetShortcut]\r\nURL=http://evil/");
    EXPECT_EQ(testutil::ReadBytes(root + "\\News\\a_b_...url"), "[InternetShortcut]\r\nURL=http://imp/");
    EXPECT_FALSE(path::Exists(dir / "evil.url"));
    EXPECT_EQ(ChildLabels(tree, news), (std::vector<std::string>{"Inner", "_._.._evil", "a_b_.."}));
}

TEST_F(DropFixture, MessageItemsAndRootsAreNoDragSources) {
    CFavTreeView& tree = Open("BookMark=C:\\bm.htm\r\n");
    HTREEITEM message = tree.AddImportedItem(testutil::Node(tree, {"Netscape BookMark"}), "インポートに失敗しました", std::nullopt);
    EXPECT_TRUE(tree.DragFormats(message).empty());
    tree.SetCurrentNode(message);
    tree.RemoveNode(message);
    EXPECT_EQ(tree.currentNode(), nullptr) << "a removed node is no longer the one dragged";

    // A block naming an imported item without URL, as another program could still send it.
    fav::TreeItemBlock block{};
    block.marker = fav::kBlockMarker;
    block.flags = fav::kBlockImportedItem;
    lstrcpynA(block.label, "インポートに失敗しました", sizeof block.label);
    testutil::FakeData forwarded;
    forwarded.Offer(fav::RegisterTreeFormats().raw, std::string(reinterpret_cast<const char*>(&block), sizeof block));
    DragTo(tree, forwarded, testutil::Node(tree, {"News"}));
    EXPECT_FALSE(path::Exists(root + "\\News\\インポートに失敗しました.url"));

    // One tab's root dropped on another tab stays where it is.
    testutil::TempDir other;
    const std::string otherRoot = other.MakeDir("fav2");
    testutil::TreeHost otherHost;
    CFavTreeView& second = otherHost.AddTree(testutil::WriteSettings(other, "[Tolvak#1]\r\nFavRoot=" + otherRoot + "\r\n"));
    EXPECT_FALSE(second.MoveNode(tree, tree.Root(), second.Root()));
    EXPECT_TRUE(path::IsDirectory(root + "\\News"));
    EXPECT_TRUE(testutil::ChildLabels(second, second.Root()).empty());
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(DropFixture, HoveringNearTheTopOrBottomEdgeScrollsATallTree) {
    for (int i = 10; i < 70; ++i) dir.WriteShortcut("fav\\s" + std::to_string(i), "http://s/");
    CFavTreeView& tree = Open();
    HWND window = tree.hwnd();
    RECT area{};
    GetClientRect(window, &area);
    const auto at = [&](int y) {
        POINT point{area.right / 2, y};
        ClientToScreen(window, &point);
        return POINTL{point.x, point.y};
    };
    const auto hover = [&](int y) {
        DWORD effect = DROPEFFECT_COPY;
        target->DragOver(MK_LBUTTON, at(y), &effect);
        return TreeView_GetFirstVisible(window);
    };
    HTREEITEM top = TreeView_GetFirstVisible(window);
    ASSERT_EQ(top, tree.Root());
    HTREEITEM second = TreeView_GetNextVisible(window, top);
    HTREEITEM third = TreeView_GetNextVisible(window, second);
    testutil::FakeData data;
    data.Offer(CF_TEXT, Text("http://example.com/"));
    DWORD effect = DROPEFFECT_COPY;
    target->DragEnter(&data, MK_LBUTTON, at(area.bottom / 2), &effect);

    EXPECT_EQ(hover(area.bottom / 2), top);       // away from the edges nothing moves
    EXPECT_EQ(hover(5), top);                     // nothing above the first row
    EXPECT_EQ(hover(area.bottom - 5), second);    // one row per hover near the bottom
    EXPECT_EQ(hover(area.bottom - 5), third);
    EXPECT_EQ(hover(area.bottom / 2), third);
    EXPECT_EQ(hover(5), second);                  // and back near the top
    target->DragLeave();
    EXPECT_EQ(ChildLabels(tree, tree.Root()).size(), 63u);
}
