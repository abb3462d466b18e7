// Process-wide state of the main program, set up at start and torn down by the exit routines.
#pragma once

#include <windows.h>

#include <string>

namespace app {

struct AppState {
    HINSTANCE instance = nullptr;
    std::string settingsPath;  // "tolvak.ini" beside the executable
    LONG topMost = 0;          // 0 or -1: the main window stays on top
};

AppState& State();

}  // namespace app
