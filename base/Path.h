// File-system path helpers for ANSI paths (double-byte aware through mbcs).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace path {

// Full path of a module's file ("" when it cannot be found).
std::string ModuleFile(HMODULE module);

// `name` in the system folder (GetSystemDirectoryA): a system program started by plain name is
// looked for in the current folder first.
std::string SystemFile(std::string_view name);

// Replaces the file-name part of `path` with `name`. The file-name part begins after the last
// "\\" or ":" that is followed by something other than the end or another "\\".
std::string ReplaceFileName(std::string_view path, std::string_view name);

// "folder\\name"
std::string Join(std::string_view folder, std::string_view name);

// Splits "a\\b\\c" into "a\\b" and "c"; false when there is no backslash.
bool SplitLast(std::string_view path, std::string* folder, std::string* name);

// Removes one trailing backslash (a double-byte character's trail byte is not one).
std::string WithoutTrailingSeparator(std::string path);

// True when a file or folder of that name exists (FindFirstFileA finds it).
bool Exists(const std::string& path);
bool IsDirectory(const std::string& path);

}  // namespace path
