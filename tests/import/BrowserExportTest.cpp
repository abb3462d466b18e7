// Netscape bookmark files as real browsers write them (tests/data/bookmarks), imported with "NSBM".
// Characters code page 932 lacks (é, the dashes, «) arrive as "?".
#include "RecordingSink.h"

#include "../support/TestSupport.h"

using importtest::ImportTest;

namespace {

std::string BrowserFile(const std::string& name) { return std::string(IMPORT_TEST_DATA) + "\\" + name; }

struct BrowserExport {
    const char* file;
    UINT codePage;  // what the browser wrote it in
    const char* outline;
};

// Firefox writes the entry after a separator on the separator's line, also a folder's closing tag.
const BrowserExport kExports[] = {
    {"firefox_separators.htm", CP_UTF8,
     "+Mozilla Firefox\n"
     "  Get Help <https://support.mozilla.org/products/firefox>\n"
     "  Customize Firefox <https://support.mozilla.org/kb/customize-firefox-controls-buttons-and-toolbars"
     "?utm_source=firefox-browser&utm_medium=default-bookmarks&utm_campaign=customize>\n"
     "  Get Involved <https://www.mozilla.org/contribute/>\n"
     "  About Us <https://www.mozilla.org/about/>\n"
     "+料理 & レシピ\n"
     "  クックパッド <https://cookpad.com/>\n"
     "  クラシル '動画' <https://www.kurashiru.com/>\n"
     "<body>: 文書本体要素 - HTML | MDN <https://developer.mozilla.org/ja/docs/Web/HTML/Element/body>\n"
     "+Bookmarks Toolbar\n"
     "  Getting Started <https://www.mozilla.org/firefox/central/>\n"
     "  +仕事\n"
     "    GitHub <https://github.com/>\n"
     "    Example \"JP\" <https://www.example.co.jp/search?q=a&b=c>\n"
     "+Other Bookmarks\n"
     "  東京 - Wikipedia <https://ja.wikipedia.org/wiki/%E6%9D%B1%E4%BA%AC>\n"},
    {"chrome_windows.htm", CP_UTF8,
     "+Bookmarks bar\n"
     "  Google <https://www.google.co.jp/>\n"
     "  +ニュース\n"
     "    NHK NEWS WEB <https://www3.nhk.or.jp/news/>\n"
     "    Yahoo!ニュース <https://news.yahoo.co.jp/>\n"
     "  Me at the zoo - YouTube <https://www.youtube.com/watch?v=jNQXAC9IVRw&t=5s>\n"
     "Caf? - Wikipedia <https://en.wikipedia.org/wiki/Caf%C3%A9>\n"
     "c++ - What's the difference between \"const\" & <constexpr>? - Stack Overflow "
     "<https://stackoverflow.com/questions/1325/what-is-the-difference>\n"
     "+Mobile bookmarks\n"
     "  天気予報 - tenki.jp <https://tenki.jp/>\n"},
    {"edge_windows.htm", CP_UTF8,
     "+お気に入りバー\n"
     "  MSN <https://www.msn.com/ja-jp>\n"
     "  +ソフトウェア開発\n"
     "    Win32 アプリの開発 - Win32 apps | Microsoft Learn <https://learn.microsoft.com/ja-jp/windows/win32/>\n"
     "天気 - 検索 <https://www.bing.com/search?q=%E5%A4%A9%E6%B0%97&form=QBLH>\n"},
    {"internet_explorer_6_shift_jis.htm", 932,
     "+リンク\n"
     "  Windows <http://www.microsoft.com/isapi/redir.dll?prd=ie&pver=6&ar=CLinks>\n"
     "  無料 Hotmail <http://www.microsoft.com/isapi/redir.dll?prd=ie&ar=hotmail>\n"
     "+ソフト表示\n"
     "  Vector: ソフトを探す！ <http://www.vector.co.jp/>\n"
     "Yahoo! JAPAN <http://www.yahoo.co.jp/>\n"
     "２ちゃんねる掲示板へようこそ <http://www.2ch.net/>\n"},
};

}  // namespace

TEST_F(ImportTest, BrowserExportsKeepEveryFolderAndBookmarkInPlace) {
    for (const BrowserExport& browser : kExports) {
        importtest::RecordingSink tree;
        EXPECT_EQ(library.Run("NSBM", BrowserFile(browser.file), tree), 0);
        EXPECT_EQ(tree.Outline(), browser.outline) << browser.file;
    }
}

TEST_F(ImportTest, BrowserExportsSavedAsUtf16InEitherByteOrderImportAlike) {
    testutil::TempDir dir;
    for (const BrowserExport& browser : kExports) {
        for (const bool bigEndian : {false, true}) {
            const std::string file = importtest::Utf16File(testutil::ReadBytes(BrowserFile(browser.file)), browser.codePage, bigEndian);
            importtest::RecordingSink tree;
            EXPECT_EQ(library.Run("NSBM", dir.WriteFile("utf16.htm", file), tree), 0);
            EXPECT_EQ(tree.Outline(), browser.outline) << browser.file << (bigEndian ? " big endian" : " little endian");
        }
    }
}

TEST_F(ImportTest, NetscapeFileKeepsItsNestingAndIgnoresDescriptions) {
    ASSERT_EQ(library.Run("NSBM", BrowserFile("netscape_nested.htm"), sink), 0);
    EXPECT_EQ(sink.Outline(),
              "Nested 1 <http://nest.ed/1>\n"
              "+Folder1\n"
              "  Nested 1-1 <http://nest.ed/1-1>\n"
              "  Nested 1-2 <http://nest.ed/1-2>\n"
              "+Folder2\n"
              "  Nested 2-1 <http://nest.ed/2-1>\n"
              "  Nested 2-2 <http://nest.ed/2-2>\n"
              "+Folder3\n"
              "  +Folder3-1\n"
              "    Nested 3-1 <http://nest.ed/3-1>\n"
              "    Nested 3-2 <http://nest.ed/3-2>\n"
              "Nested 2 <http://nest.ed/2>\n");
    EXPECT_FALSE(sink.usedForeignHandle);
}

TEST_F(ImportTest, NetscapeDescriptionsOverSeveralLinesAddNothing) {
    ASSERT_EQ(library.Run("NSBM", BrowserFile("netscape_multiline.htm"), sink), 0);
    EXPECT_EQ(sink.Outline(),
              "Multiline desc <http://multi.li.ne/1>\n"
              "Multiline desc <http://multi.li.ne/2>\n"
              "Multiline desc <http://multi.li.ne/3>\n");
}

TEST_F(ImportTest, ChromiumExportIsDecodedAsUtf8PastItsIconLines) {
    ASSERT_EQ(library.Run("NSBM", BrowserFile("chromium_nested.htm"), sink), 0);
    EXPECT_EQ(sink.Count(true), 7u);
    EXPECT_EQ(sink.Count(false), 18u);
    using Names = std::vector<std::string>;
    EXPECT_EQ(sink.Names(), (Names{"Personal toolbar", "Regex Crossword", "WINDOWS93",
                                   "Timeline of the Elves in Tolkien’s works | LotrProject Blog", "Dev", "MOOC",
                                   "Linux", "Self-hosting"}));
    EXPECT_EQ(sink.Names({"Dev"}), (Names{"PHP", "Python", "GitHub - lhartikk/ArnoldC: Arnold Schwarzenegger based programming language",
                                          "Are there any worse sorting algorithms than Bogosort (a.k.a Monkey Sort)? - Stack Overflow"}));
    EXPECT_EQ(sink.Names({"Dev", "Python"}), (Names{"Welcome :: CheckiO", "Welcome to the tox automation project ? tox 2.3.2 documentation",
                                                    "Overview ? Sphinx 1.4.4 documentation"}));
    EXPECT_EQ(sink.Names({"Self-hosting"})[1], "Framasoft ~ Page portail du r?seau");
    // The item right after a line of 1,260 bytes (an ICON data URI).
    EXPECT_EQ(sink.Find({"Regex Crossword"})->url, "https://regexcrossword.com/");
}

TEST_F(ImportTest, FirefoxExportKeepsUnknownAmpersandsInUrls) {
    ASSERT_EQ(library.Run("NSBM", BrowserFile("firefox_flat.htm"), sink), 0);
    EXPECT_EQ(sink.Count(false), 24u);
    const std::vector<std::string> top = sink.Names();
    ASSERT_EQ(top.size(), 23u);
    EXPECT_EQ(top[4], "Survive The Deep End: PHP Security ? Survive The Deep End: PHP Security :: v1.0a1");
    EXPECT_EQ(top[10], "Announcing Pony Mode ? a Django editing mode for Emacs ? Deadpan Sincerity");
    EXPECT_EQ(top[21], "Fractal Flowchart - Spiked Math");
    EXPECT_EQ(top[22], "Personal toolbar");
    EXPECT_EQ(sink.Names({"Personal toolbar"}), (std::vector<std::string>{"Most visited", "Getting Started"}));
    EXPECT_EQ(sink.Find({"Recently saved"})->url,
              "place:folder=BOOKMARKS_MENU&folder=UNFILED_BOOKMARKS&folder=TOOLBAR&queryType=1&sort=12&maxResults=10"
              "&excludeQueries=1");
    EXPECT_EQ(sink.Find({"Getting Started"}), nullptr) << "only inside its folder";
}

TEST_F(ImportTest, InternetExplorerExportWithByteOrderMarkKeepsItsFolders) {
    ASSERT_EQ(library.Run("NSBM", BrowserFile("internet_explorer_11_nested.htm"), sink), 0);
    EXPECT_EQ(sink.Count(false), 27u);
    EXPECT_EQ(sink.Names(), (std::vector<std::string>{"Comics", "Dev", "Links", "Microsoft Websites", "Music",
                                                      "Windows Live", "Learn to write Gallifreyan in 9 simple steps",
                                                      "Let me google that for you"}));
    EXPECT_EQ(sink.Names({"Dev"}).size(), 9u);
    EXPECT_EQ(sink.Names({"Dev", "SCM"})[0], "A better git log (Example)  Coderwall");
    EXPECT_TRUE(sink.Names({"Links"}).empty());
    EXPECT_EQ(sink.Find({"Let me google that for you"})->url, "http://lmgtfy.com/");
}
