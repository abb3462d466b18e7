// The one report of settings that could not be saved, so that every writer of the settings says it
// the same way.
#pragma once

#include <windows.h>

#include <string>

namespace settings {

// "設定を保存できませんでした。" with `where` (a file or a registry key) and the system's reason for
// `error`, in an error box with the system's caption.
void ReportWriteFailure(HWND owner, const std::string& where, DWORD error);

}  // namespace settings
