// Run without a path asks the user: the save dialog for "XML", the folder browser for "WWWC".
// A helper thread answers the dialog as a user would.
#include "FakeTree.h"
#include "../support/TestSupport.h"

#include <base/ControlText.h>

#include <gtest/gtest.h>
#include <shlwapi.h>

#include <functional>

namespace {

BOOL CALLBACK CollectText(HWND control, LPARAM texts) {
    *reinterpret_cast<std::string*>(texts) += ui::WindowText(control) + "\n";
    return TRUE;
}

struct ExportDialogs : testing::Test {
    testutil::TempDir dir;
    win::UniqueModule library = exporttest::LoadPlugin(plugin::kExportLibrary);
    exporttest::FakeTree tree;
    std::string shownTexts;  // the texts of the dialog's controls; empty when none appeared
    char previous[MAX_PATH] = "";

    // The dialogs open in the current folder: whatever a cancelled export wrote would show there.
    void SetUp() override {
        GetCurrentDirectoryA(MAX_PATH, previous);
        SetCurrentDirectoryA(dir.path().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(previous); }
    bool NothingWritten() const { return PathIsDirectoryEmptyA(dir.path().c_str()); }

    // Runs the export with a null path while a helper thread waits for this process's dialog,
    // notes its texts and lets `answer` close it.
    int RunAnswered(const char* code, std::function<void(HWND)> answer) {
        tree.Shortcut(tree.root(), "a", "http://a/");
        int result = -1;
        const auto run = [&] { result = exporttest::RunExport(library.get(), code, tree, nullptr); };
        const bool shown = testutil::PlayUser(run, nullptr, [&](HWND dialog) {
            EnumChildWindows(dialog, CollectText, reinterpret_cast<LPARAM>(&shownTexts));
            answer(dialog);
        });
        EXPECT_TRUE(shown);
        return result;
    }
    static void Cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0); }
};

}  // namespace

TEST_F(ExportDialogs, CancelledSaveDialogWritesNothing) {
    EXPECT_EQ(RunAnswered("XML", Cancel), 1);
    EXPECT_NE(shownTexts.find("XMLファイル"), std::string::npos) << "file types offered:\n" << shownTexts;
    EXPECT_TRUE(NothingWritten());
}

TEST_F(ExportDialogs, NameTypedWithoutExtensionGetsXml) {
    const std::string typed = dir / "favorites";
    EXPECT_EQ(RunAnswered("XML",
                          [&](HWND dialog) {
                              // The file name box: cmb13 in the explorer-style dialog, edt1 in older ones.
                              if (!SetDlgItemTextA(dialog, 0x47C, typed.c_str())) SetDlgItemTextA(dialog, 0x480, typed.c_str());
                              PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                          }),
              0);
    EXPECT_NE(testutil::ReadBytes(typed + ".xml").find("url=\"http://a/\""), std::string::npos);
}

TEST_F(ExportDialogs, CancelledFolderBrowserWritesNothing) {
    EXPECT_EQ(RunAnswered("WWWC", Cancel), 1);
    EXPECT_NE(shownTexts.find("出力先フォルダを指定してください。"), std::string::npos) << shownTexts;
    EXPECT_TRUE(NothingWritten());
}
