// The cookie editor over cookies that the test puts into its own prefix's browser cache.
#include "SheetDriver.h"

#include <base/UrlCache.h>
#include <resources/PropIds.h>

#include <wininet.h>

#include <gtest/gtest.h>

#include <algorithm>

using proptest::Click;
using proptest::RunSheet;
using proptest::Sheet;
using proptest::Type;

namespace {

const char* const kHosts[] = {"red.tolvak.test", "reddish.tolvak.test", "blue.tolvak.test"};

struct CookieFixture : testing::Test {
    testutil::TempDir dir;
    testutil::MessageRecorder messages;
    settings::IniFile ini{testutil::WriteSettings(dir, "")};

    void SetUp() override {
        for (const char* host : kHosts)
            ASSERT_TRUE(InternetSetCookieA((std::string("http://") + host + "/").c_str(), nullptr,
                                           "k=v; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
        AddLargeEntry();
    }
    // A cookie entry whose information is far larger than a fixed 5,000-byte buffer.
    static void AddLargeEntry() {
        const char url[] = "Cookie:user@large.tolvak.test/";
        char file[MAX_PATH] = "";
        ASSERT_TRUE(CreateUrlCacheEntryA(url, 0, "txt", file, 0));
        ASSERT_TRUE(testutil::WriteBytes(file, "k\nv\nlarge.tolvak.test/\n"));
        const std::string headers = "X-Filler: " + std::string(8000, 'f') + "\r\n\r\n";
        ASSERT_TRUE(CommitUrlCacheEntryA(url, file, {}, {}, COOKIE_CACHE_ENTRY,
                                         reinterpret_cast<BYTE*>(const_cast<char*>(headers.data())),
                                         static_cast<DWORD>(headers.size()), nullptr, nullptr));
    }
    void TearDown() override {
        for (const std::string& line : ours_) urlcache::Delete(line);
    }

    // The list's lines of this test's cookies, in list order.
    std::vector<std::string> Ours(HWND page) {
        std::vector<std::string> lines;
        for (const std::string& line : proptest::Lines(page, IDC_COOKIE_LIST))
            if (line.find("tolvak.test") != std::string::npos) lines.push_back(line);
        ours_ = lines.empty() ? ours_ : lines;
        return lines;
    }
    static std::vector<std::string> Selected(HWND page) {
        std::vector<std::string> selected;
        HWND list = GetDlgItem(page, IDC_COOKIE_LIST);
        const auto lines = proptest::Lines(page, IDC_COOKIE_LIST);
        for (size_t i = 0; i < lines.size(); ++i)
            if (SendMessageA(list, LB_GETSEL, i, 0) > 0) selected.push_back(lines[i]);
        return selected;
    }
    static std::string WithHost(const std::vector<std::string>& lines, const std::string& host) {
        const auto found = std::find_if(lines.begin(), lines.end(),
                                        [&](const std::string& line) { return line.find("@" + host + "/") != std::string::npos; });
        return found == lines.end() ? std::string() : *found;
    }

    std::vector<std::string> ours_;
};

TEST_F(CookieFixture, ListsSelectsByTextAndDeletesAfterAsking) {
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Show(proptest::kCookies);
        const std::vector<std::string> lines = Ours(page);
        ASSERT_EQ(lines.size(), 4u) << "the large entry neither ends the list nor goes missing";
        for (const std::string& line : lines) EXPECT_EQ(line.rfind("Cookie:", 0), 0u) << line;
        proptest::SaveScreenshot(sheet, "prop_cookies");
        const std::string red = WithHost(lines, "red.tolvak.test"), reddish = WithHost(lines, "reddish.tolvak.test"),
                          blue = WithHost(lines, "blue.tolvak.test"), large = WithHost(lines, "large.tolvak.test");
        EXPECT_FALSE(large.empty());

        SendDlgItemMessageA(page, IDC_COOKIE_LIST, LB_SETSEL, TRUE, std::find(lines.begin(), lines.end(), blue) - lines.begin());
        Type(page, IDC_COOKIE_TEXT, "@red");
        Click(page, IDC_COOKIE_SELECT);
        EXPECT_EQ(Selected(page), (std::vector<std::string>{red, reddish})) << "blue is deselected";
        Type(page, IDC_COOKIE_TEXT, "");
        Click(page, IDC_COOKIE_SELECT);
        EXPECT_TRUE(Selected(page).empty()) << "an empty text selects nothing";

        Type(page, IDC_COOKIE_TEXT, "red");
        Click(page, IDC_COOKIE_SELECT);
        messages.AnswerNext(IDNO);
        Click(page, IDC_COOKIE_DELETE);
        EXPECT_EQ(Ours(page).size(), 4u) << "answered No";
        messages.AnswerNext(IDYES);
        Click(page, IDC_COOKIE_DELETE);
        EXPECT_EQ(Ours(page), (std::vector<std::string>{blue, large}));
        EXPECT_FALSE(urlcache::Lookup(red));
        EXPECT_FALSE(urlcache::Lookup(reddish));
        EXPECT_FALSE(sheet.ApplyEnabled()) << "the page's actions take effect at once";

        ASSERT_TRUE(urlcache::Delete(blue));
        Click(page, IDC_COOKIE_RELOAD);
        EXPECT_EQ(Ours(page), (std::vector<std::string>{large})) << "reloading drops a cookie deleted elsewhere";
    }));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>(2, "2 個のクッキーを削除します。よろしいですか？")));
}

}  // namespace
