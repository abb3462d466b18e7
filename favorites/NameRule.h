// Rules for the names of folders and shortcuts: names the user types are checked, names that
// come from outside (page titles, dropped links, imported labels) are made safe.
#pragma once

#include <base/ShownName.h>

#include <string>
#include <string_view>

namespace fav {

enum class NameProblem { kNone, kEmpty, kForbiddenCharacter };

// Characters that may not appear in a name (checked on character boundaries only).
inline constexpr char kForbiddenNameCharacters[] = "\\/:,;*?\"<>|";
using names::kDefaultItemName;

// A name of dots alone ("..") names no new entry and counts as empty.
NameProblem CheckName(std::string_view name);
NameProblem CheckName(std::wstring_view name);

// True for the names Windows keeps for devices ("CON", "nul.txt", "COM1 "), with any extension:
// a file of that name cannot be made, and writing to it reaches the device instead.
bool IsDeviceName(std::string_view name);

// An outside name made into one that passes CheckName and stays visible in the tree: forbidden
// characters become "_", control characters blanks, blanks at either end and a leading "." go;
// a name with nothing left but dots becomes kDefaultItemName, a device name gets a leading "_".
// At most `maxCharacters`
// characters are kept, cut between characters.
std::string SafeName(std::string_view name, size_t maxCharacters);
// The same for a name that need not fit the code page (a surrogate pair is one character).
std::wstring SafeName(std::wstring_view name, size_t maxCharacters);

}  // namespace fav
