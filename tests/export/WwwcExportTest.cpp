// The WWWC export: the folders and Item.dat lists it writes, an existing "Exported" folder, names
// that cannot become folders, and the import plug-in reading an export back.
#include "FakeTree.h"
#include "../support/TestSupport.h"

#include <plugins/export/WwwcExport.h>

#include <gtest/gtest.h>

#include <algorithm>

using namespace exporttest;

namespace {

std::string Line(const std::string& label, const std::string& url) {
    return label + "\t" + url + "\t\t\t0\t\t\t\t\t\t\t\t0\t\t\t\r\n";
}

struct WwwcExport : testing::Test {
    testutil::TempDir dir;
    testutil::MessageRecorder messages;
    FakeTree tree;
    std::string exported = dir / "Exported";
    std::string List(const std::string& folder) { return testutil::ReadBytes(exported + folder + "\\Item.dat"); }
};

}  // namespace

TEST_F(WwwcExport, WritesOneListPerFolderWithChildren) {
    tree.Shortcut(tree.root(), "Top", "http://top/?a=1&b=2");
    const auto sub = tree.Folder(tree.root(), "表示 & more");
    tree.Shortcut(sub, "A & B", "http://x/\tpath");  // a tab would split the record
    tree.Shortcut(tree.Folder(sub, "Deep"), "ソフト", "http://deep/");
    tree.Folder(tree.root(), "NoChildren");
    tree.Add(tree.Folder(tree.root(), "OnlyNew"), kNewFolder, "新しいフォルダ");
    tree.Shortcut(tree.Add(tree.Add(tree.root(), kSource, "BookMark"), kImportedFolder, "imp"), "i", "http://i/");

    EXPECT_EQ(exporter::ExportWwwc(tree, (dir.path() + "\\").c_str()), 0);  // the separator is dropped
    EXPECT_EQ(List(""), Line("Top", "http://top/?a=1&b=2"));
    EXPECT_EQ(List("\\表示 & more"), Line("A & B", "http://x/path"));
    EXPECT_EQ(List("\\表示 & more\\Deep"), Line("ソフト", "http://deep/"));
    EXPECT_EQ(List("\\OnlyNew"), "");
    EXPECT_FALSE(path::Exists(exported + "\\NoChildren"));
    EXPECT_FALSE(path::Exists(exported + "\\BookMark"));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(WwwcExport, ExistingExportedFolderIsLeftAsItIsAndReported) {
    tree.Shortcut(tree.root(), "first", "http://first/");
    ASSERT_EQ(exporter::ExportWwwc(tree, dir.path().c_str()), 0);
    tree.Shortcut(tree.root(), "second", "http://second/");
    EXPECT_EQ(exporter::ExportWwwc(tree, dir.path().c_str()), 1);
    EXPECT_EQ(List(""), Line("first", "http://first/"));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find(exported), std::string::npos) << messages.texts()[0];
}

TEST_F(WwwcExport, FolderThatCannotBeWrittenIsSkippedAndReportedWhileSiblingsGoOn) {
    // Names no favorites folder has; they must not lead outside the output folder.
    tree.Shortcut(tree.Folder(tree.root(), "..\\outside"), "x", "http://x/");
    tree.Shortcut(tree.Folder(tree.root(), ".."), "y", "http://y/");
    tree.Shortcut(tree.Folder(tree.root(), "ok"), "z", "http://z/");
    EXPECT_EQ(exporter::ExportWwwc(tree, dir.path().c_str()), 1);
    EXPECT_FALSE(path::Exists(dir / "outside"));
    EXPECT_FALSE(path::Exists(dir / "Item.dat"));
    EXPECT_EQ(List("\\ok"), Line("z", "http://z/"));
    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_NE(messages.texts()[0].find(exported + "\\..\\outside"), std::string::npos) << messages.texts()[0];
}

TEST_F(WwwcExport, TenThousandFolderLevelsAreWrittenUpToThePathLimitWithoutExhaustingTheStack) {
    auto folder = tree.root();
    for (int level = 0; level < 10000; ++level) {
        tree.Shortcut(folder, "x", "http://x/");
        folder = tree.Folder(folder, "d");
    }
    EXPECT_EQ(exporter::ExportWwwc(tree, dir.path().c_str()), 1);
    EXPECT_EQ(List("\\d\\d\\d"), Line("x", "http://x/"));
    // Only the first folder whose path is too long fails; nothing below it is tried.
    ASSERT_EQ(messages.texts().size(), 1u);
    const std::string message = messages.texts()[0];
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}

// tlImport.dll is built by its own target; until it is there the test is skipped.
TEST_F(WwwcExport, ImportPluginReadsAnExportBackAsTheSameTree) {
    const win::UniqueModule importer = LoadPlugin(plugin::kImportLibrary);
    const auto import = win::ProcAddress<plugin::CreateHandlerFunction>(importer.get(), plugin::kImportExport);
    if (!import) GTEST_SKIP() << "..\\bin\\tlImport.dll (with its \"import\") is not built yet";

    // Folder names are exact; Item.dat, Shift_JIS, keeps what that has (①) and "?" for the rest.
    tree.wide = true;
    tree.Shortcut(tree.Folder(tree.root(), std::wstring(L"한국 \U0001F600")), std::wstring(L"Café ①"), std::wstring(L"http://k/"));
    const auto banana = tree.Folder(tree.root(), "Banana");
    tree.Shortcut(banana, "表計算 & more", "http://example.com/?a=1&b=2");
    tree.Shortcut(tree.Folder(banana, "ソフト"), "深い", "http://deep/");
    tree.Shortcut(banana, "second", "http://second/");
    tree.Shortcut(tree.Folder(tree.root(), "apple"), "a", "http://a/");
    tree.Shortcut(tree.root(), "zzz top", "http://top/");
    tree.Shortcut(tree.root(), "aaa top", "http://top2/");
    // In this process, where a message box would be answered rather than wait for a user.
    ASSERT_EQ(exporter::ExportWwwc(tree, dir.path().c_str()), 0);

    FakeTree back(L"C:\\Favorites", true);
    const auto source = back.Add(back.root(), kSource, "WWWC");
    plugin::FormatHandler* handler = nullptr;
    ASSERT_EQ(import("WWWC", &handler), 0);
    handler->SetSink(&back);
    EXPECT_EQ(handler->Run(exported.data(), source), 0);
    handler->Release();
    // The import lists each folder's subfolders first, sorted by name, then its items in order.
    // Held apart from the check, whose text is quoted in the narrow character set.
    const std::wstring expected =
              L"+한국 \U0001F600\n"
              L" Caf? ① http://k/\n"
              L"+apple\n"
              L" a http://a/\n"
              L"+Banana\n"
              L" +ソフト\n"
              L"  深い http://deep/\n"
              L" 表計算 & more http://example.com/?a=1&b=2\n"
              L" second http://second/\n"
              L"zzz top http://top/\n"
              L"aaa top http://top2/\n";
    EXPECT_EQ(back.WideOutline(source), expected);
}
