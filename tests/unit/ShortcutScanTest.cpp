// The shortcut scan (one plain read, a small parser) against the profile reader that
// shortcut::ReadUrl uses: for every shape of file the two must give the same address.
#include "../support/TestSupport.h"

#include <base/TextEncoding.h>
#include <favorites/ShortcutFile.h>
#include <favorites/ShortcutScan.h>

#include <gtest/gtest.h>

namespace {

std::string Utf16(const std::wstring& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const wchar_t unit : text) {
        const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
        bytes += bigEndian ? std::string{high, low} : std::string{low, high};
    }
    return bytes;
}

std::wstring ProfileValue(const wchar_t* section, const std::string& file) {
    std::wstring buffer(4096, L'\0');
    buffer.resize(GetPrivateProfileStringW(section, L"URL", L"", buffer.data(), 4096, text::AnsiToWide(file).c_str()));
    return buffer;
}

// The profile reader's answer, taken as the program takes it: the ".W" value (UTF-7) where it
// counts, otherwise the code page's value.
std::wstring ProfileAddress(const std::string& file) {
    const std::wstring ansi = ProfileValue(L"InternetShortcut", file);
    return shortcut::ExactValue(ProfileValue(L"InternetShortcut.W", file), ansi, ProfileValue(L"InternetShortcut.A", file))
        .value_or(ansi);
}

TEST(ShortcutScan, GivesWhatTheProfileReaderGivesForEveryShape) {
    const std::string head = "[InternetShortcut]\r\n";
    const std::string cases[] = {
        head + "URL=http://a.example/",
        "[internetshortcut]\nurl=http://b.example/\n",
        "  [ InternetShortcut ]  \r\n  URL  =   http://c.example/ x  \t\x1a\r\n",
        head + "URL=\"http://d.example/\"",
        head + "URL='http://e.example/'",
        head + "URL=\"http://f.example/",
        head + "URL=\"",
        head + "URL=\"\"",
        head + "URL=http://g.example/first\r\nURL=http://g.example/second",
        head + "X=1\r\n" + head + "URL=http://h.example/",  // only the first section counts
        head + "URL\r\nURL=http://i.example/",               // the first key has no value
        "URL=http://j.example/none\r\n[Other]\r\nURL=http://j.example/other\r\n" + head + "URL=http://j.example/",
        "[InternetShortcut]\rURL=http://k.example/\r\r\n\n",
        head + ";URL=http://l.example/comment\r\nURL=http://l.example/",
        head + "URL=http://m.example/表示/ソフト",             // trail bytes 5C
        "[InternetShortcut]ゾ\r\nURL=http://n.example/",      // ゾ is 83 5D: no "]"
        "[InternetShortcut\r\nURL=http://o.example/",
        std::string("[InternetShortcut]\r\nURL=http://p.example/\0tail", 39),
        head + "URL=http://q.example/ab\x83\r\nURL=x",          // a lead byte before the line end
        "\xEF\xBB\xBF" + head + "URL=http://r.example/caf\xC3\xA9/\xED\x95\x9C",
        Utf16(L"[InternetShortcut]\r\nURL=http://s.example/caf\u00e9/\U0001F600", false),
        Utf16(L"[InternetShortcut]\r\nURL=http://t.example/\uD55C\uAD6D", true),
        head + "URL=http://u.example/caf?\r\n[InternetShortcut.W]\r\nURL=http://u.example/caf+AOk-\r\n",
        "[InternetShortcut.W]\r\nURL=+2D3eAA-\r\n" + head + "URL=http://v.example/?",
        "[InternetShortcut.W]\r\nURL=\r\n" + head + "URL=http://w.example/",
        "[INTERNETSHORTCUT.w]\r\nURL=\"http://x.example/+AOk-\"\r\n" + head + "URL=http://x.example/",
        // The system's shape, then the same with the ANSI value changed since by an ANSI-only program.
        head + "URL=http://z.example/caf?\r\n[InternetShortcut.A]\r\nURL=http://z.example/caf?\r\n[InternetShortcut.W]\r\nURL=http://z.example/caf+AOk-\r\n",
        head + "URL=http://z.example/new\r\n[InternetShortcut.A]\r\nURL=http://z.example/caf?\r\n[InternetShortcut.W]\r\nURL=http://z.example/caf+AOk-\r\n",
        "",
        " \r\n\t",
        "[Other]\r\nURL=http://y.example/",
    };
    const testutil::TempDir dir;
    std::string buffer;
    int number = 0;
    for (const std::string& bytes : cases) {
        const std::string file = dir.WriteFile("shape" + std::to_string(++number) + ".url", bytes);
        const shortcut::ScannedFile scanned = shortcut::ScanFile(text::AnsiToWide(file), buffer);
        EXPECT_TRUE(scanned.read) << number;
        EXPECT_EQ(text::WideToUtf8(scanned.address), text::WideToUtf8(ProfileAddress(file))) << "shape " << number;
        // What the program's reader gives, where no ".W" section speaks and the code page holds
        // the address (for other characters the reader takes look-alikes: "é" gives "e").
        bool exact = false;
        const std::string ansi = text::WideToAnsi(scanned.address, &exact);
        if (exact && bytes.find("InternetShortcut.W") == std::string::npos && bytes.find("INTERNETSHORTCUT.w") == std::string::npos) {
            EXPECT_EQ(ansi, shortcut::ReadUrl(file).value_or("")) << "shape " << number;
        }
    }
}

TEST(ShortcutScan, TellsAFileThatCannotBeReadFromOneWithoutAddress) {
    const testutil::TempDir dir;
    std::string buffer;
    EXPECT_FALSE(shortcut::ScanFile(text::AnsiToWide(dir / "missing.url"), buffer).read);
    const std::string empty = dir.WriteFile("empty.url", "[InternetShortcut]\r\n");
    const shortcut::ScannedFile scanned = shortcut::ScanFile(text::AnsiToWide(empty), buffer);
    EXPECT_TRUE(scanned.read);
    EXPECT_TRUE(scanned.address.empty());
    // Longer than one read.
    const std::string url = "http://long.example/" + std::string(10000, 'x');
    EXPECT_EQ(shortcut::ScanFile(text::AnsiToWide(dir.WriteShortcut("long", url)), buffer).address, text::AnsiToWide(url));
}

}  // namespace
