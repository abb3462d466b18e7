// Bookmark sources far beyond what anyone keeps by hand, read by the import plug-in as built
// (bin\tlImport.dll) into a real tree through the tree's sink: every entry shows, and a tree
// holding them reloads and closes in seconds.
#include "../support/TestSupport.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/Path.h>
#include <tree/TreeImportSink.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Measured about 2.5 s each here (the tree view's own removal dominates); room for a busy machine.
constexpr ULONGLONG kSecondsAllowed = 10;

ULONGLONG MillisecondsFor(const std::function<void()>& action) {
    const ULONGLONG start = GetTickCount64();
    action();
    return GetTickCount64() - start;
}

struct ScaleFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;

    static constexpr int kDepth = 100000;
    // A bookmark file nesting kDepth folders, with one bookmark in the deepest.
    std::string WriteDeepSource() {
        std::string content = "<DL><p>\n";
        for (int i = 0; i < kDepth; ++i) content += "<DT><H3>level</H3>\n<DL><p>\n";
        content += "<DT><A HREF=\"http://example.com/deep\">deepest</A>\n";
        for (int i = 0; i < kDepth; ++i) content += "</DL><p>\n";
        return dir.WriteFile("deep.htm", content);
    }
};

}  // namespace

TEST_F(ScaleFixture, SeventyThousandBookmarksAllShowAndTheLastOpensItsOwnUrl) {
    constexpr int kCount = 70000;
    std::string content = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<DL><p>\n";
    for (int i = 1; i <= kCount; ++i)
        content += text::Format("<DT><A HREF=\"http://example.com/%d\">bookmark %d</A>\n", i, i);
    content += "</DL><p>\n";
    const std::string file = dir.WriteFile("bookmarks.htm", content);
    const testutil::Recorder browser(dir, "browser");
    ASSERT_TRUE(browser.ok());
    CFavTreeView& tree = Load("BookMark=" + file + "\r\n[General]\r\nBrowser=" + browser.program() + "\r\n");
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    ASSERT_TRUE(testutil::ImportSource(tree, source, "NSBM", file));

    int shown = 0;
    HTREEITEM last = nullptr;
    for (HTREEITEM item = TreeView_GetChild(tree.hwnd(), source); item; item = TreeView_GetNextSibling(tree.hwnd(), item)) {
        ++shown;
        last = item;
    }
    EXPECT_EQ(shown, kCount);
    ASSERT_EQ(tree.Label(last), "bookmark 70000");
    tree.OpenInNewWindow(last);
    EXPECT_NE(browser.WaitForCommandLine().find(" http://example.com/70000"), std::string::npos);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ScaleFixture, TreeHoldingAHundredThousandLevelSourceReloadsAndClosesInSeconds) {
    const std::string file = WriteDeepSource();
    CFavTreeView& tree = Load("BookMark=" + file + "\r\n");
    HWND window = tree.hwnd();
    HTREEITEM at = testutil::Node(tree, {"Netscape BookMark"});
    ASSERT_TRUE(testutil::ImportSource(tree, at, "NSBM", file));
    int levels = 0;
    while ((at = TreeView_GetChild(window, at)) && tree.KindOf(at) == fav::kImportedFolder) ++levels;
    ASSERT_EQ(levels, kDepth);

    const ULONGLONG reload = MillisecondsFor([&] { EXPECT_TRUE(tree.LoadRoot()); });
    RecordProperty("reload_ms", static_cast<int>(reload));
    EXPECT_LT(reload, kSecondsAllowed * 1000);
    EXPECT_EQ(TreeView_GetCount(window), 2u);  // the root and the unopened source

    ASSERT_TRUE(testutil::ImportSource(tree, testutil::Node(tree, {"Netscape BookMark"}), "NSBM", file));
    const ULONGLONG close = MillisecondsFor([&] { DestroyWindow(window); });
    RecordProperty("close_ms", static_cast<int>(close));
    EXPECT_LT(close, kSecondsAllowed * 1000);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ScaleFixture, ExpandingAllOfAHundredThousandLevelsStopsDownTheBranchAndTheWindowClosesInSeconds) {
    const std::string file = WriteDeepSource();
    CFavTreeView& tree = Load("BookMark=" + file + "\r\n");
    HWND window = tree.hwnd();
    ASSERT_TRUE(testutil::ImportSource(tree, testutil::Node(tree, {"Netscape BookMark"}), "NSBM", file));

    const ULONGLONG expand = MillisecondsFor([&] { tree.ExpandBranch(tree.Root(), true); });
    RecordProperty("expand_ms", static_cast<int>(expand));
    EXPECT_LT(expand, kSecondsAllowed * 1000);
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"階層が深すぎるため、1000 階層より下は展開しませんでした"});
    int open = 0;
    for (HTREEITEM at = tree.Root(); TreeView_GetItemState(window, at, TVIS_EXPANDED) & TVIS_EXPANDED;
         at = TreeView_GetChild(window, at))
        ++open;
    EXPECT_EQ(open, 1000);

    const ULONGLONG collapse = MillisecondsFor([&] { tree.ExpandBranch(tree.Root(), false); });
    RecordProperty("collapse_ms", static_cast<int>(collapse));
    EXPECT_LT(collapse, kSecondsAllowed * 1000);
    EXPECT_FALSE(TreeView_GetItemState(window, tree.Root(), TVIS_EXPANDED) & TVIS_EXPANDED);
    tree.ExpandBranch(tree.Root(), true);
    const ULONGLONG close = MillisecondsFor([&] { DestroyWindow(window); });
    RecordProperty("close_ms", static_cast<int>(close));
    EXPECT_LT(close, kSecondsAllowed * 1000);
    EXPECT_FALSE(IsWindow(window));
}
