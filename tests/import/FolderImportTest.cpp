// The folder formats: WWWC data folders ("WWWC", Item.dat lists) and favorites folders ("IEF").
#include "RecordingSink.h"

#include "../support/TestSupport.h"

#include <base/Format.h>

using importtest::ImportTest;

namespace {

using Names = std::vector<std::string>;

struct FolderImportTest : ImportTest {
    testutil::TempDir dir;
    void MakeHidden(const std::string& relative) const {
        SetFileAttributesA((dir / relative).c_str(), FILE_ATTRIBUTE_HIDDEN);
    }
};

// An Item.dat line as the WWWC export writes it: 16 tab-separated fields, CR LF.
std::string ItemLine(const std::string& title, const std::string& url) {
    return title + "\t" + url + "\t\t\t0\t\t\t\t\t\t\t\t0\t\t\t\r\n";
}

}  // namespace

TEST_F(FolderImportTest, WwwcFolderGivesSortedFoldersThenTheItemsOfItsItemDat) {
    dir.MakeDir("data");
    dir.WriteFile("data\\Item.dat", ItemLine("One", "http://one/") +
                                        "Ninth\thttp://second/\t3\t4\t5\t6\t7\t8\thttp://ninth/\t10\r\n" +
                                        "  表示\thttp://sjis/\r\n" + ItemLine("a\x01" "b", "http://a/") + ItemLine("..", "http://dots/") +
                                        "no tab ends the list\r\n" + ItemLine("Never", "http://never/"));
    dir.MakeDir("data\\banana");
    dir.WriteFile("data\\banana\\Item.dat", "b\thttp://b/\n\nafter an empty line\thttp://never/\n");
    dir.MakeDir("data\\Apple");  // no Item.dat of its own
    dir.MakeDir("data\\Apple\\core");
    dir.WriteFile("data\\Apple\\core\\Item.dat", ItemLine("long", "http://x/" + std::string(5000, 'x')));
    dir.MakeDir("data\\.dot");
    dir.MakeDir("data\\hidden");
    MakeHidden("data\\hidden");

    std::string path = dir / "data\\";
    ASSERT_EQ(library.Run("WWWC", path, sink), 0);
    EXPECT_STREQ(path.c_str(), (dir / "data").c_str()) << "one trailing backslash goes, in the host's copy too";
    EXPECT_EQ(sink.Outline(),
              "+Apple\n"
              "  +core\n"
              "    long <http://x/" + std::string(5000, 'x') + ">\n"
              "+banana\n"
              "  b <http://b/>\n"
              "One <http://one/>\n"
              "Ninth <http://ninth/>\n"
              "表示 <http://sjis/>\n"
              "a b <http://a/>\n"
              "新しいアイテム <http://dots/>\n");
}

TEST_F(FolderImportTest, WwwcFolderHasNoLimitOnSubfolders) {
    for (int i = 0; i < 60; ++i) dir.MakeDir(text::Format("f%02d", i));
    ASSERT_EQ(library.Run("WWWC", dir.path(), sink), 0);
    EXPECT_EQ(sink.Count(true), 60u);
    EXPECT_EQ(sink.Names().back(), "f59");
}

TEST_F(FolderImportTest, FavoritesFolderTakesUrlFilesByLabelFoldersFirst) {
    // "表" ends in the byte 0x5C: only the real trailing backslash may go.
    const std::string root = dir.MakeDir("表");
    dir.MakeDir("表\\apple");
    dir.WriteShortcut("表\\apple\\inner", "http://inner/");
    dir.MakeDir("表\\many");
    for (int i = 0; i < 300; ++i) dir.WriteShortcut(text::Format("表\\many\\s%03d", i), "http://many/");
    dir.WriteFile("表\\a.URL", "[InternetShortcut]\r\nURL=http://a/\r\n");
    dir.WriteShortcut("表\\a-b", "http://ab/");
    dir.WriteShortcut("表\\Banana", "http://banana/");
    const std::string longUrl = "http://long/" + std::string(3000, 'l');
    dir.WriteShortcut("表\\long", longUrl);
    dir.WriteFile("表\\nourl.url", "[InternetShortcut]\r\n");
    dir.WriteShortcut("表\\secret", "http://secret/");
    MakeHidden("表\\secret.url");
    dir.WriteFile("表\\b.txt", "");
    dir.WriteFile("表\\xurl", "");
    dir.WriteFile("表\\.url", "");

    std::string path = root + "\\";
    ASSERT_EQ(library.Run("IEF", path, sink), 0);
    EXPECT_STREQ(path.c_str(), root.c_str());
    EXPECT_EQ(sink.Names(), (Names{"apple", "many", "a", "a-b", "Banana", "long", "nourl"}));
    EXPECT_EQ(sink.Names({"apple"}), Names{"inner"});
    EXPECT_EQ(sink.Names({"many"}).size(), 300u);
    EXPECT_EQ(sink.Find({"a"})->url, "http://a/");
    EXPECT_EQ(sink.Find({"long"})->url, longUrl);
    EXPECT_EQ(sink.Find({"nourl"})->url, "") << "shown, with an empty URL";
}

TEST_F(FolderImportTest, FolderLinkedToItselfIsShownButNotWalkedAgain) {
    dir.MakeDir("data");
    dir.MakeDir("data\\a");
    dir.WriteFile("data\\a\\x.url", "[InternetShortcut]\r\nURL=http://x/\r\n");
    if (!testutil::MakeJunction(dir / "data\\a\\loop", dir / "data")) GTEST_SKIP() << "no junctions on this file system";
    for (const char* format : {"WWWC", "IEF"}) {
        importtest::RecordingSink walked;
        const ULONGLONG start = GetTickCount64();
        ASSERT_EQ(library.Run(format, dir / "data", walked), 0);
        EXPECT_LT(GetTickCount64() - start, 1000u) << format;
        EXPECT_EQ(walked.Outline(), std::string("+a\n  +loop\n") + (format[0] == 'I' ? "  x <http://x/>\n" : "")) << format;
    }
}

TEST_F(FolderImportTest, FavoritesWithNamesOutsideTheCodePageKeepTheirUrls) {
    dir.MakeDir("data");
    const std::wstring folder = testutil::WidePath(dir, L"data\\ü");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    testutil::WriteWideShortcut(dir, L"data\\ü\\한국", "http://korea/");
    ASSERT_EQ(library.Run("IEF", dir / "data", sink), 0);
    EXPECT_EQ(sink.Outline(), "+?\n  ?? <http://korea/>\n");
}
