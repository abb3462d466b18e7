// tlImport.dll as the hosts bind it: plain export names, the creation rules, the handler's table,
// and the messages a missing source leaves in the tree.
#include "RecordingSink.h"

#include "../support/TestSupport.h"

using importtest::ImportTest;
using importtest::RecordingSink;

TEST_F(ImportTest, CreatesHandlersOnlyForItsOwnCodesIntoAnEmptyPointer) {
    EXPECT_EQ(library.enumerate(0), 1);
    EXPECT_EQ(library.enumerate(1), 0);

    EXPECT_EQ(library.create("NSBM", nullptr), 1);
    auto* const taken = reinterpret_cast<plugin::FormatHandler*>(0x1234);
    plugin::FormatHandler* handler = taken;
    EXPECT_EQ(library.create("NSBM", &handler), 1);
    EXPECT_EQ(handler, taken);
    handler = nullptr;
    for (const char* code : {"nsbm", "ief", "crbm", "ffbm", "XML", "NSBMX", "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(library.create(code, &handler), 1) << (code ? code : "(null)");
        EXPECT_EQ(handler, nullptr);
    }

    // "IEF" is accepted although no host passes it.
    for (const auto& [code, kind] : {std::pair{"NSBM", 0}, {"DNBM", 0}, {"WWWC", 2}, {"IEF", 2}, {"CRBM", 0}, {"FFBM", 0}}) {
        RecordingSink tree;
        handler = nullptr;
        ASSERT_EQ(library.create(code, &handler), 0) << code;
        EXPECT_EQ(handler->Kind(0), kind) << code;
        std::string path = "C:\\nowhere";
        EXPECT_EQ(handler->Run(path.data(), tree.source()), 1) << "Run before SetSink";
        EXPECT_EQ(handler->SetSink(&tree), 0);
        EXPECT_EQ(handler->Release(), 0);
        EXPECT_EQ(tree.releases, 1) << "Release lets go of the sink";
        EXPECT_EQ(tree.Outline(), "");
    }
}

TEST_F(ImportTest, MissingSourceOrOneOfTheWrongKindLeavesItsMessageInTheTree) {
    testutil::TempDir dir;
    const std::string missing = dir / "missing";
    const std::string file = dir.WriteFile("Favorites.txt", "not a folder");
    const struct {
        const char* code;
        std::string source;
        const char* message;
    } cases[] = {
        {"NSBM", missing, "! ファイルが見つかりません\n"},
        {"DNBM", missing, "! ファイルが見つかりません\n"},
        {"WWWC", missing, "! WWWCのデータフォルダが見つかりません。\n"},
        {"IEF", missing, "! フォルダが見つかりません。\n"},
        {"FFBM", missing, "! ファイルが見つかりません\n"},
        {"NSBM", dir.path(), "! ファイルが見つかりません\n"},  // a folder is no bookmark file
        {"WWWC", file, "! WWWCのデータフォルダではありません。\n"},
        {"IEF", file, "! フォルダではありません。\n"},
    };
    for (const auto& c : cases) {
        RecordingSink tree;
        EXPECT_EQ(library.Run(c.code, c.source, tree), 1) << c.code << " " << c.source;
        EXPECT_EQ(tree.Outline(), c.message) << c.code << " " << c.source;
    }
}

TEST_F(ImportTest, BookmarkFileAnotherProgramHoldsIsReportedAsUnreadable) {
    testutil::TempDir dir;
    const std::string path = dir.WriteFile("locked.htm", "<DL><p>\n<DT><A HREF=\"http://a/\">a</A>\n");
    // Held without sharing, as an editor or a backup program may hold it.
    const win::UniqueFile held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    for (const char* code : {"NSBM", "DNBM"}) {
        RecordingSink tree;
        EXPECT_EQ(library.Run(code, path, tree), 1) << code;
        EXPECT_EQ(tree.Outline(), "! ファイルを読み込めません\n") << code;
    }
}
