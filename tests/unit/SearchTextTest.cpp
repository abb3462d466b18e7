// Search texts: the match at character boundaries, the web search's query words and the search
// history kept in the settings file.
#include "../support/TestSupport.h"

#include <app/search/SearchHistory.h>
#include <app/search/TextMatch.h>
#include <app/search/WebSearch.h>
#include <base/TextEncoding.h>

#include <gtest/gtest.h>

namespace {

TEST(SearchText, MatchesWholeCharactersExactlyAndCaseSensitively) {
    const wchar_t* party = L"\U0001F600 Party";  // a surrogate pair, then ASCII
    const wchar_t* pair = L"\U0001F600";
    const std::wstring high(pair, 1), low(pair + 1, 1);
    const struct {
        std::wstring text, wanted;
        bool found;
    } cases[] = {
        {L"アニメ", L"A", false},         {L"表計算ソフト", L"\\", false}, {L"表計算ソフト", L"計算", true},
        {L"aアA", L"A", true},            {L"Tolvak", L"tolvak", false},    {L"café", L"cafe", false},
        {L"café", L"afé", true},          {L"한국어 사전", L"국어", true},  {party, pair, true},
        {party, high, false},             {party, low, false},              {party, low + L" P", false},
        {party, L"Party", true},
    };
    for (const auto& c : cases) EXPECT_EQ(search::Contains(c.text, c.wanted), c.found) << text::WideToUtf8(c.wanted);
    EXPECT_EQ(search::Fit(party, 1), L"");  // never half a pair
    EXPECT_EQ(search::Fit(party, 2), pair);
}

TEST(SearchText, QueryWordsKeepTheirBytesUnambiguous) {
    const std::string japanese = "検索";  // 8C 9F 8D F5
    EXPECT_EQ(search::EncodeQueryWord("a b&c#d%e+f"), "a+b%26c%23d%25e%2Bf");
    EXPECT_EQ(search::EncodeQueryWord(japanese), "%8C%9F%8D%F5");
    EXPECT_EQ(search::EncodeQueryWord("A-z.0_9~"), "A-z.0_9~");
    const std::string longWord(1000, 'x');
    EXPECT_EQ(search::QueryUrl(search::SearchSites()[0], longWord).size(),
              search::SearchSites()[0].prefix.size() + longWord.size());
    EXPECT_EQ(search::SiteIndexOrFirst(7), 0u);
    EXPECT_EQ(search::SiteIndexOrFirst(-1), 0u);
    EXPECT_EQ(search::SiteIndexOrFirst(3), 3u);
}

struct SearchHistoryTest : testing::Test {
    testutil::TempDir dir;
    settings::IniFile ini{dir / "tolvak.ini"};
};

TEST_F(SearchHistoryTest, RepeatedTextMovesUpSpelledAsTypedLast) {
    search::SearchHistory history(ini);
    for (const char* text : {"alpha", "Beta", "gamma", "beta"}) history.Add(text);
    history.Save();
    search::SearchHistory loaded(ini);
    loaded.Load();
    ASSERT_EQ(loaded.size(), 3u);
    EXPECT_EQ(loaded[0], "beta");
    EXPECT_EQ(loaded[1], "gamma");
    EXPECT_EQ(loaded[2], "alpha");
}

TEST_F(SearchHistoryTest, FullListDropsTheOldestAndKeepsBlanks) {
    search::SearchHistory history(ini);
    for (int n = 0; n < 26; ++n) history.Add("text" + std::to_string(n));
    history.Add("  padded  ");
    history.Save();
    search::SearchHistory loaded(ini);
    loaded.Load();
    ASSERT_EQ(loaded.size(), 26u);
    EXPECT_EQ(loaded[0], "  padded  ");
    EXPECT_EQ(loaded[25], "text1");  // text0 fell out
}

TEST_F(SearchHistoryTest, TextsTheCodePageCannotHoldAreSearchedButNotKept) {
    search::SearchHistory history(ini);
    for (const wchar_t* text : {L"表計算", L"\U0001F600 Party", L"café", L"한국"}) history.Add(std::wstring(text));
    history.Save();
    search::SearchHistory loaded(ini);
    loaded.Load();
    ASSERT_EQ(loaded.size(), 1u);  // stored, the others would read as "? Party", "caf?", "??"
    EXPECT_EQ(loaded[0], "表計算");
}

}  // namespace
