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
// characters (①, 髙), text beyond the code page (emoji outside the BMP, Hangul, accents), empty
// folders, a chain of folders deeper than any fixed stack, and what an export leaves out;
// `outline` gets what an import of the file must show, as FakeTree::WideOutline writes it (one
// space of indent per level).
void FillRoundTripTree(FakeTree& tree, std::wstring& outline) {
    using namespace exporttest;
    constexpr int kLevels = 300;
    const auto top = tree.Folder(tree.root(), std::wstring(L"ソフト & <R&D> \"q\" 'a'"));
    outline += L"+ソフト & <R&D> \"q\" 'a'\n";
    tree.Shortcut(top, std::wstring(L"A & B"), std::wstring(L"http://example.com/?a=1&b=\"2\"&c=<3>&d='4'"));
    outline += L" A & B http://example.com/?a=1&b=\"2\"&c=<3>&d='4'\n";
    tree.Folder(top, std::wstring(L"空"));
    outline += L" +空\n";
    auto folder = tree.Folder(top, std::wstring(L"表示"));
    outline += L" +表示\n";
    for (int level = 1; level <= kLevels; ++level) {
        folder = tree.Folder(folder, L"level " + std::to_wstring(level));
        outline += std::wstring(static_cast<size_t>(level + 1), L' ') + L"+level " + std::to_wstring(level) + L"\n";
    }
    tree.Shortcut(folder, std::wstring(L"bottom"), std::wstring(L"http://bottom/"));
    outline += std::wstring(kLevels + 2, L' ') + L"bottom http://bottom/\n";
    tree.Add(tree.Add(tree.root(), kSource, "BookMark"), kImportedItem, "imported", "http://i/");
    tree.Add(tree.root(), kImportedItem, "message");
    tree.Shortcut(tree.root(), std::wstring(L"① 髙"), std::wstring(L"http://example.com/%E9%AB%99"));
    outline += L"① 髙 http://example.com/%E9%AB%99\n";
    const auto party = tree.Folder(tree.root(), std::wstring(L"\U0001F600 Party"));
    outline += L"+\U0001F600 Party\n";
    tree.Shortcut(party, std::wstring(L"한국어 Café \U0001F389"), std::wstring(L"https://ko.example/한국?q=é"));
    outline += L" 한국어 Café \U0001F389 https://ko.example/한국?q=é\n";
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
    FakeTree tree(L"C:\\Favorites", true);
    std::wstring expected;
    FillRoundTripTree(tree, expected);
    testutil::TempDir dir;
    const std::string file = dir / "bookmarks.html";
    const win::UniqueModule exportLibrary = exporttest::LoadPlugin(plugin::kExportLibrary);
    ASSERT_EQ(exporttest::RunExport(exportLibrary.get(), "NSBM", tree, file.c_str()), 0);

    const win::UniqueModule importLibrary = exporttest::LoadPlugin(plugin::kImportLibrary);
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(importLibrary.get(), plugin::kImportExport);
    plugin::FormatHandler* handler = nullptr;
    ASSERT_TRUE(create && create("NSBM", &handler) == 0 && handler);
    FakeTree imported(L"C:\\Favorites", true);
    const auto source = imported.Add(imported.root(), exporttest::kSource, "BookMark");
    handler->SetSink(&imported);
    std::string path = file;
    EXPECT_EQ(handler->Run(path.data(), source), 0);
    handler->Release();
    EXPECT_EQ(imported.WideOutline(source), expected);
}

TEST(HtmlSamples, WriteSamplesForTheHtmlParserCheck) {
    const std::string folder = exporttest::TestFolder() + "\\html-samples";
    testutil::RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const win::UniqueModule library = exporttest::LoadPlugin(plugin::kExportLibrary);
    FakeTree tree(L"C:\\Favorites", true);
    std::wstring outline;
    FillRoundTripTree(tree, outline);
    ASSERT_EQ(exporttest::RunExport(library.get(), "NSBM", tree, (folder + "\\tree.html").c_str()), 0);
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\tree.expected", text::WideToUtf8(outline)));
    FakeTree empty;
    ASSERT_EQ(exporttest::RunExport(library.get(), "NSBM", empty, (folder + "\\empty.html").c_str()), 0);
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\empty.expected", ""));
}
