// The tree's context menu: entries by node kind, owner drawing, mnemonics and the commands.
#include "../support/TestSupport.h"

#include <base/Path.h>
#include <tree/TreeContextMenu.h>

#include <gtest/gtest.h>

using testutil::ChildLabels;

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
    static std::string ClipboardText() {
        std::string text;
        if (!OpenClipboard(nullptr)) return "<closed>";
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char* bytes = static_cast<const char*>(GlobalLock(data))) {
                text = bytes;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return text;
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
    Entry plain{"URLをコピー(&C)", {}};
    Entry tabbed{"URLをコピー(&C)\tX", {}};
    MEASUREITEMSTRUCT a{ODT_MENU, 0, kCopyUrl, 0, 0, reinterpret_cast<ULONG_PTR>(&plain)};
    MEASUREITEMSTRUCT b{ODT_MENU, 0, kCopyUrl, 0, 0, reinterpret_cast<ULONG_PTR>(&tabbed)};
    MEASUREITEMSTRUCT separator{ODT_MENU, 0, 0, 0, 0, 0};
    SendMessageA(tree.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&a));
    SendMessageA(tree.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&b));
    SendMessageA(tree.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&separator));
    EXPECT_GT(a.itemHeight, 7u);
    EXPECT_EQ(a.itemHeight, b.itemHeight);
    // " X" is wider than nothing, but the tab column takes 4 pixels where plain text takes 29.
    EXPECT_LT(b.itemWidth, a.itemWidth + 25);
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
    CFavTreeView& tree = Load();
    HTREEITEM example = testutil::Node(tree, {"Example"});
    tree.RunContextCommand(kCopyUrl, example);
    EXPECT_EQ(ClipboardText(), "http://example.com/?a=1&b=2");
    tree.RunContextCommand(kCopyLink, example);
    EXPECT_EQ(ClipboardText(), "<a href=\"http://example.com/?a=1&b=2\">Example</a>");
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
