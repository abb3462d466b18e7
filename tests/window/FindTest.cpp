// Finding entries: in the active tab (first match, find next), in all tabs (the result list and
// its rows), and the web search, with the dialogs run modally as the program runs them.
#include "../support/Picture.h"
#include "../support/TestSupport.h"

#include <app/search/AllTabsDialog.h>
#include <app/search/TreeFind.h>
#include <app/shell/AppState.h>
#include <app/shell/MainWindow.h>
#include <resources/SearchIds.h>
#include <resources/TolvakIds.h>
#include <base/Path.h>
#include <base/ControlText.h>
#include <base/TextEncoding.h>
#include <favorites/ShortcutFile.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using testutil::MessageRecorder;
using testutil::Node;

namespace {

constexpr INT_PTR kLeftOpen = 99;
const std::string kNotFound = "見つかりませんでした。";
const std::string kNoSearchText = "検索文字列が指定されていません。";

// --- The active tab ----------------------------------------------------------------------------

struct FindInTreeTest : testutil::TreeFixture {
    MessageRecorder messages;
    CFavTreeView* tree = nullptr;

    void SetUp() override {
        dir.MakeDir("fav\\News");
        dir.WriteShortcut("fav\\News\\News Daily", "http://news.example/daily");
        dir.WriteShortcut("fav\\News\\Sports", "http://news.example/sports");
        dir.WriteShortcut("fav\\HOME SITE", "http://home.example/");
        dir.WriteShortcut("fav\\アニメ", "http://anime.example/");
        dir.WriteShortcut("fav\\表計算", "http://calc.example/");
        tree = &Load();
    }
    HTREEITEM Selected() const { return TreeView_GetSelection(tree->hwnd()); }
};

TEST_F(FindInTreeTest, MatchesAreCaseSensitiveAndRunFromTitleIntoUrl) {
    search::FindFirst(*tree, L"SITE\thttp://home");
    EXPECT_EQ(Selected(), Node(*tree, {"HOME SITE"}));
    search::FindFirst(*tree, L"home site");
    search::FindFirst(*tree, L"SITE\thttp://anime");
    EXPECT_EQ(messages.texts(), std::vector<std::string>(2, kNotFound));
    EXPECT_EQ(messages.messages().back().caption, "Tolvak");
    EXPECT_EQ(Selected(), Node(*tree, {"HOME SITE"}));
}

TEST_F(FindInTreeTest, AsciiTextsNeverMatchInsideJapaneseTitles) {
    for (const wchar_t* text : {L"A", L"\\", L"@", L"["}) search::FindFirst(*tree, text);
    EXPECT_EQ(messages.texts(), std::vector<std::string>(4, kNotFound));
    search::FindFirst(*tree, L"計算");
    EXPECT_EQ(Selected(), Node(*tree, {"表計算"}));
    EXPECT_EQ(messages.texts().size(), 4u);
}

TEST_F(FindInTreeTest, FindNextContinuesInsideAFoundFolderAndDoesNotWrap) {
    search::FindFirst(*tree, L"News");
    EXPECT_EQ(Selected(), Node(*tree, {"News"}));
    search::FindNext(*tree);
    EXPECT_EQ(Selected(), Node(*tree, {"News", "News Daily"}));
    search::FindNext(*tree);  // "Sports" has "news" only in small letters, in its URL
    EXPECT_EQ(Selected(), Node(*tree, {"News", "News Daily"}));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kNotFound});

    TreeView_SelectItem(tree->hwnd(), tree->Root());
    search::FindNext(*tree);
    EXPECT_EQ(Selected(), Node(*tree, {"News"}));
}

TEST_F(FindInTreeTest, KeptAddressesFollowChangedAndDeletedFiles) {
    search::FindFirst(*tree, L"calc.example");  // every address on the way is kept from here
    const struct {
        const char* how;
        std::vector<std::string> node;
        std::wstring before;
        std::function<void(const std::string& file)> told;  // after the file changed
    } changes[] = {
        // In the root folder: this Wine reports changes below a watched folder only for its own
        // entries, where Windows reports the whole hierarchy.
        {"by another program, telling nobody", {"HOME SITE"}, L"home.example",
         [&](const std::string&) {
             const HTREEITEM node = Node(*tree, {"HOME SITE"});
             EXPECT_TRUE(testutil::WaitFor([&] {  // the file system tells the tree, a moment later
                 tree->entries().TakeOutsideChanges();
                 return !tree->entries().Find(node)->addressKnown;
             }));
         }},
        {"with the shell told", {"News", "Sports"}, L"news.example/sports",
         [](const std::string& file) { SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHA, file.c_str(), nullptr); }},
    };
    for (const auto& each : changes) {
        SCOPED_TRACE(each.how);
        const HTREEITEM node = Node(*tree, each.node);
        const std::string url = std::string("http://changed.example/") + each.how;
        ASSERT_TRUE(testutil::WriteBytes(*tree->NodePath(node), shortcut::FileText(url)));
        each.told(*tree->NodePath(node));
        TreeView_SelectItem(tree->hwnd(), tree->Root());
        search::FindFirst(*tree, text::AnsiToWide(url));
        EXPECT_EQ(Selected(), node);
        const size_t told = messages.texts().size();
        search::FindFirst(*tree, each.before);
        EXPECT_EQ(messages.texts().size(), told + 1);  // the old address is gone
    }
    const HTREEITEM calc = Node(*tree, {"表計算"});
    messages.AnswerNext(IDOK);
    tree->Delete(calc);
    const size_t told = messages.texts().size();
    search::FindFirst(*tree, L"calc.example");
    EXPECT_EQ(messages.texts().size(), told + 1);
    EXPECT_EQ(messages.texts().back(), kNotFound);
}

TEST_F(FindInTreeTest, FindNextBeforeAnySearchAsksForAText) {
    search::FindNext(*tree);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kNoSearchText});
    EXPECT_EQ(messages.captions(), std::vector<std::string>{"(system)"});
}

// --- The main window's commands ------------------------------------------------------------------

struct SearchCommandsTest : testing::Test {
    testutil::TempDir dir;
    std::string first = dir.MakeDir("first");
    std::string second = dir.MakeDir("second");
    std::unique_ptr<app::MainWindow> main;
    MessageRecorder messages;

    void SetUp() override {
        app::State().instance = GetModuleHandleA(nullptr);
        app::State().topMost = 0;
        dir.MakeDir("first\\Shared");
        dir.WriteShortcut("first\\Shared\\Alpha", "http://alpha.example/");
        dir.WriteShortcut("first\\beta", "http://beta.example/a");
        dir.WriteShortcut("second\\Gamma", "http://gamma.example/a");
    }
    void TearDown() override {
        main.reset();
        testutil::PumpMessages();
    }
    app::MainWindow& Open(const std::string& extra = "") {
        testutil::WriteSettings(dir, "[Tolvak#1]\r\ntabName=メイン\r\nFavRoot=" + first + "\r\n[Tolvak#2]\r\ntabName=二番目\r\nFavRoot=" +
                                         second + "\r\n[Tolvak#3]\r\ntabName=三番目\r\nFavRoot=" + first + "\r\n" + extra);
        main = std::make_unique<app::MainWindow>(dir / "tolvak.ini");
        EXPECT_TRUE(main->Create(GetModuleHandleA(nullptr)));
        testutil::PumpMessages();
        return *main;
    }
    settings::IniFile Ini() const { return settings::IniFile(dir / "tolvak.ini"); }
    // Runs a command that shows a dialog, with `script` acting in it.
    void Command(UINT id, const std::function<void(HWND)>& script) {
        testutil::RunDialog(
            [&] {
                SendMessageA(main->hwnd(), WM_COMMAND, id, 0);
                return INT_PTR(0);
            },
            script, kLeftOpen);
        testutil::PumpMessages();
    }
    static void Search(HWND dialog, const std::string& text) {
        SetDlgItemTextA(dialog, IDC_FIND_TEXT, text.c_str());
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    }
    static std::vector<std::string> Column(HWND dialog, int column) {
        HWND list = GetDlgItem(dialog, IDC_FIND_RESULTS);
        std::vector<std::string> texts;
        for (int item = 0; item < ListView_GetItemCount(list); ++item) {
            char text[600] = "";
            ListView_GetItemText(list, item, column, text, sizeof text);
            texts.push_back(text);
        }
        return texts;
    }
    static std::vector<std::wstring> WideColumn(HWND dialog, int column) {
        HWND list = GetDlgItem(dialog, IDC_FIND_RESULTS);
        std::vector<std::wstring> texts;
        for (int item = 0; item < ListView_GetItemCount(list); ++item) {
            wchar_t text[600] = L"";
            LVITEMW cell{};
            cell.iSubItem = column;
            cell.pszText = text;
            cell.cchTextMax = 600;
            SendMessageW(list, LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&cell));
            texts.push_back(text);
        }
        return texts;
    }
    static int ItemTitled(HWND dialog, const std::string& title) {
        const auto titles = Column(dialog, 0);
        const auto found = std::find(titles.begin(), titles.end(), title);
        return found == titles.end() ? -1 : static_cast<int>(found - titles.begin());
    }
    static search::AllTabsDialog& Object(HWND dialog) {
        return *dynamic_cast<search::AllTabsDialog*>(ui::Dialog::FromHandle(dialog));
    }
};

TEST_F(SearchCommandsTest, FindInTabSelectsTheMatchAndKeepsOnlyRealTexts) {
    Open();
    Command(ID_FIND_IN_TAB, [&](HWND dialog) {
        // The small form has neither the result list nor the tab list, also not for Tab.
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_FIND_RESULTS)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_FIND_TABS)));
        Search(dialog, "beta");
    });
    EXPECT_EQ(TreeView_GetSelection(main->Tab(0)->hwnd()), Node(*main->Tab(0), {"beta"}));
    Command(ID_FIND_IN_TAB, [&](HWND dialog) { Search(dialog, ""); });
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kNoSearchText});
    EXPECT_EQ(Ini().ReadString("search", "hist0", "", 200), "beta");
    EXPECT_EQ(Ini().ReadString("search", "hist1", "", 200), "");
}

TEST_F(SearchCommandsTest, AllTabsListsEachEntryOnceWithEveryTabItIsIn) {
    Open();
    ASSERT_FALSE(main->Tab(1)->IsLoaded());
    const std::string both = "メイン,三番目";
    Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_FIND_RESULTS)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_FIND_TABS)));
        Search(dialog, "");
        EXPECT_EQ(messages.texts(), std::vector<std::string>{kNoSearchText});
        EXPECT_EQ(messages.captions(), std::vector<std::string>{"(system)"});
        Search(dialog, "a");
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"Shared", "Alpha", "beta", "Gamma"}));
        EXPECT_EQ(Column(dialog, 3), (std::vector<std::string>{both, both, both, "二番目"}));
        EXPECT_EQ(Column(dialog, 2)[1], first + "\\Shared\\Alpha.url");
        // For looking at by eye: the dialog as users see it (common controls 6 through the manifest).
        testutil::WriteBmp(path::ReplaceFileName(path::ModuleFile(nullptr), "search_all_tabs.bmp"), testutil::CaptureWindow(dialog));
        Search(dialog, "a\thttp");  // title and URL are tested each by itself here
        EXPECT_TRUE(Column(dialog, 0).empty());
    });
    EXPECT_TRUE(main->Tab(1)->IsLoaded());
    EXPECT_TRUE(IsWindowVisible(main->Tab(0)->hwnd()));
    EXPECT_FALSE(IsWindowVisible(main->Tab(1)->hwnd()));
    EXPECT_EQ(messages.texts().size(), 1u);  // no message for a search without matches
    EXPECT_EQ(Ini().ReadString("search", "hist0", "", 200), "a\thttp");
}

TEST_F(SearchCommandsTest, AllTabsKeepsApartEntriesTheCodePageCannotTellApart) {
    // In the code page each pair has one name: "cafe" (or "caf?") and "??".
    for (const wchar_t* folder : {L"first\\café", L"first\\cafè"})
        ASSERT_TRUE(CreateDirectoryW(testutil::WidePath(dir, folder).c_str(), nullptr));
    testutil::WriteWideShortcut(dir, L"first\\café\\한국", "http://cafe.example/kr");
    testutil::WriteWideShortcut(dir, L"first\\café\\서울", "http://cafe.example/seoul");
    Open();
    Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
        Search(dialog, "caf");
        std::vector<std::string> urls = Column(dialog, 1);
        std::sort(urls.begin(), urls.end());
        EXPECT_EQ(urls, (std::vector<std::string>{"", "", "http://cafe.example/kr", "http://cafe.example/seoul"}));
        EXPECT_EQ(Column(dialog, 3), std::vector<std::string>(4, "メイン,三番目"));
    });
}

TEST_F(SearchCommandsTest, TextsOutsideTheCodePageAreMatchedAndListedExactly) {
    // Wide names; the exact addresses in the ".W" section (UTF-7), as Windows writes them.
    const struct {
        const wchar_t* name;
        const char* utf7;
    } shortcuts[] = {
        {L"\U0001F600 Party", "http://party.example/+2D3eAA-"},
        {L"한국 뉴스", "http://news.example/+1VytbQ-"},
        {L"Café", "http://cafe.example/caf+AOk-"},
    };
    for (const auto& each : shortcuts) {
        const std::wstring name = std::wstring(L"first\\") + each.name;
        testutil::WriteWideShortcut(dir, name, "http://placeholder.example/");
        const std::string content = std::string("[InternetShortcut]\r\nURL=http://ansi.example/?\r\n[InternetShortcut.W]\r\nURL=") + each.utf7 + "\r\n";
        const win::UniqueFile file(CreateFileW(testutil::WidePath(dir, name + L".url").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
    }
    const std::wstring emoji = L"\U0001F600";
    const struct {
        std::wstring wanted;
        std::vector<std::wstring> titles, urls;
    } cases[] = {
        {emoji, {emoji + L" Party"}, {L"http://party.example/" + emoji}},
        {L"한국", {L"한국 뉴스"}, {L"http://news.example/한국"}},
        {L"café", {L"Café"}, {L"http://cafe.example/café"}},
        {L"Cafe", {}, {}},
        {emoji.substr(0, 1), {}, {}},  // half an emoji is no character
        {L"?", {}, {}},                // nor does the code page's form of them match
    };
    Open();
    Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
        SendDlgItemMessageA(dialog, IDC_FIND_TABS, LB_SETSEL, FALSE, 2);  // the same folder again
        for (const auto& each : cases) {
            SetDlgItemTextW(dialog, IDC_FIND_TEXT, each.wanted.c_str());
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            EXPECT_EQ(WideColumn(dialog, 0), each.titles) << text::WideToUtf8(each.wanted);
            EXPECT_EQ(WideColumn(dialog, 1), each.urls) << text::WideToUtf8(each.wanted);
        }
    });
    CFavTreeView& tree = *main->Tab(0);
    const std::wstring korean = L"한국 뉴스";
    search::FindFirst(tree, L"한국");
    EXPECT_EQ(tree.FileName(TreeView_GetSelection(tree.hwnd())), korean);
    search::FindFirst(tree, emoji);
    EXPECT_EQ(tree.FileName(TreeView_GetSelection(tree.hwnd())), emoji + L" Party");
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(SearchCommandsTest, AStoppedSearchLeavesTheDialogUsableAndTheTreesAsTheyWere) {
    constexpr size_t kMany = 300;  // several looks at the messages' worth of reading
    for (size_t n = 0; n < kMany; ++n)
        dir.WriteShortcut("first\\Site " + std::to_string(n), "http://many.example/" + std::to_string(n));
    Open();
    CFavTreeView& tree = *main->Tab(0);
    const struct {
        const char* how;
        std::function<void(HWND)> stop;  // queued before the search, seen at its first look
    } ways[] = {
        {"Esc", [](HWND dialog) { PostMessageA(GetWindow(GetDlgItem(dialog, IDC_FIND_TEXT), GW_CHILD), WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"キャンセル", [](HWND dialog) {
             PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDCANCEL)));
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        for (int tab : {0, 1, 2})
            if (main->Tab(tab)->IsLoaded()) main->Tab(tab)->LoadRoot();  // nothing read yet
        const auto count = TreeView_GetCount(tree.hwnd());
        const HTREEITEM selected = TreeView_GetSelection(tree.hwnd());
        Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
            const std::string caption = ui::WindowText(dialog);
            HWND tabs = GetDlgItem(dialog, IDC_FIND_TABS);
            SendMessageA(tabs, LB_SETSEL, FALSE, -1);
            SendMessageA(tabs, LB_SETSEL, TRUE, 1);
            Search(dialog, "a");
            const std::vector<std::string> earlier = Column(dialog, 0);
            ASSERT_EQ(earlier, std::vector<std::string>{"Gamma"});
            SendMessageA(tabs, LB_SETSEL, TRUE, -1);
            way.stop(dialog);
            Search(dialog, "many.example");
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(Column(dialog, 0), earlier);  // the last search's rows stay
            EXPECT_EQ(ui::WindowText(dialog), caption);
            EXPECT_LT(tree.entries().knownAddresses(), kMany);
            Search(dialog, "many.example");  // and the dialog goes on as before
            EXPECT_EQ(Column(dialog, 0).size(), kMany);
        });
        EXPECT_EQ(TreeView_GetCount(tree.hwnd()), count);
        EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), selected);
    }
}

TEST_F(SearchCommandsTest, AllTabsSortsByAColumnUpThenDown) {
    Open();
    Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
        Search(dialog, "a");
        NMLISTVIEW click{};
        click.hdr = {GetDlgItem(dialog, IDC_FIND_RESULTS), IDC_FIND_RESULTS, static_cast<UINT>(LVN_COLUMNCLICK)};
        click.iSubItem = 0;
        SendMessageA(dialog, WM_NOTIFY, IDC_FIND_RESULTS, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"Alpha", "beta", "Gamma", "Shared"}));
        SendMessageA(dialog, WM_NOTIFY, IDC_FIND_RESULTS, reinterpret_cast<LPARAM>(&click));
        EXPECT_EQ(Column(dialog, 0), (std::vector<std::string>{"Shared", "Gamma", "beta", "Alpha"}));
    });
}

TEST_F(SearchCommandsTest, ARowWhoseEntryWentSaysSoAndARowStillThereLeadsBackToItsTab) {
    Open();
    Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
        Search(dialog, "a");
        // The entry goes while the list is open; the trees hear of it from the shell.
        const std::string gone = first + "\\beta.url";
        ASSERT_TRUE(DeleteFileA(gone.c_str()));
        SHChangeNotify(SHCNE_DELETE, SHCNF_PATHA, gone.c_str(), nullptr);
        testutil::PumpMessages();
        Object(dialog).RunRowCommand(search::AllTabsDialog::kOpenInNewWindow, ItemTitled(dialog, "beta"));
        EXPECT_EQ(messages.texts(), std::vector<std::string>{kNotFound});
        Object(dialog).RunRowCommand(search::AllTabsDialog::kBackToTree, ItemTitled(dialog, "Gamma"));
    });
    EXPECT_EQ(TabCtrl_GetCurSel(main->TabBar()), 1);
    EXPECT_TRUE(IsWindowVisible(main->Tab(1)->hwnd()));
    EXPECT_FALSE(IsWindowVisible(main->Tab(0)->hwnd()));
    EXPECT_EQ(TreeView_GetSelection(main->Tab(1)->hwnd()), Node(*main->Tab(1), {"Gamma"}));
}

TEST_F(SearchCommandsTest, TemporaryTabIsListedByItsFolderName) {
    Open();
    main->OpenTemporaryTab(text::AnsiToWide(dir.MakeDir("一時フォルダ")));
    Command(ID_FIND_IN_ALL_TABS, [&](HWND dialog) {
        HWND tabs = GetDlgItem(dialog, IDC_FIND_TABS);
        ASSERT_EQ(SendMessageA(tabs, LB_GETCOUNT, 0, 0), 4);
        char name[64] = "";
        SendMessageA(tabs, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(name));
        EXPECT_EQ(std::string(name), "一時フォルダ");
        EXPECT_EQ(SendMessageA(tabs, LB_GETSELCOUNT, 0, 0), 4);
    });
}

TEST_F(SearchCommandsTest, WebSearchSendsTheWordUnambiguouslyAndRemembersTheSite) {
    const testutil::Recorder recorder(dir, "browser");
    ASSERT_TRUE(recorder.ok());
    Open("[General]\r\nBrowser=" + recorder.program() + "\r\n[search]\r\nsite=9\r\n");
    const std::string word = "a b&c#d%e+検索";
    Command(ID_WEB_SEARCH, [&](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_WEB_SITE, CB_GETCURSEL, 0, 0), 0);  // 9 is no site
        SendDlgItemMessageA(dialog, IDC_WEB_SITE, CB_SETCURSEL, 3, 0);
        SetDlgItemTextA(dialog, IDC_WEB_WORD, word.c_str());
        SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_NE(recorder.WaitForCommandLine().find(
                  " http://dictionary.goo.ne.jp/cgi-bin/dict_search.cgi?sw=1&MT=a+b%26c%23d%25e%2B%8C%9F%8D%F5"),
              std::string::npos);
    EXPECT_EQ(Ini().ReadInt("search", "site", -1), 3);
    EXPECT_EQ(Ini().ReadString("search", "hist0", "", 200), word);
    Command(ID_WEB_SEARCH, [&](HWND dialog) {
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_WEB_SITE, CB_GETCURSEL, 0, 0), 3);
        char text[200] = "";
        SendDlgItemMessageA(dialog, IDC_WEB_WORD, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::string(text), word);
    });
}

}  // namespace
