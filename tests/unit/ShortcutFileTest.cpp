// Internet Shortcut files: the exact bytes written, URLs of any length, what reading accepts, and
// the sections the system writes for text outside the code page.
#include "../support/TestSupport.h"

#include <base/TextEncoding.h>
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

// The system keeps what the code page lacks in "InternetShortcut.W" (UTF-7: only letters, digits
// and '(),-./:? stay as they are; "=", "&" and "\\" go into base64 runs that always end in "-"),
// beside the ANSI section and its copy in "InternetShortcut.A".
TEST(ShortcutFile, AddressesOutsideTheCodePageAreWrittenWithTheSystemsWideSections) {
    struct Case {
        const wchar_t* address;
        const char* file;
    };
    const Case cases[] = {
        {L"http://example.com/caf\u00e9",
         "[InternetShortcut]\r\nURL=http://example.com/caf?\r\n[InternetShortcut.A]\r\nURL=http://example.com/caf?\r\n"
         "[InternetShortcut.W]\r\nURL=http://example.com/caf+AOk-\r\n"},
        {L"http://example.com/?q=caf\u00e9&x=1",
         "[InternetShortcut]\r\nURL=http://example.com/?q=caf?&x=1\r\n[InternetShortcut.A]\r\nURL=http://example.com/?q=caf?&x=1\r\n"
         "[InternetShortcut.W]\r\nURL=http://example.com/?q+AD0-caf+AOkAJg-x+AD0-1\r\n"},
        {L"http://ko.example/\u8868/\ud55c\uad6d",
         "[InternetShortcut]\r\nURL=http://ko.example/\x95\x5c/??\r\n[InternetShortcut.A]\r\nURL=http://ko.example/\x95\x5c/??\r\n"
         "[InternetShortcut.W]\r\nURL=http://ko.example/+iGg-/+1VytbQ-\r\n"},
        // Within the code page the file stays as it always was.
        {L"http://example.jp/\u8868\u793a", "[InternetShortcut]\r\nURL=http://example.jp/\x95\x5c\x8e\xa6"},
    };
    TempDir dir;
    const std::wstring file = text::AnsiToWide(dir / "x.url");
    for (const Case& c : cases) {
        SCOPED_TRACE(text::WideToUtf8(c.address));
        ASSERT_TRUE(shortcut::Write(file, std::wstring_view(c.address)));
        EXPECT_EQ(ReadBytes(dir / "x.url"), c.file);
        EXPECT_EQ(shortcut::ReadAddress(file), c.address);
        EXPECT_EQ(shortcut::ReadUrl(file), text::WideToAnsi(c.address));
    }
}

TEST(ShortcutFile, TheWideValueWinsUnlessTheAnsiValueChangedSinceItWasWritten) {
    struct Case {
        const char* name;
        const char* file;
        std::optional<std::wstring> address;
        std::optional<std::wstring> icon;
    };
    const Case cases[] = {
        {"as the system writes it",
         "[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n[InternetShortcut]\r\nIDList=\r\n"
         "URL=http://example.com/caf?\r\nIconFile=C:\\Icons\\?.ico\r\nIconIndex=0\r\n"
         "[InternetShortcut.A]\r\nURL=http://example.com/caf?\r\nIconFile=C:\\Icons\\?.ico\r\n"
         "[InternetShortcut.W]\r\nURL=http://example.com/caf+AOk-\r\nIconFile=C:+AFw-Icons+AFwA/A-.ico\r\n",
         L"http://example.com/caf\u00e9", L"C:\\Icons\\\u00fc.ico"},
        {"no ANSI copy", "[InternetShortcut]\r\nURL=http://x/?\r\n[InternetShortcut.W]\r\nURL=http://x/+AOk-\r\n",
         L"http://x/\u00e9", std::nullopt},
        {"ANSI value edited by hand",
         "[InternetShortcut]\r\nURL=http://edited/\r\n[InternetShortcut.A]\r\nURL=http://x/?\r\n"
         "[InternetShortcut.W]\r\nURL=http://x/+AOk-\r\n",
         L"http://edited/", std::nullopt},
        {"no UTF-7 in the wide section", "[InternetShortcut]\r\nURL=http://x/a\r\n[InternetShortcut.W]\r\nURL=http://x/\x95\x5c\r\n",
         L"http://x/a", std::nullopt},
        {"plain file, plain icon", "[InternetShortcut]\r\nURL=http://x/\r\nIconFile=C:\\i.ico\r\n", L"http://x/", L"C:\\i.ico"},
    };
    TempDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring file = text::AnsiToWide(dir.WriteFile("x.url", c.file));
        EXPECT_EQ(shortcut::ReadAddress(file), c.address);
        EXPECT_EQ(shortcut::ReadIconFile(file), c.icon);
    }
}
