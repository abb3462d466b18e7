// The Netscape bookmark file ("NSBM"): its exact bytes, and trees that read back as themselves,
// through our own import and (HtmlSamples, checked by check_html.py) through Python's html.parser.
#include "FakeTree.h"
#include "../support/TestSupport.h"

#include <base/Format.h>
#include <base/TextEncoding.h>

#include <gtest/gtest.h>

#include <string_view>

using exporttest::FakeTree;

namespace {

std::string Utf8(std::u8string_view text) { return std::string(text.begin(), text.end()); }

// A tree with names that need escaping, Shift-JIS trail bytes 0x5C (表, ソ), code page 932's own
// characters (①, 髙), empty folders, a chain of folders deeper than any fixed stack, and what an
// export leaves out; `outline` gets what an import of the file must show, as FakeTree::Outline
// writes it (one space of indent per level).
void FillRoundTripTree(FakeTree& tree, std::string& outline) {
    using namespace exporttest;
    constexpr int kLevels = 300;
    const auto top = tree.Folder(tree.root(), "ソフト & <R&D> \"q\" 'a'");
    outline += "+ソフト & <R&D> \"q\" 'a'\n";
    tree.Shortcut(top, "A & B", "http://example.com/?a=1&b=\"2\"&c=<3>&d='4'");
    outline += " A & B http://example.com/?a=1&b=\"2\"&c=<3>&d='4'\n";
    tree.Folder(top, "空");
    outline += " +空\n";
    auto folder = tree.Folder(top, "表示");
    outline += " +表示\n";
    for (int level = 1; level <= kLevels; ++level) {
        folder = tree.Folder(folder, text::Format("level %d", level));
        outline += std::string(static_cast<size_t>(level + 1), ' ') + text::Format("+level %d\n", level);
    }
    tree.Shortcut(folder, "bottom", "http://bottom/");
    outline += std::string(kLevels + 2, ' ') + "bottom http://bottom/\n";
    tree.Add(tree.Add(tree.root(), kSource, "BookMark"), kImportedItem, "imported", "http://i/");
    tree.Add(tree.root(), kImportedItem, "message");
    tree.Shortcut(tree.root(), "\x87\x40 \xFB\xFC", "http://example.com/%E9%AB%99");
    outline += "\x87\x40 \xFB\xFC http://example.com/%E9%AB%99\n";
}

}  // namespace

TEST(HtmlExport, WritesUtf8WithItsCharsetAndEveryMarkupCharacterEscaped) {
    FakeTree tree("C:\\Users\\表\\Favorites");
    tree.Shortcut(tree.Folder(tree.root(), "フォルダ"), "A & B <c>", "http://x/?a=1&b='2'\"");
    tree.Shortcut(tree.root(), "表", "http://h/");
    // A legacy address in the code page: other browsers must ask for the same bytes.
    tree.Shortcut(tree.root(), "日本", "http://h/表ｱ?q=日本&r=%20");
    testutil::TempDir dir;
    const win::UniqueModule library = exporttest::LoadPlugin(plugin::kExportLibrary);
    ASSERT_EQ(exporttest::RunExport(library.get(), "NSBM", tree, (dir / "out.html").c_str()), 0);
    const std::string expected = Utf8(u8"<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
                                      u8"<!-- This is an automatically generated file.\n"
                                      u8"     It will be read and overwritten.\n"
                                      u8"     DO NOT EDIT! -->\n"
                                      u8"<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
                                      u8"<TITLE>Bookmarks</TITLE>\n"
                                      u8"<H1>Bookmarks</H1>\n"
                                      u8"<DL><p>\n"
                                      u8"    <DT><H3>フォルダ</H3>\n"
                                      u8"    <DL><p>\n"
                                      u8"        <DT><A HREF=\"http://x/?a=1&amp;b=&#39;2&#39;&quot;\">A &amp; B &lt;c&gt;</A>\n"
                                      u8"    </DL><p>\n"
                                      u8"    <DT><A HREF=\"http://h/\">表</A>\n"
                                      u8"    <DT><A HREF=\"http://h/%95%5C%B1?q=%93%FA%96%7B&amp;r=%20\">日本</A>\n"
                                      u8"</DL><p>\n");
    EXPECT_EQ(testutil::ReadBytes(dir / "out.html"), expected);
}

TEST(HtmlExport, ReadsBackThroughTheImportAsTheSameTree) {
    FakeTree tree;
    std::string expected;
    FillRoundTripTree(tree, expected);
    testutil::TempDir dir;
    const std::string file = dir / "bookmarks.html";
    const win::UniqueModule exportLibrary = exporttest::LoadPlugin(plugin::kExportLibrary);
    ASSERT_EQ(exporttest::RunExport(exportLibrary.get(), "NSBM", tree, file.c_str()), 0);

    const win::UniqueModule importLibrary = exporttest::LoadPlugin(plugin::kImportLibrary);
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(importLibrary.get(), plugin::kImportExport);
    plugin::FormatHandler* handler = nullptr;
    ASSERT_TRUE(create && create("NSBM", &handler) == 0 && handler);
    FakeTree imported;
    const auto source = imported.Add(imported.root(), exporttest::kSource, "BookMark");
    handler->SetSink(&imported);
    std::string path = file;
    EXPECT_EQ(handler->Run(path.data(), source), 0);
    handler->Release();
    EXPECT_EQ(imported.Outline(source), expected);
}

TEST(HtmlSamples, WriteSamplesForTheHtmlParserCheck) {
    const std::string folder = exporttest::TestFolder() + "\\html-samples";
    testutil::RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const win::UniqueModule library = exporttest::LoadPlugin(plugin::kExportLibrary);
    FakeTree tree;
    std::string outline;
    FillRoundTripTree(tree, outline);
    ASSERT_EQ(exporttest::RunExport(library.get(), "NSBM", tree, (folder + "\\tree.html").c_str()), 0);
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\tree.expected", text::AnsiToUtf8(outline)));
    FakeTree empty;
    ASSERT_EQ(exporttest::RunExport(library.get(), "NSBM", empty, (folder + "\\empty.html").c_str()), 0);
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\empty.expected", ""));
}
