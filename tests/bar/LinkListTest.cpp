// "リンク出力" over a page the test builds: the test's thread runs the modal dialog as the bar
// does, a second thread plays the user (reads the dialog, unticks lines, answers the save dialog
// and its overwrite question) and finally closes it with Escape's command.
#include "FakePage.h"

#include "../support/Picture.h"
#include "../support/TestSupport.h"

#include <bar/linklist/LinkListDialog.h>
#include <bar/linklist/LinkListIds.h>
#include <bar/linklist/ListFiles.h>
#include <base/ControlText.h>
#include <base/Path.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <utility>
#include <vector>

using bartest::FakePage;
using bartest::PageBrowser;

namespace {

constexpr char kWriteFailed[] = "ファイルに書き込めませんでした。";
using Lines = std::vector<std::pair<std::string, bool>>;  // text, ticked

// What the user sees of the dialog.
struct Shown {
    std::string caption;
    Lines lines;
    std::vector<std::string> frames;
    std::string referer;
    bool refererEnabled = false;
    bool defaultsTicked = true;
    std::string folder;
};

Shown Look(HWND dialog) {
    Shown shown;
    shown.caption = ui::WindowText(dialog);
    HWND list = GetDlgItem(dialog, IDC_LINK_LINKS);
    for (int line = 0; line < ListView_GetItemCount(list); ++line) {
        char text[600] = "";
        ListView_GetItemText(list, line, 0, text, sizeof text);
        shown.lines.emplace_back(text, ListView_GetCheckState(list, line) != FALSE);
    }
    HWND frames = GetDlgItem(dialog, IDC_LINK_FRAMES);
    const auto count = static_cast<int>(SendMessageA(frames, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string name(static_cast<size_t>(SendMessageA(frames, CB_GETLBTEXTLEN, i, 0)) + 1, '\0');
        name.resize(static_cast<size_t>(SendMessageA(frames, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name.data()))));
        shown.frames.push_back(name);
    }
    shown.referer = ui::WindowText(GetDlgItem(dialog, IDC_LINK_REFERER));
    shown.refererEnabled = IsWindowEnabled(GetDlgItem(dialog, IDC_LINK_REFERER)) != FALSE;
    shown.defaultsTicked = IsDlgButtonChecked(dialog, IDC_LINK_DEFAULTS) == BST_CHECKED;
    shown.folder = ui::WindowText(GetDlgItem(dialog, IDC_LINK_FOLDER));
    return shown;
}

void Untick(HWND dialog, int line) { ListView_SetCheckState(GetDlgItem(dialog, IDC_LINK_LINKS), line, FALSE); }

void TickDefaults(HWND dialog) {
    HWND box = GetDlgItem(dialog, IDC_LINK_DEFAULTS);
    SendMessageA(box, BM_SETCHECK, BST_CHECKED, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_LINK_DEFAULTS, BN_CLICKED), reinterpret_cast<LPARAM>(box));
}

// Presses a save button, types `file` into the save dialog and confirms it. Each overwrite
// question that comes gets the next answer (No when none is left); after a "No" the save dialog
// is cancelled. Returns how many questions came, -1 when the save dialog did not show or stayed.
int SaveAs(HWND dialog, int button, const std::string& file, const std::vector<int>& answers = {}) {
    PostMessageA(dialog, WM_COMMAND, button, 0);
    HWND save = testutil::WaitForOwnDialog(dialog);
    if (!save) return -1;
    // The file name box: cmb13 in the explorer-style dialog, edt1 in older ones.
    if (!SetDlgItemTextA(save, 0x47C, file.c_str())) SetDlgItemTextA(save, 0x480, file.c_str());
    PostMessageA(save, WM_COMMAND, IDOK, 0);
    int questions = 0;
    // Every question is answered as it comes, until the save dialog goes.
    const bool closed = testutil::WaitFor([&] {
        if (HWND question = testutil::OwnDialog(save)) {
            const int answer = questions < static_cast<int>(answers.size()) ? answers[questions] : IDNO;
            ++questions;
            PostMessageA(question, WM_COMMAND, answer, 0);
            testutil::WaitUntilGone(question);
            if (answer == IDNO) PostMessageA(save, WM_COMMAND, IDCANCEL, 0);
        }
        return !IsWindowVisible(save);
    });
    return closed && testutil::WaitUntilGone(save) ? questions : -1;
}

struct LinkListFixture : testing::Test {
    testutil::TempDir dir;
    testutil::MessageRecorder messages;
    win::UniqueWindow owner{CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 300,
                                            nullptr, nullptr, GetModuleHandleA(nullptr), nullptr)};

    // Runs the link list for `browser` while `user` acts on its dialog, which is then closed with
    // Escape's command; false when no dialog came.
    bool Run(IWebBrowser2* browser, const std::function<void(HWND)>& user) {
        return testutil::PlayUser([&] { linklist::ShowLinkList(owner.get(), browser); }, owner.get(), [&](HWND dialog) {
            user(dialog);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        });
    }
};

}  // namespace

TEST_F(LinkListFixture, EveryAnchorIsListedTickedUnderThePagesNameWithItsFrames) {
    FakePage page(L"索引", L"http://example.jp/索引.html");
    const std::wstring outsideCodePage = L"http://example.jp/caf\u00e9/\U0001F600?q=\u00e9";
    page.Frame(L"menu");
    page.Anchor(L"http://example.jp/docs/page.html");  // relative on the page, resolved by the engine
    page.Anchor(L"http://example.jp/search?q=1&lang=ja");  // "&amp;" on the page
    page.Area();
    page.Anchor(L"http://example.jp/日本語.html");
    page.Frame(L"body");
    page.Anchor(outsideCodePage);
    page.Anchor(L"http://example.jp/docs/page.html");
    page.Anchor(L"javascript:void(0)");
    page.Frame(L"ad");
    PageBrowser browser(&page);

    Shown shown;
    ASSERT_TRUE(Run(&browser, [&](HWND dialog) {
        shown = Look(dialog);
        // For the eye: build/tests/linklist.bmp shows the dialog as the user sees it.
        testutil::WriteBmp(path::ReplaceFileName(path::ModuleFile(nullptr), "linklist.bmp"), testutil::CaptureWindow(dialog));
    }));
    const Lines expected = {{"http://example.jp/docs/page.html", true},
                            {"http://example.jp/search?q=1&lang=ja", true},
                            {"http://example.jp/日本語.html", true},
                            {"http://example.jp/caf%C3%A9/%F0%9F%98%80?q=%C3%A9", true},
                            {"http://example.jp/docs/page.html", true},
                            {"javascript:void(0)", true}};
    EXPECT_EQ(shown.lines, expected);
    EXPECT_EQ(shown.caption, "索引のリンク");
    EXPECT_EQ(shown.referer, "http://example.jp/索引.html");
    EXPECT_TRUE(shown.refererEnabled);
    EXPECT_FALSE(shown.defaultsTicked);
    EXPECT_EQ(shown.folder, "");
    EXPECT_EQ(shown.frames, (std::vector<std::string>{"ad", "body", "menu"}));
}

TEST_F(LinkListFixture, CaptionIsTheTitleFollowedByLinks) {
    const struct {
        std::wstring title;
        std::string caption;
    } pages[] = {{L"Index", "Indexのリンク"}, {L"", "のリンク"}, {L"caf\u00e9", "caf?のリンク"}};
    for (const auto& [title, caption] : pages) {
        FakePage page(title, L"http://example.jp/");
        PageBrowser browser(&page);
        std::string shown;
        ASSERT_TRUE(Run(&browser, [&](HWND dialog) { shown = ui::WindowText(dialog); }));
        EXPECT_EQ(shown, caption);
    }
}

TEST_F(LinkListFixture, ListsHoldTheTickedLinksByteForByte) {
    FakePage page(L"p", L"http://example.jp/index.html");
    page.Anchor(L"http://a.example/1");
    page.Anchor(L"http://a.example/2");
    page.Anchor(L"http://example.jp/日本語.html");
    PageBrowser browser(&page);
    const std::string folder = "C:\\DL\\画像";
    const std::string links[] = {"http://a.example/1", "http://example.jp/日本語.html"};
    const auto iria = [&](const std::string& lines) {
        std::string list;
        for (const std::string& link : links) list += "URL=" + link + "\r\nFolder=" + folder + "\r\n" + lines + "\r\n";
        return list;
    };
    // In order, in one opening: names typed without extension, each save after its step.
    const struct {
        const char* name;
        int button;
        std::function<void(HWND)> step;
        std::string bytes;
    } saves[] = {
        {"urls.lst", IDC_LINK_SAVE_URLS, [](HWND) {}, links[0] + "\r\n" + links[1] + "\r\n"},
        {"referer.iri", IDC_LINK_SAVE_IRIA, [](HWND) {},
         iria("ID=1\r\nHttpRefererType=4\r\nHttpRefererStr=http://example.jp/index.html\r\n")},
        {"empty-referer.iri", IDC_LINK_SAVE_IRIA, [](HWND d) { SetDlgItemTextA(d, IDC_LINK_REFERER, ""); },
         iria("ID=1\r\nHttpRefererType=4\r\nHttpRefererStr=\r\n")},
        {"defaults.iri", IDC_LINK_SAVE_IRIA, TickDefaults, iria("ID=0\r\n")},
        {"none.lst", IDC_LINK_SAVE_URLS,
         [](HWND d) {
             for (int line = 0; line < 3; ++line) Untick(d, line);
         },
         ""},
    };
    bool refererEnabledWithDefaults = true;
    ASSERT_TRUE(Run(&browser, [&](HWND dialog) {
        Untick(dialog, 1);
        SetDlgItemTextA(dialog, IDC_LINK_FOLDER, folder.c_str());
        for (const auto& save : saves) {
            save.step(dialog);
            const std::string typed = dir / save.name;
            EXPECT_EQ(SaveAs(dialog, save.button, typed.substr(0, typed.rfind('.'))), 0) << save.name;
        }
        refererEnabledWithDefaults = IsWindowEnabled(GetDlgItem(dialog, IDC_LINK_REFERER)) != FALSE;
    }));
    EXPECT_FALSE(refererEnabledWithDefaults);
    for (const auto& save : saves) EXPECT_EQ(testutil::ReadBytes(dir / save.name), save.bytes) << save.name;
}

TEST_F(LinkListFixture, AnExistingFileIsReplacedOnlyAfterTheUserAgrees) {
    const std::string file = dir.WriteFile("links.lst", "old\r\n");
    FakePage page(L"p", L"http://example.jp/");
    page.Anchor(L"http://a.example/");
    PageBrowser browser(&page);
    ASSERT_TRUE(Run(&browser, [&](HWND dialog) {
        EXPECT_EQ(SaveAs(dialog, IDC_LINK_SAVE_URLS, file, {IDNO}), 1);
        EXPECT_EQ(testutil::ReadBytes(file), "old\r\n");
        EXPECT_EQ(SaveAs(dialog, IDC_LINK_SAVE_URLS, file, {IDYES}), 1);
    }));
    EXPECT_EQ(testutil::ReadBytes(file), "http://a.example/\r\n");
    EXPECT_TRUE(messages.messages().empty());
}

TEST_F(LinkListFixture, AFailedWriteIsReportedAndLeavesTheOldFile) {
    const std::string file = dir.WriteFile("links.lst", "old\r\n");
    ASSERT_TRUE(SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY));
    FakePage page(L"p", L"http://example.jp/");
    page.Anchor(L"http://a.example/");
    PageBrowser browser(&page);
    HWND shown = nullptr;
    ASSERT_TRUE(Run(&browser, [&](HWND dialog) {
        shown = dialog;
        EXPECT_EQ(SaveAs(dialog, IDC_LINK_SAVE_URLS, file, {IDYES}), 1);
    }));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(testutil::ReadBytes(file), "old\r\n");
    ASSERT_EQ(messages.texts(), std::vector<std::string>{kWriteFailed});
    EXPECT_EQ(messages.messages()[0].owner, shown);
}

TEST_F(LinkListFixture, LinksAndRefererOfAnyLengthAreWrittenWhole) {
    const std::string tail(5000, 'x');
    const std::wstring wideTail(tail.begin(), tail.end());
    FakePage page(L"p", L"http://example.jp/?r=" + wideTail);
    page.Anchor(L"http://example.jp/?q=" + wideTail);
    PageBrowser browser(&page);
    const std::string file = dir / "long.iri";
    ASSERT_TRUE(Run(&browser, [&](HWND dialog) { EXPECT_EQ(SaveAs(dialog, IDC_LINK_SAVE_IRIA, file), 0); }));
    EXPECT_EQ(testutil::ReadBytes(file), "URL=http://example.jp/?q=" + tail +
                                             "\r\nFolder=\r\nID=1\r\nHttpRefererType=4\r\nHttpRefererStr="
                                             "http://example.jp/?r=" +
                                             tail + "\r\n\r\n");
}

TEST_F(LinkListFixture, WithoutAnHtmlPageOneMessageSaysSoAndNoDialogOpens) {
    FakePage page(L"p", L"http://example.jp/");
    page.Anchor(L"http://a.example/");
    PageBrowser failing(&page, PageBrowser::Shows::kFailure), empty(&page, PageBrowser::Shows::kNoDocument),
        otherKind(&page, PageBrowser::Shows::kOtherKind);
    IWebBrowser2* const browsers[] = {nullptr, &failing, &empty, &otherKind};
    for (size_t i = 0; i < std::size(browsers); ++i) {
        EXPECT_FALSE(Run(browsers[i], [](HWND) {})) << i;
        ASSERT_EQ(messages.messages().size(), i + 1) << i;
        EXPECT_EQ(messages.messages()[i].text, "表示中のページからリンクを取得できませんでした。");
        EXPECT_EQ(messages.messages()[i].owner, owner.get());
    }
}

TEST(LinkListFiles, LineBreaksInAddressesCannotAddLinesOrRecords) {
    const std::vector<std::string> links = {"http://a/\r\nURL=http://evil/", "http://b/\n表"};
    EXPECT_EQ(linklist::UrlList(links), "http://a/%0D%0AURL=http://evil/\r\nhttp://b/%0A表\r\n");
    EXPECT_EQ(linklist::IriaList({links[1]}, {"C:\\DL", "http://r/\rx", false}),
              "URL=http://b/%0A表\r\nFolder=C:\\DL\r\nID=1\r\nHttpRefererType=4\r\nHttpRefererStr=http://r/%0Dx\r\n\r\n");
}
