// The built installer (made from the deliverables in TOLVAK_DELIVERABLE_FILES) as an administrator runs it silently: the files land in the chosen folder,
// the installed program starts, the uninstall entry is complete, and the silent uninstall removes
// what was installed but keeps the user's settings.
#include "Program.h"

#include <base/Format.h>
#include <base/Path.h>

#include "TolvakVersion.h"

#include <shellapi.h>
#include <shlobj.h>

#include <sstream>
#include <vector>

using e2e::WaitFor;

namespace {

constexpr char kToolbarButtonKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";
constexpr char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tolvak";
constexpr char kBarServerKey[] = "CLSID\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}\\InprocServer32";
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

}  // namespace

TEST(Installer, SilentInstallStartsTheProgramAndSilentUninstallKeepsTheSettings) {
    const std::string setup = e2e::BuiltFile("..\\dist\\" TOLVAK_SETUP_NAME);
    ASSERT_TRUE(path::Exists(setup)) << setup;
    testutil::TempDir parent;
    const std::string folder = parent / "Tolvak ソフト表";  // a blank and 0x5C trail bytes
    const bool withBar = path::Exists(e2e::BuiltFile("TolvakBar.dll"));

    ASSERT_EQ(RunAndWait(text::Format("\"%s\" /S%s /D=%s", setup.c_str(), withBar ? " /BAR" : "", folder.c_str())), 0);

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

    const std::string uninstaller = folder + "\\uninstall.exe";
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName"), "Tolvak");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion"), TOLVAK_VERSION_TEXT);
    EXPECT_NE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher"), "<none>");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString"), "\"" + uninstaller + "\"");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayIcon"), folder + "\\Tolvak.exe,0");
    EXPECT_GT(RegistryNumber(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize"), 0u);
    if (withBar) {
        EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, kBarServerKey, nullptr), folder + "\\TolvakBar.dll");
    }

    {
        e2e::RunningProgram program(folder + "\\Tolvak.exe", folder);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr) << "the installed program shows its window";
        EXPECT_NE(TreeView_GetRoot(e2e::TreeOf(window)), nullptr) << "and its tree";
    }  // closing it writes the window's place into the settings

    // The browser's toolbar button as the program's menu makes it.
    const testutil::ScopedRegistryKey button(HKEY_LOCAL_MACHINE, kToolbarButtonKey);
    ASSERT_TRUE(button.Set("", folder + "\\Tolvak.exe", "Exec"));

    ASSERT_EQ(RunAndWait(text::Format("\"%s\" /S", uninstaller.c_str())), 0);
    // The uninstaller runs on as a copy of itself outside the folder, so that it can delete itself.
    EXPECT_TRUE(WaitFor([&] { return !path::Exists(uninstaller); }, kSetupTimeoutMs));
    EXPECT_TRUE(WaitFor([&] { return RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName") == "<none>"; }));
    for (const std::string& name : Deliverables()) EXPECT_FALSE(path::Exists(folder + "\\" + name)) << name;
    EXPECT_FALSE(path::Exists(folder + "\\Tolvak.chm"));
    EXPECT_FALSE(path::Exists(StartMenuFolder()));
    EXPECT_EQ(RegistryText(HKEY_CLASSES_ROOT, kBarServerKey, nullptr), "<none>");
    EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kToolbarButtonKey, "Exec"), "<none>");
    EXPECT_NE(testutil::ReadBytes(folder + "\\tolvak.ini").find("[Wnd]"), std::string::npos)
        << "the settings the program wrote stay";
}
