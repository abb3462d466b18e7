// Banner patterns: the pattern file's reading rules and the wildcard match.
#include <app/helpers/BannerPatterns.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Patterns = std::vector<std::string>;

TEST(BannerPatterns, FileLinesGivePatterns) {
    const struct {
        const char* text;
        Patterns expected;
    } cases[] = {
        {"*//ad*\r\n*/a*.g.*", {"*//ad*", "*/a*.g.*"}},
        {"\t  *.gif ; banners\r\n", {"*.gif "}},       // blanks before a comment stay
        {"; only a comment\r\n*/x/*\r\n", {"*/x/*"}},
        {"*/x/*\r\n\r\n*/y/*", {"*/x/*", "*/y/*"}},       // an empty CR LF line does not stop
        {"*/x/*\n\n*/y/*", {"*/x/*"}},                    // a bare LF does
        {"\n*/x/*", {}},
        {"   \n*/x/*", {"*/x/*"}},                        // blanks are characters before the LF
    };
    for (const auto& c : cases) EXPECT_EQ(banner::ParsePatterns(c.text), c.expected) << c.text;
}

TEST(BannerPatterns, ReadingStopsAfterFiftyPatterns) {
    std::string text;
    for (int n = 0; n < 60; ++n) text += "*/" + std::to_string(n) + "/*\r\n";
    const Patterns patterns = banner::ParsePatterns(text);
    ASSERT_EQ(patterns.size(), banner::kMaxPatterns);
    EXPECT_EQ(patterns.back(), "*/49/*");
}

TEST(BannerPatterns, MatchesWholeUrls) {
    const struct {
        const char* pattern;
        const char* url;
        bool matches;
    } cases[] = {
        {"*//ad*", "http://ADS.example.com/banner.gif", true},
        {"*//ad*", "http://www.example.com/ad/banner.gif", false},
        {"*.gif", "http://x/BANNER.GIF", true},
        {"*.gif", "http://x/banner.gif?size=1", false},
        {"*//??.valueclick.*", "http://ad.valueclick.net/x", true},
        {"*//??.valueclick.*", "http://adx.valueclick.net/x", false},
        {"http://x/ab??", "http://x/ab", true},           // trailing "?"s may stand for nothing
        {"http://x/ab??", "http://x/abcde", false},
        {"*.gif ", "http://x/a.gif", false},              // a trailing blank wants a blank
        {"*.gif ", "http://x/a.gif ", true},
        {"*/a*.g.*", "http://x/ad.g.doubleclick.net/", true},
        {"*", "", true},
    };
    for (const auto& c : cases) EXPECT_EQ(banner::Matches(c.pattern, c.url), c.matches) << c.pattern << " " << c.url;
}

TEST(BannerPatterns, ManyStarsAgainstALongUrlFinishAtOnce) {
    std::string pattern;
    for (int n = 0; n < 40; ++n) pattern += "*a";
    pattern += "b";
    const std::string url = "http://" + std::string(4000, 'a');
    const ULONGLONG started = GetTickCount64();
    EXPECT_FALSE(banner::Matches(pattern, url));
    EXPECT_TRUE(banner::Matches(pattern, url + "b"));
    EXPECT_LT(GetTickCount64() - started, 1000u);
}

}  // namespace
