// The rules behind the check report and the duplicates list: how addresses compare, which moves
// are offered, and how a moved shortcut's file is rewritten.
#include <app/linkcheck/Address.h>
#include <app/linkcheck/ShortcutUpdate.h>

#include <gtest/gtest.h>

using namespace linkcheck;

namespace {

TEST(LinkRepair, AddressesNormalise) {
    const std::pair<const char*, const char*> cases[] = {
        {"HTTP://Example.TEST/Path", "http://example.test/Path"},  // the path keeps its case
        {"http://example.test:80/a", "http://example.test/a"},
        {"https://example.test:443/a", "https://example.test/a"},
        {"http://example.test:8080/a", "http://example.test:8080/a"},
        {"http://example.test", "http://example.test/"},
        {"http://example.test/a#", "http://example.test/a"},
        {"http://example.test/a#top", "http://example.test/a#top"},
        {"ftp://Example.test/", "ftp://Example.test/"},  // not ours to judge
    };
    for (const auto& [address, normal] : cases) EXPECT_EQ(NormalizeAddress(address), normal) << address;
}

TEST(LinkRepair, MovesAreClassified) {
    const std::tuple<const char*, const char*, MoveKind> cases[] = {
        {"http://a.test/x?y=1", "https://a.test/x?y=1", MoveKind::kToHttps},
        {"http://A.test:80/x", "https://a.test/x", MoveKind::kToHttps},
        {"http://a.test:8080/x", "https://a.test:8080/x", MoveKind::kToHttps},
        {"http://a.test/x", "https://a.test/x/", MoveKind::kOrdinary},
        {"http://a.test/x", "http://a.test/y", MoveKind::kOrdinary},
        {"http://a.test/x", "https://b.test/x", MoveKind::kOrdinary},
        {"http://a.test/x", "https://b.test/", MoveKind::kSuspicious},       // another host's front page
        {"http://a.test/x", "https://b.test/?from=a", MoveKind::kSuspicious},
        {"http://a.test/", "https://a.test/login", MoveKind::kSuspicious},   // a sign-in page
        {"http://a.test/x", "https://a.test/Account/SignIn?r=x", MoveKind::kSuspicious},
        {"http://a.test/x", "https://a.test/x?login=1", MoveKind::kOrdinary},  // only the path counts
    };
    for (const auto& [from, to, kind] : cases) EXPECT_EQ(ClassifyMove(from, to), kind) << from << " -> " << to;
}

TEST(LinkRepair, OnlyTheUrlLinesAreRewritten) {
    struct Case {
        const char* content;
        const char* expected;
    };
    const Case cases[] = {
        {"[InternetShortcut]\r\nURL=http://old/\r\n", "[InternetShortcut]\r\nURL=https://new/?a+b\r\n"},
        // Other keys, sections, blank lines and line ends stay byte for byte; the key in any case.
        {"[DEFAULT]\nBASEURL=http://old/\n\n[InternetShortcut]\nIconIndex=1\n url = http://old/\nHotKey=0",
         "[DEFAULT]\nBASEURL=http://old/\n\n[InternetShortcut]\nIconIndex=1\n url = https://new/?a+b\nHotKey=0"},
        // The wide section holds UTF-7, the ANSI one the address; another section's URL stays.
        {"[InternetShortcut]\r\nURL=http://old/\r\n[InternetShortcut.A]\r\nURL=http://old/\r\n"
         "[InternetShortcut.W]\r\nURL=http://old/\r\n[Other]\r\nURL=http://old/\r\n",
         "[InternetShortcut]\r\nURL=https://new/?a+b\r\n[InternetShortcut.A]\r\nURL=https://new/?a+b\r\n"
         "[InternetShortcut.W]\r\nURL=https://new/?a+-b\r\n[Other]\r\nURL=http://old/\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(ReplaceUrlLines(c.content, "https://new/?a+b", "https://new/?a+-b"), c.expected);
    EXPECT_EQ(ReplaceUrlLines("[Other]\r\nURL=http://old/\r\n", "x", "x"), std::nullopt);
    EXPECT_EQ(ReplaceUrlLines("[InternetShortcut]\r\nURLs=http://old/\r\n", "x", "x"), std::nullopt);
    EXPECT_EQ(AsciiToUtf7("https://a.test/c++?x=+1"), "https://a.test/c+-+-?x=+-1");
    EXPECT_EQ(AsciiToUtf7("http://a.test/\x95\x5C"), std::nullopt);
}

}  // namespace
