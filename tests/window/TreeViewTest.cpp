// The tree window: styles from "itemMode", appearance settings, status text, click behaviour.
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

using testutil::TempDir;
using testutil::TreeHost;

namespace {

struct ViewFixture : testutil::TreeFixture {
    static DWORD Style(const CFavTreeView& tree) { return static_cast<DWORD>(GetWindowLongPtrA(tree.hwnd(), GWL_STYLE)); }
};

}  // namespace

TEST_F(ViewFixture, ItemModeBitsShapeTheWindowStyle) {
    const DWORD base = Style(Load());
    // Child, tab stop, buttons, lines, label editing, selection always shown; visible once loaded.
    EXPECT_EQ(base, DWORD(0x4001002B) | WS_VISIBLE);

    struct Case {
        int mode;
        DWORD added, removed;
    };
    for (const Case& c : {Case{1, TVS_SINGLEEXPAND, 0}, Case{2, 0, 0}, Case{3, 0, 0}, Case{4, TVS_TRACKSELECT, 0},
                          Case{8, TVS_DISABLEDRAGDROP, 0}, Case{16, 0, TVS_EDITLABELS},
                          Case{29, TVS_SINGLEEXPAND | TVS_TRACKSELECT | TVS_DISABLEDRAGDROP, TVS_EDITLABELS}}) {
        TreeHost other;
        const DWORD style = Style(other.AddTree(
            testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n[Tree]\r\nitemMode=" +
                                             std::to_string(c.mode) + "\r\n")));
        const DWORD optional = TVS_SINGLEEXPAND | TVS_TRACKSELECT | TVS_DISABLEDRAGDROP | TVS_EDITLABELS;
        EXPECT_EQ(style & optional, ((TVS_EDITLABELS | c.added) & ~c.removed)) << "itemMode=" << c.mode;
    }
}

TEST_F(ViewFixture, WithLabelEditingSwitchedOffNothingCanBeRenamed) {
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load("[Tree]\r\nitemMode=16\r\n");
    HTREEITEM node = testutil::Node(tree, {"s"});
    EXPECT_FALSE(testutil::EditLabel(tree, node, "t"));
    tree.StartRename(node);
    EXPECT_EQ(testutil::OpenEditor(tree), nullptr);
    EXPECT_EQ(tree.Label(node), "s");
}

TEST_F(ViewFixture, AppearanceSettingsReachTheControlAndItsIcons) {
    CFavTreeView& tree = Load("[Tree]\r\nTvBkColor=0x00E0FFFF\r\nTvTxColor=0x00800000\r\nTvLineColor=0x000000FF\r\n"
                              "iIndent=33\r\n");
    EXPECT_EQ(TreeView_GetBkColor(tree.hwnd()), COLORREF(0x00E0FFFF));
    EXPECT_EQ(TreeView_GetTextColor(tree.hwnd()), COLORREF(0x00800000));
    EXPECT_EQ(TreeView_GetLineColor(tree.hwnd()), COLORREF(0x000000FF));
    EXPECT_EQ(TreeView_GetIndent(tree.hwnd()), 33u);
    HIMAGELIST images = TreeView_GetImageList(tree.hwnd(), TVSIL_NORMAL);
    ASSERT_NE(images, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(images), fav::kImageCount);
    int width = 0, height = 0;
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, 16);
    EXPECT_EQ(height, 16);
    // The icons' background matches the tree's.
    EXPECT_EQ(ImageList_GetBkColor(images), COLORREF(0x00E0FFFF));
}

TEST_F(ViewFixture, DefaultsKeepTheControlBackgroundAndNoIconsMeansNoImageList) {
    CFavTreeView& plain = Load();
    EXPECT_EQ(TreeView_GetIndent(plain.hwnd()), 20u);
    ASSERT_NE(TreeView_GetImageList(plain.hwnd(), TVSIL_NORMAL), nullptr);
    EXPECT_EQ(ImageList_GetBkColor(TreeView_GetImageList(plain.hwnd(), TVSIL_NORMAL)), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(TreeView_GetLineColor(plain.hwnd()), GetSysColor(COLOR_WINDOWTEXT));

    TreeHost other;
    CFavTreeView& bare = other.AddTree(
        testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n[Tree]\r\nNoIcons=1\r\n"));
    EXPECT_EQ(TreeView_GetImageList(bare.hwnd(), TVSIL_NORMAL), nullptr);
}

TEST_F(ViewFixture, NodeImagesFollowTheirKinds) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    const auto images = [&](HTREEITEM node) {
        TVITEMA item{};
        item.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        item.hItem = node;
        TreeView_GetItem(tree.hwnd(), &item);
        return std::pair(item.iImage, item.iSelectedImage);
    };
    EXPECT_EQ(images(tree.Root()), std::pair(0, 2));
    EXPECT_EQ(images(testutil::Node(tree, {"a"})), std::pair(0, 2));
    EXPECT_EQ(images(testutil::Node(tree, {"s"})), std::pair(1, 1));
    EXPECT_EQ(images(testutil::Node(tree, {"Netscape BookMark"})), std::pair(3, 3));
    EXPECT_EQ(images(tree.InsertNode(tree.Root(), "i", fav::kImportedItem)), std::pair(4, 4));
}

TEST_F(ViewFixture, StatusBarShowsUrlFolderOrImportError) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\s", "http://example.com/s");
    CFavTreeView& tree = Load();
    EXPECT_EQ(host.StatusText(), "フォルダ");  // the root is selected after loading

    TreeView_SelectItem(tree.hwnd(), testutil::Node(tree, {"s"}));
    EXPECT_EQ(host.StatusText(), "http://example.com/s");
    TreeView_SelectItem(tree.hwnd(), testutil::Node(tree, {"a"}));
    EXPECT_EQ(host.StatusText(), "フォルダ");

    HTREEITEM error = tree.InsertNode(tree.Root(), "インポートに失敗しました", fav::kImportedItem, fav::kNoUrlIndex);
    TreeView_SelectItem(tree.hwnd(), error);
    EXPECT_EQ(host.StatusText(), "Error : インポートに失敗しました");
}

// A shortcut that keeps its address in the .W section and an imported entry show the address
// that opens, exactly.
TEST_F(ViewFixture, StatusBarShowsTheExactAddress) {
    dir.WriteFile("fav\\cafe.url", testutil::kAccentedShortcut);
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    const std::wstring hangul = L"https://ko.example/\uD55C\uAD6D?\U0001F600";
    const struct {
        HTREEITEM node;
        std::wstring shown;
    } cases[] = {
        {testutil::Node(tree, {"cafe"}), testutil::kAccentedAddress},
        {tree.AddImportedItem(testutil::Node(tree, {"Netscape BookMark"}), L"\uD55C", hangul), hangul},
    };
    for (const auto& c : cases) {
        TreeView_SelectItem(tree.hwnd(), c.node);
        EXPECT_EQ(host.WideStatusText(), c.shown);
    }
}

// Both cuts fall on the lead byte of "表": a byte count alone would keep half of it.
TEST_F(ViewFixture, LabelsCutForTheStatusBarAndTheFolderOutlineKeepWholeCharacters) {
    const std::string label = std::string(198, 'a') + "表x";
    CFavTreeView& tree = Load();
    HTREEITEM error = tree.InsertNode(tree.Root(), label, fav::kImportedItem, fav::kNoUrlIndex);
    TreeView_SelectItem(tree.hwnd(), error);
    EXPECT_EQ(host.StatusText(), "Error : " + std::string(198, 'a'));

    tree.InsertNode(tree.Root(), label, fav::kFolder);
    const win::UniqueWindow other(CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, host.hwnd(), nullptr,
                                                  GetModuleHandleA(nullptr), nullptr));
    ASSERT_TRUE(other);
    tree.FolderOutline(other.get(), TVI_ROOT, tree.Root(), nullptr);
    char copied[MAX_PATH] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = TreeView_GetRoot(other.get());
    item.pszText = copied;
    item.cchTextMax = sizeof copied;
    ASSERT_TRUE(TreeView_GetItem(other.get(), &item));
    EXPECT_EQ(std::string(copied), std::string(198, 'a'));
}

TEST_F(ViewFixture, InsertedFoldersJoinTheFolderGroupAndOtherNodesGoLast) {
    dir.MakeDir("fav\\b");
    dir.WriteShortcut("fav\\a", "http://a/");
    CFavTreeView& tree = Load();
    tree.InsertNode(tree.Root(), "z-folder", fav::kFolder);
    tree.InsertNode(tree.Root(), "0-shortcut", fav::kShortcut);
    tree.InsertNode(tree.Root(), "imported", fav::kImportedFolder);
    EXPECT_EQ(testutil::ChildLabels(tree, tree.Root()),
              (std::vector<std::string>{"b", "z-folder", "a", "0-shortcut", "imported"}));

    HTREEITEM onlyShortcuts = testutil::Node(tree, {"b"});
    tree.InsertNode(onlyShortcuts, "s", fav::kShortcut);
    tree.InsertNode(onlyShortcuts, "f", fav::kFolder);
    EXPECT_EQ(testutil::ChildLabels(tree, onlyShortcuts), (std::vector<std::string>{"f", "s"}));
}

// Ids count per host window: a host made again and again (a browser opening bars) never runs
// out of them.
TEST_F(ViewFixture, TreeIdsCountFromTheFirstIdInEachHostWindow) {
    CFavTreeView& first = Load();
    CFavTreeView& sibling = host.AddTree(dir / "tolvak.ini");
    TreeHost other;
    CFavTreeView& elsewhere = other.AddTree(dir / "tolvak.ini");
    EXPECT_EQ(GetDlgCtrlID(first.hwnd()), CFavTreeView::kFirstControlId);
    EXPECT_EQ(GetDlgCtrlID(sibling.hwnd()), CFavTreeView::kFirstControlId + 1);
    EXPECT_EQ(GetDlgCtrlID(elsewhere.hwnd()), CFavTreeView::kFirstControlId);
    EXPECT_EQ(CFavTreeView::FromWindow(first.hwnd()), &first);
    EXPECT_EQ(CFavTreeView::FromWindow(host.hwnd()), nullptr);
}

TEST_F(ViewFixture, SingleClickModeTogglesFoldersButNotShortcuts) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\a\\in", "http://in/");
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load("[Tree]\r\nitemMode=2\r\n");
    SetForegroundWindow(host.hwnd());
    const auto clickOn = [&](HTREEITEM node) {
        RECT rect{};
        TreeView_GetItemRect(tree.hwnd(), node, &rect, TRUE);
        POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        POINT screen = point;
        ClientToScreen(tree.hwnd(), &screen);
        testutil::PlaceCursor(screen);
        // Posted, not sent: the button-down handler waits in its own loop for the button-up.
        PostMessageA(tree.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PostMessageA(tree.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        testutil::PumpMessages();
    };
    const auto expanded = [&](HTREEITEM node) {
        return (TreeView_GetItemState(tree.hwnd(), node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    };
    HTREEITEM folder = testutil::Node(tree, {"a"});
    ASSERT_FALSE(expanded(folder));
    clickOn(folder);
    EXPECT_TRUE(expanded(folder));
    clickOn(folder);
    EXPECT_FALSE(expanded(folder));

    HTREEITEM shortcut = testutil::Node(tree, {"s"});
    clickOn(shortcut);
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), shortcut);
    EXPECT_TRUE(expanded(tree.Root()));
}
