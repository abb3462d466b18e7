// The check report, its actions, the results kept across sessions and the duplicates list, over
// real trees, real files and the test server.
#include "LinkCheckFixture.h"

#include <app/linkcheck/DuplicatesDialog.h>
#include <app/linkcheck/ReportDialog.h>
#include <app/search/TreeFind.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <resources/LinkCheckIds.h>

namespace {

using namespace linkchecktest;

struct LinkReportTest : LinkCheckTest {
    void CheckAll(CFavTreeView& tree) {
        tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
        ASSERT_TRUE(WaitFor(Settled(tree)));
    }
    static std::vector<const linkcheck::ReportRow*> Pick(const std::vector<linkcheck::ReportRow>& rows,
                                                         const std::vector<std::string>& titles) {
        std::vector<const linkcheck::ReportRow*> picked;
        for (const auto& row : rows)
            if (std::find(titles.begin(), titles.end(), row.shortcut.title) != titles.end()) picked.push_back(&row);
        return picked;
    }
    static std::vector<std::string> Titles(const std::vector<linkcheck::ReportRow>& rows) {
        std::vector<std::string> titles;
        for (const auto& row : rows) titles.push_back(row.shortcut.title);
        return titles;
    }
    // The first column of the list's rows, all or the selected ones.
    static std::vector<std::string> ListedTitles(HWND dialog, bool selectedOnly) {
        HWND list = GetDlgItem(dialog, IDC_REPORT_LIST);
        std::vector<std::string> titles;
        for (int item = -1; (item = ListView_GetNextItem(list, item, selectedOnly ? LVNI_SELECTED : LVNI_ALL)) >= 0;) {
            char text[64] = "";
            ListView_GetItemText(list, item, 0, text, sizeof text);
            titles.push_back(text);
        }
        return titles;
    }
    static void ChooseFilter(HWND dialog, int filter) {
        HWND combo = GetDlgItem(dialog, IDC_REPORT_FILTER);
        SendMessageA(combo, CB_SETCURSEL, filter, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_REPORT_FILTER, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    std::string Utf8(const std::string& ansi) const { return text::WideToUtf8(text::AnsiToWide(ansi)); }
};

TEST_F(LinkReportTest, ReportShowsVerdictsAndPreselectsOnlyTheMoveToHttps) {
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
    struct Expected {
        const char* path;
        const char* verdict;
        const char* status;
        std::string movedTo;
    };
    const Expected rows[] = {
        {"/https/page", "移動", "HTTP 301", "https://127.0.0.1:" + std::to_string(server.port()) + "/https/page"},
        {"/moved/301?to=https://other.test/", "移動 (要確認)", "HTTP 301", "https://other.test/"},
        {"/moved/308?to=/login", "移動 (要確認)", "HTTP 308", origin + "/login"},
        {"/moved/301?to=/new/place", "移動", "HTTP 301", origin + "/new/place"},
        {"/status/404", "リンク切れ", "HTTP 404", ""},
        {"/status/500", "不明", "HTTP 500", ""},
        {"/status/200", "正常", "HTTP 200", ""},
    };
    std::vector<std::string> urls;
    for (const Expected& row : rows) urls.push_back(server.Url(row.path));
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks(urls);
    CheckAll(tree);

    linkcheck::ReportDialog dialog(tree);
    std::vector<std::vector<std::string>> listed, selected;
    testutil::RunDialog([&] { return dialog.Run(GetModuleHandleA(nullptr), host.hwnd()); },
                        [&](HWND shown) {
                            listed.push_back(ListedTitles(shown, false));
                            selected.push_back(ListedTitles(shown, true));
                            for (int filter : {0, 1, 2}) {
                                ChooseFilter(shown, filter);
                                listed.push_back(ListedTitles(shown, false));
                                selected.push_back(ListedTitles(shown, true));
                            }
                            ChooseFilter(shown, 3);
                            dialog.SaveCsv(text::AnsiToWide(dir / "report.csv"));
                        },
                        IDCANCEL);
    ASSERT_EQ(dialog.rows().size(), std::size(rows));
    for (size_t n = 0; n < std::size(rows); ++n) {
        const linkcheck::ReportRow& row = dialog.rows()[n];
        EXPECT_EQ(row.Column(1), urls[n]);
        EXPECT_EQ(row.Column(2), Utf8(rows[n].verdict)) << rows[n].path;
        EXPECT_EQ(row.Column(3), rows[n].status) << rows[n].path;
        EXPECT_EQ(row.Column(4), rows[n].movedTo) << rows[n].path;
    }
    using Titles = std::vector<std::vector<std::string>>;
    EXPECT_EQ(listed, (Titles{{"01", "02", "03", "04", "05", "06", "07"}, {"05"}, {"01", "02", "03", "04"}, {"06"}}));
    EXPECT_EQ(selected, (Titles{{"01"}, {}, {"01"}, {}}));

    // UTF-8 with its byte order mark, every field quoted.
    const std::string csv = testutil::ReadBytes(dir / "report.csv");
    const std::string header = "\xEF\xBB\xBF" + Utf8("\"タイトル\",\"URL\",\"判定\",\"状態\",\"移動先\",\"フォルダ\"\r\n");
    EXPECT_EQ(csv.substr(0, header.size()), header);
    const std::string dead = Utf8("\"05\",\"" + urls[4] + "\",\"リンク切れ\",\"HTTP 404\",\"\",\"" + root + "\\links\"\r\n");
    EXPECT_NE(csv.find(dead), std::string::npos) << csv;
}

TEST_F(LinkReportTest, UpdateRewritesOnlyTheUrlLinesAndRefusesAChangedFile) {
    const std::string moved = server.Url("/https/a");
    const std::string movedTo = "https://127.0.0.1:" + std::to_string(server.port()) + "/https/a";
    CFavTreeView& tree = LoadLinks({moved, server.Url("/moved/301?to=/b2")});
    const std::string fileA = root + "\\links\\01.url", fileB = root + "\\links\\02.url";
    const std::string before = "[DEFAULT]\r\nBASEURL=" + moved + "\r\n[InternetShortcut]\r\nURL=" + moved +
                               "\r\nIconIndex=3\r\n[InternetShortcut.W]\r\nURL=" + moved + "\r\n";
    testutil::WriteBytes(fileA, before);
    CheckAll(tree);
    search::FindFirst(tree, L"/https/a");  // the searches keep the addresses from here on
    const std::vector<linkcheck::ReportRow> rows = linkcheck::CollectReport(tree);
    const std::string changedB = testutil::ReadBytes(fileB) + "\r\nIconIndex=1\r\n";
    testutil::WriteBytes(fileB, changedB);  // while the report shows it

    testutil::MessageRecorder boxes;
    linkcheck::SetResponseTimeout(500);  // the https check that follows finds a plain http server
    EXPECT_TRUE(linkcheck::UpdateMovedRows(host.hwnd(), Pick(rows, {"01", "02"})));
    ASSERT_TRUE(WaitFor(Settled(tree)));  // the updated shortcut is checked again

    ASSERT_GE(boxes.messages().size(), 2u);
    const std::string question = "次の 2 個のショートカットを移動先のアドレスに更新しますか？\n\n" + moved + "\n　→ " + movedTo +
                                 "\n" + server.Url("/moved/301?to=/b2") + "\n　→ " + server.Url("/b2");
    EXPECT_EQ(boxes.messages()[0].text, question);
    EXPECT_EQ(boxes.messages()[0].wideText, text::AnsiToWide(question)) << "asked with the exact addresses";
    EXPECT_EQ(boxes.messages()[0].caption, "移動先に更新");
    EXPECT_EQ(boxes.messages()[1].text, "次のショートカットはチェックの後に変更されたため、更新しませんでした：\n02");
    EXPECT_EQ(testutil::ReadBytes(fileA), "[DEFAULT]\r\nBASEURL=" + moved + "\r\n[InternetShortcut]\r\nURL=" + movedTo +
                                              "\r\nIconIndex=3\r\n[InternetShortcut.W]\r\nURL=" + movedTo + "\r\n");
    EXPECT_EQ(testutil::ReadBytes(fileB), changedB);
    TreeView_SelectItem(tree.hwnd(), tree.Root());
    search::FindFirst(tree, L"https://127.0.0.1");
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), Node(tree, {"links", "01"})) << "the next search finds the new address";
}

TEST_F(LinkReportTest, DeleteSendsExactlyTheSelectedUnchangedFilesToTheRecycleBin) {
    CFavTreeView& tree = LoadLinks({server.Url("/status/404"), server.Url("/status/404"), server.Url("/status/404")});
    CheckAll(tree);
    const std::vector<linkcheck::ReportRow> rows = linkcheck::CollectReport(tree);
    testutil::WriteBytes(root + "\\links\\03.url", "[InternetShortcut]\r\nURL=http://changed.test/\r\n");

    testutil::MessageRecorder boxes;
    EXPECT_TRUE(linkcheck::DeleteRows(host.hwnd(), Pick(rows, {"01", "03"})));
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{"選択した 2 個のショートカットをごみ箱に移動しますか？",
                                                       "次のショートカットはチェックの後に変更されたため、削除しませんでした：\n03"}));
    EXPECT_EQ(boxes.messages()[0].caption, "削除の確認");
    EXPECT_EQ(testutil::FolderNames(root + "\\links"), (std::vector<std::string>{"02.url", "03.url"}));
    EXPECT_EQ(testutil::ChildLabels(tree, folder), (std::vector<std::string>{"02", "03"}));
    EXPECT_TRUE(testutil::InRecycleBin(root + "\\links\\01.url"));

    boxes.AnswerNext(IDCANCEL);
    EXPECT_FALSE(linkcheck::DeleteRows(host.hwnd(), Pick(linkcheck::CollectReport(tree), {"02"})));
    EXPECT_EQ(testutil::FolderNames(root + "\\links"), (std::vector<std::string>{"02.url", "03.url"}));
}

// A new session reads the user's results file again: what was checked shows as it was, except
// for a shortcut that changed meanwhile.
TEST_F(LinkReportTest, ResultsOutliveTheSessionUnlessTheShortcutChanged) {
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
    const std::vector<std::string> urls = {server.Url("/status/404"), server.Url("/moved/301?to=/new"), server.Url("/status/200")};
    CFavTreeView& first = LoadLinks(urls);
    CheckAll(first);
    ASSERT_TRUE(path::Exists(dir / "linkcheck.json"));
    dir.WriteShortcut("fav\\links\\03", "http://elsewhere.test/");

    linkcheck::ResultStore::Instance().Reload();
    CFavTreeView& second = Load();
    folder = Node(second, {"links"});
    EXPECT_EQ(Images(second), (std::vector<int>{kDead, kAlive, kUnchecked}));
    EXPECT_EQ(StatusOf(second, 2), "移動: " + origin + "/new  " + urls[1]);
    EXPECT_EQ(Titles(linkcheck::CollectReport(second)), (std::vector<std::string>{"01", "02"}));

    // A shortcut removed while no tree looks at it leaves the file at the next session.
    DeleteFileA((root + "\\links\\02.url").c_str());
    linkcheck::ResultStore::Instance().Reload();
    linkcheck::ResultStore::Instance().Save();
    const std::string kept = testutil::ReadBytes(dir / "linkcheck.json");
    EXPECT_NE(kept.find("01.URL"), std::string::npos);
    EXPECT_EQ(kept.find("02.URL"), std::string::npos);
}

TEST_F(LinkReportTest, DuplicatesAcrossTabsAfterNormalising) {
    dir.MakeDir("fav\\sub");
    dir.MakeDir("fav2");
    dir.WriteShortcut("fav\\a", "http://Example.test:80/page#");
    dir.WriteShortcut("fav\\b", "http://example.test");
    dir.WriteShortcut("fav\\c", "http://unique.test/");
    dir.WriteShortcut("fav\\sub\\d", "http://example.test/page");
    dir.WriteShortcut("fav2\\e", "HTTP://EXAMPLE.TEST/page");
    dir.WriteShortcut("fav2\\f", "http://example.test/");
    // The third tab shows a folder of the first: its shortcut is no duplicate of itself.
    const std::string settings = testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n[Tolvak#2]\r\nFavRoot=" +
                                                                  (dir / "fav2") + "\r\n[Tolvak#3]\r\nFavRoot=" + root + "\\sub\r\n");
    std::vector<linkcheck::DuplicateTab> tabs;
    for (const char* section : {"Tolvak#1", "Tolvak#2", "Tolvak#3"}) tabs.push_back({&host.AddTree(settings, section), section});

    const std::vector<linkcheck::DuplicateGroup> groups = linkcheck::FindDuplicates(tabs);
    std::vector<std::pair<std::string, std::vector<std::string>>> found;
    for (const auto& group : groups) {
        found.push_back({group.address, {}});
        for (const auto& entry : group.entries) found.back().second.push_back(entry.tab + ":" + entry.shortcut.title);
    }
    using Found = decltype(found);
    EXPECT_EQ(found, (Found{{"http://example.test/", {"Tolvak#1:b", "Tolvak#2:f"}},
                            {"http://example.test/page", {"Tolvak#1:d", "Tolvak#1:a", "Tolvak#2:e"}}}));

    // Deleting two of a group of three (folders come first: d, a, e) leaves one address
    // bookmarked twice.
    testutil::MessageRecorder boxes;
    linkcheck::DuplicatesDialog dialog(tabs, nullptr);
    std::vector<std::string> listed;
    testutil::RunDialog([&] { return dialog.Run(GetModuleHandleA(nullptr), host.hwnd()); },
                        [&](HWND shown) {
                            HWND list = GetDlgItem(shown, IDC_REPORT_LIST);
                            for (int item : {3, 4}) ListView_SetItemState(list, item, LVIS_SELECTED, LVIS_SELECTED);
                            SendMessageA(shown, WM_COMMAND, IDC_REPORT_DELETE, 0);
                            listed = ListedTitles(shown, false);
                        },
                        IDCANCEL);
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{"選択した 2 個のショートカットをごみ箱に移動しますか？"});
    EXPECT_EQ(listed, (std::vector<std::string>{"0001", "0001"}));
    EXPECT_FALSE(path::Exists(root + "\\a.url"));
    EXPECT_FALSE(path::Exists(dir / "fav2\\e.url"));
    EXPECT_TRUE(path::Exists(root + "\\sub\\d.url"));
}

}  // namespace
