// Whole texts of windows and dialog controls, whatever their length.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
// The same exactly, whatever the code page holds.
std::wstring WideWindowText(HWND window);
std::wstring WideControlText(HWND dialog, int id);

// Makes the edit control `id` of a dialog made through the ANSI calls again through the wide call
// (same class, styles, place, font, id and tab order), so that it holds text outside the code
// page: the system's edit control keeps its text in the code page when it was created through the
// ANSI call (IsWindowUnicode cannot tell: the common controls' edit class is wide either way).
// Call it before the control is used; false (the old control kept) when it fails.
bool MakeWideEdit(HWND dialog, int id);

}  // namespace ui
