// The cache cleaner: removes banner images and CGI output from the browser's URL cache, and keeps
// the banner pattern file "data\\banner.ini" beside the program.
#pragma once

#include <windows.h>

#include <string>

namespace cachecleaner {

// Resource (type 23) whose bytes are the default pattern file.
inline constexpr char kDefaultPatternsResource[] = "ENUM.TXT";
inline constexpr WORD kDefaultPatternsType = 23;

// "<programDir>\\data\\banner.ini".
std::string PatternFilePath(const std::string& programDir);

// Writes the default pattern file from `resources` when there is none (making "data" first).
// False when the file is missing and could not be made.
bool EnsurePatternFile(HMODULE resources, const std::string& programDir);

// Deletes every cache entry (history included) whose URL matches a banner pattern, then reports
// how many were deleted and how many bytes that saved.
void DeleteBannerCache(HWND owner, HMODULE resources, const std::string& programDir);

// Deletes every cache entry whose URL holds "?", except history entries ("Visited..."), then
// reports how many were deleted.
void DeleteCgiCache(HWND owner);

// Opens the pattern file (made first when missing) in the editor the system associates with it.
void EditPatterns(HMODULE resources, const std::string& programDir);

}  // namespace cachecleaner
