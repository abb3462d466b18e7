// The cache cleaner over this test prefix's own URL cache: pages, CGI output, history entries
// and cookies made by the test; the pattern file beside a stand-in program folder.
#include "../support/TestSupport.h"

#include <app/helpers/CacheCleaner.h>
#include <base/UrlCache.h>

#include <wininet.h>

#include <gtest/gtest.h>

using testutil::MessageRecorder;

namespace {

struct CacheCleanerTest : testing::Test {
    testutil::TempDir dir;
    MessageRecorder messages;
    HMODULE resources = GetModuleHandleA(nullptr);

    void SetUp() override {
        // Each test starts from an empty cache, so the counts are its own.
        std::vector<std::string> urls;
        for (const char* pattern : {static_cast<const char*>(nullptr), "visited:"})
            urlcache::ForEach(pattern, [&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
                urls.emplace_back(entry.lpszSourceUrlName);
                return urlcache::Walk::kContinue;
            });
        for (const std::string& url : urls) urlcache::Delete(url);
    }
    // A cache entry with `size` bytes of content (none: an entry without a file, as history).
    static void AddEntry(const std::string& url, size_t size, DWORD type = NORMAL_CACHE_ENTRY) {
        char file[MAX_PATH] = "";
        if (size) {
            ASSERT_TRUE(CreateUrlCacheEntryA(url.c_str(), static_cast<DWORD>(size), "", file, 0)) << url;
            ASSERT_TRUE(testutil::WriteBytes(file, std::string(size, 'x')));
        }
        static const char headers[] = "HTTP/1.0 200 OK\r\n\r\n";
        FILETIME none{};
        ASSERT_TRUE(CommitUrlCacheEntryA(url.c_str(), size ? file : nullptr, none, none, type,
                                         reinterpret_cast<BYTE*>(const_cast<char*>(headers)), sizeof headers - 1,
                                         nullptr, nullptr))
            << url;
    }
    static bool Cached(const std::string& url) { return urlcache::Lookup(url).has_value(); }
    std::string PatternFile() const { return cachecleaner::PatternFilePath(dir.path()); }
};

const char kAdImage[] = "http://ads.example.com/banner.gif";
const char kAdPath[] = "http://www.example.com/ad/index.html";
const char kCgiPage[] = "http://www.example.com/cgi-bin/find?q=1";
const char kAdVisit[] = "Visited: user@http://ADS.example.com/click?id=2";

TEST_F(CacheCleanerTest, BannerCommandDeletesMatchesHistoryIncludedAndCountsTheirBytes) {
    AddEntry(kAdImage, 1234);
    AddEntry(kAdPath, 100);
    AddEntry(kCgiPage, 10);
    AddEntry(kAdVisit, 0, URLHISTORY_CACHE_ENTRY);
    ASSERT_TRUE(Cached(kAdVisit));
    cachecleaner::DeleteBannerCache(nullptr, resources, dir.path());

    EXPECT_FALSE(Cached(kAdImage));
    EXPECT_FALSE(Cached(kAdVisit));
    EXPECT_TRUE(Cached(kAdPath));
    EXPECT_TRUE(Cached(kCgiPage));
    ASSERT_EQ(messages.messages().size(), 1u);
    const std::string expected = "2個のキャッシュ ファイル・履歴を削除しました。\n1234バイト節約出来ました♪";
    EXPECT_EQ(messages.messages()[0].text, expected);
    EXPECT_EQ(messages.messages()[0].caption, "Cache Deleter");
    EXPECT_EQ(messages.messages()[0].flags, UINT(MB_ICONINFORMATION));
}

TEST_F(CacheCleanerTest, BannerCommandCountsOnlyWhatWasReallyDeleted) {
    AddEntry(kAdImage, 500);
    AddEntry("http://ads.example.com/top.gif", 700);
    // An entry whose file is held open cannot be deleted.
    char info[4096];
    DWORD size = sizeof info;
    ASSERT_TRUE(RetrieveUrlCacheEntryFileA(kAdImage, reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(info), &size, 0));
    cachecleaner::DeleteBannerCache(nullptr, resources, dir.path());
    EXPECT_TRUE(Cached(kAdImage));
    UnlockUrlCacheEntryFileA(kAdImage, 0);
    const std::string expected = "1個のキャッシュ ファイル・履歴を削除しました。\n700バイト節約出来ました♪";
    EXPECT_EQ(messages.texts(), std::vector<std::string>{expected});
}

TEST_F(CacheCleanerTest, CgiCommandKeepsHistoryAndCookies) {
    AddEntry(kCgiPage, 10);
    AddEntry(kAdImage, 10);
    AddEntry("Visited: user@http://www.example.com/cgi-bin/find?q=1", 0, URLHISTORY_CACHE_ENTRY);
    ASSERT_TRUE(InternetSetCookieA("http://www.example.com/", "id", "1; expires=Sat, 01-Jan-2050 00:00:00 GMT"));
    cachecleaner::DeleteCgiCache(nullptr);

    EXPECT_FALSE(Cached(kCgiPage));
    EXPECT_TRUE(Cached(kAdImage));
    EXPECT_TRUE(Cached("Visited: user@http://www.example.com/cgi-bin/find?q=1"));
    char cookie[200] = "";
    DWORD size = sizeof cookie;
    EXPECT_TRUE(InternetGetCookieA("http://www.example.com/", nullptr, cookie, &size));
    const std::string expected = "1個のcgiキャッシュを削除しました";
    EXPECT_EQ(messages.texts(), std::vector<std::string>{expected});
}

TEST_F(CacheCleanerTest, EmptyCacheAndUnreadablePatternsAreReported) {
    cachecleaner::DeleteCgiCache(nullptr);
    CreateDirectoryA((dir / "data").c_str(), nullptr);
    testutil::WriteBytes(PatternFile(), "\n*//ad*\r\n");  // a bare LF first: no patterns
    cachecleaner::DeleteBannerCache(nullptr, resources, dir.path());
    const std::vector<std::string> expected{"キャッシュがありません", "[data\\banner.ini]が見つからないか、メモリが足りません。"};
    EXPECT_EQ(messages.texts(), expected);
    EXPECT_EQ(messages.captions(), std::vector<std::string>(2, "(system)"));
}

TEST_F(CacheCleanerTest, MissingPatternFileIsMadeFromTheDefaults) {
    AddEntry(kAdImage, 10);
    cachecleaner::DeleteBannerCache(nullptr, resources, dir.path());
    const std::string text = testutil::ReadBytes(PatternFile());
    EXPECT_EQ(text.size(), 161u);
    EXPECT_EQ(text.rfind("*//ad*\r\n*/a*.g.*\r\n", 0), 0u);
    EXPECT_NE(text.back(), '\n');
    EXPECT_FALSE(Cached(kAdImage));
}

}  // namespace
