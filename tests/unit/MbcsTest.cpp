// Double-byte aware scanning and the name order. "表" is 0x95 0x5C and "ソ" is 0x83 0x5C in
// Shift-JIS: their second byte is a backslash in single-byte text.
#include <base/Mbcs.h>

#include <gtest/gtest.h>

TEST(Mbcs, TrailBytesAreNeverTakenForSeparators) {
    const std::string name = "表計算ソフト";
    ASSERT_EQ(name[1], '\\');
    EXPECT_EQ(mbcs::FindFirstOf(name, "\\"), mbcs::npos);
    EXPECT_EQ(mbcs::FindLastOf(name, "\\"), mbcs::npos);
    EXPECT_EQ(mbcs::FindLastOf("C:\\表\\ソ", "\\"), 5u);
    EXPECT_EQ(mbcs::Split("C:\\表\\ソ\\x", "\\"), (std::vector<std::string>{"C:", "表", "ソ", "x"}));
    EXPECT_EQ(mbcs::Split("\\\\a::b\\", "\\:"), (std::vector<std::string>{"a", "b"}));
}

TEST(Mbcs, ExtensionMatchesAnyCaseOnACharacterBoundary) {
    EXPECT_TRUE(mbcs::EndsWithNoCase("x.url", ".url"));
    EXPECT_TRUE(mbcs::EndsWithNoCase("X.URL", ".url"));
    EXPECT_TRUE(mbcs::EndsWithNoCase("表.Url", ".url"));
    EXPECT_FALSE(mbcs::EndsWithNoCase("x.urls", ".url"));
    EXPECT_FALSE(mbcs::EndsWithNoCase("url", ".url"));
}

TEST(Mbcs, PrefixComparisonIgnoresCaseAndRespectsCharacters) {
    EXPECT_TRUE(mbcs::StartsWithNoCase("C:\\Favorites\\x", "c:\\favorites"));
    EXPECT_FALSE(mbcs::StartsWithNoCase("C:\\Fav", "C:\\Favorites"));
    // A prefix ending in the middle of a double-byte character is no prefix.
    EXPECT_FALSE(mbcs::StartsWithNoCase("表", std::string("表").substr(0, 1)));
}

TEST(Mbcs, NamesSortWithoutRegardToCaseSingleByteBeforeDoubleByte) {
    // ASCII is compared without the runtime, which takes over where both names go on beyond it.
    std::vector<std::string> names{"z", "表", "b", "Y", "A", "c", "あ", "_x", "10", "1", "A表B", "a表", "a表a", "aZ"};
    mbcs::SortNames(names);
    EXPECT_EQ(names, (std::vector<std::string>{"1", "10", "_x", "A", "aZ", "a表", "a表a", "A表B", "b", "c", "Y", "z",
                                               "あ", "表"}));
    EXPECT_TRUE(mbcs::EqualsNoCase("ABC表", "abc表"));
}

TEST(Mbcs, TextIsCutOnlyBetweenCharacters) {
    EXPECT_EQ(mbcs::FitLength("abc", 10), 3u);
    EXPECT_EQ(mbcs::FitLength("a表b", 2), 1u);  // the lead byte of 表 alone would be half a character
    EXPECT_EQ(mbcs::FitLength("a表b", 3), 3u);
    char buffer[4];
    ASSERT_TRUE(mbcs::CopyFitting("表計算", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "表");
    ASSERT_TRUE(mbcs::CopyFitting("ab", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "ab");
    EXPECT_FALSE(mbcs::CopyFitting("x", buffer, 0));
}
