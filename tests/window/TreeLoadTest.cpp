// Loading a tab's tree from disk: order, filtering, root choice and bookmark-source nodes.
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <shlobj.h>

using testutil::ChildLabels;
using testutil::TempDir;
using testutil::TreeHost;

namespace {

std::string Settings(const TempDir& dir, const std::string& root, const std::string& extra = "") {
    return testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n" + extra);
}

}  // namespace

TEST(TreeLoad, FoldersFirstThenShortcutsEachInNameOrderWithoutRegardToCase) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    for (const char* name : {"fav\\b", "fav\\A", "fav\\c"}) dir.MakeDir(name);
    dir.WriteShortcut("fav\\z", "http://z/");
    dir.WriteFile("fav\\Y.URL", "[InternetShortcut]\r\nURL=http://y/");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));

    EXPECT_EQ(tree.Label(tree.Root()), root);
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"A", "b", "c", "Y", "z"}));
    EXPECT_TRUE(tree.IsFolder(testutil::Node(tree, {"A"})));
    EXPECT_TRUE(tree.IsShortcut(testutil::Node(tree, {"Y"})));
    EXPECT_TRUE(tree.IsLoaded());
    EXPECT_TRUE(IsWindowVisible(tree.hwnd()));
}
