// Node paths and their inverse, the lookup of a node by path.
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

using testutil::TempDir;
using testutil::TreeHost;

namespace {

struct PathFixture : testing::Test {
    TempDir dir;
    std::string root = dir.MakeDir("fav");
    TreeHost host;

    CFavTreeView& Load() {
        return host.AddTree(testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n"));
    }
};

}  // namespace

TEST_F(PathFixture, PathsAndLookupsRoundTripIncludingTrailByteNames) {
    dir.MakeDir("fav\\表");
    dir.MakeDir("fav\\表\\ソフト");
    dir.WriteShortcut("fav\\表\\ソフト\\能力", "http://x/");
    dir.WriteShortcut("fav\\top", "http://top/");
    CFavTreeView& tree = Load();

    const HTREEITEM folder = testutil::Node(tree, {"表", "ソフト"});
    const HTREEITEM item = testutil::Node(tree, {"表", "ソフト", "能力"});
    ASSERT_TRUE(folder && item);
    EXPECT_EQ(tree.NodePath(tree.Root()), root);
    EXPECT_EQ(tree.NodePath(folder), root + "\\表\\ソフト");
    EXPECT_EQ(tree.NodePath(item), root + "\\表\\ソフト\\能力.url");
    EXPECT_EQ(tree.NodePath(testutil::Node(tree, {"top"})), root + "\\top.url");

    for (HTREEITEM node : {tree.Root(), folder, item, testutil::Node(tree, {"top"})})
        EXPECT_EQ(tree.FindNodeByPath(*tree.NodePath(node)), node) << *tree.NodePath(node);
    // Letter case does not matter, in the root part or below it.
    std::string upper = root;  // plain ASCII: safe to change byte by byte
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    EXPECT_EQ(tree.FindNodeByPath(upper + "\\表\\ソフト\\能力.URL"), item);
}

TEST_F(PathFixture, LookupTellsFoldersFromShortcutsAndRejectsNearMisses) {
    dir.MakeDir("fav\\x");
    dir.WriteShortcut("fav\\x", "http://x/");
    dir.WriteShortcut("fav\\x\\y", "http://y/");
    CFavTreeView& tree = Load();
    const HTREEITEM folder = TreeView_GetChild(tree.hwnd(), tree.Root());
    const HTREEITEM shortcut = TreeView_GetNextSibling(tree.hwnd(), folder);
    ASSERT_TRUE(tree.IsFolder(folder) && tree.IsShortcut(shortcut));

    EXPECT_EQ(tree.FindNodeByPath(root + "\\x"), folder);
    EXPECT_EQ(tree.FindNodeByPath(root + "\\x.url"), shortcut);
    EXPECT_EQ(tree.FindNodeByPath(root + "\\x\\y.url"), testutil::Node(tree, {"x", "y"}));
    EXPECT_EQ(tree.FindNodeByPath(root + "\\x\\y"), nullptr);
    EXPECT_EQ(tree.FindNodeByPath(root + "\\z"), nullptr);
    EXPECT_EQ(tree.FindNodeByPath(root + "x"), nullptr);  // "...\\favx" is not below the root
    EXPECT_EQ(tree.FindNodeByPath("C:\\elsewhere\\x"), nullptr);
    EXPECT_EQ(tree.FindNodeByPath(root + "\\"), tree.Root());
}

TEST_F(PathFixture, DeepNestingHasExactPathsAtEveryLevel) {
    std::string relative = "fav";
    std::vector<std::string> labels;
    for (int level = 0; level < 30; ++level) {
        const std::string name = (level % 2) ? "表" : std::to_string(level);
        relative += "\\" + name;
        labels.push_back(name);
        dir.MakeDir(relative);
    }
    dir.WriteShortcut(relative + "\\leaf", "http://leaf/");
    labels.push_back("leaf");
    CFavTreeView& tree = Load();

    const HTREEITEM leaf = testutil::Node(tree, labels);
    ASSERT_NE(leaf, nullptr);
    EXPECT_EQ(tree.NodePath(leaf), dir / (relative + "\\leaf.url"));
    EXPECT_EQ(tree.FindNodeByPath(dir / (relative + "\\leaf.url")), leaf);
}

TEST_F(PathFixture, UrlsOfShortcutsAndImportedItems) {
    dir.WriteShortcut("fav\\x", "http://example.com/x");
    CFavTreeView& tree = Load();
    EXPECT_EQ(tree.NodeUrl(testutil::Node(tree, {"x"})), "http://example.com/x");
    EXPECT_FALSE(tree.NodeUrl(tree.Root()).has_value());

    char buffer[8];
    EXPECT_STREQ(tree.GetNodeUrl(testutil::Node(tree, {"x"}), buffer, sizeof buffer), "http://");
    IFavTree* face = nullptr;
    ASSERT_EQ(tree.QueryInterface(IID_IFavTree, reinterpret_cast<void**>(&face)), S_OK);
    EXPECT_EQ(face, static_cast<IFavTree*>(&tree));
    face->Release();
    IUnknown* other = nullptr;
    EXPECT_EQ(tree.QueryInterface(IID_IDropTarget, reinterpret_cast<void**>(&other)), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
}
