// The tree's context menu: entries by node kind, owner drawing, mnemonics and the commands.
#include "../support/Picture.h"
#include "../support/TestSupport.h"

#include <base/Clipboard.h>
#include <base/Path.h>
#include <tree/TreeContextMenu.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>

using testutil::ChildLabels;
using testutil::Capture;
using testutil::Picture;
using testutil::ReadBmp;
using testutil::WriteBmp;

namespace {

struct MenuFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;

    void SetUp() override {
        dir.MakeDir("fav\\folder");
        dir.WriteShortcut("fav\\folder\\inner", "http://example.com/inner");
        dir.WriteShortcut("fav\\Example", "http://example.com/?a=1&b=2");
    }
    // Ids of the entries in order; 0 stands for a separator.
    static std::vector<UINT> Ids(const ctxmenu::ContextMenu& menu) {
        std::vector<UINT> ids;
        for (int i = 0; i < GetMenuItemCount(menu.handle()); ++i) ids.push_back(GetMenuItemID(menu.handle(), i));
        return ids;
    }
    static const ctxmenu::Entry* EntryAt(const ctxmenu::ContextMenu& menu, int position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_FTYPE;
        GetMenuItemInfoA(menu.handle(), position, TRUE, &info);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        return reinterpret_cast<const ctxmenu::Entry*>(info.dwItemData);
    }
};

using namespace ctxmenu;

}  // namespace

TEST_F(MenuFixture, EntriesDependOnTheNodesKind) {
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    const std::vector<UINT> shortcut{kOpen, kOpenInNewWindow, 0, kCopyUrl, kCopyLink, kCheckLinks, 0,
                                     kAddHere, kDelete, kRename, 0, kProperties};
    const std::vector<UINT> folder{kExpandBranch, kCollapseBranch, kOpenAll, 0, kNewItem, kNewFolder,
                                   kDelete, kRename, kCheckLinks};
    EXPECT_EQ(Ids(ContextMenu(tree, testutil::Node(tree, {"Example"}))), shortcut);
    EXPECT_EQ(Ids(ContextMenu(tree, testutil::Node(tree, {"folder"}))), folder);
    EXPECT_EQ(Ids(ContextMenu(tree, tree.Root())), folder);
    EXPECT_EQ(Ids(ContextMenu(tree, testutil::Node(tree, {"Netscape BookMark"}))),
              (std::vector<UINT>{kExpandBranch, kCollapseBranch, kOpenAll}));
    HTREEITEM imported = tree.AddImportedItem(tree.Root(), "imported", std::string("http://i/"));
    EXPECT_EQ(Ids(ContextMenu(tree, imported)), (std::vector<UINT>{kOpen, kOpenInNewWindow, 0, kCopyUrl, kCopyLink}));

    const ContextMenu menu(tree, testutil::Node(tree, {"Example"}));
    EXPECT_EQ(EntryAt(menu, 0)->text, "開く(&O)\tEnter");
    EXPECT_EQ(GetMenuDefaultItem(menu.handle(), FALSE, 0), kOpen);
    EXPECT_EQ(EntryAt(menu, 2), nullptr);  // separators are owner-drawn too, without an entry
    EXPECT_NE(EntryAt(menu, 5)->icon.get(), nullptr);
    EXPECT_EQ(EntryAt(menu, 3)->icon.get(), nullptr);
}

TEST_F(MenuFixture, WithoutIconsTheMenuHasNoIcons) {
    CFavTreeView& tree = Load("[Tree]\r\nNoIcons=1\r\n");
    const ContextMenu menu(tree, testutil::Node(tree, {"Example"}));
    EXPECT_EQ(EntryAt(menu, 5)->text, "ページ存在チェック(&H)");
    EXPECT_EQ(EntryAt(menu, 5)->icon.get(), nullptr);
}

TEST_F(MenuFixture, MeasuringFollowsTheTextAndItsAcceleratorColumn) {
    CFavTreeView& tree = Load();
    Entry plain{"URLをコピー(&C) X", {}};
    Entry tabbed{"URLをコピー(&C)\tX", {}};
    MEASUREITEMSTRUCT a{ODT_MENU, 0, kCopyUrl, 0, 0, reinterpret_cast<ULONG_PTR>(&plain)};
    MEASUREITEMSTRUCT b{ODT_MENU, 0, kCopyUrl, 0, 0, reinterpret_cast<ULONG_PTR>(&tabbed)};
    MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 0, 0};
    SendMessageA(tree.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&a));
    SendMessageA(tree.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&b));
    SendMessageA(tree.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&separator));
    EXPECT_GT(a.itemHeight, 7u);
    EXPECT_EQ(a.itemHeight, b.itemHeight);
    // The tab measures as a blank, and a text with an accelerator column gets 4 pixels more
    // where plain text gets 29.
    EXPECT_EQ(b.itemWidth + 25, a.itemWidth);
    EXPECT_EQ(separator.itemWidth, 10u);
    EXPECT_EQ(separator.itemHeight, 5u);
}

TEST_F(MenuFixture, MnemonicsChooseEntriesFromTheEnd) {
    CFavTreeView& tree = Load();
    const ContextMenu menu(tree, testutil::Node(tree, {"Example"}));
    const auto menuChar = [&](char c) {
        return SendMessageA(tree.hwnd(), WM_MENUCHAR, MAKEWPARAM(c, MF_POPUP), reinterpret_cast<LPARAM>(menu.handle()));
    };
    EXPECT_EQ(menuChar('n'), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(menuChar('N'), MAKELRESULT(1, MNC_EXECUTE));
    EXPECT_EQ(menuChar('r'), MAKELRESULT(11, MNC_EXECUTE));
    EXPECT_EQ(menuChar('z'), 0);
}

TEST_F(MenuFixture, PressingNInAShortcutsMenuOpensItInANewWindow) {
    CFavTreeView& tree = Load("[General]\r\nBrowser=TolvakNoSuchBrowser.exe\r\n");
    SetForegroundWindow(host.hwnd());
    SetFocus(tree.hwnd());
    // The menu's own loop reads the key from the queue once it is open.
    PostMessageA(tree.hwnd(), WM_KEYDOWN, 'N', 0);
    PostMessageA(tree.hwnd(), WM_CHAR, 'n', 0);
    RECT rect{};
    TreeView_GetItemRect(tree.hwnd(), testutil::Node(tree, {"Example"}), &rect, TRUE);
    POINT point{rect.left, rect.bottom};
    ClientToScreen(tree.hwnd(), &point);
    TreeView_SelectItem(tree.hwnd(), testutil::Node(tree, {"Example"}));
    SendMessageA(tree.hwnd(), WM_KEYDOWN, VK_APPS, 0);
    testutil::PumpMessages();
    EXPECT_EQ(tree.currentNode(), testutil::Node(tree, {"Example"}));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"TolvakNoSuchBrowser.exeが見つかりません"}));
}

TEST_F(MenuFixture, CopyCommandsPutTheUrlOrALinkOnTheClipboard) {
    dir.WriteFile("fav\\cafe.url", testutil::kAccentedShortcut);
    CFavTreeView& tree = Load();
    const struct {
        const char* label;
        UINT command;
        const char* text;
        std::wstring wide;
    } cases[] = {
        {"Example", kCopyUrl, "http://example.com/?a=1&b=2", L"http://example.com/?a=1&b=2"},
        {"Example", kCopyLink, "<a href=\"http://example.com/?a=1&b=2\">Example</a>",
         L"<a href=\"http://example.com/?a=1&b=2\">Example</a>"},
        // Exact for programs that read wide text, "?" for the others.
        {"cafe", kCopyUrl, "http://example.com/caf?", testutil::kAccentedAddress},
        {"cafe", kCopyLink, "<a href=\"http://example.com/caf?\">cafe</a>",
         std::wstring(L"<a href=\"") + testutil::kAccentedAddress + L"\">cafe</a>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        tree.RunContextCommand(c.command, testutil::Node(tree, {c.label}));
        EXPECT_EQ(clip::GetText(nullptr, CF_TEXT, 1000), c.text);
        EXPECT_EQ(clip::GetWideText(nullptr, 1000), c.wide);
    }
}

TEST_F(MenuFixture, FolderCommandsWorkOnTheMenusNode) {
    CFavTreeView& tree = Load();
    HTREEITEM folder = testutil::Node(tree, {"folder"});
    tree.RunContextCommand(kExpandBranch, folder);
    EXPECT_TRUE(TreeView_GetItemState(tree.hwnd(), folder, TVIS_EXPANDED) & TVIS_EXPANDED);
    tree.RunContextCommand(kCollapseBranch, folder);
    EXPECT_FALSE(TreeView_GetItemState(tree.hwnd(), folder, TVIS_EXPANDED) & TVIS_EXPANDED);

    tree.RunContextCommand(kNewFolder, folder);
    testutil::FinishEdit(tree, "資料");
    EXPECT_TRUE(path::IsDirectory(root + "\\folder\\資料"));
    EXPECT_EQ(ChildLabels(tree, folder), (std::vector<std::string>{"資料", "inner"}));

    tree.RunContextCommand(kRename, folder);
    testutil::FinishEdit(tree, "renamed");
    EXPECT_TRUE(path::IsDirectory(root + "\\renamed"));

    tree.RunContextCommand(kDelete, tree.Root());
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"ルートフォルダは削除できません"}));
}

namespace {

constexpr uint32_t kRgbWhite = 0xFFFFFF;
constexpr uint32_t kRgbFrame = 0xFF0000;  // the frame's red

// Another font gives entries of another size; the edges keep their distance from the item's edges
// and the middle stretches. The edges (band, gaps, frame, the fill beside the text) hold no
// text and must match exactly; the text area is compared by where its ink is and whether it is
// dark or light, which a different font keeps.
struct EntryLayout {
    int left = 20, right = 6, top = 3, bottom = 3;  // the text area's distance from the edges
};

int MapAxis(int at, int size, int referenceSize, int lead, int trail) {
    if (at < lead) return at;
    if (at >= size - trail) return referenceSize - (size - at);
    return lead + (at - lead) * (referenceSize - lead - trail) / std::max(1, size - lead - trail);
}

// Per sixth of the text area: 0 no ink, 1 dark ink, 2 light ink.
std::vector<int> InkProfile(const Picture& entry, const EntryLayout& layout) {
    std::map<uint32_t, int> counts;
    for (int y = layout.top; y < entry.height - layout.bottom; ++y)
        for (int x = layout.left; x < entry.width - layout.right; ++x) ++counts[entry.at(x, y)];
    if (counts.empty()) return {};
    const uint32_t background =
        std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })->first;
    const auto lightness = [](uint32_t c) { return int((c >> 16) & 0xFF) + int((c >> 8) & 0xFF) + int(c & 0xFF); };
    std::vector<int> profile;
    const int span = entry.width - layout.left - layout.right;
    for (int part = 0; part < 6; ++part) {
        int ink = 0, lighter = 0;
        for (int x = layout.left + span * part / 6; x < layout.left + span * (part + 1) / 6; ++x)
            for (int y = layout.top; y < entry.height - layout.bottom; ++y) {
                const uint32_t pixel = entry.at(x, y);
                if (pixel == background) continue;
                ++ink;
                if (lightness(pixel) > lightness(background)) ++lighter;
            }
        profile.push_back(ink == 0 ? 0 : (lighter * 2 > ink ? 2 : 1));
    }
    return profile;
}

// Pixels of the edges that differ; the dots of the dotted frame may fall elsewhere where the
// middle stretches, so red against white counts there only where nothing stretches.
int EdgeDifferences(const Picture& entry, const Picture& reference, const EntryLayout& layout) {
    int differences = 0;
    for (int y = 0; y < entry.height; ++y) {
        for (int x = 0; x < entry.width; ++x) {
            const bool edgeX = x < layout.left || x >= entry.width - layout.right;
            const bool edgeY = y < layout.top || y >= entry.height - layout.bottom;
            if (!edgeX && !edgeY) continue;
            const uint32_t a = entry.at(x, y);
            const uint32_t b = reference.at(MapAxis(x, entry.width, reference.width, layout.left, layout.right),
                                            MapAxis(y, entry.height, reference.height, layout.top, layout.bottom));
            if (a == b) continue;
            const bool stretched = (!edgeX && entry.width != reference.width) || (!edgeY && entry.height != reference.height);
            if (stretched && (a | b) == (kRgbWhite | kRgbFrame) && (a == kRgbFrame || b == kRgbFrame)) continue;
            ++differences;
        }
    }
    return differences;
}

// Runs `capture` on the open context menu once it is drawn, then closes the menu.
struct MenuCapture {
    static inline std::function<void(HWND)> capture;
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        if (HWND popup = FindWindowA("#32768", nullptr); popup && IsWindowVisible(popup) && capture) capture(popup);
        EndMenu();
    }
};

}  // namespace

// The first entries of a shortcut's menu, the first one selected: the grey band, the dotted red
// frame around the light blue selection, white text and the key text at the right; then black
// text on white and a separator. Compared with tests/data/context_menu.bmp.
TEST_F(MenuFixture, OwnerDrawnEntriesLookLikeTheReference) {
    CFavTreeView& tree = Load();
    SetForegroundWindow(host.hwnd());
    SetFocus(tree.hwnd());
    testutil::PlaceCursor(POINT{1200, 1000});  // away from the menu, so no entry is hovered
    TreeView_SelectItem(tree.hwnd(), testutil::Node(tree, {"Example"}));

    std::vector<Picture> entries;
    MenuCapture::capture = [&](HWND popup) {
        HMENU menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
        for (int index = 0; index < 3; ++index) {
            RECT rect{};
            if (GetMenuItemRect(popup, menu, index, &rect)) entries.push_back(Capture(popup, rect));
        }
    };
    PostMessageA(tree.hwnd(), WM_KEYDOWN, VK_DOWN, 0);  // the menu's loop selects the first entry
    const UINT_PTR timer = SetTimer(nullptr, 0, 500, MenuCapture::OnTimer);
    SendMessageA(tree.hwnd(), WM_KEYDOWN, VK_APPS, 0);
    KillTimer(nullptr, timer);
    MenuCapture::capture = nullptr;
    ASSERT_EQ(entries.size(), 3u) << "the menu was not captured";
    ASSERT_EQ(entries[2].height, 5) << "a separator measures 5 pixels";

    Picture actual{entries[0].width, 0, {}};
    for (const Picture& entry : entries) {
        ASSERT_EQ(entry.width, actual.width);
        actual.pixels.insert(actual.pixels.end(), entry.pixels.begin(), entry.pixels.end());
        actual.height += entry.height;
    }
    const std::string saved = path::ReplaceFileName(path::ModuleFile(nullptr), "context_menu_actual.bmp");
    WriteBmp(saved, actual);
    const std::optional<Picture> reference = ReadBmp(TOLVAK_TEST_DATA "\\context_menu.bmp");
    ASSERT_TRUE(reference) << "no reference picture; this run's is " << saved;
    ASSERT_EQ((reference->height - 5) % 2, 0);
    const int textHeight = (reference->height - 5) / 2;
    const std::vector<Picture> expected{reference->Rows(0, textHeight), reference->Rows(textHeight, textHeight),
                                        reference->Rows(2 * textHeight, 5)};
    const EntryLayout text;
    const EntryLayout separator{20, 6, 5, 0};  // no text: every row is compared pixel for pixel
    for (size_t i = 0; i < 3; ++i) {
        const EntryLayout& layout = i < 2 ? text : separator;
        EXPECT_EQ(EdgeDifferences(entries[i], expected[i], layout), 0) << "entry " << i << ", see " << saved;
        if (i < 2) {
            EXPECT_EQ(InkProfile(entries[i], layout), InkProfile(expected[i], layout)) << "entry " << i;
        }
    }
}
