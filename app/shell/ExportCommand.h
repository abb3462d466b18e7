// Writing the current tree out through the export plug-in.
#pragma once

#include <tree/CFavTreeView.h>

namespace app {

// Runs the export plug-in's handler for `format` ("XML", "WWWC", "NSBM") over `tree`; the plug-in asks
// for the destination itself. Problems with the plug-in are reported to the user.
void ExportTree(CFavTreeView& tree, HWND owner, const char* format);

}  // namespace app
