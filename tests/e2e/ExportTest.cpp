// The export commands of the built program over its real tree: the plug-in beside the program
// writes what the tree shows to where the user answers the save dialog and the folder browser;
// a plug-in or settings tool found only in the folder the program was started in is not used.
#include "Program.h"

#include <base/Path.h>
#include <base/TextEncoding.h>

#include <gtest/gtest.h>

#include <shlobj.h>

using namespace e2e;
using testutil::TempDir;

namespace {

constexpr UINT kExportXml = 40041;
constexpr UINT kExportWwwc = 40042;
constexpr UINT kExportHtml = 40046;
constexpr UINT kSettingsTool = 40024;
// The file name box of the save dialog: cmb13 in the explorer-style dialog, edt1 in older ones.
constexpr int kFileNameCombo = 0x47C;
constexpr int kFileNameEdit = 0x480;

struct ExportFixture : testing::Test {
    TempDir data;
    std::string favorites = data.MakeDir("fav");

    void SetUp() override {
        ASSERT_EQ(CountMainWindows(), 0) << "another instance is still running";
        data.MakeDir("fav\\ニュース");
        data.MakeDir("fav\\空");
        data.WriteShortcut("fav\\表計算 & 集計", "http://example.com/sheet?a=1&b=2");
        data.WriteShortcut("fav\\ニュース\\天気", "http://example.com/weather");
    }
    std::string Settings() const { return "[Tolvak#1]\r\nFavRoot=" + favorites + "\r\n"; }
};

// Selects `folder` in the folder browser until its tree shows it selected: Wine's browser at times
// stops at "My Computer" on the way down, where a user would simply choose again.
bool SelectFolder(HWND browser, const std::string& folder) {
    HWND tree = FindWindowExA(browser, nullptr, WC_TREEVIEWA, nullptr);
    std::string name;
    path::SplitLast(folder, nullptr, &name);
    return WaitFor([&] {
        SendWithRemoteText(browser, BFFM_SETSELECTIONA, TRUE, folder);
        return RemoteLabel(tree, TreeView_GetSelection(tree)) == name;
    });
}

std::string Line(const std::string& label, const std::string& url) {
    return label + "\t" + url + "\t\t\t0\t\t\t\t\t\t\t\t0\t\t\t\r\n";
}

}  // namespace

// Run by ctest before check_xml.sh, not listed with the others (see tests/CMakeLists.txt): the
// XML document goes to e2e-export-samples beside the tests, with what it must read back as.
struct ExportSamples : ExportFixture {};

TEST_F(ExportSamples, MenuCommandsWriteTheTreeTheWindowShows) {
    Installation installation(Settings());
    ASSERT_TRUE(installation.AddPlugIn("tlExport.dll"));
    RunningProgram program(installation);
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);

    const std::string samples = TestProgram("e2e-export-samples");
    testutil::RemoveTree(samples);
    ASSERT_TRUE(CreateDirectoryA(samples.c_str(), nullptr));
    const std::string file = samples + "\\program.xml";
    PostMessageA(window, WM_COMMAND, kExportXml, 0);
    HWND saveDialog = program.WaitForDialog();
    ASSERT_NE(saveDialog, nullptr);
    if (!SetDlgItemTextA(saveDialog, kFileNameCombo, file.c_str())) SetDlgItemTextA(saveDialog, kFileNameEdit, file.c_str());
    ASSERT_TRUE(AnswerDialog(program, saveDialog, IDOK));
    EXPECT_NE(testutil::ReadBytes(file).find("url=\"http://example.com/sheet?a=1&amp;b=2\""), std::string::npos);
    ASSERT_TRUE(testutil::WriteBytes(samples + "\\program.expected",
                                     "ルート\t" + favorites + "\n"
                                     "フォルダ\tニュース\n"
                                     "アイテム\t天気\thttp://example.com/weather\n"
                                     "フォルダ\t空\n"
                                     "アイテム\t表計算 & 集計\thttp://example.com/sheet?a=1&b=2\n"));

    // The Netscape bookmark file, named without extension: the dialog adds ".html".
    PostMessageA(window, WM_COMMAND, kExportHtml, 0);
    saveDialog = program.WaitForDialog();
    ASSERT_NE(saveDialog, nullptr);
    const std::string html = data / "bookmarks";
    if (!SetDlgItemTextA(saveDialog, kFileNameCombo, html.c_str())) SetDlgItemTextA(saveDialog, kFileNameEdit, html.c_str());
    ASSERT_TRUE(AnswerDialog(program, saveDialog, IDOK));
    const std::string link = text::AnsiToUtf8("<DT><A HREF=\"http://example.com/sheet?a=1&amp;b=2\">表計算 &amp; 集計</A>");
    EXPECT_NE(testutil::ReadBytes(html + ".html").find(link), std::string::npos);

    const std::string destination = data.MakeDir("out");
    PostMessageA(window, WM_COMMAND, kExportWwwc, 0);
    HWND folderBrowser = program.WaitForDialog();
    ASSERT_NE(folderBrowser, nullptr);
    ASSERT_TRUE(SelectFolder(folderBrowser, destination));
    ASSERT_TRUE(AnswerDialog(program, folderBrowser, IDOK));
    const std::string exported = destination + "\\Exported";
    EXPECT_EQ(testutil::ReadBytes(exported + "\\Item.dat"), Line("表計算 & 集計", "http://example.com/sheet?a=1&b=2"));
    EXPECT_EQ(testutil::ReadBytes(exported + "\\ニュース\\Item.dat"), Line("天気", "http://example.com/weather"));
    EXPECT_FALSE(path::Exists(exported + "\\空"));  // a folder without children gets none
}

TEST_F(ExportFixture, PlugInAndSettingsToolComeOnlyFromTheProgramsFolder) {
    Installation installation(Settings());
    TempDir startFolder;  // holds both, the program's folder neither
    ASSERT_TRUE(CopyFileA(BuiltFile("tlExport.dll").c_str(), (startFolder / "tlExport.dll").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(TestProgram("record_args.exe").c_str(), (startFolder / "TLProp.exe").c_str(), FALSE));
    RunningProgram program(installation, startFolder.path());
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);

    const std::string exportMissing = "エクスポート用DLL[tlExport.dll]が見つかりませんでした。";
    const struct {
        UINT command;
        std::string beginning, end;
    } cases[] = {
        {kExportXml, exportMissing, ""},
        {kExportWwwc, exportMissing, ""},
        {kSettingsTool, "設定ツール[", "\\TLProp.exe]を起動できませんでした。"},
    };
    for (const auto& [command, beginning, end] : cases) {
        PostMessageA(window, WM_COMMAND, command, 0);
        HWND box = program.WaitForDialog();
        ASSERT_NE(box, nullptr) << command;
        const std::string text = MessageText(box);
        EXPECT_TRUE(text.starts_with(beginning) && text.ends_with(end)) << command << ": " << text;
        ASSERT_TRUE(AnswerDialog(program, box, IDOK)) << command;
    }
    EXPECT_FALSE(path::Exists(startFolder / "args.txt")) << "TLProp.exe was started from the start folder";
}
