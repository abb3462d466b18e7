// Self-registration of the bar library (the class, its program ids, the vertical-bar category,
// the type library) and the installation that the program's menu runs.
#pragma once

#include <windows.h>

namespace bar {

// Writes the entries (the class key afresh) and registers the type library; the first failure.
// Both this and UnregisterServer then drop the shell's cached lists of vertical bars (the
// current user's), so that the browser sees the change at its next start.
HRESULT RegisterServer();
// Removes the entries and unregisters the type library; always S_OK.
HRESULT UnregisterServer();

// Result of Install: 0 installed, 1 the user said No, otherwise the failing HRESULT.
inline constexpr int kInstallDeclined = 1;
int Install();
// Always 0.
int Uninstall();

}  // namespace bar
