// The steps of program start-up before the main window exists.
#pragma once

#include <app/treehost/TreeHost.h>
#include <settings/Settings.h>

namespace app {

inline constexpr const char* kMainWindowClass = treehost::kWindowClass;

// With "NoDual" set and another instance running: brings that instance's window back and
// returns true (the caller then exits).
bool HandOverToRunningInstance(const settings::IniFile& ini);

// Common controls, OLE, the client-only DDE instance and the tree's clipboard formats.
// Reports a DDE failure to the user and returns false.
bool InitializeCommon();

// WinSock 1.1 for the link checker; a failure is reported and start-up goes on.
void StartWinSock();

}  // namespace app
