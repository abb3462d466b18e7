// Internet Shortcut files: the exact bytes written, URLs of any length, what reading accepts.
#include "../support/TestSupport.h"

#include <favorites/ShortcutFile.h>

#include <gtest/gtest.h>

using testutil::ReadBytes;
using testutil::TempDir;

TEST(ShortcutFile, WrittenFileIsExactlySectionLineAndUrlWithoutLineBreak) {
    TempDir dir;
    const std::string file = dir / "x.url";
    ASSERT_TRUE(shortcut::Write(file, "http://example.com/a?b=1&c=2"));
    EXPECT_EQ(ReadBytes(file), "[InternetShortcut]\r\nURL=http://example.com/a?b=1&c=2");
    EXPECT_EQ(shortcut::ReadUrl(file), "http://example.com/a?b=1&c=2");
}

TEST(ShortcutFile, LongUrlsAreWrittenAndReadInFull) {
    TempDir dir;
    for (size_t length : {200u, 1000u, 5000u}) {
        const std::string url = "http://example.com/" + std::string(length - 19, 'q');
        ASSERT_EQ(url.size(), length);
        const std::string file = dir / ("long" + std::to_string(length) + ".url");
        ASSERT_TRUE(shortcut::Write(file, url));
        EXPECT_EQ(ReadBytes(file), "[InternetShortcut]\r\nURL=" + url);
        EXPECT_EQ(shortcut::ReadUrl(file), url);
    }
}

TEST(ShortcutFile, OverwritingDropsEveryOtherKey) {
    TempDir dir;
    const std::string file = dir.WriteFile("x.url", "[DEFAULT]\r\nBASEURL=http://old/\r\n[InternetShortcut]\r\nURL=http://old/\r\nIconIndex=3\r\n");
    ASSERT_TRUE(shortcut::Write(file, "http://new/"));
    EXPECT_EQ(ReadBytes(file), "[InternetShortcut]\r\nURL=http://new/");
}

TEST(ShortcutFile, ReadingAcceptsWhatTheProfileReaderAccepts) {
    TempDir dir;
    EXPECT_EQ(shortcut::ReadUrl(dir.WriteFile("lower.url", "[internetshortcut]\r\nurl=http://lower/\r\n")), "http://lower/");
    EXPECT_EQ(shortcut::ReadUrl(dir.WriteFile("other.url", "[DEFAULT]\r\nBASEURL=http://base/\r\n"
                                                          "[InternetShortcut]\r\nIconFile=x\r\nURL=http://ie/\r\n")),
              "http://ie/");
    EXPECT_FALSE(shortcut::ReadUrl(dir.WriteFile("empty.url", "[InternetShortcut]\r\nURL=\r\n")).has_value());
    EXPECT_FALSE(shortcut::ReadUrl(dir.WriteFile("nokey.url", "[InternetShortcut]\r\n")).has_value());
    EXPECT_FALSE(shortcut::ReadUrl(dir / "missing.url").has_value());
}

TEST(ShortcutFile, LabelIsTheNameWithoutAnyCaseUrlExtension) {
    EXPECT_EQ(shortcut::LabelFromFileName("x.url"), "x");
    EXPECT_EQ(shortcut::LabelFromFileName("Y.URL"), "Y");
    EXPECT_EQ(shortcut::LabelFromFileName("表.url"), "表");
    EXPECT_EQ(shortcut::LabelFromFileName("a.b.Url"), "a.b");
    EXPECT_FALSE(shortcut::LabelFromFileName("aurl").has_value());
    EXPECT_FALSE(shortcut::LabelFromFileName(".url").has_value());
    EXPECT_FALSE(shortcut::LabelFromFileName("x.url.txt").has_value());
    EXPECT_FALSE(shortcut::LabelFromFileName("x.lnk").has_value());
}
