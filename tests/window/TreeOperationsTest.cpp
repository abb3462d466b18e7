// Deleting to the recycle bin and opening or closing whole branches, against the real disk.
#include "../support/TestSupport.h"

#include <base/Path.h>

#include <gtest/gtest.h>

using testutil::ChildLabels;
using testutil::MessageRecorder;

namespace {

struct OperationsFixture : testutil::TreeFixture {
    MessageRecorder messages;

    bool Expanded(const CFavTreeView& tree, HTREEITEM node) const {
        return (TreeView_GetItemState(tree.hwnd(), node, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
    }
};

}  // namespace

TEST_F(OperationsFixture, DeleteAsksOnceAndSendsFilesAndFoldersToTheRecycleBin) {
    dir.MakeDir("fav\\folder");
    dir.WriteShortcut("fav\\folder\\inside", "http://in/");
    dir.WriteShortcut("fav\\表計算", "http://sheet/");
    CFavTreeView& tree = Load();

    tree.Delete(testutil::Node(tree, {"表計算"}));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "[表計算]を削除しますか？");
    EXPECT_EQ(messages.messages()[0].caption, "削除の確認");
    EXPECT_EQ(messages.messages()[0].flags & MB_TYPEMASK, UINT(MB_OKCANCEL));
    EXPECT_FALSE(path::Exists(root + "\\表計算.url"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"folder"}));

    tree.Delete(testutil::Node(tree, {"folder"}));
    EXPECT_EQ(messages.messages().size(), 2u);  // one question, no second one from the shell
    EXPECT_FALSE(path::Exists(root + "\\folder"));
    EXPECT_TRUE(ChildLabels(tree, tree.Root()).empty());

    // Both went to the recycle bin (Wine keeps it in the XDG trash), not into thin air.
    char unixTrash[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("XDG_DATA_HOME", unixTrash, sizeof unixTrash)) GTEST_SKIP() << "no XDG_DATA_HOME";
    std::string trash = std::string("Z:") + unixTrash + "/Trash/files";
    for (char& c : trash)
        if (c == '/') c = '\\';
    EXPECT_TRUE(path::Exists(trash + "\\表計算.url"));
    EXPECT_TRUE(path::Exists(trash + "\\folder\\inside.url"));
}

TEST_F(OperationsFixture, CancelledDeleteKeepsEverything) {
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    messages.AnswerNext(IDCANCEL);
    tree.Delete(testutil::Node(tree, {"x"}));
    EXPECT_TRUE(path::Exists(root + "\\x.url"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));
}

TEST_F(OperationsFixture, RootAndImportedNodesAreNeverDeleted) {
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    tree.Delete(tree.Root());
    tree.Delete(testutil::Node(tree, {"Netscape BookMark"}));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"ルートフォルダは削除できません",
                                                          "インポートされたアイテムは削除できません"}));
    EXPECT_TRUE(path::IsDirectory(root));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"Netscape BookMark"}));
}

TEST_F(OperationsFixture, FailedDeleteIsReportedAndTheNodeStays) {
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    DeleteFileA((root + "\\x.url").c_str());  // gone behind the program's back
    tree.Delete(testutil::Node(tree, {"x"}));
    EXPECT_EQ(messages.texts().back(), "削除できませんでした");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));
}

TEST_F(OperationsFixture, BranchesOpenAndCloseAllTheWayDown) {
    dir.MakeDir("fav\\a");
    dir.MakeDir("fav\\a\\b");
    dir.MakeDir("fav\\a\\b\\c");
    dir.WriteShortcut("fav\\a\\b\\c\\x", "http://x/");
    dir.MakeDir("fav\\d");
    dir.WriteShortcut("fav\\d\\y", "http://y/");
    CFavTreeView& tree = Load();
    const HTREEITEM a = testutil::Node(tree, {"a"}), b = testutil::Node(tree, {"a", "b"}),
                    c = testutil::Node(tree, {"a", "b", "c"}), d = testutil::Node(tree, {"d"});

    tree.ExpandBranch(a, true);
    EXPECT_TRUE(Expanded(tree, a) && Expanded(tree, b) && Expanded(tree, c));
    EXPECT_FALSE(Expanded(tree, d));

    tree.ExpandBranch(tree.Root(), true);
    EXPECT_TRUE(Expanded(tree, d));
    tree.ExpandBranch(tree.Root(), false);
    EXPECT_FALSE(Expanded(tree, tree.Root()) || Expanded(tree, a) || Expanded(tree, b) || Expanded(tree, c));
}
