// The tree's plug-in sink and bookmark sources, without and with the import plug-in beside the
// module that holds the tree code.
#include "../support/TestSupport.h"

#include <base/Path.h>
#include <tree/TreeImportSink.h>

#include <gtest/gtest.h>

using testutil::ChildLabels;

namespace {

struct ImportFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;
};

}  // namespace

TEST_F(ImportFixture, SinkAddsImportedFoldersAndItemsWithOrWithoutUrl) {
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    TreeImportSink sink(tree);
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});

    HTREEITEM folder = sink.AddNode(source, "フォルダ", nullptr, plugin::kAddFolder);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(tree.KindOf(folder), fav::kImportedFolder);
    EXPECT_NE(sink.AddNode(folder, "表計算", "http://example.com/?a=1&b=2", plugin::kAddItem), nullptr);
    EXPECT_NE(sink.AddNode(folder, "読めません", plugin::NoURL, plugin::kAddItem), nullptr);
    EXPECT_EQ(sink.AddNode(folder, "x", "http://x/", 3), nullptr);
    EXPECT_EQ(ChildLabels(tree, folder), (std::vector<std::string>{"表計算", "読めません"}));

    const HTREEITEM item = testutil::Node(tree, {"Netscape BookMark", "フォルダ", "表計算"});
    const HTREEITEM message = testutil::Node(tree, {"Netscape BookMark", "フォルダ", "読めません"});
    EXPECT_EQ(tree.KindOf(item), fav::kImportedItem);
    EXPECT_EQ(tree.NodeUrl(item), "http://example.com/?a=1&b=2");
    EXPECT_EQ(tree.IndexOf(message), fav::kNoUrlIndex);
    EXPECT_FALSE(tree.NodeUrl(message).has_value());
    TreeView_SelectItem(tree.hwnd(), message);
    EXPECT_EQ(host.StatusText(), "Error : 読めません");
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ImportFixture, ManyImportedUrlsKeepTheirOwnIndexesAndNeverTheNoUrlMarker) {
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    TreeImportSink sink(tree);
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    for (int i = 1; i <= 300; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_NE(sink.AddNode(source, ("item" + n).c_str(), ("http://example.com/" + n).c_str(), plugin::kAddItem),
                  nullptr);
    }
    int n = 0;
    for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), source); child; child = TreeView_GetNextSibling(tree.hwnd(), child)) {
        ++n;
        EXPECT_NE(tree.IndexOf(child), fav::kNoUrlIndex);
        EXPECT_EQ(tree.NodeUrl(child), "http://example.com/" + std::to_string(n));
    }
    EXPECT_EQ(n, 300);
    // A reload forgets every imported URL.
    ASSERT_TRUE(tree.LoadRoot());
    EXPECT_EQ(tree.config().importedUrls.size(), 1u);
}

TEST_F(ImportFixture, SinkReadsTheTreeAsPlugInsSeeIt) {
    dir.MakeDir("fav\\folder");
    dir.WriteShortcut("fav\\表計算ソフト", "http://example.com/sheet");
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    TreeImportSink sink(tree);
    EXPECT_EQ(sink.GetOwnerWindow(), tree.hwnd());
    EXPECT_EQ(sink.GetRoot(), tree.Root());
    const HTREEITEM source = sink.GetChild(sink.GetRoot());
    const HTREEITEM folder = sink.GetNextSibling(source);
    const HTREEITEM shortcut = sink.GetNextSibling(folder);
    EXPECT_EQ(sink.GetNextSibling(shortcut), nullptr);
    EXPECT_EQ(sink.GetChild(nullptr), nullptr);

    EXPECT_FALSE(sink.IsFolder(source));
    EXPECT_TRUE(sink.IsFolder(folder));
    EXPECT_FALSE(sink.IsFolder(shortcut));
    EXPECT_FALSE(sink.IsFolder(sink.AddNode(source, "imported", nullptr, plugin::kAddFolder)));

    char text[6];
    ASSERT_TRUE(sink.GetText(shortcut, text, sizeof text));
    EXPECT_STREQ(text, "表計");  // cut between characters, never inside one
    char url[64];
    ASSERT_TRUE(sink.GetURL(shortcut, url, sizeof url));
    EXPECT_STREQ(url, "http://example.com/sheet");
    EXPECT_FALSE(sink.GetURL(folder, url, sizeof url));
    EXPECT_FALSE(sink.GetURL(source, url, sizeof url));

    void* object = &sink;
    EXPECT_EQ(sink.QueryInterface(IID_IUnknown, &object), E_NOTIMPL);
    EXPECT_EQ(object, nullptr);
}

TEST_F(ImportFixture, WithoutThePlugInASourceOpensEmptyAndSilently) {
    const std::string beside = path::ReplaceFileName(path::ModuleFile(nullptr), "tlImport.dll");
    if (path::Exists(beside)) GTEST_SKIP() << "the plug-in is installed beside the tests";
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    TreeView_Expand(tree.hwnd(), source, TVE_EXPAND);
    EXPECT_EQ(tree.KindOf(source), fav::kImportedFolder);
    EXPECT_TRUE(ChildLabels(tree, source).empty());
    EXPECT_TRUE(messages.texts().empty());
}
