// Process-wide state of the main program, set up at start and torn down by the exit routines.
#pragma once

#include <windows.h>

#include <string>

namespace app {

struct AppState {
    HINSTANCE instance = nullptr;
    std::string settingsPath;  // "tolvak.ini" beside the executable
    DWORD ddeInstance = 0;     // client-only DDE instance; 0 when not initialised
    bool initialised = false;  // OLE and DDE are up; the exit routine tears them down
    LONG topMost = 0;          // 0 or -1: the main window stays on top
};

AppState& State();

}  // namespace app
