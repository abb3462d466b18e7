// UTF-8 into code page 932 (base/TextEncoding.h) and the byte search over double-byte text that
// the import's parsers use (mbcs::Find). Plain literals compile to code page 932.
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <gtest/gtest.h>

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

}  // namespace

TEST(Utf8ToAnsi, KeepsWhatTheCodePageHasAndReplacesTheRest) {
    EXPECT_EQ(text::Utf8ToAnsi(Utf8(u8"日本語のブックマーク ｶﾀｶﾅ")), "日本語のブックマーク ｶﾀｶﾅ");
    EXPECT_EQ(text::Utf8ToAnsi(Utf8(u8"ΑΒΓ αβγ Москва × ° ±")), "ΑΒΓ αβγ Москва × ° ±");
    EXPECT_EQ(text::Utf8ToAnsi(Utf8(u8"Caf\u00E9 No\u00EBl")), "Caf? No?l") << "no best-fit look-alikes";
    EXPECT_EQ(text::Utf8ToAnsi(Utf8(u8"a\U0001F600b")), "a?b") << "one replacement for a four-byte character";
    EXPECT_EQ(text::Utf8ToAnsi("a\xFF" "b"), "a?b");
    EXPECT_EQ(text::Utf8ToAnsi(""), "");
}

TEST(Utf8ToAnsi, LongTextIsCutBetweenCharactersOnly) {
    // Three-byte characters across the converter's one-megabyte pieces.
    std::string utf8, expected;
    for (int i = 0; i < 400000; ++i) {
        utf8 += Utf8(u8"日本語");
        expected += "日本語";
    }
    EXPECT_EQ(text::Utf8ToAnsi(utf8), expected);
}

TEST(CodePointToAnsi, GivesOneCharacterOrNothingForNonCharacters) {
    EXPECT_EQ(text::CodePointToAnsi(0x65E5), "日");
    EXPECT_EQ(text::CodePointToAnsi(0x27), "'");
    EXPECT_EQ(text::CodePointToAnsi(0xE9), "?");
    EXPECT_EQ(text::CodePointToAnsi(0x1F600), "?");
    for (char32_t none : {0x0u, 0xD800u, 0xDFFFu, 0x110000u}) EXPECT_EQ(text::CodePointToAnsi(none), std::nullopt);
}

TEST(MbcsFind, NeverStopsOnTheSecondByteOfADoubleByteCharacter) {
    const std::string text = "表\\<表";  // 95 5C | 5C | 3C | 95 5C
    EXPECT_EQ(mbcs::Find(text, '\\'), 2u);
    EXPECT_EQ(mbcs::Find(text, '\\', 3), mbcs::npos);
    EXPECT_EQ(mbcs::Find(text, '<'), 3u);
    EXPECT_EQ(mbcs::Find("a<b<", '<', 2), 3u);
    EXPECT_EQ(mbcs::Find("abc", 'c', 3), mbcs::npos);
}
