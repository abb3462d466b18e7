// The properties sheet of a shortcut, opened from the tree's context menu and driven like a user.
#include "../support/TestSupport.h"

#include <base/ControlText.h>
#include <resources/TreeIds.h>
#include <tree/CFavTreeView.h>
#include <tree/TreeContextMenu.h>
#include <tree/properties/PropertiesSheet.h>

#include <gtest/gtest.h>

#include <wininet.h>

#include <functional>

namespace {

using testutil::Node;

std::function<void(HWND)> g_script;
int g_tries = 0;

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
    ASSERT_NE(sheet, nullptr);
    g_script(sheet);
    if (IsWindow(sheet) && IsWindowVisible(sheet)) PropSheet_PressButton(sheet, PSBTN_CANCEL);
}

struct PropertiesTest : testutil::TreeFixture {
    // Opens the node's properties through the context menu and runs `script` on the open sheet.
    void RunSheet(CFavTreeView& tree, HTREEITEM node, std::function<void(HWND)> script) {
        g_script = std::move(script);
        g_tries = 0;
        SetTimer(nullptr, 0, 20, RunScript);
        tree.RunContextCommand(ctxmenu::kProperties, node);
    }
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
    bool dropsRefused = false;
    RunSheet(tree, Node(tree, {"big"}), [&](HWND sheet) {
        dropsRefused = props::IsOpenFor(tree);
        Replace(PageControl(sheet, IDC_PROP_TEXT), "old", "new");
        PropSheet_PressButton(sheet, PSBTN_OK);
    });
    EXPECT_TRUE(dropsRefused);
    EXPECT_FALSE(props::IsOpenFor(tree));
    std::string expected = content;
    expected.replace(expected.find("old"), 3, "new");
    EXPECT_EQ(testutil::ReadBytes(file), expected);
}

TEST_F(PropertiesTest, FailedWriteIsReportedAndKeepsTheFile) {
    const std::string content = "[InternetShortcut]\r\nURL=http://old.example/\r\n";
    const std::string file = dir.WriteFile("fav\\locked.url", content);
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    CFavTreeView& tree = Load();
    testutil::MessageRecorder boxes;
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
