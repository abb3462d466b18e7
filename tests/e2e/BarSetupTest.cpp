// Installing and uninstalling the Explorer bar from the built program's menu, with the real bar
// library beside it, in the test's prefix: the library's question, the program's report, what
// the registry holds afterwards.
#include "Program.h"

#include <gtest/gtest.h>

#include <optional>

using namespace e2e;

namespace {

constexpr UINT kInstallBar = 40034;
constexpr UINT kUninstallBar = 40035;
constexpr char kBarServer[] = "CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\InprocServer32";

// The server path the bar is registered with, or "" when it is not registered.
std::string RegisteredBar() { return testutil::RegistryText(HKEY_CLASSES_ROOT, kBarServer).value_or(""); }

// The next box the program shows that is not `previous`, or null.
HWND NextBox(const RunningProgram& program, HWND previous = nullptr) {
    HWND box = nullptr;
    WaitFor([&] { return (box = DialogOf(program.id())) != nullptr && box != previous; }, 10000);
    return box != previous ? box : nullptr;
}

// Sends `command` and waits until the program has finished it; false when it is still busy
// (showing a box) after a while.
bool RunsToTheEnd(HWND window, UINT command) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_COMMAND, command, 0, SMTO_NORMAL, 3000, &ignored) != 0;
}

// The program with the bar library beside it, its window shown; whatever the test registered is
// undone at the end.
struct ProgramWithBar : testing::Test {
    const testutil::BarUnregisteredAtEnd unregister;
    testutil::TempDir data;
    Installation installation{"[Tolvak#1]\r\nFavRoot=" + data.MakeDir("fav") + "\r\n"};
    std::optional<RunningProgram> program;
    HWND window = nullptr;

    void SetUp() override {
        ASSERT_EQ(CountMainWindows(), 0) << "another instance is still running";
        ASSERT_TRUE(installation.AddPlugIn("TolvakBar.dll"));
        program.emplace(installation);
        window = program->Window();
        ASSERT_NE(window, nullptr);
    }
    // Installs from the menu, answers the library's question with Yes; the program's report.
    HWND ReportOfInstall() const {
        PostMessageA(window, WM_COMMAND, kInstallBar, 0);
        HWND question = NextBox(*program);
        if (!question) return nullptr;
        PostMessageA(question, WM_COMMAND, IDYES, 0);
        return NextBox(*program, question);
    }
};

}  // namespace

TEST_F(ProgramWithBar, InstallAsksReportsAndRegistersUninstallRemoves) {
    // No: nothing registered, nothing more said.
    PostMessageA(window, WM_COMMAND, kInstallBar, 0);
    HWND question = NextBox(*program);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageText(question), "Tolvak Barをインストールしますか？");
    ASSERT_TRUE(AnswerDialog(*program, question, IDNO));
    EXPECT_EQ(RegisteredBar(), "");

    // Yes: registered from the program's folder, and the program offers the help.
    HWND report = ReportOfInstall();
    ASSERT_NE(report, nullptr);
    EXPECT_EQ(MessageText(report), "登録が完了しました。\nヘルプを表示しますか？");
    ASSERT_TRUE(AnswerDialog(*program, report, IDNO));
    EXPECT_EQ(RegisteredBar(), installation.dir() / "TolvakBar.dll");

    // Uninstall asks once and reports nothing.
    PostMessageA(window, WM_COMMAND, kUninstallBar, 0);
    question = NextBox(*program);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageText(question), "Tolvak Bar, TLリンクリストをアンインストールしますか？");
    ASSERT_TRUE(AnswerDialog(*program, question, IDYES));
    EXPECT_EQ(DialogOf(program->id()), nullptr);
    EXPECT_EQ(RegisteredBar(), "");
}

// The machine's classes closed to the user: the bar is registered for the user, who is told so.
// The user's own class key closed too: the failure is reported, rather than the help offered
// for a bar that is not there.
TEST_F(ProgramWithBar, RegistrationForTheUserOrItsFailureIsReported) {
    const std::string userClass = std::string("Software\\Classes\\") + kBarServer;
    const struct {
        bool userRefuses;
        const char* report;
        UINT answer;
        bool inUser;
    } cases[] = {
        {false, "現在のユーザーにだけ登録しました。\nヘルプを表示しますか？", IDNO, true},
        {true, "TolvakBarを登録できませんでした。(0x80070005)", IDOK, false},
    };
    const std::string library = installation.dir() / "TolvakBar.dll";
    for (const auto& c : cases) {
        const testutil::ScopedRegistryKey userClassKey(HKEY_CURRENT_USER,
                                                       "Software\\Classes\\CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}",
                                                       testutil::KeyAtStart::kAbsent);
        std::optional<testutil::LockedRegistryKey> userLock;
        const testutil::LockedRegistryKey machine(HKEY_LOCAL_MACHINE, "Software\\Classes");
        ASSERT_TRUE(machine.ok());
        if (c.userRefuses) {
            ASSERT_TRUE(userLock.emplace(HKEY_CURRENT_USER, "Software\\Classes\\CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}").ok());
        }
        HWND report = ReportOfInstall();
        ASSERT_NE(report, nullptr) << c.report;
        EXPECT_EQ(MessageText(report), c.report);
        char caption[64] = "";
        GetWindowTextA(report, caption, sizeof caption);
        EXPECT_STREQ(caption, "IE拡張");
        ASSERT_TRUE(AnswerDialog(*program, report, c.answer));
        EXPECT_EQ(testutil::RegistryText(HKEY_CURRENT_USER, userClass).value_or(""), c.inUser ? library : "");
        EXPECT_EQ(RegisteredBar(), "") << c.report;
    }
}

TEST(BarSetup, LibraryOnlyInTheStartFolderIsNotLoaded) {
    ASSERT_EQ(CountMainWindows(), 0) << "another instance is still running";
    testutil::TempDir data, startFolder;
    Installation installation("[Tolvak#1]\r\nFavRoot=" + data.MakeDir("fav") + "\r\n");
    ASSERT_TRUE(CopyFileA(BuiltFile("TolvakBar.dll").c_str(), (startFolder / "TolvakBar.dll").c_str(), FALSE));
    RunningProgram program(installation, startFolder.path());
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    for (const UINT command : {kInstallBar, kUninstallBar}) {
        EXPECT_TRUE(RunsToTheEnd(window, command)) << command;
        EXPECT_EQ(DialogOf(program.id()), nullptr) << command;
    }
}
