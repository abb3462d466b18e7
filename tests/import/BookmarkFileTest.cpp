// Generated Netscape ("NSBM") and Dona Browser ("DNBM") files: encodings, character references,
// long lines, deep nesting and the line rules. Test sources compile to code page 932, so a plain
// literal is what the tree should show; u8"" literals are the UTF-8 a browser writes.
#include "RecordingSink.h"

#include "../support/TestSupport.h"

#include <base/Format.h>

using importtest::ImportTest;

namespace {

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string Netscape(const std::string& head, const std::string& list) {
    return "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n" + head + "<TITLE>Bookmarks</TITLE>\n<DL><p>\n" + list + "</DL><p>\n";
}

struct BookmarkFileTest : ImportTest {
    testutil::TempDir dir;
    int Import(const char* code, const std::string& content) {
        return library.Run(code, dir.WriteFile("bookmarks.htm", content), sink);
    }
};

}  // namespace

TEST_F(BookmarkFileTest, Utf8IsDeclaredInAnyLetterCaseOrByAByteOrderMark) {
    const std::string list = "<DT><A HREF=\"http://a/\">" + Utf8(u8"日本語 ΑΒΓ Москва ×°± Caf\u00E9 &#x65E5;") + "</A>\n";
    const std::string expected = "日本語 ΑΒΓ Москва ×°± Caf? 日 <http://a/>\n";
    for (const std::string& file : {
             Netscape("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">\n", list),
             Netscape("<meta charset=\"UTF-8\">\n", list),
             "\xEF\xBB\xBF" + Netscape("", list),
         }) {
        importtest::RecordingSink tree;
        ASSERT_EQ(library.Run("NSBM", dir.WriteFile("utf8.htm", file), tree), 0);
        EXPECT_EQ(tree.Outline(), expected) << file.substr(0, 60);
    }
    // Undeclared bytes are code-page text, taken as they are (trail bytes 0x5C included); a
    // charset in the list is no declaration.
    ASSERT_EQ(Import("NSBM", Netscape("", "<DT><A HREF=\"http://a/?charset=utf-8\">" + Utf8(u8"日本") +
                                              "</A>\n<DT><H3>表示</H3>\n")),
              0);
    EXPECT_EQ(sink.Outline(), Utf8(u8"日本") + " <http://a/?charset=utf-8>\n+表示\n");
}

TEST_F(BookmarkFileTest, ReferencesAreDecodedInTitlesFolderNamesAndUrls) {
    ASSERT_EQ(Import("NSBM", Netscape("", "<DT><H3>R&amp;D &lt;1&gt;</H3>\n<DL><p>\n"
                                          "<DT><A HREF=\"http://x/?a=1&amp;b=&quot;2&quot;\">&#39;s &#26085;&#X672C; "
                                          "&#233; &amp;lt; it&apos;s&nbsp;a&#160;no-break&#xA0;space AT&T &amp &nbsp "
                                          "&apos &#0; &#xD800; &#99999999;</A>\n</DL><p>\n")),
              0);
    EXPECT_EQ(sink.Outline(),
              "+R&D <1>\n"
              "  's 日本 ? &lt; it's a no-break space AT&T &amp &nbsp &apos &#0; &#xD800; &#99999999; "
              "<http://x/?a=1&b=\"2\">\n");
}

TEST_F(BookmarkFileTest, LongLinesTitlesAndUrlsArriveWhole) {
    const std::string icon = "data:image/png;base64," + std::string(20000, 'Q');
    const std::string url = "http://example.com/" + std::string(5000, 'x');
    std::string title;
    for (int i = 0; i < 1500; ++i) title += "長";
    ASSERT_EQ(Import("NSBM", Netscape("", "<DT><A HREF=\"" + url + "\" ICON=\"" + icon + "\">" + title + "</A>\n"
                                          "<DT><H3>After</H3>\n<DL><p>\n<DT><A HREF=\"http://b/\">B</A>\n</DL><p>\n")),
              0);
    EXPECT_EQ(sink.Outline(), title + " <" + url + ">\n+After\n  B <http://b/>\n");
}

TEST_F(BookmarkFileTest, DeepNestingReturnsToEveryLevelAndSurplusClosesStayAtTheSource) {
    constexpr int kDepth = 300;
    std::string list;
    std::vector<std::string> path;
    for (int i = 0; i < kDepth; ++i) {
        list += text::Format("<DT><H3>L%d</H3>\n<DL><p>\n<DT><A HREF=\"http://in/\">in%d</A>\n", i, i);
        path.push_back(text::Format("L%d", i));
    }
    for (int i = kDepth - 1; i >= 0; --i) list += text::Format("</DL><p>\n<DT><A HREF=\"http://after/\">after%d</A>\n", i);
    list += "</DL><p>\n</DL><p>\n<DT><A HREF=\"http://last/\">last</A>\n";
    ASSERT_EQ(Import("NSBM", Netscape("", list)), 0);

    using Names = std::vector<std::string>;
    EXPECT_EQ(sink.Names(), (Names{"L0", "after0", "last"}));
    EXPECT_EQ(sink.Names(path), Names{"in299"});
    EXPECT_EQ(sink.Names(std::vector<std::string>(path.begin(), path.begin() + 150)), (Names{"in149", "L150", "after150"}));
}

TEST_F(BookmarkFileTest, TagsCountOnlyAsBrowsersWriteThem) {
    ASSERT_EQ(Import("NSBM", "<DL><p>\n<DT><a href=\"http://lower/\">lower</a>\n<DT> <A HREF=\"http://space/\">space</A>\n"
                             "<DT><A HREF=\"http://noquote/>x</A>\n<DT><A HREF=\"http://notitle/\"\n<DT><H3 unended\n"
                             "<DT><H3 FOLDED>Crlf\r\n<DL><p>\r\n<DT><A HREF=\"http://in/\">in</A>\r\n</DL><p>\r\n"
                             "<DT><A HREF=\"http://last/\">last, no line feed</A>"),
              0);
    EXPECT_EQ(sink.Outline(), "+Crlf\n  in <http://in/>\nlast, no line feed <http://last/>\n");
}

TEST_F(BookmarkFileTest, FolderTheHostRefusesTakesItsContentAlong) {
    sink.refusedFolders = {"Full"};
    ASSERT_EQ(Import("NSBM", Netscape("", "<DT><H3>Full</H3>\n<DL><p>\n<DT><H3>Inner</H3>\n<DL><p>\n"
                                          "<DT><A HREF=\"http://a/\">a</A>\n</DL><p>\n<DT><A HREF=\"http://b/\">b</A>\n"
                                          "</DL><p>\n<DT><A HREF=\"http://c/\">c</A>\n")),
              0);
    EXPECT_EQ(sink.Outline(), "c <http://c/>\n");
    EXPECT_FALSE(sink.usedForeignHandle);
}

TEST_F(BookmarkFileTest, DonaFileNestsByListsAndEndsAtTheFirstEmptyLine) {
    ASSERT_EQ(Import("DNBM", "<UL>\r\n<LI>表示\r\n<UL>\r\n<LI><A HREF=\"http://a/?x=1&amp;y=2\">A &amp; B</A>\r\n"
                             "</UL>\r\n\r\n<LI><A HREF=\"http://b/\">b</A>\n\n<LI><A HREF=\"http://never/\">never</A>\n"),
              0);
    EXPECT_EQ(sink.Outline(), "+表示\n  A & B <http://a/?x=1&y=2>\nb <http://b/>\n");
}

TEST_F(BookmarkFileTest, DonaFileWithAByteOrderMarkIsUnicode) {
    const std::string list = "<UL>\r\n<LI>表示\r\n<UL>\r\n<LI><A HREF=\"http://a/\">日本 &amp; ΑΒΓ</A>\r\n</UL>\r\n\n<LI>never\r\n";
    for (const std::string& file : {importtest::Utf16File(list, 932, false), importtest::Utf16File(list, 932, true),
                                    "\xEF\xBB\xBF" + Utf8(u8"<LI>表示\n<UL>\n<LI><A HREF=\"http://a/\">日本 &amp; ΑΒΓ</A>\n")}) {
        importtest::RecordingSink tree;
        ASSERT_EQ(library.Run("DNBM", dir.WriteFile("dona.htm", file), tree), 0);
        EXPECT_EQ(tree.Outline(), "+表示\n  日本 & ΑΒΓ <http://a/>\n") << file.substr(0, 2);
    }
}

TEST_F(BookmarkFileTest, LabelsShowControlCharactersAsBlanksAndDotsAloneAsANewItem) {
    const struct {
        const char* code;
        std::string file;
        const char* outline;
    } cases[] = {
        {"NSBM", Netscape("", "<DT><H3>..</H3>\n<DL><p>\n<DT><A HREF=\"http://a/\">two&#13;&#10;lines&#9;x\x01</A>\n</DL><p>\n"),
         "+新しいアイテム\n  two  lines x  <http://a/>\n"},
        {"NSBM", Netscape("", "<DT><A HREF=\"http://a/\"> . . </A>\n<DT><A HREF=\"http://b/\">...x</A>\n"),
         " . .  <http://a/>\n...x <http://b/>\n"},
        {"DNBM", "<UL>\n<LI>x\x1Fy\x7F\n<UL>\n<LI><A HREF=\"http://a/\"> .. </A>\n</UL>\n",
         "+x y \n  新しいアイテム <http://a/>\n"},
        {"CRBM",
         R"({"roots": {"bookmark_bar": {"type": "folder", "name": "..", "children": [)"
         R"({"type": "url", "name": "a\r\nb\u0000c\u007f", "url": "https://a/"}, {"type": "url", "name": "..", "url": "https://b/"}]}}})",
         "+新しいアイテム\n  a  b c  <https://a/>\n  新しいアイテム <https://b/>\n"},
    };
    for (const auto& c : cases) {
        importtest::RecordingSink tree;
        ASSERT_EQ(library.Run(c.code, dir.WriteFile("labels.htm", c.file), tree), 0) << c.file;
        EXPECT_EQ(tree.Outline(), c.outline) << c.file;
    }
}
