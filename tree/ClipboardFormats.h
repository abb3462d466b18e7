// The two private clipboard formats through which trees (in the program and in the browser bar)
// exchange entries.
#pragma once

#include <windows.h>

namespace fav {

struct TreeFormats {
    UINT shared = 0;  // "Tolvak CBFmt"
    UINT raw = 0;     // "Tolvak CBFmt RawData"
};

// Registers both formats (once per process) and returns their ids; zero ids when registration failed.
const TreeFormats& RegisterTreeFormats();

}  // namespace fav
