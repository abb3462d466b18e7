// The module (executable or library) that holds the tree code: its resources, its folder.
#pragma once

#include <windows.h>

namespace fav {

HINSTANCE TreeModule();

}  // namespace fav
