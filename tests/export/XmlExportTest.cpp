// The XML export: the file's exact bytes, what is left out, text that needs escaping or does not
// fit the sink's usual buffers, a file that cannot be created, and samples for xmllint.
#include "FakeTree.h"
#include "../support/TestSupport.h"

#include <plugins/export/DocumentExport.h>
#include <plugins/export/XmlWriter.h>

#include <base/FileSystem.h>

#include <gtest/gtest.h>

#include <optional>
#include <string_view>

using exporttest::FakeTree;

namespace {

constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<?xml-stylesheet type=\"text/xsl\" href=\"fav.xsl\"?>\r\n";

// Every kind of node; names with Shift-JIS characters whose second byte is a backslash (表, ソ);
// markup characters in names and URLs.
void FillMixedTree(FakeTree& tree) {
    using namespace exporttest;
    const auto top = tree.Folder(tree.root(), "Japanese ソフト");
    tree.Shortcut(top, "A & B", "http://example.com/?a=1&b=2");
    const auto messages = tree.Folder(top, "表示");
    tree.Add(messages, kImportedItem, "読めません");
    tree.Add(messages, kNewFolder, "新しいフォルダ");
    tree.Shortcut(tree.Add(tree.Add(tree.root(), kSource, "BookMark"), kImportedFolder, "imp"), "i", "http://i/");
    tree.Add(tree.root(), kShortcut, "gone");
    tree.Shortcut(tree.root(), "<tag> \"q\"", "http://x/?q=\"<b>\"&r='s'");
    tree.Folder(tree.root(), "Empty");
}

std::string Exported(FakeTree& tree) {
    testutil::TempDir dir;
    EXPECT_EQ(exporter::ExportXml(tree, (dir / "out.xml").c_str()), 0);
    return testutil::ReadBytes(dir / "out.xml");
}

}  // namespace

TEST(XmlExport, WritesFoldersOnDiskAndEntriesWithUrlsAndNothingElse) {
    testutil::MessageRecorder messages;
    FakeTree tree("C:\\Users\\表\\Favorites");
    FillMixedTree(tree);
    EXPECT_EQ(Exported(tree), std::string(kHeader) +
                                  "<ルート パス=\"C:\\Users\\表\\Favorites\">\r\n"
                                  "\t<フォルダ 名前=\"Japanese ソフト\">\r\n"
                                  "\t\t<アイテム 名前=\"A &amp; B\" url=\"http://example.com/?a=1&amp;b=2\"/>\r\n"
                                  "\t\t<フォルダ 名前=\"表示\">\r\n"
                                  "\t\t</フォルダ>\r\n"
                                  "\t</フォルダ>\r\n"
                                  "\t<アイテム 名前=\"&lt;tag&gt; &quot;q&quot;\" "
                                  "url=\"http://x/?q=&quot;&lt;b&gt;&quot;&amp;r='s'\"/>\r\n"
                                  "\t<フォルダ 名前=\"Empty\">\r\n"
                                  "\t</フォルダ>\r\n"
                                  "</ルート>");
    EXPECT_FALSE(tree.usedStaleHandle) << "the vanished shortcut's handle was used after its removal";
    EXPECT_TRUE(messages.texts().empty());
}

TEST(XmlExport, EmptyRootGivesHeaderAndRootOnly) {
    FakeTree tree("C:\\Fav");
    EXPECT_EQ(Exported(tree), std::string(kHeader) + "<ルート パス=\"C:\\Fav\">\r\n</ルート>");
}

TEST(XmlExport, DeepFoldersAndLongTextAreWrittenWhole) {
    std::string label;  // 300 bytes: any cut would split a character
    for (int i = 0; i < 150; ++i) label += "ソ";
    const std::string url = "http://example.com/" + std::string(2000, 'a') + "?x=1&y=2";
    FakeTree tree("C:\\" + label);
    std::string expected = std::string(kHeader) + "<ルート パス=\"C:\\" + label + "\">\r\n", closing;
    auto folder = tree.root();
    for (int depth = 1; depth <= 14; ++depth) {
        const std::string tabs(static_cast<size_t>(std::min(depth, 12)), '\t');
        folder = tree.Folder(folder, label);
        expected += tabs + "<フォルダ 名前=\"" + label + "\">\r\n";
        closing = tabs + "</フォルダ>\r\n" + closing;
    }
    tree.Shortcut(folder, label, url);
    expected += std::string(12, '\t') + "<アイテム 名前=\"" + label + "\" url=\"http://example.com/" + std::string(2000, 'a') + "?x=1&amp;y=2\"/>\r\n";
    EXPECT_EQ(Exported(tree), expected + closing + "</ルート>");
}

TEST(XmlEscape, MarkupAndControlCharactersNeverReachTheDocumentRawNorWhatShiftJisLacks) {
    const std::pair<std::wstring, std::string> cases[] = {
        {L"<a href=\"x\">&", "&lt;a href=&quot;x&quot;&gt;&amp;"},
        {L"it's", "it's"},
        {L"表&ソ", "表&amp;ソ"},                       // trail bytes 0x5C stay with their characters
        {L"\xD800x\xDC00", "?x?"},                    // half a surrogate pair is no character
        // Code page 932's extension rows, which Shift_JIS readers refuse: ①, ㈱ (NEC), 髙 (IBM).
        {L"①㈱髙", "&#x2460;&#x3231;&#x9AD9;"},
        {L"\xFF5E\xFFE2", "\x81\x60\x81\xCA"},          // 〜 ¬ of code page 932: valid in both, kept
        {L"\U0001F600 한국 Café", "&#x1F600; &#xD55C;&#xAD6D; Caf&#xE9;"},  // beyond the code page
        {L"a\tb\r\nc", "a&#9;b&#13;&#10;c"},            // kept through attribute normalisation
        {L"a\x01\x1F" L"b", "ab"},                      // not representable in XML 1.0
    };
    for (const auto& [text, escaped] : cases) EXPECT_EQ(exporter::EscapeXml(text), escaped) << escaped;
}

TEST(DocumentExport, FileThatCannotBeWrittenIsReportedAndAnEarlierOneKept) {
    testutil::TempDir dir;
    const std::string missing = dir / "missing\\out.xml";
    const std::string readOnly = dir.WriteFile("read-only.xml", "earlier");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string earlier = dir.WriteFile("earlier.html", "earlier");
    const struct {
        int (*run)(plugin::ImportSink&, const char*);
        std::string file;
        std::optional<size_t> diskRoom;  // a disk that fills up after that many bytes
        const char* message;
    } cases[] = {
        {exporter::ExportXml, missing, {}, "ファイルを作成できませんでした。\r\n"},
        {exporter::ExportXml, readOnly, {}, "ファイルを作成できませんでした。\r\n"},
        {exporter::ExportXml, readOnly + "x", 0, "ファイルに書き込めませんでした。\r\n"},
        {exporter::ExportNetscape, earlier, 0, "ファイルに書き込めませんでした。\r\n"},
        {exporter::ExportNetscape, earlier, 100, "ファイルに書き込めませんでした。\r\n"},
    };
    for (const auto& c : cases) {
        testutil::MessageRecorder messages;
        FakeTree tree;
        tree.Shortcut(tree.root(), "a", "http://a/");
        std::optional<fsys::ScopedWriteLimit> fullDisk;
        if (c.diskRoom) fullDisk.emplace(*c.diskRoom);
        EXPECT_EQ(c.run(tree, c.file.c_str()), 1) << c.file;
        EXPECT_EQ(messages.texts(), std::vector<std::string>{c.message + c.file}) << c.file;
        EXPECT_EQ(messages.messages().at(0).flags, static_cast<UINT>(MB_OK | MB_ICONWARNING));
        // Nothing new is left behind, no half file and no temporary one.
        EXPECT_EQ(testutil::FolderNames(dir.path()), (std::vector<std::string>{"earlier.html", "read-only.xml"})) << c.file;
    }
    EXPECT_EQ(testutil::ReadBytes(readOnly), "earlier");
    EXPECT_EQ(testutil::ReadBytes(earlier), "earlier");
    SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Folders inside folders far beyond any real favorites folder: the export walks them without
// recursion and writes every level.
TEST(ExportDepth, TenThousandFolderLevelsAreWrittenWithoutExhaustingTheStack) {
    constexpr int kLevels = 10000;
    FakeTree tree("C:\\Fav");
    auto folder = tree.root();
    for (int level = 0; level < kLevels; ++level) folder = tree.Folder(folder, "d");
    tree.Shortcut(folder, "bottom", "http://bottom/");

    const std::string xml = Exported(tree);
    size_t folders = 0;
    for (size_t at = xml.find("<フォルダ"); at != std::string::npos; at = xml.find("<フォルダ", at + 1)) ++folders;
    EXPECT_EQ(folders, static_cast<size_t>(kLevels));
    EXPECT_NE(xml.find(std::string(12, '\t') + "<アイテム 名前=\"bottom\" url=\"http://bottom/\"/>"), std::string::npos);
    EXPECT_TRUE(xml.ends_with("\t\t</フォルダ>\r\n\t</フォルダ>\r\n</ルート>"));
}

// Run by ctest before check_xml.sh, not listed with the others (see CMakeLists.txt): documents
// for xmllint, each with the elements and attribute values it must read back as.
TEST(XmlSamples, WriteSamplesForTheXmlCheck) {
    const std::string folder = exporttest::TestFolder() + "\\export-samples";
    testutil::RemoveTree(folder);
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const win::UniqueModule library = exporttest::LoadPlugin(plugin::kExportLibrary);

    FakeTree mixed("C:\\Users\\表\\Favorites");
    FillMixedTree(mixed);
    mixed.Shortcut(mixed.root(), "ダブル\"クォート & <山括弧>", "http://example.com/a?b=\"c\"&d=<e>&f='g'");
    ASSERT_EQ(exporttest::RunExport(library.get(), "XML", mixed, (folder + "\\mixed.xml").c_str()), 0);
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\mixed.expected",
                                     "ルート\tC:\\Users\\表\\Favorites\n"
                                     "フォルダ\tJapanese ソフト\n"
                                     "アイテム\tA & B\thttp://example.com/?a=1&b=2\n"
                                     "フォルダ\t表示\n"
                                     "アイテム\t<tag> \"q\"\thttp://x/?q=\"<b>\"&r='s'\n"
                                     "フォルダ\tEmpty\n"
                                     "アイテム\tダブル\"クォート & <山括弧>\thttp://example.com/a?b=\"c\"&d=<e>&f='g'\n"));
    // Characters only code page 932 has (①, ㈱, 髙) and characters beyond it (emoji outside the
    // BMP, Hangul, accents), exactly through the wide calls. The expected text is UTF-8: Shift_JIS
    // has no bytes for these characters, only references do.
    FakeTree extended(L"お気に入り ①", true);
    extended.Shortcut(extended.Folder(extended.root(), std::wstring(L"㈱ 会社 \U0001F600")), std::wstring(L"髙橋 한국어 Café"),
                      std::wstring(L"http://example.com/café?q=①"));
    ASSERT_EQ(exporttest::RunExport(library.get(), "XML", extended, (folder + "\\extended.xml").c_str()), 0);
    constexpr std::u8string_view kExtended = u8"ルート\tお気に入り ①\nフォルダ\t㈱ 会社 😀\n"
                                             u8"アイテム\t髙橋 한국어 Café\thttp://example.com/café?q=①\n";
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\extended.expected-utf8", std::string(kExtended.begin(), kExtended.end())));
    FakeTree empty("C:\\Fav");
    ASSERT_EQ(exporttest::RunExport(library.get(), "XML", empty, (folder + "\\empty.xml").c_str()), 0);
    ASSERT_TRUE(testutil::WriteBytes(folder + "\\empty.expected", "ルート\tC:\\Fav\n"));
}
