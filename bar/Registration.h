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
// kCurrentUser registers for the current user even where the machine would allow more: a
// per-user installation by an administrator must not reach other users.
enum class Scope { kMachineOrUser, kCurrentUser };
HRESULT RegisterServer(Scope scope = Scope::kMachineOrUser);
// DllInstall as regsvr32 calls it: "/i:user" (any case) registers for the current user, an empty
// command line as DllRegisterServer does, uninstalling as DllUnregisterServer does; any other
// command line is refused (E_INVALIDARG) and changes nothing.
HRESULT InstallCommand(bool install, const wchar_t* commandLine);
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
