// Following the file system: the shell's change notifications, sent from this process.
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using testutil::ChildLabels;
using testutil::TempDir;
using testutil::TreeHost;

namespace {

struct WatchFixture : testutil::TreeFixture {
    static void Notify(LONG event, const std::string& first, const std::string& second = "") {
        SHChangeNotify(event, SHCNF_PATHA | SHCNF_FLUSH, first.c_str(), second.empty() ? nullptr : second.c_str());
        testutil::PumpMessages();
    }
};

}  // namespace

TEST_F(WatchFixture, CreatedShortcutIsAddedAtTheEndOfItsFolder) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\z", "http://z/");
    CFavTreeView& tree = Load();
    Notify(SHCNE_CREATE, dir.WriteShortcut("fav\\x", "http://x/"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "z", "x"}));
    EXPECT_TRUE(tree.IsShortcut(testutil::Node(tree, {"x"})));

    // Announcing it again adds nothing; neither do files that are not favorites.
    Notify(SHCNE_CREATE, dir / "fav\\x.url");
    Notify(SHCNE_CREATE, dir.WriteFile("fav\\notes.txt", ""));
    Notify(SHCNE_CREATE, dir.WriteShortcut("fav\\.hidden", "http://h/"));
    Notify(SHCNE_CREATE, dir.WriteShortcut("fav\\a\\inner", "http://i/"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "z", "x"}));
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"a"})), (std::vector<std::string>{"inner"}));
}

TEST_F(WatchFixture, CreatedFolderJoinsTheFoldersWithItsContent) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load();
    dir.MakeDir("fav\\新");
    dir.WriteShortcut("fav\\新\\中身", "http://x/");
    Notify(SHCNE_MKDIR, dir / "fav\\新");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "新", "s"}));
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"新"})), (std::vector<std::string>{"中身"}));
}

TEST_F(WatchFixture, DeletedShortcutsAndFoldersAreRemoved) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\a\\in", "http://in/");
    dir.WriteShortcut("fav\\s", "http://s/");
    dir.WriteShortcut("fav\\t", "http://t/");
    CFavTreeView& tree = Load();

    DeleteFileA((dir / "fav\\s.url").c_str());
    Notify(SHCNE_DELETE, dir / "fav\\s.url");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "t"}));

    testutil::RemoveTree(dir / "fav\\a");
    Notify(SHCNE_RMDIR, dir / "fav\\a");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"t"}));
}

TEST_F(WatchFixture, RenamedShortcutKeepsItsPlaceUnlessItStopsBeingAFavorite) {
    dir.WriteShortcut("fav\\a", "http://a/");
    dir.WriteShortcut("fav\\b", "http://b/");
    CFavTreeView& tree = Load();
    MoveFileA((dir / "fav\\a.url").c_str(), (dir / "fav\\表z.url").c_str());
    Notify(SHCNE_RENAMEITEM, dir / "fav\\a.url", dir / "fav\\表z.url");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"表z", "b"}));

    MoveFileA((dir / "fav\\b.url").c_str(), (dir / "fav\\b.txt").c_str());
    Notify(SHCNE_RENAMEITEM, dir / "fav\\b.url", dir / "fav\\b.txt");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"表z"}));

    MoveFileA((dir / "fav\\b.txt").c_str(), (dir / "fav\\c.url").c_str());
    Notify(SHCNE_RENAMEITEM, dir / "fav\\b.txt", dir / "fav\\c.url");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"表z", "c"}));
}

TEST_F(WatchFixture, ShortcutMovedToAnotherFolderMovesItsNode) {
    dir.MakeDir("fav\\dest");
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    MoveFileA((dir / "fav\\x.url").c_str(), (dir / "fav\\dest\\x.url").c_str());
    Notify(SHCNE_RENAMEITEM, dir / "fav\\x.url", dir / "fav\\dest\\x.url");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"dest"}));
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"dest"})), (std::vector<std::string>{"x"}));
}

TEST_F(WatchFixture, RenamedFolderChangesItsLabelAndThePathsBelowIt) {
    dir.MakeDir("fav\\old");
    dir.WriteShortcut("fav\\old\\x", "http://x/");
    CFavTreeView& tree = Load();
    MoveFileA((dir / "fav\\old").c_str(), (dir / "fav\\新しい").c_str());
    Notify(SHCNE_RENAMEFOLDER, dir / "fav\\old", dir / "fav\\新しい");
    const HTREEITEM item = testutil::Node(tree, {"新しい", "x"});
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(tree.NodePath(item), dir / "fav\\新しい\\x.url");
    EXPECT_EQ(tree.NodeUrl(item), "http://x/");
}

TEST_F(WatchFixture, RenamedRootChangesTheRootLabelAndEveryPath) {
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    const std::string moved = dir / "favorites2";
    MoveFileA(root.c_str(), moved.c_str());
    Notify(SHCNE_RENAMEFOLDER, root, moved);
    EXPECT_EQ(tree.Label(tree.Root()), moved);
    EXPECT_EQ(tree.RootPath(), moved);
    EXPECT_EQ(tree.NodePath(testutil::Node(tree, {"x"})), moved + "\\x.url");
    EXPECT_EQ(tree.FindNodeByPath(moved + "\\x.url"), testutil::Node(tree, {"x"}));
}

TEST_F(WatchFixture, ChangesOutsideTheRootAreIgnored) {
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    Notify(SHCNE_CREATE, dir.WriteShortcut("outside", "http://o/"));
    dir.MakeDir("elsewhere");
    Notify(SHCNE_MKDIR, dir / "elsewhere");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));
}
