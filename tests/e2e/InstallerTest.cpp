// The built installer (made from the deliverables in TOLVAK_DELIVERABLE_FILES) as an administrator
// runs it silently, for the current user (the default) or for all users: the files land in the
// chosen folder, the installed program starts, the uninstall entry and the Start menu are the
// mode's, and the silent uninstall removes what was installed (and what the program's menu added
// for this copy) from the right places but keeps the user's settings unless told otherwise.
#include "Program.h"

#include <base/Format.h>
#include <base/Path.h>

#include "TolvakVersion.h"

#include <shellapi.h>
#include <shlobj.h>

#include <optional>
#include <sstream>
#include <vector>

using e2e::WaitFor;

namespace {

constexpr char kToolbarButtonKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvak";
constexpr char kBarServerKey[] = "Software\\Classes\\CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\InprocServer32";
constexpr char kLinkListKey[] = "Software\\Microsoft\\Internet Explorer\\MenuExt\\TLりんくりすと";
constexpr DWORD kSetupTimeoutMs = 60000;

std::vector<std::string> Deliverables() {
    std::vector<std::string> names;
    std::istringstream list(TOLVAK_DELIVERABLE_FILES);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);
    return names;
}

// Runs `commandLine` and waits for it; the exit code, or -1 when it did not start or end.
int RunAndWait(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, kSetupTimeoutMs) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

// A string value of the registry, or "<none>" when the key or value is missing.
std::string RegistryText(HKEY root, const char* key, const char* value) {
    return testutil::RegistryText(root, key, value).value_or("<none>");
}

DWORD RegistryNumber(HKEY root, const char* key, const char* value) {
    DWORD data = 0;
    DWORD size = sizeof data;
    RegGetValueA(root, key, value, RRF_RT_REG_DWORD, nullptr, &data, &size);
    return data;
}

// A string of the file's Japanese version block, or "" when it has none.
std::string VersionText(const std::string& file, const char* name) {
    DWORD ignored = 0;
    std::vector<char> block(GetFileVersionInfoSizeA(file.c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoA(file.c_str(), 0, static_cast<DWORD>(block.size()), block.data())) return "";
    char* text = nullptr;
    UINT length = 0;
    const std::string path = text::Format("\\StringFileInfo\\041104B0\\%s", name);
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) || length == 0) return "";
    return text;
}

std::string ShellFolder(int csidl, const char* below) {
    char folder[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder);
    return std::string(folder) + below;
}

// A copy installed silently into a folder of the test; what the test has not uninstalled is
// uninstalled at its end, on every path, so that no uninstall entry, Start menu folder or
// registration outlives it.
class SilentInstallation {
public:
    // Without `givenFolder` no /D= is passed and `folder` is where the installer is expected to go.
    SilentInstallation(const std::string& folder, const char* options, bool givenFolder = true)
        : folder_(folder),
          setupResult_(RunAndWait(text::Format("\"%s\" /S%s%s%s", Setup().c_str(), options, givenFolder ? " /D=" : "",
                                               givenFolder ? folder.c_str() : ""))) {}
    ~SilentInstallation() {
        // In place (_?=) the uninstaller does not go on as a copy of itself, so its end is waited for.
        if (path::Exists(uninstaller())) RunAndWait(text::Format("\"%s\" /S _?=%s", uninstaller().c_str(), folder_.c_str()));
    }
    SilentInstallation(const SilentInstallation&) = delete;
    SilentInstallation& operator=(const SilentInstallation&) = delete;

    static std::string Setup() { return e2e::BuiltFile("..\\dist\\" TOLVAK_SETUP_NAME); }
    int setupResult() const { return setupResult_; }
    std::string uninstaller() const { return folder_ + "\\uninstall.exe"; }
    // Uninstalls as a user does: the uninstaller goes on as a copy of itself outside the folder,
    // so that it can delete itself. True once it has.
    bool Uninstall(const char* options) const {
        return RunAndWait(text::Format("\"%s\" /S%s", uninstaller().c_str(), options)) == 0 &&
               WaitFor([&] { return !path::Exists(uninstaller()); }, kSetupTimeoutMs);
    }

private:
    std::string folder_;
    int setupResult_;
};

}  // namespace

TEST(Installer, SilentInstallStartsTheProgramAndSilentUninstallKeepsTheSettings) {
    ASSERT_TRUE(path::Exists(SilentInstallation::Setup())) << SilentInstallation::Setup();
    testutil::TempDir parent;
    const std::string folder = parent / "Tolvak ソフト表";  // a blank and 0x5C trail bytes
    const bool withBar = path::Exists(e2e::BuiltFile("TolvakBar.dll"));
    const testutil::BarUnregisteredAtEnd unregister;
    std::optional<testutil::CachedBarLists> cached(std::in_place);
    ASSERT_TRUE(cached->ok());

    const SilentInstallation installation(folder, withBar ? " /CURRENTUSER /BAR" : " /CURRENTUSER");
    ASSERT_EQ(installation.setupResult(), 0);

    for (const std::string& name : Deliverables()) {
        const std::string file = folder + "\\" + name;
        ASSERT_TRUE(path::Exists(file)) << name;
        EXPECT_EQ(VersionText(file, "ProductVersion"), TOLVAK_VERSION_TEXT) << name;
        EXPECT_EQ(VersionText(file, "OriginalFilename"), name);
        EXPECT_FALSE(VersionText(file, "FileDescription").empty()) << name;
        if (name.ends_with(".exe")) {
            EXPECT_GT(ExtractIconExA(file.c_str(), -1, nullptr, nullptr, 0), 0u) << name;
        }
    }
    for (const char* name : {"Tolvak.chm", "tolvak.ini", "uninstall.exe"})
        EXPECT_TRUE(path::Exists(folder + "\\" + name)) << name;
    const std::string startMenu = ShellFolder(CSIDL_PROGRAMS, "\\Tolvak");
    EXPECT_TRUE(path::Exists(startMenu + "\\Tolvak.lnk"));

    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, "DisplayName"), "Tolvak");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, "DisplayVersion"), TOLVAK_VERSION_TEXT);
    EXPECT_NE(RegistryText(HKEY_CURRENT_USER, kUninstallKey, "Publisher"), "<none>");
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, "UninstallString"),
              text::Format("\"%s\"", installation.uninstaller().c_str()));
    EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, "DisplayIcon"), folder + "\\Tolvak.exe,0");
    EXPECT_GT(RegistryNumber(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize"), 0u);
    if (withBar) {
        // Just for me: the user's classes, even though the test runs with the rights to write the machine's.
        EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kBarServerKey, nullptr), folder + "\\TolvakBar.dll");
        EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kBarServerKey, nullptr), "<none>");
        EXPECT_TRUE(testutil::CachedBarLists::Gone()) << "the bar would stay hidden until the shell rebuilt them";
    }

    {
        e2e::RunningProgram program(folder + "\\Tolvak.exe", folder);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr) << "the installed program shows its window";
        EXPECT_NE(TreeView_GetRoot(e2e::TreeOf(window)), nullptr) << "and its tree";
    }  // closing it writes the window's place into the settings

    // What the program's menu and the browser leave: a toolbar button that starts another copy,
    // the link list's menu extension, the shell's lists of bars.
    const testutil::ScopedRegistryKey button(HKEY_LOCAL_MACHINE, kToolbarButtonKey);
    const std::string otherCopy = parent / "Tolvak\\Tolvak.exe";
    ASSERT_TRUE(button.Set("", otherCopy, "Exec"));
    const testutil::ScopedRegistryKey linkList(HKEY_CURRENT_USER, kLinkListKey);
    ASSERT_TRUE(linkList.Set("inner", ""));
    cached.emplace();
    ASSERT_TRUE(cached->ok());

    ASSERT_TRUE(installation.Uninstall(""));
    EXPECT_TRUE(WaitFor([&] { return RegistryText(HKEY_CURRENT_USER, kUninstallKey, "DisplayName") == "<none>"; }));
    for (const std::string& name : Deliverables()) EXPECT_FALSE(path::Exists(folder + "\\" + name)) << name;
    EXPECT_FALSE(path::Exists(folder + "\\Tolvak.chm"));
    EXPECT_FALSE(path::Exists(startMenu));
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        EXPECT_EQ(RegistryText(root, kBarServerKey, nullptr), "<none>");
    if (withBar) {
        EXPECT_TRUE(testutil::CachedBarLists::Gone());
    }
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kToolbarButtonKey, "Exec"), otherCopy) << "another copy's button stays";
    EXPECT_FALSE(testutil::KeyExists(HKEY_CURRENT_USER, kLinkListKey));
    EXPECT_TRUE(testutil::KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\MenuExt"));
    EXPECT_NE(testutil::ReadBytes(folder + "\\tolvak.ini").find("[Wnd]"), std::string::npos)
        << "the settings the program wrote stay";
}

// Per user without a switch (into the user's Programs folder), for the machine with /ALLUSERS; the
// uninstaller finds its mode by itself.
TEST(Installer, EachModeUsesItsPlacesAndUninstallingWithRemoveSettingsLeavesNothing) {
    testutil::TempDir parent;
    const struct {
        const char* options;
        std::string folder;
        bool givenFolder;
        HKEY entryRoot, otherRoot;
        int startMenu;
    } cases[] = {
        {"", ShellFolder(CSIDL_LOCAL_APPDATA, "\\Programs\\Tolvak"), false, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, CSIDL_PROGRAMS},
        {" /ALLUSERS", parent / "Tolvak", true, HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER, CSIDL_COMMON_PROGRAMS},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        ASSERT_FALSE(path::Exists(c.folder)) << "left from elsewhere";
        const std::string startMenu = ShellFolder(c.startMenu, "\\Tolvak");
        const SilentInstallation installation(c.folder, c.options, c.givenFolder);
        ASSERT_EQ(installation.setupResult(), 0);
        ASSERT_TRUE(path::Exists(c.folder + "\\tolvak.ini"));
        EXPECT_EQ(RegistryText(c.entryRoot, kUninstallKey, "InstallLocation"), c.folder);
        EXPECT_EQ(RegistryText(c.otherRoot, kUninstallKey, "InstallLocation"), "<none>");
        EXPECT_TRUE(path::Exists(startMenu + "\\Tolvak.lnk"));
        // The program's menu writes the button for the machine or, when refused, for the user.
        const testutil::ScopedRegistryKey machineButton(HKEY_LOCAL_MACHINE, kToolbarButtonKey);
        ASSERT_TRUE(machineButton.Set("", c.folder + "\\Tolvak.exe", "Exec"));
        const testutil::ScopedRegistryKey userButton(HKEY_CURRENT_USER, kToolbarButtonKey);
        ASSERT_TRUE(userButton.Set("", c.folder + "\\Tolvak.exe", "Exec"));

        ASSERT_TRUE(installation.Uninstall(" /REMOVESETTINGS"));
        // The uninstall entry goes last.
        EXPECT_TRUE(WaitFor([&] { return RegistryText(c.entryRoot, kUninstallKey, "DisplayName") == "<none>"; }));
        EXPECT_FALSE(path::Exists(c.folder)) << "nothing is left in it";
        EXPECT_FALSE(path::Exists(startMenu));
        EXPECT_FALSE(testutil::KeyExists(HKEY_LOCAL_MACHINE, kToolbarButtonKey)) << "the button that starts this copy goes";
        EXPECT_FALSE(testutil::KeyExists(HKEY_CURRENT_USER, kToolbarButtonKey));
    }
}
