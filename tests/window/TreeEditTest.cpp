// Edits through the tree: new shortcut files, label edits that rename on disk, new folders.
#include "../support/TestSupport.h"

#include <base/Path.h>

#include <gtest/gtest.h>

using testutil::ChildLabels;
using testutil::EditLabel;
using testutil::MessageRecorder;
using testutil::ReadBytes;
using testutil::TempDir;
using testutil::TreeHost;

namespace {

struct EditFixture : testutil::TreeFixture {
    MessageRecorder messages;

    std::string Fav(const std::string& relative) const { return root + "\\" + relative; }
};

}  // namespace

TEST_F(EditFixture, CreateShortcutWritesTheFileAndSelectsOneNewNode) {
    dir.MakeDir("fav\\a");
    CFavTreeView& tree = Load();
    CFavTreeView::ShortcutResult result{};
    const std::string url = "http://example.com/" + std::string(1500, 'p');
    HTREEITEM node = tree.CreateShortcut(testutil::Node(tree, {"a"}), url, "表計算", CFavTreeView::NameOrigin::kTyped, &result);
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(result, CFavTreeView::ShortcutResult::kCreated);
    EXPECT_EQ(ReadBytes(Fav("a\\表計算.url")), "[InternetShortcut]\r\nURL=" + url);
    EXPECT_EQ(ChildLabels(tree, testutil::Node(tree, {"a"})), (std::vector<std::string>{"表計算"}));
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), node);
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(EditFixture, OverwriteQuestionKeepsOneNodeAndCancelKeepsTheOldFile) {
    dir.WriteFile("fav\\x.url", "[InternetShortcut]\r\nURL=http://old/\r\nIconIndex=1\r\n");
    CFavTreeView& tree = Load();

    messages.AnswerNext(IDCANCEL);
    CFavTreeView::ShortcutResult result{};
    EXPECT_EQ(tree.CreateShortcut(tree.Root(), "http://new/", "x", CFavTreeView::NameOrigin::kTyped, &result), nullptr);
    EXPECT_EQ(result, CFavTreeView::ShortcutResult::kCancelled);
    EXPECT_EQ(ReadBytes(Fav("x.url")), "[InternetShortcut]\r\nURL=http://old/\r\nIconIndex=1\r\n");

    HTREEITEM node = tree.CreateShortcut(tree.Root(), "http://new/", "x", CFavTreeView::NameOrigin::kTyped, &result);
    EXPECT_EQ(node, testutil::Node(tree, {"x"}));
    EXPECT_EQ(result, CFavTreeView::ShortcutResult::kCreated);
    EXPECT_EQ(ReadBytes(Fav("x.url")), "[InternetShortcut]\r\nURL=http://new/");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));

    ASSERT_EQ(messages.messages().size(), 2u);
    for (const ui::MessageRequest& question : messages.messages()) {
        EXPECT_EQ(question.text, "既に同名のアイテムがあります。\n上書きしますか？");
        EXPECT_EQ(question.caption, "上書き");
        EXPECT_EQ(question.flags, UINT(MB_OKCANCEL | MB_ICONQUESTION));
    }
}

TEST_F(EditFixture, CreateShortcutRefusesEmptyNamesAndReportsUnwritableFolders) {
    dir.MakeDir("fav\\gone");
    CFavTreeView& tree = Load();
    CFavTreeView::ShortcutResult result{};
    EXPECT_EQ(tree.CreateShortcut(tree.Root(), "http://x/", "", CFavTreeView::NameOrigin::kTyped, &result), nullptr);
    EXPECT_EQ(result, CFavTreeView::ShortcutResult::kCancelled);

    RemoveDirectoryA(Fav("gone").c_str());
    EXPECT_EQ(tree.CreateShortcut(testutil::Node(tree, {"gone"}), "http://x/", "y", CFavTreeView::NameOrigin::kTyped, &result), nullptr);
    EXPECT_EQ(result, CFavTreeView::ShortcutResult::kFailed);
    EXPECT_TRUE(ChildLabels(tree, testutil::Node(tree, {"gone"})).empty());
}

TEST_F(EditFixture, VanishedShortcutIsReportedOnceAndRemoved) {
    dir.WriteShortcut("fav\\x", "http://x/");
    dir.WriteShortcut("fav\\y", "http://y/");
    CFavTreeView& tree = Load();
    DeleteFileA(Fav("x.url").c_str());
    EXPECT_FALSE(tree.NodeUrl(testutil::Node(tree, {"x"})).has_value());
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"お気に入りが削除されています。"}));
    EXPECT_EQ(messages.messages()[0].flags, UINT(MB_ICONWARNING));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"y"}));

    DeleteFileA(Fav("y.url").c_str());
    EXPECT_FALSE(tree.StillExists(testutil::Node(tree, {"y"})));
    EXPECT_EQ(messages.texts().back(), "お気に入りが削除されています");
    EXPECT_TRUE(ChildLabels(tree, tree.Root()).empty());
}

TEST_F(EditFixture, LockedShortcutIsReportedUnreadableAndKept) {
    dir.WriteShortcut("fav\\x", "http://x/");
    CFavTreeView& tree = Load();
    HTREEITEM node = testutil::Node(tree, {"x"});
    {
        const win::UniqueFile lock(CreateFileA(Fav("x.url").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(lock);
        TreeView_SelectItem(tree.hwnd(), node);
        EXPECT_EQ(messages.texts(), std::vector<std::string>{
                                        "お気に入りを読み込めませんでした。\n他のプログラムが使用している可能性があります。"});
        EXPECT_EQ(testutil::Node(tree, {"x"}), node);
    }
    EXPECT_EQ(tree.NodeUrl(node), "http://x/");
    EXPECT_EQ(messages.texts().size(), 1u);
}

TEST_F(EditFixture, OnlyFileBackedNodesBelowTheRootCanBeEdited) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = host.AddTree(testutil::WriteSettings(
        dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\nBookMark=C:\\bm.htm\r\n"));
    EXPECT_FALSE(EditLabel(tree, tree.Root(), "x"));
    EXPECT_FALSE(EditLabel(tree, testutil::Node(tree, {"Netscape BookMark"}), "x"));
    HTREEITEM imported = tree.InsertNode(tree.Root(), "imported", fav::kImportedItem, fav::kNoUrlIndex);
    EXPECT_FALSE(EditLabel(tree, imported, "x"));
    EXPECT_FALSE(CFavTreeView::IsLabelEditing());

    SetFocus(tree.hwnd());
    ASSERT_NE(TreeView_EditLabel(tree.hwnd(), testutil::Node(tree, {"s"})), nullptr);
    EXPECT_TRUE(CFavTreeView::IsLabelEditing());
    testutil::FinishEdit(tree, nullptr);
    EXPECT_FALSE(CFavTreeView::IsLabelEditing());
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(EditFixture, EditedLabelsRenameFilesAndFolders) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\a\\in", "http://in/");
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load();

    ASSERT_TRUE(EditLabel(tree, testutil::Node(tree, {"s"}), "表計算ソフト"));
    EXPECT_FALSE(path::Exists(Fav("s.url")));
    EXPECT_EQ(ReadBytes(Fav("表計算ソフト.url")), "[InternetShortcut]\r\nURL=http://s/");
    ASSERT_TRUE(EditLabel(tree, testutil::Node(tree, {"a"}), "b"));
    EXPECT_TRUE(path::IsDirectory(Fav("b")));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"b", "表計算ソフト"}));
    EXPECT_EQ(tree.NodeUrl(testutil::Node(tree, {"b", "in"})), "http://in/");
    // Only the letter case changes: the same file, under its new spelling.
    ASSERT_TRUE(EditLabel(tree, testutil::Node(tree, {"b"}), "B"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"B", "表計算ソフト"}));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(EditFixture, BadNamesAreRefusedWithTheirMessageAndTheEditorReopens) {
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load();
    HTREEITEM node = testutil::Node(tree, {"s"});

    ASSERT_TRUE(EditLabel(tree, node, ""));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"名前を入れてください"}));
    HWND editor = testutil::OpenEditor(tree);
    ASSERT_NE(editor, nullptr);
    testutil::FinishEdit(tree, nullptr);

    ASSERT_TRUE(EditLabel(tree, node, "a\\b"));
    EXPECT_EQ(messages.texts().back(), "ファイル名には \\ / : , ; * ? \" < > | を使用出来ません");
    editor = testutil::OpenEditor(tree);
    ASSERT_NE(editor, nullptr);
    char typed[32] = "";
    GetWindowTextA(editor, typed, sizeof typed);
    EXPECT_STREQ(typed, "a\\b");  // kept for correcting
    testutil::FinishEdit(tree, nullptr);

    EXPECT_EQ(tree.Label(node), "s");
    EXPECT_TRUE(path::Exists(Fav("s.url")));
    for (const ui::MessageRequest& message : messages.messages()) EXPECT_EQ(message.flags, UINT(MB_ICONWARNING));
}

TEST_F(EditFixture, RenamingOntoAnExistingNameIsRefusedAndNothingMoves) {
    dir.WriteShortcut("fav\\s", "http://s/");
    dir.WriteShortcut("fav\\t", "http://t/");
    CFavTreeView& tree = Load();
    ASSERT_TRUE(EditLabel(tree, testutil::Node(tree, {"s"}), "t"));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "すでに同じ名前のフォルダが存在します");
    EXPECT_EQ(messages.messages()[0].caption, "Tolvak");
    EXPECT_NE(testutil::OpenEditor(tree), nullptr);
    testutil::FinishEdit(tree, nullptr);
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"s", "t"}));
    EXPECT_EQ(ReadBytes(Fav("s.url")), "[InternetShortcut]\r\nURL=http://s/");
    EXPECT_EQ(ReadBytes(Fav("t.url")), "[InternetShortcut]\r\nURL=http://t/");
}

TEST_F(EditFixture, RenameAfterARefusalReachesTheItemBeingEdited) {
    dir.WriteShortcut("fav\\a", "http://a/");
    dir.WriteShortcut("fav\\b", "http://b/");
    dir.WriteShortcut("fav\\F1", "http://f1/");
    CFavTreeView& tree = Load();
    ASSERT_TRUE(EditLabel(tree, testutil::Node(tree, {"a"}), "b"));
    ASSERT_NE(testutil::OpenEditor(tree), nullptr);  // reopened on "a" with the refused name

    // Straight on to another item, without leaving the open editor first.
    ASSERT_NE(TreeView_EditLabel(tree.hwnd(), testutil::Node(tree, {"F1"})), nullptr);
    testutil::FinishEdit(tree, "f2");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "b", "f2"}));
    EXPECT_EQ(ReadBytes(Fav("a.url")), "[InternetShortcut]\r\nURL=http://a/");
    EXPECT_EQ(ReadBytes(Fav("f2.url")), "[InternetShortcut]\r\nURL=http://f1/");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"すでに同じ名前のフォルダが存在します"});
    EXPECT_EQ(testutil::OpenEditor(tree), nullptr);
}

TEST_F(EditFixture, PlaceholderFolderIsCreatedOnlyWhenItsEditEnds) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\s", "http://s/");
    CFavTreeView& tree = Load();

    // A typed name creates that folder; the placeholder disappears.
    tree.NewFolderPlaceholder(tree.Root());
    ASSERT_NE(testutil::OpenEditor(tree), nullptr);
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"新しいフォルダ", "a", "s"}));
    testutil::FinishEdit(tree, "資料");
    EXPECT_TRUE(path::IsDirectory(Fav("資料")));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "資料", "s"}));
    EXPECT_TRUE(tree.IsFolder(testutil::Node(tree, {"資料"})));

    // Cancelling creates the default name; erasing the name removes the placeholder.
    tree.NewFolderPlaceholder(tree.Root());
    EXPECT_NE(testutil::OpenEditor(tree), nullptr);
    testutil::FinishEdit(tree, nullptr);
    EXPECT_TRUE(path::IsDirectory(Fav("新しいフォルダ")));
    tree.NewFolderPlaceholder(tree.Root());
    testutil::FinishEdit(tree, "");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "資料", "新しいフォルダ", "s"}));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(EditFixture, ExistingFolderNameIsReportedAndThePlaceholderStaysEditable) {
    dir.MakeDir("fav\\a");
    CFavTreeView& tree = Load();
    tree.NewFolderPlaceholder(tree.Root());
    testutil::FinishEdit(tree, "a");
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"その名前は既に存在します"}));
    EXPECT_NE(testutil::OpenEditor(tree), nullptr);
    testutil::FinishEdit(tree, "");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a"}));

    EXPECT_EQ(tree.NewFolder(tree.Root(), std::string("a")), nullptr);
    EXPECT_EQ(messages.texts().back(), "その名前は既に存在します");
}

TEST_F(EditFixture, TypedShortcutNamesBreakingTheRuleAreRefused) {
    CFavTreeView& tree = Load();
    for (const char* name : {"..\\x", "a/b", "..", "nul"}) {
        CFavTreeView::ShortcutResult result{};
        EXPECT_EQ(tree.CreateShortcut(tree.Root(), "http://x/", name, CFavTreeView::NameOrigin::kTyped, &result), nullptr);
        EXPECT_EQ(result, CFavTreeView::ShortcutResult::kFailed) << name;
    }
    EXPECT_FALSE(path::Exists(dir / "x.url"));
    EXPECT_FALSE(path::Exists(dir / "...url"));
    EXPECT_TRUE(ChildLabels(tree, tree.Root()).empty());
}

TEST_F(EditFixture, NewFolderThatCannotBeMadeIsReportedAndNothingChanges) {
    dir.MakeDir("fav\\taken");
    dir.MakeDir("fav\\taken\\a");
    dir.WriteFile("fav\\taken\\file", "x");
    dir.MakeDir("fav\\gone");
    CFavTreeView& tree = Load();
    RemoveDirectoryA(Fav("gone").c_str());  // vanished after loading: nothing can be made inside
    struct Case {
        const char* parent;
        const char* name;
        const char* message;
    };
    for (const Case& c : {Case{"taken", "a", "その名前は既に存在します"},      // a folder of that name
                          Case{"taken", "file", "その名前は既に存在します"},   // a plain file of that name
                          Case{"gone", "new", "作成に失敗しました"}}) {
        HTREEITEM parent = testutil::Node(tree, {c.parent});
        const std::vector<std::string> before = ChildLabels(tree, parent);
        const size_t shown = messages.messages().size();
        tree.NewFolderPlaceholder(parent);
        testutil::FinishEdit(tree, c.name);
        ASSERT_EQ(messages.messages().size(), shown + 1) << c.name;
        EXPECT_EQ(messages.messages().back().text, c.message);
        EXPECT_EQ(messages.messages().back().flags, UINT(MB_ICONWARNING));
        EXPECT_NE(testutil::OpenEditor(tree), nullptr) << "the name can be corrected at once";
        testutil::FinishEdit(tree, "");
        EXPECT_EQ(ChildLabels(tree, parent), before) << c.name;
    }
    EXPECT_FALSE(path::Exists(Fav("gone")));
    EXPECT_EQ(ReadBytes(Fav("taken\\file")), "x");
}

TEST_F(EditFixture, RenamingAFolderOntoAnExistingFolderIsRefused) {
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\a\\in", "http://in/");
    dir.MakeDir("fav\\b");
    CFavTreeView& tree = Load();
    ASSERT_TRUE(EditLabel(tree, testutil::Node(tree, {"a"}), "b"));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"すでに同じ名前のフォルダが存在します"});
    EXPECT_EQ(messages.messages()[0].caption, "Tolvak");
    EXPECT_EQ(messages.messages()[0].flags, UINT(MB_ICONWARNING));
    testutil::FinishEdit(tree, nullptr);
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "b"}));
    EXPECT_TRUE(path::Exists(Fav("a\\in.url")));
    EXPECT_FALSE(path::Exists(Fav("b\\a")));
}
