#include <base/TextEncoding.h>
#include <favorites/NameRule.h>

#include <gtest/gtest.h>

TEST(NameRule, EveryForbiddenCharacterIsRefusedButTrailBytesPass) {
    for (char c : std::string("\\/:,;*?\"<>|"))
        EXPECT_EQ(fav::CheckName(std::string("a") + c + "b"), fav::NameProblem::kForbiddenCharacter) << c;
    EXPECT_EQ(fav::CheckName(""), fav::NameProblem::kEmpty);
    EXPECT_EQ(fav::CheckName(".."), fav::NameProblem::kEmpty);
    EXPECT_EQ(fav::CheckName("表計算ソフト"), fav::NameProblem::kNone);
    EXPECT_EQ(fav::CheckName("News (2026) & more."), fav::NameProblem::kNone);
}

TEST(NameRule, OutsideNamesAreMadeSafeAndStayInsideTheirFolder) {
    const struct {
        const char* outside;
        size_t maxCharacters;
        const char* safe;
    } cases[] = {
        {"..\\x", 100, "_._x"},
        {"a/b:c*d?\"e<f>g|h,i;j", 100, "a_b_c_d__e_f_g_h_i_j"},
        {"  Title\r\nwith\tbreaks  ", 100, "Title  with breaks"},
        {"..", 100, "新しいアイテム"},
        {" . . ", 100, "_ ."},
        {"", 100, "新しいアイテム"},
        {"表計算ソフト", 100, "表計算ソフト"},  // 0x5C and 0x83 trail bytes are no separators
        {"表計算ソフト", 4, "表計算ソ"},        // cut between characters
        {".hidden", 100, "_hidden"},
        {"con", 100, "_con"},            // device names reach the device, not a file
        {"Aux.html ", 100, "_Aux.html"},
        {"COM1", 100, "_COM1"},
        {"COM10", 100, "COM10"},
        {"console", 100, "console"},
    };
    for (const auto& c : cases) {
        const std::string safe = fav::SafeName(c.outside, c.maxCharacters);
        EXPECT_EQ(safe, c.safe) << c.outside;
        EXPECT_EQ(fav::CheckName(safe), fav::NameProblem::kNone) << c.outside;
        // The exact form of a name follows the same rule.
        EXPECT_EQ(fav::SafeName(text::AnsiToWide(c.outside), c.maxCharacters), text::AnsiToWide(c.safe)) << c.outside;
    }
}

TEST(NameRule, NamesOutsideTheCodePageKeepEveryCharacter) {
    const struct {
        std::wstring outside;
        size_t maxCharacters;
        std::wstring safe;
    } cases[] = {
        {L" caf\u00e9/\U0001F600 Party ", 100, L"caf\u00e9_\U0001F600 Party"},
        {L"\U0001F600\U0001F600x", 2, L"\U0001F600\U0001F600"},  // a surrogate pair is one character
        {L"\ud55c?\uad6d", 100, L"\ud55c_\uad6d"},
        {L"con\u00e9", 100, L"con\u00e9"},
    };
    for (const auto& c : cases) {
        const std::wstring safe = fav::SafeName(c.outside, c.maxCharacters);
        EXPECT_EQ(safe, c.safe) << text::WideToUtf8(c.outside);
        EXPECT_EQ(fav::CheckName(safe), fav::NameProblem::kNone) << text::WideToUtf8(c.outside);
    }
    EXPECT_EQ(fav::CheckName(std::wstring(L"caf\u00e9:x")), fav::NameProblem::kForbiddenCharacter);
    EXPECT_EQ(fav::CheckName(std::wstring(L"..")), fav::NameProblem::kEmpty);
}
