// The main window in the test process: tabs from the settings, lazy loading, layout, view
// toggles, placement and the decorated menus.
#include "../support/TestSupport.h"

#include <app/shell/AppState.h>
#include <app/shell/MainWindow.h>
#include <app/linkcheck/ResultStore.h>
#include <base/Clipboard.h>
#include <base/ControlText.h>
#include <base/DragDrop.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <resources/LinkCheckIds.h>
#include <resources/TolvakIds.h>
#include <resources/TreeIds.h>
#include <tree/MenuDrawing.h>
#include <tree/TreeContextMenu.h>

#include <functional>

#include <gtest/gtest.h>

#include <memory>
#include <optional>

using testutil::TempDir;

namespace {

struct MainWindowFixture : testing::Test {
    TempDir dir;
    std::string first = dir.MakeDir("first");
    std::string second = dir.MakeDir("second");
    std::unique_ptr<app::MainWindow> main;

    void SetUp() override {
        app::State().instance = GetModuleHandleA(nullptr);
        app::State().topMost = 0;
        dir.WriteShortcut("first\\a", "http://a/");
        dir.WriteShortcut("second\\b", "http://b/");
        dir.WriteShortcut("second\\c", "http://c/");
    }
    void TearDown() override {
        main.reset();
        testutil::PumpMessages();
    }
    app::MainWindow& Open(const std::string& settings) {
        testutil::WriteSettings(dir, settings);
        main = std::make_unique<app::MainWindow>(dir / "tolvak.ini");
        EXPECT_TRUE(main->Create(GetModuleHandleA(nullptr)));
        testutil::PumpMessages();
        return *main;
    }
    std::string Sections(const std::string& extra = "") const {
        return "[Tolvak#1]\r\ntabName=メイン\r\nFavRoot=" + first + "\r\n[Tolvak#2]\r\ntabName=二番目\r\nFavRoot=" + second +
               "\r\n" + extra;
    }
    settings::IniFile Ini() const { return settings::IniFile(dir / "tolvak.ini"); }
    RECT ChildRect(HWND child) const {
        RECT rect{};
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, main->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    std::string TabCaption(int index) const {
        char caption[64] = "";
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = sizeof caption;
        TabCtrl_GetItem(main->TabBar(), index, &item);
        return caption;
    }
    UINT MenuState(UINT id) const { return GetMenuState(GetMenu(main->hwnd()), id, MF_BYCOMMAND); }
    void Command(UINT id) {
        SendMessageA(main->hwnd(), WM_COMMAND, id, 0);
        testutil::PumpMessages();
    }
};

// Wine keeps no activation hot key (WM_GETHOTKEY answers 0 whatever was set).
bool HotKeysWork() {
    HWND probe = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(probe, WM_SETHOTKEY, 0x0646, 0);
    const bool works = SendMessageA(probe, WM_GETHOTKEY, 0, 0) == 0x0646;
    DestroyWindow(probe);
    return works;
}

}  // namespace

TEST_F(MainWindowFixture, TabsFollowTheSectionsUpToTheFirstGapAndLoadWhenFirstShown) {
    app::MainWindow& window = Open(Sections("[Tolvak#4]\r\ntabName=四\r\n"));
    ASSERT_EQ(window.TabCount(), 2u);
    ASSERT_NE(window.TabBar(), nullptr);
    EXPECT_TRUE(IsWindowVisible(window.TabBar()));
    EXPECT_EQ(TabCtrl_GetItemCount(window.TabBar()), 2);
    EXPECT_EQ(TabCaption(0), "メイン");
    EXPECT_EQ(TabCaption(1), "二番目");
    EXPECT_EQ(window.CurrentTree(), window.Tab(0));
    EXPECT_TRUE(window.Tab(0)->IsLoaded());
    EXPECT_FALSE(window.Tab(1)->IsLoaded());
    EXPECT_EQ(TreeView_GetCount(window.Tab(1)->hwnd()), 0u);
    EXPECT_FALSE(MenuState(ID_VIEW_TAB_BAR) & MF_GRAYED);
    EXPECT_TRUE(MenuState(ID_VIEW_TAB_BAR) & MF_CHECKED);
    EXPECT_EQ(Ini().ReadInt("Wnd", "ShowTabBar", 0), 1);

    window.SelectTab(1);
    EXPECT_EQ(window.CurrentTree(), window.Tab(1));
    EXPECT_TRUE(window.Tab(1)->IsLoaded());
    EXPECT_EQ(testutil::ChildLabels(*window.Tab(1), window.Tab(1)->Root()), (std::vector<std::string>{"b", "c"}));
    EXPECT_TRUE(IsWindowVisible(window.Tab(1)->hwnd()));
    EXPECT_FALSE(IsWindowVisible(window.Tab(0)->hwnd()));

    // Coming back to a tab shows it as it was; it is not read again.
    dir.WriteShortcut("second\\d", "http://d/");
    window.SelectTab(0);
    window.SelectTab(1);
    EXPECT_EQ(testutil::ChildLabels(*window.Tab(1), window.Tab(1)->Root()), (std::vector<std::string>{"b", "c"}));
}

TEST_F(MainWindowFixture, FirstTabWithoutANameStillHasItsTab) {
    app::MainWindow& window = Open("[Tolvak#1]\r\nFavRoot=" + first + "\r\n[Tolvak#2]\r\ntabName=二番目\r\nFavRoot=" +
                                   second + "\r\n");
    ASSERT_EQ(window.TabCount(), 2u);
    EXPECT_EQ(TabCtrl_GetItemCount(window.TabBar()), 2);
    EXPECT_EQ(TabCaption(0), "");
    TabCtrl_SetCurSel(window.TabBar(), 1);
    EXPECT_EQ(window.CurrentTree(), window.Tab(1));
}

TEST_F(MainWindowFixture, OneTabHasNoTabBarAndTheTreeFillsTheSpaceAboveTheStatusBar) {
    app::MainWindow& window = Open("[Tolvak#1]\r\nFavRoot=" + first + "\r\n[Tolvak#3]\r\ntabName=x\r\n");
    EXPECT_EQ(window.TabCount(), 1u);
    EXPECT_EQ(window.TabBar(), nullptr);
    EXPECT_TRUE(MenuState(ID_VIEW_TAB_BAR) & MF_GRAYED);
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    const RECT tree = ChildRect(window.Tab(0)->hwnd());
    const RECT status = ChildRect(window.StatusBar());
    EXPECT_EQ(tree.top, 0);
    EXPECT_EQ(tree.right - tree.left, client.right);
    EXPECT_EQ(tree.bottom, status.top);
    EXPECT_EQ(status.bottom, client.bottom);
}

TEST_F(MainWindowFixture, HidingBothBarsGivesTheTreeTheWholeClientArea) {
    app::MainWindow& window = Open(Sections());
    EXPECT_EQ(ChildRect(window.Tab(0)->hwnd()).top, app::MainWindow::kTabBarHeight);
    Command(ID_VIEW_STATUS_BAR);
    Command(ID_VIEW_TAB_BAR);
    EXPECT_FALSE(IsWindowVisible(window.StatusBar()));
    EXPECT_FALSE(IsWindowVisible(window.TabBar()));
    RECT client{};
    GetClientRect(window.hwnd(), &client);
    const RECT tree = ChildRect(window.Tab(0)->hwnd());
    EXPECT_EQ(tree.top, 0);
    EXPECT_EQ(tree.bottom, client.bottom);
    EXPECT_EQ(Ini().ReadInt("Wnd", "ShowStatusBar", -1), 0);
    EXPECT_EQ(Ini().ReadInt("Wnd", "ShowTabBar", -1), 0);
    EXPECT_FALSE(MenuState(ID_VIEW_STATUS_BAR) & MF_CHECKED);
    EXPECT_FALSE(MenuState(ID_VIEW_TAB_BAR) & MF_CHECKED);

    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(IsWindowVisible(window.StatusBar()));
    EXPECT_EQ(Ini().ReadInt("Wnd", "ShowStatusBar", -1), 1);
    EXPECT_TRUE(MenuState(ID_VIEW_STATUS_BAR) & MF_CHECKED);
}

TEST_F(MainWindowFixture, HiddenStatusBarAndTopMostComeFromTheSettings) {
    app::MainWindow& window = Open(Sections("[Wnd]\r\nShowStatusBar=0\r\nTopMost=1\r\n"));
    EXPECT_FALSE(IsWindowVisible(window.StatusBar()));
    EXPECT_FALSE(MenuState(ID_VIEW_STATUS_BAR) & MF_CHECKED);
    EXPECT_TRUE(GetWindowLongPtrA(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(MenuState(ID_VIEW_TOP_MOST) & MF_CHECKED);

    Command(ID_VIEW_TOP_MOST);
    EXPECT_FALSE(GetWindowLongPtrA(window.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_FALSE(MenuState(ID_VIEW_TOP_MOST) & MF_CHECKED);
    EXPECT_EQ(Ini().ReadInt("Wnd", "TopMost", -1), 0);
}

TEST_F(MainWindowFixture, AViewSwitchThatCannotBeSavedIsReportedButPlacementOnClosingIsNot) {
    testutil::MessageRecorder messages;
    app::MainWindow& window = Open(Sections());
    const std::string file = dir / "tolvak.ini";
    const win::UniqueFile held = testutil::HoldUnshared(file);
    ASSERT_TRUE(held);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(IsWindowVisible(window.StatusBar())) << "the switch itself is made";
    ASSERT_EQ(messages.texts().size(), 1u);
    const std::string head = "設定を保存できませんでした。\n" + file + "\n";
    EXPECT_EQ(messages.texts()[0].rfind(head, 0), 0u) << messages.texts()[0];
    EXPECT_EQ(messages.messages()[0].owner, window.hwnd());

    SendMessageA(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(messages.texts().size(), 1u) << "the placement saved on closing says nothing";
}

TEST_F(MainWindowFixture, PlacementUsesTheStoredRectangleUnlessToldNotToAndCloseSavesIt) {
    app::MainWindow& window = Open(Sections("[Wnd]\r\niLeft=-5\r\niTop=40\r\niWidth=500\r\niHeight=3000\r\n"));
    RECT rect{};
    GetWindowRect(window.hwnd(), &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 40);
    EXPECT_EQ(rect.right - rect.left, 500);
    EXPECT_EQ(rect.bottom - rect.top, 550);
    char title[64] = "";
    GetWindowTextA(window.hwnd(), title, sizeof title);
    EXPECT_STREQ(title, "Tolvak - Build 072 \"release\"");
    if (HotKeysWork()) {
        EXPECT_EQ(SendMessageA(window.hwnd(), WM_GETHOTKEY, 0, 0), 0x0646);
    }

    main.reset();
    Open(Sections("[Wnd]\r\nDontReadPos=1\r\niLeft=100\r\niTop=100\r\niWidth=300\r\niHeight=300\r\n"));
    GetWindowRect(main->hwnd(), &rect);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right - rect.left, 470);
    EXPECT_EQ(rect.bottom - rect.top, 550);
    SetWindowPos(main->hwnd(), nullptr, 20, 30, 400, 350, SWP_NOZORDER);
    SendMessageA(main->hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Ini().ReadInt("Wnd", "iLeft", -1), 20);
    EXPECT_EQ(Ini().ReadInt("Wnd", "iTop", -1), 30);
    EXPECT_EQ(Ini().ReadInt("Wnd", "iWidth", -1), 400);
    EXPECT_EQ(Ini().ReadInt("Wnd", "iHeight", -1), 350);
}

TEST_F(MainWindowFixture, MenusAreDecoratedAndUserToolsAppended) {
    app::MainWindow& window =
        Open(Sections("[tool]\r\nメモ帳=notepad.exe\r\n-=\r\nCalc=calc.exe\r\n"));
    HMENU bar = GetMenu(window.hwnd());
    ASSERT_EQ(GetMenuItemCount(bar), 5);  // the proxy popup is gone
    const auto item = [](HMENU menu, int position) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        GetMenuItemInfoA(menu, position, TRUE, &info);
        return info;
    };
    const auto title = [&](HMENU menu, int position) {
        const MENUITEMINFOA info = item(menu, position);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << position;
        EXPECT_EQ(info.wID, UINT(ownerdraw::kSeparatorItemId));
        return info.dwItemData ? std::string(reinterpret_cast<const char*>(info.dwItemData)) : std::string("-");
    };
    HMENU tree = GetSubMenu(bar, 0);
    EXPECT_EQ(title(tree, 0), "search");
    EXPECT_EQ(title(tree, 2), "-");
    EXPECT_EQ(title(tree, 5), "Tree OP");
    HMENU help = GetSubMenu(bar, 4);
    EXPECT_EQ(title(help, 3), "Options");
    EXPECT_EQ(title(help, 7), "IE Extension");
    EXPECT_EQ(title(GetSystemMenu(window.hwnd(), FALSE), 5), "-");

    HMENU tools = GetSubMenu(bar, 3);
    const int count = GetMenuItemCount(tools);
    ASSERT_GE(count, 4);
    EXPECT_EQ(GetMenuItemID(tools, count - 5), UINT(ID_WEB_SEARCH));  // built-in entries stay
    EXPECT_EQ(title(tools, count - 4), "-");
    EXPECT_EQ(GetMenuItemID(tools, count - 3), UINT(ID_FIRST_USER_TOOL));
    EXPECT_EQ(title(tools, count - 2), "-");
    EXPECT_EQ(GetMenuItemID(tools, count - 1), UINT(ID_FIRST_USER_TOOL + 1));
    char text[32] = "";
    GetMenuStringA(tools, ID_FIRST_USER_TOOL, text, sizeof text, MF_BYCOMMAND);
    EXPECT_STREQ(text, "メモ帳");

    MEASUREITEMSTRUCT plain{ODT_MENU, 0, ownerdraw::kSeparatorItemId, 0, 0, 0};
    SendMessageA(window.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&plain));
    EXPECT_EQ(plain.itemWidth, 10u);
    EXPECT_EQ(plain.itemHeight, 8u);
    MEASUREITEMSTRUCT titled{ODT_MENU, 0, ownerdraw::kSeparatorItemId, 0, 0, reinterpret_cast<ULONG_PTR>("Tree OP")};
    SendMessageA(window.hwnd(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&titled));
    EXPECT_GT(titled.itemWidth, 20u);
    EXPECT_GT(titled.itemHeight, 3u);
}

TEST_F(MainWindowFixture, HighlightedMenuEntriesExplainThemselvesInTheStatusBar) {
    app::MainWindow& window = Open(Sections());
    SendMessageA(window.hwnd(), WM_MENUSELECT, MAKEWPARAM(ID_TREE_RELOAD, MF_HILITE),
                 reinterpret_cast<LPARAM>(GetMenu(window.hwnd())));
    char text[200] = "";
    EXPECT_TRUE(SendMessageA(window.StatusBar(), SB_ISSIMPLE, 0, 0));
    // Windows answers the simple text for index 255, Wine for any index while in simple mode.
    if (!SendMessageA(window.StatusBar(), SB_GETTEXTA, 255, reinterpret_cast<LPARAM>(text)))
        SendMessageA(window.StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "ツリーのアイテムを再読込します。");

    SendMessageA(window.hwnd(), WM_EXITMENULOOP, FALSE, 0);
    EXPECT_FALSE(SendMessageA(window.StatusBar(), SB_ISSIMPLE, 0, 0));
    SendMessageA(window.StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "フォルダ");
}

TEST_F(MainWindowFixture, TreeCommandsActOnTheSelectedTab) {
    dir.MakeDir("second\\sub");
    dir.MakeDir("second\\sub\\deeper");
    testutil::MessageRecorder messages;
    app::MainWindow& window = Open(Sections());
    window.SelectTab(1);
    CFavTreeView& tree = *window.Tab(1);
    const HTREEITEM sub = testutil::Node(tree, {"sub"});
    Command(ID_TREE_EXPAND_ALL);
    EXPECT_TRUE(TreeView_GetItemState(tree.hwnd(), sub, TVIS_EXPANDED) & TVIS_EXPANDED);
    Command(ID_TREE_COLLAPSE_ALL);
    EXPECT_FALSE(TreeView_GetItemState(tree.hwnd(), sub, TVIS_EXPANDED) & TVIS_EXPANDED);
    EXPECT_TRUE(TreeView_GetItemState(tree.hwnd(), tree.Root(), TVIS_EXPANDED) & TVIS_EXPANDED);

    TreeView_SelectItem(tree.hwnd(), testutil::Node(tree, {"b"}));
    messages.AnswerNext(IDCANCEL);
    Command(ID_ITEM_DELETE);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"[b]を削除しますか？"}));

    Command(ID_ITEM_RENAME);
    EXPECT_NE(testutil::OpenEditor(tree), nullptr);
    testutil::FinishEdit(tree, nullptr);

    dir.WriteShortcut("second\\new", "http://new/");
    Command(ID_TREE_RELOAD);
    EXPECT_EQ(testutil::ChildLabels(tree, tree.Root()), (std::vector<std::string>{"sub", "b", "c", "new"}));
}

TEST_F(MainWindowFixture, HidingTheMenuBarSaysHowToGetItBack) {
    testutil::MessageRecorder messages;
    app::MainWindow& window = Open(Sections());
    Command(ID_VIEW_MENU_BAR);
    EXPECT_EQ(GetMenu(window.hwnd()), nullptr);
    EXPECT_EQ(messages.texts(),
              (std::vector<std::string>{"メニューバーを消しました。\n再び表示するにはTolvakを再起動してください"}));
}

TEST_F(MainWindowFixture, ClipboardUrlOpensInTheConfiguredBrowserAndOtherTextIsIgnored) {
    testutil::Recorder browser(dir, "browser");
    ASSERT_TRUE(browser.ok());
    app::MainWindow& window = Open(Sections("[General]\r\nBrowser=" + browser.program() + "\r\n"));
    ASSERT_TRUE(clip::SetText(window.hwnd(), std::wstring(L"ttp://example.com/\u30b3\u30d4\u30fc/caf\u00e9")));
    Command(ID_CLIPBOARD_URL);
    EXPECT_NE(browser.WaitForWideCommandLine().find(L" http://example.com/\u30b3\u30d4\u30fc/caf\u00e9"), std::wstring::npos);

    // A browser that is not there: any attempt to open says so at once, in a box.
    testutil::MessageRecorder messages;
    Ini().Write("General", "Browser", (dir / "missing\\browser.exe").c_str());
    ASSERT_TRUE(clip::SetText(window.hwnd(), "no address here"));
    Command(ID_CLIPBOARD_URL);
    ASSERT_TRUE(clip::SetText(window.hwnd(), "http://example.com/" + std::string(300, 'x')));
    Command(ID_CLIPBOARD_URL);
    EXPECT_TRUE(messages.texts().empty());
    ASSERT_TRUE(clip::SetText(window.hwnd(), "http://example.com/"));
    Command(ID_CLIPBOARD_URL);
    EXPECT_EQ(messages.texts().size(), 1u);
}

namespace {

// Puts `html` on the clipboard as "HTML Format", the way a browser copies a selection.
bool PutHtml(HWND owner, const std::string& html) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, html.size() + 1);
    if (!memory) return false;
    memcpy(GlobalLock(memory), html.data(), html.size());
    GlobalUnlock(memory);
    if (!OpenClipboard(owner)) return false;
    EmptyClipboard();
    const bool put = SetClipboardData(RegisterClipboardFormatA("HTML Format"), memory) != nullptr;
    CloseClipboard();
    return put;
}

std::string BrowserCopy(std::u8string_view fragment) {
    std::string html = "Version:0.9\r\nStartHTML:0000000105\r\nEndHTML:0000000999\r\n"
                       "StartFragment:0000000141\r\nEndFragment:0000000999\r\n<html><body>\r\n";
    html.append(fragment.begin(), fragment.end());
    return html + "\r\n</body>\r\n</html>";
}

std::optional<std::string> ClipboardData(HWND owner, UINT format) { return clip::GetText(owner, format, 1 << 20); }

}  // namespace

TEST_F(MainWindowFixture, ClipboardHtmlBecomesTheFragmentsSourceAsText) {
    app::MainWindow& window = Open(Sections());
    const HWND owner = window.hwnd();
    // Japanese survives; a letter the code page lacks becomes its default character.
    ASSERT_TRUE(PutHtml(owner, BrowserCopy(u8"<!--StartFragment--><b>日本語</b> caf\u00e9 \U0001F600<!--EndFragment-->")));
    Command(ID_CLIPBOARD_HTML);
    EXPECT_EQ(ClipboardData(owner, CF_TEXT), "<b>日本語</b> caf? ?");

    // Without the end marker the fragment runs to the end of the data.
    ASSERT_TRUE(PutHtml(owner, BrowserCopy(u8"<!--StartFragment--><i>テスト</i>")));
    Command(ID_CLIPBOARD_HTML);
    EXPECT_EQ(ClipboardData(owner, CF_TEXT), "<i>テスト</i>\r\n</body>\r\n</html>");

    // Without the start marker, or without HTML at all, nothing changes.
    ASSERT_TRUE(PutHtml(owner, BrowserCopy(u8"<b>no markers</b>")));
    Command(ID_CLIPBOARD_HTML);
    EXPECT_EQ(ClipboardData(owner, CF_TEXT), std::nullopt);
    EXPECT_TRUE(ClipboardData(owner, RegisterClipboardFormatA("HTML Format")));
    ASSERT_TRUE(clip::SetText(owner, "plain"));
    Command(ID_CLIPBOARD_HTML);
    EXPECT_EQ(ClipboardData(owner, CF_TEXT), "plain");
}

TEST_F(MainWindowFixture, ClipboardHtmlOverFiftyThousandBytesIsRefused) {
    testutil::MessageRecorder messages;
    app::MainWindow& window = Open(Sections());
    const HWND owner = window.hwnd();
    const std::string opening = "<!--StartFragment-->";
    ASSERT_TRUE(PutHtml(owner, opening + std::string(50000 - opening.size() + 1, 'x')));
    Command(ID_CLIPBOARD_HTML);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"50KB以上は変換しません。"}));
    EXPECT_EQ(ClipboardData(owner, CF_TEXT), std::nullopt);  // also proves the clipboard was closed
    EXPECT_EQ(ClipboardData(owner, RegisterClipboardFormatA("HTML Format"))->size(), 50001u);

    ASSERT_TRUE(PutHtml(owner, opening + std::string(50000 - opening.size(), 'x')));
    Command(ID_CLIPBOARD_HTML);
    EXPECT_EQ(messages.texts().size(), 1u);
    EXPECT_EQ(ClipboardData(owner, CF_TEXT), std::string(50000 - opening.size(), 'x'));
}

TEST_F(MainWindowFixture, InternetOptionsComeFromTheSystemFolderNotFromTheCurrentOne) {
    const testutil::Recorder planted(dir, "current", "control.exe");
    ASSERT_TRUE(planted.ok());
    const testutil::ScopedCurrentFolder current(dir / "current");
    Open(Sections());
    Command(ID_INTERNET_OPTIONS);
    EXPECT_TRUE(testutil::EndProgramWhenShown(path::SystemFile("control.exe"), [&] { return planted.Started(); }));
    EXPECT_FALSE(planted.Started());
}

TEST_F(MainWindowFixture, UserToolsStartTheirCommandLines) {
    testutil::Recorder tool(dir, "tool");
    ASSERT_TRUE(tool.ok());
    app::MainWindow& window = Open(Sections("[tool]\r\n-=\r\n記録=" + tool.program() + " --from-menu\r\n"));
    (void)window;
    Command(ID_FIRST_USER_TOOL);
    EXPECT_NE(tool.WaitForCommandLine().find("--from-menu"), std::string::npos);
}

TEST_F(MainWindowFixture, TabBarDropsSelectTabsOpenTemporaryTabsAndPassOnToTheVisibleTree) {
    app::MainWindow& window = Open(Sections());
    const std::string extra = dir.MakeDir("extra");
    dir.WriteShortcut("extra\\inside", "http://inside/");
    win::ComPtr<IDropTarget> target;
    *target.put() = dnd::CreateDropTarget(window.TabBar(), app::MainWindow::kTabBarDropEvent,
                                          CFavTreeView::AcceptedDropFormats());
    const auto tabPoint = [&](int index) {
        RECT rect{};
        TabCtrl_GetItemRect(window.TabBar(), index, &rect);
        POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        ClientToScreen(window.TabBar(), &point);
        return POINTL{point.x, point.y};
    };

    // Hovering over the second tab shows it.
    testutil::FakeData folder;
    folder.Offer(CF_HDROP, testutil::FileList({extra}));
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_LINK;
    target->DragEnter(&folder, MK_LBUTTON, tabPoint(1), &effect);
    EXPECT_EQ(window.CurrentTree(), window.Tab(1));
    EXPECT_EQ(effect, DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));

    // Ctrl+drop of a folder: a temporary tab showing it.
    effect = DROPEFFECT_COPY;
    target->Drop(&folder, MK_CONTROL, tabPoint(1), &effect);
    testutil::PumpMessages();
    ASSERT_EQ(window.TabCount(), 3u);
    EXPECT_EQ(TabCaption(2), "一時タブ");
    EXPECT_EQ(window.CurrentTree(), window.Tab(2));
    EXPECT_EQ(window.Tab(2)->RootPath(), extra);
    EXPECT_EQ(testutil::ChildLabels(*window.Tab(2), window.Tab(2)->Root()), (std::vector<std::string>{"inside"}));

    // Without Ctrl the drop goes to the visible tree's root.
    window.SelectTab(0);
    testutil::FakeData file;
    file.Offer(CF_HDROP, testutil::FileList({dir.WriteShortcut("dropped", "http://dropped/")}));
    effect = DROPEFFECT_COPY;
    target->DragEnter(&file, MK_LBUTTON, tabPoint(0), &effect);
    target->Drop(&file, 0, tabPoint(0), &effect);
    testutil::PumpMessages();
    EXPECT_TRUE(path::Exists(first + "\\dropped.url"));
    EXPECT_EQ(window.TabCount(), 3u);
}

namespace {

// Reads the add-item dialog's two fields once it has opened (from its own message loop, so after
// it has filled them), then cancels it as the user would.
struct DialogFields {
    std::string title, url;
    bool seen = false;
};

DialogFields RunAndCancelAddItemDialog(const std::function<void()>& open) {
    DialogFields fields;
    testutil::RunDialog(
        [&] {
            open();
            return INT_PTR{0};
        },
        [&](HWND dialog) {
            fields.seen = ui::WindowText(dialog) == "新しいアイテムの追加";
            fields.title = ui::WindowText(GetDlgItem(dialog, IDC_ADD_TITLE));
            fields.url = ui::WindowText(GetDlgItem(dialog, IDC_ADD_URL));
            SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        IDCANCEL);
    return fields;
}

}  // namespace

TEST_F(MainWindowFixture, NewItemCommandsOpenTheAddItemDialog) {
    app::MainWindow& window = Open(Sections());
    const DialogFields home = RunAndCancelAddItemDialog([&] { Command(ID_ADD_HOME_PAGE); });
    ASSERT_TRUE(home.seen);
    EXPECT_EQ(home.title, app::MainWindow::kHomePageTitle);
    EXPECT_EQ(home.url, app::MainWindow::kHomePageUrl);

    CFavTreeView& tree = *window.Tab(0);
    const DialogFields added = RunAndCancelAddItemDialog(
        [&] { tree.RunContextCommand(ctxmenu::kAddHere, testutil::Node(tree, {"a"})); });
    ASSERT_TRUE(added.seen);
    EXPECT_EQ(added.title, "新しいアイテム");
    EXPECT_EQ(added.url, "");
}

TEST_F(MainWindowFixture, LinkCheckCommandsOpenTheReportAndTheDuplicatesWithTheirMenuHelp) {
    const linkcheck::ScopedResultsFile results(text::AnsiToWide(dir / "linkcheck.json"));
    dir.WriteShortcut("second\\a", "HTTP://A/");  // the first tab's "http://a/" again
    app::MainWindow& window = Open(Sections());
    const std::pair<UINT, std::string> commands[] = {
        {ID_LINK_REPORT, "リンクチェックの結果を一覧にし、リンク切れや移動したアイテムを整理します。"},
        {ID_FIND_DUPLICATES, "すべてのタブから同じアドレスのアイテムを探します。"},
    };
    for (const auto& [id, help] : commands) {
        SendMessageA(window.hwnd(), WM_MENUSELECT, MAKEWPARAM(id, MF_HILITE), reinterpret_cast<LPARAM>(GetMenu(window.hwnd())));
        char text[200] = "";
        if (!SendMessageA(window.StatusBar(), SB_GETTEXTA, 255, reinterpret_cast<LPARAM>(text)))
            SendMessageA(window.StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(text, help);
        SendMessageA(window.hwnd(), WM_EXITMENULOOP, FALSE, 0);
    }

    std::vector<std::pair<std::string, int>> shown;
    for (const auto& [id, help] : commands) {
        testutil::RunDialog([&, id = id] { return SendMessageA(window.hwnd(), WM_COMMAND, id, 0); },
                            [&](HWND dialog) {
                                shown.push_back({ui::WindowText(dialog), ListView_GetItemCount(GetDlgItem(dialog, IDC_REPORT_LIST))});
                            },
                            IDCANCEL);
    }
    EXPECT_EQ(shown, (std::vector<std::pair<std::string, int>>{{"リンクチェックの結果", 0}, {"重複したアドレス", 2}}));
}
