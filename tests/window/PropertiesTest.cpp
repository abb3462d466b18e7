// The properties sheet of a shortcut, opened from the tree's context menu and driven like a user.
#include "../support/TestSupport.h"

#include <base/ControlText.h>
#include <base/DragDrop.h>
#include <base/Path.h>
#include <resources/TreeIds.h>
#include <app/search/TreeFind.h>
#include <tree/CFavTreeView.h>
#include <tree/TreeContextMenu.h>
#include <tree/properties/PropertiesSheet.h>

#include <gtest/gtest.h>

#include <wininet.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

using testutil::Node;

// Per thread: trees on two threads each run a sheet of their own.
thread_local std::function<void(HWND)> g_script;
thread_local int g_tries = 0;
thread_local bool g_ran = false;

HWND FindSheet() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) {
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (!IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0) return TRUE;
            *reinterpret_cast<HWND*>(param) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK RunScript(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND sheet = FindSheet();
    if (!sheet && ++g_tries < 200) return;
    KillTimer(nullptr, timer);
    if (!sheet) return;
    g_ran = true;
    g_script(sheet);
    if (IsWindow(sheet) && IsWindowVisible(sheet)) PropSheet_PressButton(sheet, PSBTN_CANCEL);
}

// Opens the node's properties through the context menu and runs `script` on the open sheet;
// false when no sheet showed.
bool RunSheet(CFavTreeView& tree, HTREEITEM node, std::function<void(HWND)> script) {
    g_script = std::move(script);
    g_tries = 0;
    g_ran = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, RunScript);
    tree.RunContextCommand(ctxmenu::kProperties, node);
    KillTimer(nullptr, timer);  // no sheet: the timer must not run into a later test
    g_script = nullptr;
    return g_ran;
}

struct PropertiesTest : testutil::TreeFixture {
    testutil::MessageRecorder boxes;

    static HWND PageControl(HWND sheet, int id) { return GetDlgItem(PropSheet_GetCurrentPageHwnd(sheet), id); }
    // Replaces `from` in the editor's text with `to`, as typing would.
    static void Replace(HWND edit, const std::string& from, const std::string& to) {
        const std::string text = ui::WindowText(edit);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos);
        SendMessageA(edit, EM_SETSEL, at, at + from.size());
        SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(to.c_str()));
    }
};

TEST_F(PropertiesTest, OkWritesTheWholeEditedFile) {
    std::string content = "[InternetShortcut]\r\nURL=http://old.example/\r\n";
    for (int line = 0; content.size() < 20000; ++line) content += "Note" + std::to_string(line) + "=" + std::string(60, 'n') + "\r\n";
    const std::string file = dir.WriteFile("fav\\big.url", content);
    CFavTreeView& tree = Load();
    EXPECT_TRUE(RunSheet(tree, Node(tree, {"big"}), [&](HWND sheet) {
        Replace(PageControl(sheet, IDC_PROP_TEXT), "old", "new");
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    std::string expected = content;
    expected.replace(expected.find("old"), 3, "new");
    EXPECT_EQ(testutil::ReadBytes(file), expected);
    EXPECT_TRUE(boxes.texts().empty());
}

// "URL情報" shows the address the code page lacks exactly; an edit that leaves the address line
// keeps it, an edit of that line replaces it.
TEST_F(PropertiesTest, TheExactAddressIsShownAndKeptUntilItsLineIsEdited) {
    dir.WriteFile("fav\\cafe.url", testutil::kAccentedShortcut);
    CFavTreeView& tree = Load();
    const struct {
        const char* from;
        const char* to;
        std::wstring shown;
        std::wstring after;
    } cases[] = {
        {"[InternetShortcut]\r\n", "[InternetShortcut]\r\nIconIndex=1\r\n", testutil::kAccentedAddress,
         testutil::kAccentedAddress},
        {"caf?\r\n[InternetShortcut.A]", "cafe\r\n[InternetShortcut.A]", testutil::kAccentedAddress,
         L"http://example.com/cafe"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.to);
        std::wstring shown;
        EXPECT_TRUE(RunSheet(tree, Node(tree, {"cafe"}), [&](HWND sheet) {
            Replace(PageControl(sheet, IDC_PROP_TEXT), c.from, c.to);
            PropSheet_SetCurSel(sheet, nullptr, 1);
            wchar_t text[200] = L"";
            GetWindowTextW(PageControl(sheet, IDC_PROP_URL), text, 200);
            shown = text;
            PropSheet_PressButton(sheet, PSBTN_OK);
        }));
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(tree.NodeAddress(Node(tree, {"cafe"})), c.after);
    }
}

TEST_F(PropertiesTest, AnEditedAddressIsWhatTheNextSearchFinds) {
    // In a sub-folder, where this Wine's folder watch sees no change: the sheet itself must tell.
    dir.MakeDir("fav\\sub");
    dir.WriteShortcut("fav\\sub\\site", "http://old.example/");
    CFavTreeView& tree = Load();
    const HTREEITEM site = Node(tree, {"sub", "site"});
    search::FindFirst(tree, L"old.example");  // the address is kept from here on
    ASSERT_EQ(TreeView_GetSelection(tree.hwnd()), site);
    EXPECT_TRUE(RunSheet(tree, site, [&](HWND sheet) {
        Replace(PageControl(sheet, IDC_PROP_TEXT), "old", "new");
        PropSheet_PressButton(sheet, PSBTN_OK);
    }));
    TreeView_SelectItem(tree.hwnd(), tree.Root());
    search::FindFirst(tree, L"new.example");
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), site);
    EXPECT_TRUE(boxes.texts().empty());
}

TEST_F(PropertiesTest, DropsOntoTheTreeAreRefusedWhileTheSheetIsOpen) {
    dir.WriteShortcut("fav\\a", "http://a/");
    CFavTreeView& tree = Load();
    win::ComPtr<IDropTarget> target;
    *target.put() = dnd::CreateDropTarget(tree.hwnd(), CFavTreeView::kDropEvent, CFavTreeView::AcceptedDropFormats());
    testutil::FakeData link;
    link.Offer(CF_TEXT, std::string("http://dropped.example/") + '\0');
    const std::string dropped = root + "\\新しいアイテム.url";
    DWORD whileOpen = DROPEFFECT_COPY;
    EXPECT_TRUE(RunSheet(tree, Node(tree, {"a"}), [&](HWND) {
        whileOpen = testutil::DropOn(*target.get(), tree, link, tree.Root());
    }));
    EXPECT_EQ(whileOpen, DWORD(DROPEFFECT_NONE));
    EXPECT_FALSE(path::Exists(dropped));
    // The same drop once the sheet is closed.
    EXPECT_EQ(testutil::DropOn(*target.get(), tree, link, tree.Root()), DWORD(DROPEFFECT_COPY | DROPEFFECT_LINK));
    EXPECT_TRUE(path::Exists(dropped));
    testutil::FinishEdit(tree, nullptr);
}

TEST_F(PropertiesTest, TreesOnTwoThreadsOpenTheirSheetsSideBySide) {
    dir.WriteShortcut("fav\\a", "http://a/");
    CFavTreeView& tree = Load();
    const std::string settings = dir / "tolvak.ini";
    std::atomic<bool> otherDone{false};
    bool otherShown = false, otherOpen = false, waited = false;
    EXPECT_TRUE(RunSheet(tree, Node(tree, {"a"}), [&](HWND) {
        // A browser window's bar on its own thread, while this thread's sheet stays open.
        std::thread other([&] {
            OleInitialize(nullptr);
            {
                testutil::TreeHost otherHost;
                CFavTreeView& otherTree = otherHost.AddTree(settings);
                otherShown = RunSheet(otherTree, Node(otherTree, {"a"}),
                                      [&](HWND) { otherOpen = props::IsOpenFor(otherTree); });
            }
            OleUninitialize();
            otherDone = true;
        });
        // The other thread's windows may send to this thread's: serve them while waiting.
        const ULONGLONG deadline = GetTickCount64() + 15000;
        while (!otherDone && GetTickCount64() < deadline) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            testutil::PumpMessages();
        }
        waited = otherDone;
        other.join();  // the other thread's own script gives up after a few seconds
    }));
    EXPECT_TRUE(waited);
    EXPECT_TRUE(otherShown);
    EXPECT_TRUE(otherOpen);
    EXPECT_FALSE(props::IsOpenFor(tree));
}

// What the editor cannot hold exactly is refused with a message, and the file keeps its bytes
// whatever is done to the text.
TEST_F(PropertiesTest, FilesTheEditorCannotShowAsTheyAreAreNotEdited) {
    const std::string head = "[InternetShortcut]\r\nURL=http://old.example/\r\n";
    const struct {
        const char* name;
        std::string content;
    } cases[] = {
        {"zero", head + std::string("Data=") + '\0' + std::string(1200, 'x') + "\r\n"},
        {"emoji", head + "Name=\xF0\x9F\x98\x80\r\n"},
    };
    CFavTreeView& tree = Load();
    for (const auto& each : cases) {
        SCOPED_TRACE(each.name);
        const std::string file = dir.WriteFile(std::string("fav\\") + each.name + ".url", each.content);
        tree.LoadRoot();
        const size_t before = boxes.texts().size();
        bool readOnly = false;
        EXPECT_TRUE(RunSheet(tree, Node(tree, {each.name}), [&](HWND sheet) {
            HWND edit = PageControl(sheet, IDC_PROP_TEXT);
            readOnly = (GetWindowLongPtrA(edit, GWL_STYLE) & ES_READONLY) != 0;
            Replace(edit, "old", "new");
            PropSheet_PressButton(sheet, PSBTN_OK);
        }));
        EXPECT_TRUE(readOnly);
        const std::vector<std::string> texts = boxes.texts();
        EXPECT_EQ(std::vector<std::string>(texts.begin() + before, texts.end()),
                  std::vector<std::string>{"このファイルには表示できない文字が含まれているため、直接編集はできません。"});
        EXPECT_EQ(testutil::ReadBytes(file), each.content);
    }
}

TEST_F(PropertiesTest, OkOnAnUntouchedFileKeepsItsBytes) {
    const std::string cases[] = {
        std::string("[InternetShortcut]\r\nURL=http://nul.example/\r\nData=") + '\0' + "rest\r\n",
        "[InternetShortcut]\nURL=http://lf.example/\nName=bare\n",
    };
    CFavTreeView& tree = Load();
    for (const std::string& content : cases) {
        const std::string file = dir.WriteFile("fav\\kept.url", content);
        tree.LoadRoot();
        EXPECT_TRUE(RunSheet(tree, Node(tree, {"kept"}), [&](HWND sheet) { PropSheet_PressButton(sheet, PSBTN_OK); }));
        EXPECT_EQ(testutil::ReadBytes(file), content);
    }
}

TEST_F(PropertiesTest, FailedWriteIsReportedAndKeepsTheFile) {
    const std::string content = "[InternetShortcut]\r\nURL=http://old.example/\r\n";
    const std::string file = dir.WriteFile("fav\\locked.url", content);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    CFavTreeView& tree = Load();
    bool stillOpen = false;
    RunSheet(tree, Node(tree, {"locked"}), [&](HWND sheet) {
        Replace(PageControl(sheet, IDC_PROP_TEXT), "old", "new");
        PropSheet_PressButton(sheet, PSBTN_OK);
        testutil::PumpMessages();
        stillOpen = IsWindowVisible(sheet);  // the text is not lost
    });
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    const std::string failed = "ファイルに書き込めませんでした。";
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{failed});
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(testutil::ReadBytes(file), content);
}

TEST_F(PropertiesTest, CacheEntryIsShownLineByLine) {
    const std::string url = "http://cached.example/properties-test.html";
    char local[MAX_PATH] = "";
    ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), 0, "html", local, 0));
    ASSERT_TRUE(testutil::WriteBytes(local, "hello"));
    const std::string headers = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n";
    const FILETIME never{};
    ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), local, never, never, NORMAL_CACHE_ENTRY,
                                     reinterpret_cast<BYTE*>(const_cast<char*>(headers.c_str())),
                                     static_cast<DWORD>(headers.size()), nullptr, nullptr));
    dir.WriteShortcut("fav\\cached", url);
    CFavTreeView& tree = Load();
    std::string shownUrl, shownLocal;
    std::vector<std::string> lines;
    RunSheet(tree, Node(tree, {"cached"}), [&](HWND sheet) {
        PropSheet_SetCurSel(sheet, nullptr, 1);
        char text[MAX_PATH] = "";
        GetWindowTextA(PageControl(sheet, IDC_PROP_URL), text, sizeof text);
        shownUrl = text;
        GetWindowTextA(PageControl(sheet, IDC_PROP_LOCAL), text, sizeof text);
        shownLocal = text;
        HWND list = PageControl(sheet, IDC_PROP_DETAILS);
        for (int i = 0; i < SendMessageA(list, LB_GETCOUNT, 0, 0); ++i) {
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            lines.push_back(text);
        }
    });
    DeleteUrlCacheEntryA(url.c_str());
    EXPECT_EQ(shownUrl, url);
    EXPECT_EQ(shownLocal, local);
    ASSERT_EQ(lines.size(), 6u);
    const std::string hits = "表示回数\t", size = "サイズ\t5バイト", title = "ヘッダ情報";
    EXPECT_EQ(lines[0].substr(0, hits.size()), hits);
    EXPECT_EQ(lines[1], size);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
              (std::vector<std::string>{"", title, "HTTP/1.0 200 OK", "Content-Type: text/html"}));
}

}  // namespace
