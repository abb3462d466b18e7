// UTF-8 and UTF-16 into code page 932, UTF-8 into UTF-16 (base/TextEncoding.h), and the byte
// search over double-byte text that the import's parsers use (mbcs::Find). Plain literals
// compile to code page 932.
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
    EXPECT_EQ(text::Utf8ToAnsi(Utf8(u8"Top\u00A0Sites")), "Top Sites") << "a no-break space is a blank";
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

TEST(Utf8ToWide, AReusedBufferHoldsEachTextWholeAndNothingOfTheOneBefore) {
    const struct {
        std::string utf8;
        std::wstring wide;
    } cases[] = {
        {Utf8(u8"https://www.example.com/a-long-address/page.html"), L"https://www.example.com/a-long-address/page.html"},
        {Utf8(u8"表😀x"), L"表😀x"},
        {"a\xFF\xFE" "b", L"a\xFFFD\xFFFD" "b"},
        {"", L""},
        {Utf8(u8"Caf\u00E9"), L"Caf\u00E9"},
    };
    std::wstring buffer;
    for (const auto& c : cases) {
        text::Utf8ToWide(c.utf8, buffer);
        EXPECT_EQ(buffer, c.wide) << c.utf8;
    }
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

TEST(Utf16ToAnsi, ReadsEitherByteOrderAndReplacesWhatTheCodePageLacks) {
    // 日 a, U+1F600 as a surrogate pair, an unpaired high surrogate, b, and an odd last byte.
    const std::string little("\xE5\x65" "a\0" "\x3D\xD8\x00\xDE" "\x3D\xD8" "b\0" "\x41", 13);
    const std::string big("\x65\xE5" "\0a" "\xD8\x3D\xDE\x00" "\xD8\x3D" "\0b" "\x41", 13);
    EXPECT_EQ(text::Utf16ToAnsi(little, text::ByteOrder::kLittleEndian), "日a??b?");
    EXPECT_EQ(text::Utf16ToAnsi(big, text::ByteOrder::kBigEndian), "日a??b?");
    EXPECT_EQ(text::Utf16ToAnsi("", text::ByteOrder::kBigEndian), "");
}

TEST(Utf16ToAnsi, LongTextIsCutBetweenSurrogatePairsOnly) {
    // After one "a" every piece boundary falls inside a pair: a cut there would give two "?".
    std::string utf16("a\0", 2);
    for (int i = 0; i < 600000; ++i) utf16 += std::string("\x3D\xD8\x00\xDE", 4);
    EXPECT_EQ(text::Utf16ToAnsi(utf16, text::ByteOrder::kLittleEndian), "a" + std::string(600000, '?'));
}
