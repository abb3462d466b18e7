// Process-wide state of the bar library: its lock count (live bands, LockServer, held factory),
// behind DllCanUnloadNow, and where it lies.
#pragma once

#include <windows.h>

#include <string>

namespace bar {

void LockModule();
void UnlockModule();
LONG ModuleLocks();

HINSTANCE Module();
// The library's full path, as GetModuleFileNameA gives it.
std::string ModulePath();
// "tolvak.ini" beside the library.
std::string SettingsPath();

}  // namespace bar
