// Firefox's places databases ("FFBM"), made with Firefox's schema by Python's sqlite3 module
// (tests/import/places_db.py, run on the host) and read through tlImport.dll: the shape of the
// tree, older schemas, damaged and hostile databases, and a database Firefox holds while it runs.
// Test sources compile to code page 932: plain literals are what the tree shows.
#include "RecordingSink.h"

#include "../support/TestSupport.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/TextEncoding.h>

#include <set>
#include <utility>

using importtest::ImportTest;

namespace {

constexpr char kFailed[] = "! インポートに失敗しました\n";

std::string HostPython() { return std::string("/usr/bin/python3 ") + PLACES_DB_SCRIPT; }

// An entry line of a layout: id, type (1 bookmark, 2 folder, 3 separator), parent, position, title, URL.
std::string Entry(int id, int type, int parent, int position, const std::string& title, const std::string& url = "") {
    return text::Format("%d\t%d\t%d\t%d\t", id, type, parent, position) + title + "\t" + url + "\n";
}

// The same bookmarks in every root and kind of entry, as UTF-8 for the layout.
std::string Shape() {
    return Entry(16, 1, 2, 0, "Top", "https://top/") + Entry(10, 2, 2, 1, "Docs") +
           Entry(11, 1, 10, 1, "second", "https://d/2") + Entry(12, 1, 10, 0, "first", "https://d/1") +
           Entry(13, 3, 10, 2, "") + Entry(14, 2, 10, 3, "Inner") + Entry(15, 1, 14, 0, "deep", "https://d/3") +
           Entry(20, 1, 3, 0, "\\N", "https://untitled.example/") + Entry(21, 1, 3, 1, "", "https://empty.example/") +
           Entry(22, 1, 3, 2, "Most Visited", "place:sort=8&maxResults=10") + Entry(23, 3, 3, 3, "") +
           Entry(30, 2, 4, 0, "tagged") + Entry(31, 1, 30, 0, "", "https://top/") +
           Entry(40, 1, 5, 0, reinterpret_cast<const char*>(u8"日本語の表示"), "https://jp.example/") +
           Entry(41, 1, 5, 1, reinterpret_cast<const char*>(u8"顔 😀"), "https://emoji.example/") +
           Entry(50, 1, 6, 0, "Recent Tags", "place:type=6&sort=14&maxResults=10");
}
constexpr char kShapeOutline[] =
    "+ブックマークメニュー\n"
    "  Top <https://top/>\n"
    "  +Docs\n"
    "    first <https://d/1>\n"
    "    second <https://d/2>\n"
    "    +Inner\n"
    "      deep <https://d/3>\n"
    "+ブックマークツールバー\n"
    "  https://untitled.example/ <https://untitled.example/>\n"
    "  https://empty.example/ <https://empty.example/>\n"
    "+他のブックマーク\n"
    "  日本語の表示 <https://jp.example/>\n";

struct FirefoxImportTest : ImportTest {
    testutil::TempDir dir;

    // Makes "<name>.sqlite" in the test's folder from each layout (options line, then entries);
    // false when the databases did not come.
    bool Make(const std::vector<std::pair<std::string, std::string>>& layouts) {
        std::string arguments;
        for (const auto& [name, layout] : layouts) arguments += " " + testutil::UnixPath(dir.WriteFile(name + ".layout", layout));
        const std::string done = dir / "made";
        DeleteFileA(done.c_str());
        if (!testutil::StartOnHost(HostPython() + " make " + testutil::UnixPath(done) + arguments)) return false;
        if (!testutil::WaitFor([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
            return false;
        for (const auto& layout : layouts)
            if (GetFileAttributesA(Database(layout.first).c_str()) == INVALID_FILE_ATTRIBUTES) return false;
        return true;
    }
    std::string Database(const std::string& name) const { return dir / (name + ".sqlite"); }

    // What an import of `path` shows, or the result code and the outline when it failed.
    std::string Outline(const std::string& path) {
        importtest::RecordingSink tree;
        const int result = library.Run("FFBM", path, tree);
        return (result == 0 ? "" : text::Format("(%d) ", result)) + tree.Outline();
    }
};

// The temporary folder's private copies ("tlf*.tmp" and their companions).
std::set<std::string> PrivateCopies() {
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    std::set<std::string> names;
    for (const std::string& name : testutil::FolderNames(temp))
        if (name.rfind("tlf", 0) == 0) names.insert(name);
    return names;
}

// A places database held as a running Firefox holds it, by places_db.py on the host, until the
// object goes (and the process with it).
class HeldByFirefox {
public:
    HeldByFirefox(const testutil::TempDir& dir, const std::string& database, const char* how)
        : folder_(dir.MakeDir(std::string("held-") + how)) {
        started_ = testutil::StartOnHost(HostPython() + " hold " + testutil::UnixPath(database) + " " +
                                         testutil::UnixPath(folder_) + " " + how);
    }
    ~HeldByFirefox() {
        if (!started_) return;
        testutil::WriteBytes(folder_ + "\\stop", "");
        EXPECT_TRUE(testutil::WaitFor([&] { return GetFileAttributesA((folder_ + "\\ended").c_str()) != INVALID_FILE_ATTRIBUTES; }))
            << "the holding process did not end";
    }
    HeldByFirefox(const HeldByFirefox&) = delete;
    HeldByFirefox& operator=(const HeldByFirefox&) = delete;

    // "held" once the database is held; otherwise why not.
    std::string WaitHeld() const {
        const std::string held = folder_ + "\\held";
        if (!started_ || !testutil::WaitFor([&] { return GetFileAttributesA(held.c_str()) != INVALID_FILE_ATTRIBUTES; }, 30000))
            return "never held";
        return testutil::ReadBytes(held);
    }

private:
    std::string folder_;
    bool started_ = false;
};

}  // namespace

TEST_F(FirefoxImportTest, RootsThatHoldAnythingInFirefoxOrderWithoutSeparatorsTagsOrQueries) {
    const struct {
        const char* options;
        const char* about;
    } schemas[] = {
        {"schema=current journal=wal\n", "today's schema"},
        {"schema=old journal=delete\n", "roots in moz_bookmarks_roots"},
    };
    std::vector<std::pair<std::string, std::string>> layouts;
    for (const auto& schema : schemas) layouts.emplace_back("places" + std::to_string(layouts.size()), schema.options + Shape());
    ASSERT_TRUE(Make(layouts));
    const std::vector<std::string> files = testutil::FolderNames(dir.path());
    for (size_t i = 0; i < layouts.size(); ++i) {
        importtest::RecordingSink tree(true);
        ASSERT_EQ(library.Run("FFBM", Database(layouts[i].first), tree), 0) << schemas[i].about;
        EXPECT_EQ(testutil::FolderNames(dir.path()), files) << schemas[i].about << ": nothing added beside the database";
        const std::string outline = tree.Outline();
        EXPECT_EQ(outline.substr(0, outline.rfind("  ")), kShapeOutline) << schemas[i].about;
        // The emoji comes exactly through the wide calls.
        const std::wstring emojiLine = text::Utf8ToWide(reinterpret_cast<const char*>(u8"  顔 😀 <https://emoji.example/>\n"));
        EXPECT_TRUE(tree.WideOutline().ends_with(emojiLine)) << schemas[i].about;
        EXPECT_EQ(tree.Names({"他のブックマーク"}).size(), 2u) << schemas[i].about;
    }
}

TEST_F(FirefoxImportTest, LargeDeepAndCyclicDatabasesComeWholeAndEnd) {
    std::string deep = "schema=current journal=wal\n";
    constexpr int kLevels = 100000;
    for (int level = 0; level < kLevels; ++level) deep += Entry(100 + level, 2, level ? 99 + level : 3, 0, "level");
    deep += Entry(99, 1, 99 + kLevels, 0, "bottom", "https://bottom/");
    const std::string cycle = "schema=current journal=wal\n" + Entry(2, 2, 11, 0, "menu") + Entry(10, 2, 2, 0, "loop") +
                              Entry(11, 2, 10, 0, "inner") + Entry(12, 1, 11, 1, "x", "https://x/") +
                              Entry(13, 2, 13, 0, "itself") + Entry(14, 1, 13, 0, "never", "https://never/");
    ASSERT_TRUE(Make({{"large", "schema=current journal=wal count=50000\n"}, {"deep", deep}, {"cycle", cycle}}));

    importtest::RecordingSink large;
    ASSERT_EQ(library.Run("FFBM", Database("large"), large), 0);
    EXPECT_EQ(large.Count(false), 50000u);
    EXPECT_EQ(large.Count(true), 41u);
    EXPECT_EQ(large.Names({"ブックマークツールバー", "Folder 00"}).size(), 1250u);
    EXPECT_EQ(large.Names({"ブックマークツールバー", "Folder 01"}).at(1), "Bookmark 41 - Example Site");
    EXPECT_EQ(large.Names({"ブックマークツールバー", "Folder 00"}).at(2), "ニュース 80");

    importtest::RecordingSink deepTree;
    ASSERT_EQ(library.Run("FFBM", Database("deep"), deepTree), 0);
    EXPECT_EQ(deepTree.Count(true), 1u + kLevels);
    EXPECT_EQ(deepTree.Count(false), 1u);

    EXPECT_EQ(Outline(Database("cycle")), "+ブックマークメニュー\n  +loop\n    +inner\n      x <https://x/>\n");
}

TEST_F(FirefoxImportTest, WhatIsNoWholePlacesDatabaseGivesTheFailureItemAlone) {
    ASSERT_TRUE(Make({{"whole", "schema=current journal=delete count=2000\n"}, {"other", "schema=other\n"}}));
    const std::string whole = testutil::ReadBytes(Database("whole"));
    ASSERT_GT(whole.size(), 65536u);
    std::string garbage(8192, '\0');
    for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>(i * 7919 % 251);
    const struct {
        std::string path;
        const char* outline;
    } cases[] = {
        {dir.WriteFile("truncated.sqlite", whole.substr(0, whole.size() / 2)), kFailed},
        {dir.WriteFile("garbage.sqlite", garbage), kFailed},
        {dir.WriteFile("header.sqlite", whole.substr(0, 100) + garbage), kFailed},
        {dir.WriteFile("empty.sqlite", ""), kFailed},
        {Database("other"), kFailed},
        {dir.path(), "! ファイルが見つかりません\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Outline(c.path), std::string("(1) ") + c.outline) << c.path;
}

TEST_F(FirefoxImportTest, DatabaseHeldByARunningFirefoxIsReadFromAPrivateCopyAndLeftAsItWas) {
    const struct {
        const char* layout;
        const char* how;     // "log": locked, with a new bookmark in the log only; "lock": locked alone
        const char* recent;  // the toolbar's last entry
    } cases[] = {
        {"schema=current journal=wal\n", "log", "recent"},
        {"schema=current journal=delete\n", "lock", "https://empty.example/"},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Make({{"held", c.layout + Shape()}}));
        const std::set<std::string> copiesBefore = PrivateCopies();
        {
            const HeldByFirefox firefox(dir, Database("held"), c.how);
            ASSERT_EQ(firefox.WaitHeld(), "held") << c.how;
            const std::vector<std::string> files = testutil::FolderNames(dir.path());
            const std::string database = testutil::ReadBytes(Database("held"));

            importtest::RecordingSink tree;
            ASSERT_EQ(library.Run("FFBM", Database("held"), tree), 0) << c.how;
            EXPECT_EQ(tree.Names({"ブックマークツールバー"}).back(), c.recent) << c.how;
            EXPECT_EQ(tree.Names(), (std::vector<std::string>{"ブックマークメニュー", "ブックマークツールバー", "他のブックマーク"}));
            EXPECT_EQ(testutil::FolderNames(dir.path()), files) << c.how << ": nothing added beside the database";
            EXPECT_EQ(testutil::ReadBytes(Database("held")), database) << c.how;
        }
        EXPECT_EQ(PrivateCopies(), copiesBefore) << c.how << ": the copy is gone";
    }
}
