// Names outside the code page, folders that lead back to themselves and renames the file system
// refuses: every operation reaches exactly the file shown, and loading always ends.
#include "../support/TestSupport.h"

#include <base/Path.h>

#include <gtest/gtest.h>

namespace {

// Kept out of the assertions, whose text is compiled in the code page.
const std::wstring kCafeAccent = L"café", kCafe = L"cafe", kKorea = L"한국", kSmile = L"😀", kFolder = L"ü-folder";

struct FileNamesFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;

    // The child of `parent` whose exact name is `name`.
    static HTREEITEM Named(const CFavTreeView& tree, HTREEITEM parent, const std::wstring& name) {
        for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), parent); child;
             child = TreeView_GetNextSibling(tree.hwnd(), child))
            if (tree.FileName(child) == name) return child;
        return nullptr;
    }
    bool Exists(const std::wstring& relative) const {
        return GetFileAttributesW(testutil::WidePath(dir, relative).c_str()) != INVALID_FILE_ATTRIBUTES;
    }
};

}  // namespace

TEST_F(FileNamesFixture, EntriesOutsideTheCodePageAreShownAndEachReachesItsOwnFile) {
    const struct {
        std::wstring name;
        std::string url;
    } shortcuts[] = {
        {kCafeAccent, "http://accent/"}, {kCafe, "http://plain/"}, {kKorea, "http://korea/"}, {kSmile, "http://smile/"}};
    for (const auto& shortcut : shortcuts) testutil::WriteWideShortcut(dir, L"fav\\" + shortcut.name, shortcut.url);
    const std::wstring folderPath = testutil::WidePath(dir, L"fav\\" + kFolder);
    ASSERT_TRUE(CreateDirectoryW(folderPath.c_str(), nullptr));
    testutil::WriteWideShortcut(dir, L"fav\\" + kFolder + L"\\inner", "http://inner/");

    CFavTreeView& tree = Load();
    for (const auto& shortcut : shortcuts) {
        HTREEITEM node = Named(tree, tree.Root(), shortcut.name);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(tree.NodeUrl(node), shortcut.url);
        TreeView_SelectItem(tree.hwnd(), node);
        EXPECT_TRUE(tree.StillExists(node)) << "selecting keeps the entry";
    }
    HTREEITEM folder = Named(tree, tree.Root(), kFolder);
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(testutil::ChildLabels(tree, folder), (std::vector<std::string>{"inner"}));
    EXPECT_TRUE(messages.texts().empty());

    // A rename to a name of the code page, and a move into the folder, reach the exact files.
    HTREEITEM korea = Named(tree, tree.Root(), kKorea);
    ASSERT_TRUE(testutil::EditLabel(tree, korea, "korea"));
    const std::wstring oldKorea = L"fav\\" + kKorea + L".url";
    EXPECT_TRUE(Exists(L"fav\\korea.url"));
    EXPECT_FALSE(Exists(oldKorea));
    HTREEITEM smile = Named(tree, tree.Root(), kSmile);
    ASSERT_TRUE(tree.MoveNode(tree, smile, folder));
    const std::wstring movedSmile = L"fav\\" + kFolder + L"\\" + kSmile + L".url";
    EXPECT_TRUE(Exists(movedSmile));
    smile = Named(tree, folder, kSmile);
    EXPECT_EQ(tree.NodeUrl(smile), "http://smile/");
}

TEST_F(FileNamesFixture, CafeAndCafeWithAccentAreDeletedOneAtATime) {
    const std::wstring accentFile = L"fav\\" + kCafeAccent, plainFile = L"fav\\" + kCafe;
    testutil::WriteWideShortcut(dir, accentFile, "http://accent/");
    testutil::WriteWideShortcut(dir, plainFile, "http://plain/");
    CFavTreeView& tree = Load();

    tree.Delete(Named(tree, tree.Root(), kCafeAccent));
    EXPECT_FALSE(Exists(accentFile + L".url"));
    EXPECT_TRUE(Exists(plainFile + L".url"));
    EXPECT_NE(Named(tree, tree.Root(), kCafe), nullptr);
    EXPECT_EQ(Named(tree, tree.Root(), kCafeAccent), nullptr);

    tree.Delete(Named(tree, tree.Root(), kCafe));
    EXPECT_FALSE(Exists(plainFile + L".url"));
    EXPECT_EQ(TreeView_GetChild(tree.hwnd(), tree.Root()), nullptr);
    // Only the two questions: nothing was reported missing or failed.
    EXPECT_EQ(messages.texts().size(), 2u);
}

TEST_F(FileNamesFixture, FolderWithAJunctionToItselfLoadsWithinASecond) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\a\\x", "http://x/");
    if (!testutil::MakeJunction(root + "\\a\\loop", root)) GTEST_SKIP() << "no junctions on this file system";

    const ULONGLONG start = GetTickCount64();
    CFavTreeView& tree = Load();
    EXPECT_LT(GetTickCount64() - start, 1000u);
    HTREEITEM loop = testutil::Node(tree, {"a", "loop"});
    ASSERT_NE(loop, nullptr) << "the link is shown as a folder";
    EXPECT_EQ(TreeView_GetChild(tree.hwnd(), loop), nullptr) << "its content is not loaded again";
    EXPECT_EQ(testutil::ChildLabels(tree, testutil::Node(tree, {"a"})), (std::vector<std::string>{"loop", "x"}));
}

TEST_F(FileNamesFixture, RenameOfAFileHeldOpenIsReportedAndKeepsTheLabel) {
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    // Another program holds the file without letting anyone delete or rename it.
    win::UniqueFile held(CreateFileA((root + "\\x.url").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     0, nullptr));
    ASSERT_TRUE(held);
    ASSERT_TRUE(testutil::EditLabel(tree, testutil::Node(tree, {"x"}), "y"));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"名前を変更できませんでした"}));
    EXPECT_TRUE(path::Exists(root + "\\x.url"));
    EXPECT_EQ(testutil::ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));
}
