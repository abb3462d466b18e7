// Whole texts of windows and dialog controls, whatever their length.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);

}  // namespace ui
