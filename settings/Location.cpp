#include "Location.h"

#include <base/FileSystem.h>
#include <base/Handles.h>
#include <base/TextEncoding.h>

#include <shlobj.h>

#include <map>
#include <mutex>

namespace settings {
namespace {

constexpr wchar_t kSettingsFile[] = L"tolvak.ini";
constexpr wchar_t kPatternFolder[] = L"data";
constexpr wchar_t kPatternName[] = L"banner.ini";

struct Decisions {
    std::mutex lock;
    LocationSystem system = RealLocationSystem();
    std::map<std::wstring, std::string> folders;  // programs' folder -> settings folder (ANSI)
};

Decisions& State() {
    static Decisions decisions;
    return decisions;
}

bool CanCreateFilesIn(const std::wstring& folder) {
    // A name of our own that nobody else uses; the file goes when its handle closes.
    const std::wstring probe = fsys::Join(folder, L"~tolvak-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                                      std::to_wstring(GetTickCount64()) + L".tmp");
    win::UniqueFile file(CreateFileW(probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return static_cast<bool>(file);
}

std::wstring RoamingAppData() {
    wchar_t folder[MAX_PATH] = L"";
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) ? folder : L"";
}

// Copies `name` (relative) from the programs' folder unless the user's folder has it already.
void CopyDefault(const std::wstring& from, const std::wstring& to, const std::wstring& folder, const wchar_t* name) {
    const std::wstring source = fsys::Join(folder.empty() ? from : fsys::Join(from, folder), name);
    const std::wstring targetFolder = folder.empty() ? to : fsys::Join(to, folder);
    if (!fsys::Exists(source) || fsys::Exists(fsys::Join(targetFolder, name))) return;
    CreateDirectoryW(targetFolder.c_str(), nullptr);  // may exist already
    CopyFileW(source.c_str(), fsys::Join(targetFolder, name).c_str(), TRUE);
}

// The programs read the file through ANSI calls: a folder whose name the code page cannot carry
// is named by its short form, which is plain ASCII where the volume keeps short names.
std::string AnsiFolder(const std::wstring& folder) {
    bool exact = false;
    std::string ansi = text::WideToAnsi(folder, &exact);
    if (exact) return ansi;
    wchar_t shortName[MAX_PATH] = L"";
    const DWORD length = GetShortPathNameW(folder.c_str(), shortName, MAX_PATH);
    return length > 0 && length < MAX_PATH ? text::WideToAnsi(shortName) : ansi;
}

}  // namespace

LocationSystem RealLocationSystem() { return {CanCreateFilesIn, RoamingAppData}; }

std::wstring DecideSettingsFolder(const std::wstring& programFolder, const LocationSystem& system) {
    if (system.canCreateFiles(programFolder)) return programFolder;
    const std::wstring appData = system.userDataFolder();
    if (appData.empty()) return programFolder;  // nowhere better: reading still works there
    const std::wstring user = fsys::Join(appData, text::AnsiToWide(kUserFolderName));
    CreateDirectoryW(user.c_str(), nullptr);  // may exist already
    CopyDefault(programFolder, user, L"", kSettingsFile);
    CopyDefault(programFolder, user, kPatternFolder, kPatternName);
    return user;
}

std::string SettingsFolder(const std::wstring& programFolder) {
    Decisions& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    auto found = state.folders.find(programFolder);
    if (found == state.folders.end())
        found = state.folders.emplace(programFolder, AnsiFolder(DecideSettingsFolder(programFolder, state.system))).first;
    return found->second;
}

std::string SettingsFolderOf(HMODULE module) {
    std::wstring file(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, file.data(), static_cast<DWORD>(file.size()));
        if (length == 0) return {};
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        file.resize(file.size() * 2);
    }
    std::wstring folder, name;
    return fsys::SplitLast(file, &folder, &name) ? SettingsFolder(folder) : std::string();
}

ScopedLocationSystem::ScopedLocationSystem(LocationSystem system) {
    Decisions& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    previous_ = std::move(state.system);
    state.system = std::move(system);
    state.folders.clear();
}

ScopedLocationSystem::~ScopedLocationSystem() {
    Decisions& state = State();
    std::lock_guard<std::mutex> hold(state.lock);
    state.system = std::move(previous_);
    state.folders.clear();
}

}  // namespace settings
