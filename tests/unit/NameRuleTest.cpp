#include <tree/NameRule.h>

#include <gtest/gtest.h>

TEST(NameRule, EveryForbiddenCharacterIsRefusedButTrailBytesPass) {
    for (char c : std::string("\\/:,;*?\"<>|"))
        EXPECT_EQ(fav::CheckName(std::string("a") + c + "b"), fav::NameProblem::kForbiddenCharacter) << c;
    EXPECT_EQ(fav::CheckName(""), fav::NameProblem::kEmpty);
    EXPECT_EQ(fav::CheckName("表計算ソフト"), fav::NameProblem::kNone);
    EXPECT_EQ(fav::CheckName("News (2026) & more."), fav::NameProblem::kNone);
}
