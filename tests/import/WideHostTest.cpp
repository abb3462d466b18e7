// Every format keeps its text exactly where the host offers the wide calls, and an older host
// (ANSI calls only) still gets each entry, in its code page with "?" for what that lacks. Test
// sources compile to code page 932: plain literals are Shift_JIS bytes, u8"" literals UTF-8.
#include "RecordingSink.h"

#include "../support/TestSupport.h"

#include <base/FileSystem.h>

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }


}  // namespace

TEST(WideHost, ImportsKeepExactTextAndAnOlderHostGetsTheCodePage) {
    testutil::TempDir dir;
    // The same titles in every format: emoji outside the BMP, Hangul, accents, code page 932's own.
    const std::string netscapeList = Utf8(u8"<DT><H3>😀 Party</H3>\n<DL><p>\n"
                                          u8"<DT><A HREF=\"https://ko.example/한국\">한국어 Café ①髙</A>\n</DL><p>\n");
    const std::string shiftJisList = "<DT><H3>&#x1F600; Party</H3>\n<DL><p>\n"
                                     "<DT><A HREF=\"https://ko.example/&#xD55C;&#xAD6D;\">&#xD55C;&#xAD6D;&#xC5B4; "
                                     "Caf&#233; \x87\x40\xFB\xFC</A>\n</DL><p>\n";
    const std::string chromium = Utf8(u8R"({"roots": {"bookmark_bar": {"type": "folder", "name": "\ud83d\ude00 Party", "children": [)"
                                      u8R"({"type": "url", "name": "한국어 Café ①髙", "url": "https://ko.example/한국"}]}}})");
    const std::wstring fileOutline = L"+\U0001F600 Party\n  한국어 Café ①髙 <https://ko.example/한국>\n";
    const std::string olderOutline = "+? Party\n  ??? Caf? ①髙 <https://ko.example/?\?>\n";

    // WWWC keeps Item.dat in Shift_JIS; the folder names and shortcut names are the file system's.
    const std::wstring wwwc = text::AnsiToWide(dir.MakeDir("wwwc"));
    ASSERT_TRUE(CreateDirectoryW(fsys::Join(wwwc, L"\U0001F600 Party").c_str(), nullptr));
    dir.WriteFile("wwwc\\Item.dat", "\x87\x40\xFB\xFC\thttp://sjis/\r\n");
    const std::wstring favorites = text::AnsiToWide(dir.MakeDir("favorites"));
    const std::wstring party = fsys::Join(favorites, L"\U0001F600 Party");
    ASSERT_TRUE(CreateDirectoryW(party.c_str(), nullptr));
    const std::wstring shortcut = fsys::Join(party, L"한국어 Café ①髙.url");
    ASSERT_TRUE(fsys::ReplaceContent(shortcut, "[InternetShortcut]\r\nURL=http://k/\r\n"));

    const struct {
        const char* code;
        std::string location;  // file or folder
        std::wstring exact;
        std::string codePage;
    } cases[] = {
        {"NSBM", dir.WriteFile("utf8.htm", "<META CONTENT=\"text/html; charset=UTF-8\">\n<DL><p>\n" + netscapeList), fileOutline, olderOutline},
        {"NSBM", dir.WriteFile("utf16.htm", importtest::Utf16File("<DL><p>\n" + netscapeList, CP_UTF8, false)), fileOutline, olderOutline},
        {"NSBM", dir.WriteFile("sjis.htm", "<DL><p>\n" + shiftJisList), fileOutline, olderOutline},
        {"DNBM", dir.WriteFile("dona.htm", "\xEF\xBB\xBF" + Utf8(u8"<UL>\n<LI>😀 Party\n<UL>\n"
                                                                  u8"<LI><A HREF=\"https://ko.example/한국\">한국어 Café ①髙</A>\n")), fileOutline, olderOutline},
        {"CRBM", dir.WriteFile("Bookmarks", chromium), fileOutline, olderOutline},
        {"WWWC", text::WideToAnsi(wwwc), L"+\U0001F600 Party\n①髙 <http://sjis/>\n", "+? Party\n①髙 <http://sjis/>\n"},
        {"IEF", text::WideToAnsi(favorites), L"+\U0001F600 Party\n  한국어 Café ①髙 <http://k/>\n",
         "+? Party\n  ??? Caf? ①髙 <http://k/>\n"},
    };
    importtest::ImportLibrary library;
    for (const auto& c : cases) {
        importtest::RecordingSink wide(true), older;
        ASSERT_EQ(library.Run(c.code, c.location, wide), 0) << c.location;
        EXPECT_EQ(wide.WideOutline(), c.exact) << c.location;
        EXPECT_FALSE(wide.usedAnsiAdd) << c.location;
        ASSERT_EQ(library.Run(c.code, c.location, older), 0) << c.location;
        EXPECT_EQ(older.Outline(), c.codePage) << c.location;
    }
}
