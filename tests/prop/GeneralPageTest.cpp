// The settings tool's frame and its "General" page: the sheet driven as a user drives it, the
// settings file compared byte for byte afterwards.
#include "SheetDriver.h"

#include <base/ControlText.h>
#include <base/Handles.h>
#include <base/Path.h>
#include <prop/TabSlots.h>
#include <resources/PropIds.h>

#include <gtest/gtest.h>

using proptest::Click;
using proptest::DoubleClickLine;
using proptest::Lines;
using proptest::RunSheet;
using proptest::Sheet;
using proptest::Type;
using proptest::WithDialog;
using testutil::ReadBytes;

namespace {

const std::string kNewTab = "<新規タブ>";

struct GeneralFixture : testing::Test {
    testutil::TempDir dir;
    testutil::MessageRecorder messages;
    settings::IniFile ini;

    void Settings(const std::string& content) { ini = settings::IniFile(testutil::WriteSettings(dir, content)); }
    std::string File() const { return ReadBytes(ini.path()); }

    // A file with `count` tabs named "T1", "T2", ...
    void Tabs(int count, const std::string& more = "") {
        std::string content;
        for (int n = 1; n <= count; ++n) content += "[Tolvak#" + std::to_string(n) + "]\r\ntabName=T" + std::to_string(n) + "\r\n";
        Settings(content + more);
    }
};

// Edits the tab on `line` through the tab-edit dialog; `fill` types into the dialog before OK.
void EditTab(HWND page, int line, const std::function<void(HWND)>& fill) {
    WithDialog(
        [&](HWND dialog) {
            fill(dialog);
            Click(dialog, IDOK);
        },
        [&] { DoubleClickLine(page, IDC_TAB_LIST, line); });
}

TEST_F(GeneralFixture, ApplyRenumbersTheTabsAndTheirOtherKeysMoveAlong) {
    const std::string two = dir.MakeDir("two");
    Settings("[General]\r\nBrowser=old.exe\r\n"
             "[Tolvak#1]\r\ntabName=One\r\nFavRoot=C:\\one\r\n"
             "[Tolvak#2]\r\ntabName=Two\r\nFavRoot=" + two + "\r\nEditOnDrop=1\r\nBookMark=C:\\b.htm\r\nBookMark.NS6=1\r\n"
             "OfferBrowserProfiles=0\r\nChromiumBookMark=C:\\Bookmarks\r\n"
             "[Tolvak#3]\r\ntabName=Three\r\nOfferBrowserProfiles=1\r\nChromiumBookMark=C:\\c\\Bookmarks\r\n"
             "[Tolvak#5]\r\ntabName=Five\r\n");
    messages.AnswerNext(IDYES);
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Current();
        EXPECT_EQ(Lines(page, IDC_TAB_LIST), (std::vector<std::string>{"One", "Two", "Three", kNewTab}));
        SendDlgItemMessageA(page, IDC_TAB_LIST, LB_SETCURSEL, 0, 0);
        Click(page, IDC_TAB_DELETE);
        EditTab(page, 0, [](HWND dialog) {
            Type(dialog, IDC_TAB_BOOKMARK, "");
            Click(dialog, IDC_TAB_MOZILLA);
            EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TAB_OFFER_PROFILES), BST_UNCHECKED);
            Click(dialog, IDC_TAB_OFFER_PROFILES);
            Type(dialog, IDC_TAB_CHROMIUM, "D:\\Bookmarks");
        });
        Type(page, IDC_BROWSER, "");
        sheet.Ok();
    }));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"タブを削除します。よろしいですか？"}));
    EXPECT_EQ(messages.messages().at(0).caption, "確認");
    EXPECT_EQ(File(), "[General]\r\n"
                      "[Tolvak#1]\r\ntabName=Two\r\nFavRoot=" + two + "\r\nEditOnDrop=1\r\nChromiumBookMark=D:\\Bookmarks\r\n"
                      "[Tolvak#2]\r\ntabName=Three\r\nOfferBrowserProfiles=1\r\nChromiumBookMark=C:\\c\\Bookmarks\r\n");
}

TEST_F(GeneralFixture, CancelLeavesTheFileAndApplyWaitsForARealChange) {
    Settings("[Tolvak#1]\r\ntabName=One\r\n[Tree]\r\nitemMode=29\r\nTvBkColor=0x00FF0000\r\n[Wnd]\r\nTopMost=1\r\n");
    const std::string before = File();
    // The cookie editor's picture is taken where it lists cookies.
    const char* const pictures[] = {"prop_general", "prop_tree", "prop_wnd", "prop_ie1", nullptr};
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        for (int page = proptest::kGeneral; page <= proptest::kCookies; ++page) {
            ASSERT_NE(sheet.Show(static_cast<proptest::Page>(page)), nullptr);
            EXPECT_FALSE(sheet.ApplyEnabled()) << "page " << page;
            if (pictures[page]) proptest::SaveScreenshot(sheet, pictures[page]);
        }
        Click(sheet.Show(proptest::kWnd), IDC_WND_NO_DUAL);
        EXPECT_TRUE(sheet.ApplyEnabled());
        sheet.Cancel();
    }));
    EXPECT_EQ(File(), before);
}

TEST_F(GeneralFixture, OkWritesOnlyThePagesThatWereOpened) {
    // Values the "Tree" and "Wnd" pages would write otherwise (indent 20, no itemMode).
    Settings("[Tolvak#1]\r\ntabName=One\r\n[Tree]\r\niIndent=20\r\n[Wnd]\r\nShowStatusBar=1\r\n");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        Type(sheet.Current(), IDC_BROWSER, "new.exe");
        EXPECT_TRUE(sheet.ApplyEnabled());
        sheet.Ok();
    }));
    EXPECT_EQ(File(), "[Tolvak#1]\r\ntabName=One\r\n[Tree]\r\niIndent=20\r\n[Wnd]\r\nShowStatusBar=1\r\n"
                      "[General]\r\nBrowser=new.exe\r\n");
}

TEST_F(GeneralFixture, TheFirstPageNamesTheFileItEdits) {
    Tabs(1);
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        EXPECT_EQ(ui::ControlText(sheet.Current(), IDC_SETTINGS_FILE), dir / "tolvak.ini");
        sheet.Cancel();
    }));
}

TEST_F(GeneralFixture, TheTabListAtItsLimitsAndEnds) {
    Tabs(13);
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Current();
        auto lines = Lines(page, IDC_TAB_LIST);
        EXPECT_EQ(lines.size(), 13u) << "thirteen tabs leave no new-tab line";
        EXPECT_EQ(lines.back(), "T13");

        const auto select = [&](int line) { SendDlgItemMessageA(page, IDC_TAB_LIST, LB_SETCURSEL, line, 0); };
        select(0);
        Click(page, IDC_TAB_UP);
        select(12);
        Click(page, IDC_TAB_DOWN);
        EXPECT_EQ(Lines(page, IDC_TAB_LIST), lines) << "the first tab up and the last down change nothing";
        EXPECT_FALSE(sheet.ApplyEnabled());

        messages.AnswerNext(IDNO);
        Click(page, IDC_TAB_DELETE);
        EXPECT_EQ(Lines(page, IDC_TAB_LIST), lines) << "answered No";
        messages.AnswerNext(IDYES);
        Click(page, IDC_TAB_DELETE);
        lines.back() = kNewTab;
        EXPECT_EQ(Lines(page, IDC_TAB_LIST), lines) << "the new-tab line comes back";

        select(11);
        Click(page, IDC_TAB_DOWN);
        EXPECT_EQ(Lines(page, IDC_TAB_LIST), lines) << "a tab never moves onto the new-tab line";
        select(0);
        Click(page, IDC_TAB_DOWN);
        EXPECT_EQ(SendDlgItemMessageA(page, IDC_TAB_LIST, LB_GETCURSEL, 0, 0), 1) << "the selection follows the tab";

        EditTab(page, 12, [](HWND dialog) { Type(dialog, IDC_TAB_NAME, "Neu"); });
        lines = Lines(page, IDC_TAB_LIST);
        EXPECT_EQ(lines.size(), 13u);
        EXPECT_EQ(lines.back(), "Neu") << "the thirteenth tab takes the new-tab line's place";
        sheet.Ok();
    }));
    EXPECT_EQ(ini.ReadString("Tolvak#1", "tabName", "", 40), "T2");
    EXPECT_EQ(ini.ReadString("Tolvak#2", "tabName", "", 40), "T1");
    EXPECT_EQ(ini.ReadString("Tolvak#13", "tabName", "", 40), "Neu");
}

TEST_F(GeneralFixture, TheTabEditDialogRefusesWhatTheProgramsCannotUse) {
    Tabs(1);
    const std::string missingRoot = dir / "a\\b";
    const std::string longPath = "C:\\" + std::string(297, 'p');  // 300 bytes
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Current();
        WithDialog(
            [&](HWND dialog) {
                struct Case {
                    int field;
                    std::string text;
                    const char* message;  // nullptr: refused by a beep alone
                } cases[] = {
                    {IDC_TAB_NAME, std::string(40, 'n'), nullptr},
                    {IDC_TAB_NAME, "", "タブ名は省略できません。"},
                    {IDC_TAB_NAME, kNewTab + "2", "\"<新規タブ>\"で始まるタブ名は使えません。"},
                    {IDC_TAB_ROOT, longPath, nullptr},
                    {IDC_TAB_BOOKMARK, longPath, nullptr},
                    {IDC_TAB_WWWC, longPath, nullptr},
                    {IDC_TAB_CHROMIUM, longPath, nullptr},
                    {IDC_TAB_FIREFOX, longPath, nullptr},
                };
                for (const Case& c : cases) {
                    Type(dialog, IDC_TAB_NAME, "ok");
                    Type(dialog, c.field, c.text);
                    const size_t seen = messages.texts().size();
                    Click(dialog, IDOK);
                    EXPECT_TRUE(IsWindowVisible(dialog)) << c.text;
                    const int focusField = c.message ? IDC_TAB_NAME : c.field;
                    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, focusField)) << c.text;
                    if (c.message) {
                        EXPECT_EQ(messages.texts().back(), c.message);
                        EXPECT_TRUE(messages.messages().back().systemCaption) << c.text;
                    } else {
                        EXPECT_EQ(messages.texts().size(), seen) << c.text;
                    }
                    Type(dialog, c.field, "");
                }
                Type(dialog, IDC_TAB_NAME, std::string(39, 'n'));
                Type(dialog, IDC_TAB_ROOT, missingRoot);
                messages.AnswerNext(IDYES);
                Click(dialog, IDOK);
                EXPECT_FALSE(IsWindow(dialog) && IsWindowVisible(dialog)) << "39 bytes and a created root are fine";
            },
            [&] { DoubleClickLine(page, IDC_TAB_LIST, 1); });
        EXPECT_EQ(Lines(page, IDC_TAB_LIST), (std::vector<std::string>{"T1", std::string(39, 'n'), kNewTab}));
        sheet.Ok();
    }));
    EXPECT_EQ(messages.texts().back(), "お気に入りのルートの実体は存在しません。\nフォルダを作成しますか？");
    EXPECT_EQ(messages.messages().back().caption, "Tolvak");
    EXPECT_TRUE(path::IsDirectory(missingRoot)) << "created level by level";
    EXPECT_EQ(ini.ReadString("Tolvak#2", "FavRoot", "", 500), missingRoot);
}

TEST_F(GeneralFixture, TheBrowserFieldRefusesAPathTheProgramsWouldCut) {
    Tabs(1, "[General]\r\nBrowser=old.exe\r\n");
    const std::string before = File();
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        Type(sheet.Current(), IDC_BROWSER, "C:\\" + std::string(297, 'b'));
        EXPECT_EQ(sheet.Show(proptest::kTree), nullptr) << "the page may not be left";
        EXPECT_EQ(GetFocus(), GetDlgItem(sheet.Current(), IDC_BROWSER));
        sheet.Apply();
        sheet.Cancel();
    }));
    EXPECT_EQ(File(), before);
}

TEST_F(GeneralFixture, OkWithoutAChangeLeavesTheFileAsItWas) {
    const std::string longName(300, 'n'), longPath = "C:\\" + std::string(597, 'b');
    const struct {
        std::string file;
        std::vector<std::string> list;
    } cases[] = {
        // The first tab needs no name, and the second counts without a first section.
        {"[Tolvak#1]\r\nFavRoot=C:\\fav\r\n", {"", kNewTab}},
        {"[Tolvak#2]\r\ntabName=Two\r\n", {"", "Two", kNewTab}},
        {"[Tolvak#1]\r\nFavRoot=C:\\fav\r\n[Tolvak#2]\r\ntabName=Two\r\n[Tolvak#4]\r\ntabName=Four\r\n",
         {"", "Two", kNewTab}},
        {"[Tolvak#1]\r\n; mine\r\ntabName=\"  One  \"\r\nFavRoot = C:\\fav \r\n", {"  One  ", kNewTab}},
        {"[Tolvak#1]\r\ntabName=" + longName + "\r\nBookMark=" + longPath + "\r\n[General]\r\nBrowser=" + longPath + "\r\n",
         {longName, kNewTab}},
    };
    for (const auto& c : cases) {
        Settings(c.file);
        ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
            EXPECT_EQ(Lines(sheet.Current(), IDC_TAB_LIST), c.list);
            sheet.Ok();
        }));
        EXPECT_EQ(File(), c.file);
    }
}

TEST_F(GeneralFixture, ChangedTabsKeepEveryLineTheUserLeftAlone) {
    const std::string root = dir.MakeDir("root");
    const std::string longName(300, 'n'), longPath = "C:\\" + std::string(597, 'b');
    const std::string first = "; first\r\ntabName=\"  One  \"\r\nBookMark=" + longPath + "\r\n";
    const std::string file = "[Tolvak#1]\r\n" + first + "\r\n[Tolvak#2]\r\ntabName=" + longName + "\r\n";
    const struct {
        const char* what;
        std::function<void(HWND)> act;
        std::string expected;
    } cases[] = {
        {"moved", [](HWND page) {
             SendDlgItemMessageA(page, IDC_TAB_LIST, LB_SETCURSEL, 0, 0);
             Click(page, IDC_TAB_DOWN);
         },
         "[Tolvak#1]\r\ntabName=" + longName + "\r\n\r\n[Tolvak#2]\r\n" + first},
        {"renamed", [](HWND page) { EditTab(page, 0, [](HWND dialog) { Type(dialog, IDC_TAB_NAME, " Eins "); }); },
         "[Tolvak#1]\r\n; first\r\ntabName=\" Eins \"\r\nBookMark=" + longPath + "\r\n\r\n[Tolvak#2]\r\ntabName=" +
             longName + "\r\n"},
        {"long name kept", [&](HWND page) { EditTab(page, 1, [&](HWND dialog) { Type(dialog, IDC_TAB_ROOT, root); }); },
         file + "FavRoot=" + root + "\r\n"},
    };
    for (const auto& c : cases) {
        Settings(file);
        ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
            c.act(sheet.Current());
            sheet.Ok();
        }));
        EXPECT_EQ(File(), c.expected) << c.what;
    }
}

TEST_F(GeneralFixture, AChangeTheFileRefusesIsReportedAndTheSheetStaysOpen) {
    const struct {
        proptest::Page page;
        std::function<void(HWND)> act;
    } cases[] = {
        {proptest::kGeneral, [](HWND page) { Type(page, IDC_BROWSER, "new.exe"); }},
        {proptest::kGeneral, [&](HWND page) {
             SendDlgItemMessageA(page, IDC_TAB_LIST, LB_SETCURSEL, 1, 0);
             messages.AnswerNext(IDYES);
             Click(page, IDC_TAB_DELETE);
         }},
        {proptest::kTree, [](HWND page) { Click(page, IDC_TREE_NO_ICONS); }},
        {proptest::kWnd, [](HWND page) { Click(page, IDC_WND_TOP_MOST); }},
    };
    for (const auto& c : cases) {
        Tabs(2);
        const std::string before = File();
        ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
            c.act(sheet.Show(c.page));
            {
                const win::UniqueFile held = testutil::HoldUnshared(ini.path());
                ASSERT_TRUE(held);
                const size_t seen = messages.texts().size();
                sheet.Ok();
                EXPECT_TRUE(sheet.IsOpen()) << "page " << c.page;
                ASSERT_EQ(messages.texts().size(), seen + 1) << "page " << c.page;
                const std::string head = "設定を保存できませんでした。\n" + ini.path() + "\n";
                EXPECT_EQ(messages.texts().back().rfind(head, 0), 0u) << messages.texts().back();
                EXPECT_GT(messages.texts().back().size(), head.size()) << "the system's reason follows";
                EXPECT_TRUE(messages.messages().back().systemCaption);
            }
            EXPECT_EQ(File(), before);
            sheet.Ok();
            EXPECT_FALSE(sheet.IsOpen());
        }));
        EXPECT_NE(File(), before) << "saved once the file was free, page " << c.page;
    }
}

}  // namespace
