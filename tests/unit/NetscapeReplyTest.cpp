// The reply to Netscape's "WWW_GetWindowInfo" request: quoted fields, backslash escapes, and
// Shift-JIS text whose second bytes look like backslashes ("表" is 0x95 0x5C, "ソ" 0x83 0x5C).
#include <tree/additem/NetscapeReply.h>

#include <gtest/gtest.h>

using netscape::ParseWindowInfo;

TEST(NetscapeReply, FieldsAreUrlTitleAndFrame) {
    const netscape::WindowInfo info = ParseWindowInfo("\"http://example.com/a?b=1,2\",\"Example, Inc.\",\"main\"");
    EXPECT_EQ(info.url, "http://example.com/a?b=1,2");
    EXPECT_EQ(info.title, "Example, Inc.");
    EXPECT_EQ(info.frame, "main");
}

TEST(NetscapeReply, EscapedBytesLoseTheirBackslash) {
    const netscape::WindowInfo info =
        ParseWindowInfo(R"("http://x/?q=\"a\"","He said \"hi\" \\o/","")");
    EXPECT_EQ(info.url, "http://x/?q=\"a\"");
    EXPECT_EQ(info.title, "He said \"hi\" \\o/");
    EXPECT_EQ(info.frame, "");
}

TEST(NetscapeReply, DoubleByteCharactersAreCopiedWhole) {
    const std::string title = "表計算ソフト\"表\"";
    ASSERT_EQ(title[1], '\\');
    // Each 0x5C trail byte stays with its lead byte; the escaped quotes still lose their backslash.
    const netscape::WindowInfo info = ParseWindowInfo("\"http://x/表\",\"表計算ソフト\\\"表\\\"\",\"\"");
    EXPECT_EQ(info.url, "http://x/表");
    EXPECT_EQ(info.title, title);
}

TEST(NetscapeReply, AnEmptyFieldKeepsItsPlace) {
    const netscape::WindowInfo info = ParseWindowInfo("\"http://x/\",\"\",\"frame\"");
    EXPECT_EQ(info.title, "");
    EXPECT_EQ(info.frame, "frame");
}

TEST(NetscapeReply, ShortRepliesGiveWhatTheyHold) {
    const netscape::WindowInfo unterminated = ParseWindowInfo("\"http://x/");
    EXPECT_EQ(unterminated.url, "http://x/");
    EXPECT_EQ(unterminated.title, "");
    EXPECT_EQ(ParseWindowInfo("").url, "");
    // Half a character at the end is dropped rather than shown as garbage.
    const std::string cut = "\"http://x/\",\"" + std::string("表").substr(0, 1);
    EXPECT_EQ(ParseWindowInfo(cut).title, "");
}
