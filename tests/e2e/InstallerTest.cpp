// The built installer (made from the deliverables in TOLVAK_DELIVERABLE_FILES) as an administrator
// runs it silently: the files land in the chosen folder, the installed program starts, the
// uninstall entry is complete, and the silent uninstall removes what was installed (and what the
// program's menu added for this copy) but keeps the user's settings unless told otherwise.
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
constexpr char kBarServerKey[] = "CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\InprocServer32";
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

std::string StartMenuFolder() {
    char programs[MAX_PATH] = "";
    SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, programs);
    return std::string(programs) + "\\Tolvak";
}

// A copy installed silently into a folder of the test; what the test has not uninstalled is
// uninstalled at its end, on every path, so that no uninstall entry, Start menu folder or
// registration outlives it.
class SilentInstallation {
public:
    SilentInstallation(const std::string& folder, const char* options)
        : folder_(folder),
          setupResult_(RunAndWait(text::Format("\"%s\" /S%s /D=%s", Setup().c_str(), options, folder.c_str()))) {}
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

    const SilentInstallation installation(folder, withBar ? " /BAR" : "");
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
    EXPECT_TRUE(path::Exists(StartMenuFolder() + "\\Tolvak.lnk"));

    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Tolvak");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), TOLVAK_VERSION_TEXT);
    EXPECT_NE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "<none>");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"),
              text::Format("\"%s\"", installation.uninstaller().c_str()));
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), folder + "\\Tolvak.exe,0");
    EXPECT_GT(RegistryNumber(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize"), 0u);
    if (withBar) {
        EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, kBarServerKey, nullptr), folder + "\\TolvakBar.dll");
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
    EXPECT_TRUE(WaitFor([&] { return RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == "<none>"; }));
    for (const std::string& name : Deliverables()) EXPECT_FALSE(path::Exists(folder + "\\" + name)) << name;
    EXPECT_FALSE(path::Exists(folder + "\\Tolvak.chm"));
    EXPECT_FALSE(path::Exists(StartMenuFolder()));
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, kBarServerKey, nullptr), "<none>");
    if (withBar) {
        EXPECT_TRUE(testutil::CachedBarLists::Gone());
    }
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kToolbarButtonKey, "Exec"), otherCopy) << "another copy's button stays";
    EXPECT_FALSE(testutil::KeyExists(HKEY_CURRENT_USER, kLinkListKey));
    EXPECT_TRUE(testutil::KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft\\Internet Explorer\\MenuExt"));
    EXPECT_NE(testutil::ReadBytes(folder + "\\tolvak.ini").find("[Wnd]"), std::string::npos)
        << "the settings the program wrote stay";
}

TEST(Installer, UninstallingWithRemoveSettingsLeavesNothingOfThisCopy) {
    testutil::TempDir parent;
    const std::string folder = parent / "Tolvak";
    const SilentInstallation installation(folder, "");
    ASSERT_EQ(installation.setupResult(), 0);
    ASSERT_TRUE(path::Exists(folder + "\\tolvak.ini"));
    // The button made for the machine and the one made for a user without administrator rights.
    const testutil::ScopedRegistryKey button(HKEY_LOCAL_MACHINE, kToolbarButtonKey);
    const testutil::ScopedRegistryKey userButton(HKEY_CURRENT_USER, kToolbarButtonKey);
    ASSERT_TRUE(button.Set("", folder + "\\Tolvak.exe", "Exec") && userButton.Set("", folder + "\\Tolvak.exe", "Exec"));

    ASSERT_TRUE(installation.Uninstall(" /REMOVESETTINGS"));
    // The uninstall entry goes last.
    EXPECT_TRUE(WaitFor([&] { return RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == "<none>"; }));
    EXPECT_FALSE(path::Exists(folder + "\\tolvak.ini"));
    EXPECT_FALSE(path::Exists(folder)) << "nothing is left in it";
    for (const HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        EXPECT_FALSE(testutil::KeyExists(root, kToolbarButtonKey)) << "the buttons that start this copy go";
}
