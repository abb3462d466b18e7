// Node paths and their inverse, the lookup of a node by path.
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <functional>

using testutil::TempDir;
using testutil::TreeHost;

namespace {

struct PathFixture : testutil::TreeFixture {};

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

TEST_F(PathFixture, FolderOutlineCopiesFoldersInOrderAndFindsTheOneAsked) {
    dir.MakeDir("fav\\b");
    dir.MakeDir("fav\\a");
    dir.MakeDir("fav\\a\\inner");
    dir.WriteShortcut("fav\\a\\skip", "http://skip/");
    dir.WriteShortcut("fav\\top", "http://top/");
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");

    HWND other = CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD, 0, 0, 100, 100, host.hwnd(), nullptr, nullptr, nullptr);
    TVINSERTSTRUCTA insert{};
    insert.hParent = TVI_ROOT;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<char*>("top");
    HTREEITEM top = TreeView_InsertItem(other, &insert);
    const HTREEITEM inner = testutil::Node(tree, {"a", "inner"});
    const HTREEITEM copy = tree.FolderOutline(other, top, tree.Root(), inner);
    ASSERT_NE(copy, nullptr);

    std::vector<std::string> labels;
    std::function<void(HTREEITEM, const std::string&)> walk = [&](HTREEITEM item, const std::string& prefix) {
        for (HTREEITEM child = TreeView_GetChild(other, item); child; child = TreeView_GetNextSibling(other, child)) {
            char text[64] = "";
            TVITEMA info{};
            info.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
            info.hItem = child;
            info.pszText = text;
            info.cchTextMax = sizeof text;
            TreeView_GetItem(other, &info);
            EXPECT_EQ(info.iImage, 0);
            EXPECT_EQ(info.iSelectedImage, 2);
            EXPECT_TRUE(tree.IsFolder(reinterpret_cast<HTREEITEM>(info.lParam)));
            labels.push_back(prefix + text);
            walk(child, prefix + text + "/");
        }
    };
    walk(top, "");
    EXPECT_EQ(labels, (std::vector<std::string>{"a", "a/inner", "b"}));
    TVITEMA found{};
    found.mask = TVIF_PARAM;
    found.hItem = copy;
    TreeView_GetItem(other, &found);
    EXPECT_EQ(reinterpret_cast<HTREEITEM>(found.lParam), inner);
    DestroyWindow(other);
}
