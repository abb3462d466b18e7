// The built Tolvak.exe, started under Wine as a user starts it and driven from outside.
#include "Program.h"

#include <base/Handles.h>
#include <base/Path.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <iterator>
#include <string_view>
#include <vector>

using namespace e2e;
using testutil::TempDir;

namespace {

std::vector<std::string> RemoteChildLabels(HWND tree, HTREEITEM parent) {
    std::vector<std::string> labels;
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        labels.push_back(RemoteLabel(tree, item));
    return labels;
}

void PressKey(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
}

struct ProgramFixture : testing::Test {
    TempDir data;
    std::string favorites = data.MakeDir("fav");

    void SetUp() override {
        ASSERT_EQ(CountMainWindows(), 0) << "another instance is still running";
        data.MakeDir("fav\\ニュース");
        data.MakeDir("fav\\Tools");
        data.WriteShortcut("fav\\表計算", "http://example.com/sheet");
        data.WriteShortcut("fav\\Debian", "https://www.debian.org/");
        data.WriteShortcut("fav\\ニュース\\天気", "http://example.com/weather");
    }
    std::string Settings(const std::string& extra = "") const {
        return "[Tolvak#1]\r\nFavRoot=" + favorites + "\r\n" + extra;
    }
};

}  // namespace

TEST_F(ProgramFixture, FindsItsSettingsBesideItselfAndShowsTheTree) {
    Installation installation(Settings("[Tree]\r\niIndent=33\r\nTvBkColor=0x00E0FFFF\r\n"
                                       "[Wnd]\r\niLeft=30\r\niTop=40\r\niWidth=500\r\niHeight=400\r\n"));
    ASSERT_TRUE(installation.copied());
    {
        RunningProgram program(installation);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        char title[100] = "";
        GetWindowTextA(window, title, sizeof title);
        EXPECT_STREQ(title, "Tolvak - Build 072 \"release\"");
        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, 30);
        EXPECT_EQ(rect.top, 40);
        EXPECT_EQ(rect.right - rect.left, 500);
        EXPECT_EQ(rect.bottom - rect.top, 400);

        HWND tree = TreeOf(window);
        ASSERT_NE(tree, nullptr);
        EXPECT_TRUE(IsWindowVisible(tree));
        EXPECT_EQ(TreeView_GetCount(tree), 6u);  // the root, two folders, their shortcut, two shortcuts
        EXPECT_EQ(TreeView_GetIndent(tree), 33u);
        EXPECT_EQ(TreeView_GetBkColor(tree), COLORREF(0x00E0FFFF));
        EXPECT_NE(FindWindowExA(window, nullptr, STATUSCLASSNAMEA, nullptr), nullptr);

        // Closing the window ends the program and keeps where it was.
        SetWindowPos(window, nullptr, 60, 70, 420, 380, SWP_NOZORDER);
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(program.Exited(5000, &code));
        EXPECT_EQ(code, 0u);
    }
    const settings::IniFile ini(installation.ini());
    EXPECT_EQ(ini.ReadInt("Wnd", "iLeft", -1), 60);
    EXPECT_EQ(ini.ReadInt("Wnd", "iTop", -1), 70);
    EXPECT_EQ(ini.ReadInt("Wnd", "iWidth", -1), 420);
    EXPECT_EQ(ini.ReadInt("Wnd", "iHeight", -1), 380);
}

TEST_F(ProgramFixture, WithNoDualASecondStartBringsTheFirstBackAndExits) {
    Installation installation(Settings("[Wnd]\r\nNoDual=1\r\n"));
    RunningProgram first(installation);
    HWND window = first.Window();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    ASSERT_TRUE(WaitFor([&] { return IsIconic(window) != FALSE; }));

    RunningProgram second(installation);
    DWORD code = 1;
    ASSERT_TRUE(second.Exited(kStartTimeoutMs, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(WaitFor([&] { return !IsIconic(window); }));
    EXPECT_EQ(CountMainWindows(), 1);
}

TEST_F(ProgramFixture, WithoutNoDualEveryStartOpensItsOwnWindow) {
    Installation installation(Settings());
    RunningProgram first(installation);
    ASSERT_NE(first.Window(), nullptr);
    RunningProgram second(installation);
    ASSERT_NE(second.Window(), nullptr);
    EXPECT_EQ(CountMainWindows(), 2);
}

TEST_F(ProgramFixture, AcceleratorsWaitWhileALabelIsEdited) {
    Installation installation(Settings());
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    HWND tree = TreeOf(window);
    ASSERT_NE(tree, nullptr);
    SetForegroundWindow(window);
    const UINT before = TreeView_GetCount(tree);

    // F5 reloads; while a label is edited it is only a key for the edit box.
    const HTREEITEM firstFolder = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_EDITLABELA, 0, reinterpret_cast<LPARAM>(firstFolder)));
    ASSERT_NE(edit, nullptr);
    data.WriteShortcut("fav\\新しい", "http://example.com/new");
    PressKey(edit, VK_F5);
    // A selection posted after the key shows when the key has been handled.
    PostMessageA(edit, EM_SETSEL, 1, 1);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(edit, EM_GETSEL, 0, 0) == MAKELRESULT(1, 1); }));
    EXPECT_EQ(TreeView_GetCount(tree), before);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0)), edit);

    PressKey(edit, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0) == 0; }));
    PressKey(tree, VK_F5);
    EXPECT_TRUE(WaitFor([&] { return TreeView_GetCount(tree) == before + 1; }));
}

TEST_F(ProgramFixture, TabsLoadWhenFirstShownAndTheWindowComesBackWhereItWasClosed) {
    const std::string second = data.MakeDir("second");
    data.WriteShortcut("second\\x", "http://example.com/x");
    data.WriteShortcut("second\\y", "http://example.com/y");
    Installation installation(Settings("tabName=メイン\r\n[Tolvak#2]\r\ntabName=二番目\r\nFavRoot=" + second +
                                       "\r\n[Tolvak#3]\r\ntabName=三番目\r\n"));
    {
        RunningProgram program(installation);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        HWND tabs = FindWindowExA(window, nullptr, WC_TABCONTROLA, nullptr);
        ASSERT_NE(tabs, nullptr);
        EXPECT_EQ(TabCtrl_GetItemCount(tabs), 3);
        HWND firstTree = TreeOf(window);
        HWND secondTree = FindWindowExA(window, firstTree, "CFavTreeView", nullptr);
        ASSERT_NE(secondTree, nullptr);
        EXPECT_EQ(TreeView_GetCount(secondTree), 0u);  // not read before it is shown

        SetForegroundWindow(window);
        SetFocus(tabs);
        PressKey(tabs, VK_RIGHT);
        ASSERT_TRUE(WaitFor([&] { return TreeView_GetCount(secondTree) == 3u; }));
        EXPECT_TRUE(IsWindowVisible(secondTree));
        EXPECT_FALSE(IsWindowVisible(firstTree));

        SetWindowPos(window, nullptr, 50, 60, 480, 420, SWP_NOZORDER);
        PostMessageA(window, WM_CLOSE, 0, 0);
        DWORD code = 1;
        ASSERT_TRUE(program.Exited(5000, &code));
    }
    RunningProgram again(installation);
    HWND window = again.Window();
    ASSERT_NE(window, nullptr);
    RECT rect{};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.left, 50);
    EXPECT_EQ(rect.top, 60);
    EXPECT_EQ(rect.right - rect.left, 480);
    EXPECT_EQ(rect.bottom - rect.top, 420);
}

TEST_F(ProgramFixture, TheSettingsToolIsStartedFromTheProgramsFolder) {
    Installation installation(Settings());
    ASSERT_TRUE(CopyFileA(TestProgram("record_args.exe").c_str(), (installation.dir() / "TLProp.exe").c_str(), FALSE));
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    PostMessageA(window, WM_COMMAND, 40024, 0);
    EXPECT_TRUE(WaitFor([&] { return path::Exists(installation.dir() / "args.txt"); }));
}

namespace {

// Real mouse input, as a user drags: press, move in steps, release.
void MouseTo(POINT screen) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
    Sleep(30);
}

void MouseButton(DWORD flag) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof input);
    Sleep(50);
}

// Presses the keys in order and releases them in reverse order, as a user types a combination.
void PressKeys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    const auto add = [&](WORD key, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    for (WORD key : keys) add(key, 0);
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) add(*key, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    Sleep(100);
}

// The tree of `root` in a small window at the screen's corner, where the drags find their rows.
std::string DragSettings(const std::string& root) {
    return "[Tolvak#1]\r\nFavRoot=" + root + "\r\n[Wnd]\r\niLeft=0\r\niTop=0\r\niWidth=400\r\niHeight=500\r\n";
}

// `target` has finished with the drag once it answers a sent message again. `overTarget` runs
// while the cursor rests on `to`, before the button is released.
void Drag(HWND target, POINT from, POINT to, const std::function<void()>& overTarget = nullptr) {
    testutil::PlaceCursor(from);
    MouseTo(from);
    MouseButton(MOUSEEVENTF_LEFTDOWN);
    for (int step = 1; step <= 10; ++step)
        MouseTo(POINT{from.x + (to.x - from.x) * step / 10 + 1, from.y + (to.y - from.y) * step / 10});
    MouseTo(to);
    if (overTarget) overTarget();
    MouseButton(MOUSEEVENTF_LEFTUP);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(target, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &ignored);
    Sleep(600);  // past the double-click time, so the next press starts a new drag
}

}  // namespace

TEST_F(ProgramFixture, DraggingWithTheMouseMovesShortcutsButNoFolderIntoItself) {
    TempDir fav;
    const std::string root = fav.MakeDir("root");
    fav.MakeDir("root\\Dest");
    fav.MakeDir("root\\News");
    fav.MakeDir("root\\News\\Inner");
    fav.MakeDir("root\\Newsletters");
    fav.WriteShortcut("root\\zlink", "http://example.com/z");
    Installation installation(DragSettings(root));
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    HWND tree = TreeOf(window);
    SetForegroundWindow(window);
    // Every folder open, so that rows are: root, Dest, News, Inner, Newsletters, zlink.
    for (HTREEITEM item = TreeView_GetChild(tree, TreeView_GetRoot(tree)); item; item = TreeView_GetNextSibling(tree, item))
        TreeView_Expand(tree, item, TVE_EXPAND);
    const int height = TreeView_GetItemHeight(tree);
    const int indent = static_cast<int>(TreeView_GetIndent(tree));
    const auto row = [&](int index, int level) {
        POINT point{indent * level + 30, index * height + height / 2};
        ClientToScreen(tree, &point);
        return point;
    };

    // Refused first: News onto Newsletters (the names share their first bytes), and News into its
    // own sub-folder.
    Drag(tree, row(2, 1), row(4, 1));
    Drag(tree, row(2, 1), row(3, 2));
    EXPECT_TRUE(path::IsDirectory(root + "\\News\\Inner"));
    EXPECT_FALSE(path::Exists(root + "\\Newsletters\\News"));
    EXPECT_FALSE(path::Exists(root + "\\News\\Inner\\News"));

    // A shortcut that may move does, with the same kind of drag.
    Drag(tree, row(5, 1), row(1, 1));  // zlink onto Dest
    EXPECT_TRUE(WaitFor([&] { return path::Exists(root + "\\Dest\\zlink.url"); }));
    EXPECT_FALSE(path::Exists(root + "\\zlink.url"));
}

TEST_F(ProgramFixture, ABookmarkFileShowsBelowTheRootThroughTheImportPlugIn) {
    constexpr std::u8string_view kBookmarks =
        u8"<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n"
        u8"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\r\n"
        u8"<DL><p>\r\n"
        u8"    <DT><H3>旅行 &amp; 地図</H3>\r\n"
        u8"    <DL><p>\r\n"
        u8"        <DT><A HREF=\"http://example.com/map?a=1&amp;b=2\">地図</A>\r\n"
        u8"    </DL><p>\r\n"
        u8"    <DT><A HREF=\"http://example.com/news\">ニュース速報</A>\r\n"
        u8"</DL><p>\r\n";
    const std::string file = data.WriteFile("bookmark.htm", std::string(kBookmarks.begin(), kBookmarks.end()));
    Installation installation(Settings("BookMark=" + file + "\r\n"));
    ASSERT_TRUE(installation.AddPlugIn("tlImport.dll"));
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    HWND tree = TreeOf(window);
    HTREEITEM source = TreeView_GetChild(tree, TreeView_GetRoot(tree));
    ASSERT_EQ(RemoteLabel(tree, source), "Netscape BookMark");

    // Nothing is read until the source is opened.
    EXPECT_EQ(TreeView_GetChild(tree, source), nullptr);
    TreeView_Expand(tree, source, TVE_EXPAND);
    ASSERT_EQ(RemoteChildLabels(tree, source), (std::vector<std::string>{"旅行 & 地図", "ニュース速報"}));
    HTREEITEM folder = TreeView_GetChild(tree, source);
    TreeView_Expand(tree, folder, TVE_EXPAND);
    EXPECT_EQ(RemoteChildLabels(tree, folder), std::vector<std::string>{"地図"});
}

namespace {

HTREEITEM RemoteChild(HWND tree, HTREEITEM parent, const std::string& label) {
    for (HTREEITEM item = TreeView_GetChild(tree, parent); item; item = TreeView_GetNextSibling(tree, item))
        if (RemoteLabel(tree, item) == label) return item;
    return nullptr;
}

bool Expanded(HWND tree, HTREEITEM item) { return (TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0; }

std::string WindowText(HWND window) {
    char text[200] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

}  // namespace

// Escape or the right button during a drag ends it where it is: nothing moves. The same drag
// without them does move, so the cancelled ones did reach the tree.
TEST_F(ProgramFixture, EscapeOrTheRightButtonCancelsADrag) {
    TempDir fav;
    const std::string root = fav.MakeDir("root");
    fav.MakeDir("root\\Dest");
    fav.WriteShortcut("root\\zlink", "http://example.com/z");
    Installation installation(DragSettings(root));
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    HWND tree = TreeOf(window);
    SetForegroundWindow(window);
    const int height = TreeView_GetItemHeight(tree);
    const auto row = [&](int index) {
        POINT point{static_cast<int>(TreeView_GetIndent(tree)) + 30, index * height + height / 2};
        ClientToScreen(tree, &point);
        return point;
    };
    const HTREEITEM rootItem = TreeView_GetRoot(tree);
    const std::vector<std::string> before = RemoteChildLabels(tree, rootItem);
    ASSERT_EQ(before, (std::vector<std::string>{"Dest", "zlink"}));

    Drag(tree, row(2), row(1), [] { PressKeys({VK_ESCAPE}); });
    Drag(tree, row(2), row(1), [] {
        MouseButton(MOUSEEVENTF_RIGHTDOWN);
        MouseButton(MOUSEEVENTF_RIGHTUP);
    });
    EXPECT_EQ(TopWindowOf(program.id(), "#32768"), nullptr) << "no context menu after the cancel";
    EXPECT_TRUE(path::Exists(root + "\\zlink.url"));
    EXPECT_FALSE(path::Exists(root + "\\Dest\\zlink.url"));
    EXPECT_EQ(RemoteChildLabels(tree, rootItem), before);
    EXPECT_EQ(TreeView_GetChild(tree, RemoteChild(tree, rootItem, "Dest")), nullptr);
    // What a user sees is the mark on the item. (Wine's tree view answers TVGN_DROPHILITE with the
    // dragged node once the drag notice returns, without marking it.)
    for (HTREEITEM item = TreeView_GetChild(tree, rootItem); item; item = TreeView_GetNextSibling(tree, item))
        EXPECT_FALSE(TreeView_GetItemState(tree, item, TVIS_DROPHILITED) & TVIS_DROPHILITED) << RemoteLabel(tree, item);

    Drag(tree, row(2), row(1));
    EXPECT_TRUE(WaitFor([&] { return path::Exists(root + "\\Dest\\zlink.url"); }));
}

// Del, Alt+E, Alt+C and F1 typed on the keyboard reach the main window through its accelerators.
TEST_F(ProgramFixture, AcceleratorKeysRunTheirCommands) {
    data.MakeDir("fav\\ニュース\\深い");
    data.WriteShortcut("fav\\ニュース\\深い\\記事", "http://example.com/deep");
    Installation installation(Settings());
    ASSERT_TRUE(CopyFileA(TOLVAK_TEST_DATA "\\help\\Tolvak.chm", (installation.dir() / "Tolvak.chm").c_str(), FALSE));
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    HWND tree = TreeOf(window);
    SetForegroundWindow(window);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
    const HTREEITEM root = TreeView_GetRoot(tree);
    const HTREEITEM news = RemoteChild(tree, root, "ニュース");
    const HTREEITEM deep = RemoteChild(tree, news, "深い");
    ASSERT_NE(deep, nullptr);

    PressKeys({VK_MENU, 'E'});
    EXPECT_TRUE(WaitFor([&] { return Expanded(tree, news) && Expanded(tree, deep); })) << "Alt+E expands all";
    PressKeys({VK_MENU, 'C'});
    EXPECT_TRUE(WaitFor([&] { return !Expanded(tree, news) && !Expanded(tree, deep) && Expanded(tree, root); }))
        << "Alt+C collapses all but the root";

    TreeView_SelectItem(tree, RemoteChild(tree, root, "Debian"));
    PressKeys({VK_DELETE});
    HWND question = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (question = TopWindowOf(program.id(), "#32770")) != nullptr; })) << "Del asks first";
    EXPECT_EQ(WindowText(question), "削除の確認");
    EXPECT_EQ(WindowText(GetDlgItem(question, 0xFFFF)), "[Debian]を削除しますか？");  // the box's text control
    SetForegroundWindow(question);
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitFor([&] { return !path::Exists(favorites + "\\Debian.url"); }));
    EXPECT_TRUE(WaitFor([&] { return RemoteChild(tree, root, "Debian") == nullptr; }));

    SetForegroundWindow(window);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }));
    PressKeys({VK_F1});
    EXPECT_TRUE(WaitFor([&] { return TopWindowOf(program.id(), "HH Parent") != nullptr; })) << "F1 opens the help";
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(program.Exited(10000, &code) && code == 0) << "closing with the help open ends the program cleanly";
}

// Both programs run as the user who starts them, on today's common controls, and say which
// Windows versions they know (without that, Windows reports itself to them as an old one).
TEST(Manifest, BothProgramsCarryTheirs) {
    for (const char* program : {"Tolvak.exe", "TLProp.exe"}) {
        SCOPED_TRACE(program);
        win::UniqueModule module(LoadLibraryExA(BuiltFile(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(module);
        HRSRC found = FindResourceA(module.get(), MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        ASSERT_NE(found, nullptr);
        const std::string_view manifest(static_cast<const char*>(LockResource(LoadResource(module.get(), found))),
                                        SizeofResource(module.get(), found));
        for (const char* wanted : {"level=\"asInvoker\"", "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                                   "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
            EXPECT_NE(manifest.find(wanted), std::string_view::npos) << wanted;
    }
}
