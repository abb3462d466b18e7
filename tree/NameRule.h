// Rules for names the user types for folders and shortcuts.
#pragma once

#include <string_view>

namespace fav {

enum class NameProblem { kNone, kEmpty, kForbiddenCharacter };

// Characters that may not appear in a name (checked on character boundaries only).
inline constexpr char kForbiddenNameCharacters[] = "\\/:,;*?\"<>|";

NameProblem CheckName(std::string_view name);

}  // namespace fav
