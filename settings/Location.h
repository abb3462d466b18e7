// Where an installation's settings live ("tolvak.ini" and "data\\banner.ini"), one rule for the
// program, the bar and the settings tool.
//
// The programs' own folder when the current user can create files there: a portable copy, or an
// installation the user owns. Otherwise (Program Files for an ordinary user) the user's own
// "%APPDATA%\\Tolvak", which gets copies of the files beside the programs on first use, so that an
// administrator's defaults reach every user. Rights alone do not tell (read-only media, shares,
// inherited denials), so the rule really creates a file, once per process.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace settings {

inline constexpr char kUserFolderName[] = "Tolvak";
inline constexpr char kPatternFile[] = "data\\banner.ini";

// The folder holding the settings for programs in `programFolder` (no trailing backslash), as
// the ANSI calls that read the settings can open it.
std::string SettingsFolder(const std::wstring& programFolder);
// The same for the folder of `module` (the executable when null); "" when it cannot be found.
std::string SettingsFolderOf(HMODULE module);

// What the rule asks of the system; tests replace it, since Wine lets every user write anywhere.
struct LocationSystem {
    std::function<bool(const std::wstring& folder)> canCreateFiles;
    std::function<std::wstring()> userDataFolder;  // "%APPDATA%"; empty when unknown
};
LocationSystem RealLocationSystem();

// The decision itself, without the once-per-process memory; makes the user folder and copies the
// files beside the programs into it when they are not there yet.
std::wstring DecideSettingsFolder(const std::wstring& programFolder, const LocationSystem& system);

// Replaces the system for its lifetime and forgets every decision made so far, before and after.
class ScopedLocationSystem {
public:
    explicit ScopedLocationSystem(LocationSystem system);
    ~ScopedLocationSystem();
    ScopedLocationSystem(const ScopedLocationSystem&) = delete;
    ScopedLocationSystem& operator=(const ScopedLocationSystem&) = delete;

private:
    LocationSystem previous_;
};

}  // namespace settings
