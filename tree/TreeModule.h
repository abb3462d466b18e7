// The module (executable or library) that holds the tree code: its resources, its folder.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace fav {

HINSTANCE TreeModule();

// The full path of `fileName` in the tree module's folder, where the plug-ins and the program's
// tools are installed. Loading or starting them by this path never picks up a file of the same
// name from the current folder or the search path instead.
std::string BesideTreeModule(std::string_view fileName);

}  // namespace fav
