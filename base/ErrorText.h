// The system's own words for an error code, for messages that tell the user why something failed.
#pragma once

#include <windows.h>

#include <string>

namespace win {

// The system's message for `code` in the user's language, without the line break it ends with;
// "エラー <code>" when the system has none.
std::string ErrorText(DWORD code);

}  // namespace win
