// Self-registration of the bar library (the class, its program ids, the vertical-bar category,
// the type library) and the installation that the program's menu runs.
#pragma once

#include <windows.h>

namespace bar {

// Writes the entries (the class key afresh) and registers the type library, for the machine when
// it allows that, otherwise for the current user only: S_OK or kRegisteredForUser (a success to
// regsvr32 and installers), or the first failure. Both this and UnregisterServer then drop the
// shell's cached lists of vertical bars (the current user's), so that the browser sees the change
// at its next start.
inline constexpr HRESULT kRegisteredForUser = S_FALSE;
HRESULT RegisterServer();
// Removes the entries and unregisters the type library, the machine's and the user's; always S_OK.
HRESULT UnregisterServer();

// Result of Install: 0 installed for the machine, 1 the user said No, 2 installed for the current
// user only, otherwise the failing HRESULT.
inline constexpr int kInstallDeclined = 1;
inline constexpr int kInstalledForUser = 2;
int Install();
// Always 0.
int Uninstall();

}  // namespace bar
