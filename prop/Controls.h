// Small helpers over dialog controls shared by the settings tool's pages and dialogs.
#pragma once

#include <base/ControlText.h>

#include <windows.h>

#include <string>

namespace prop {

using ui::ControlText;

// The text of line `line` of a list box ("" when there is none).
std::string ListLine(HWND list, int line);

// Beeps and puts the focus on control `id`: how the tool refuses a value; returns false.
bool RefuseControl(HWND dialog, int id);

// Takes the text of control `id` into `field`; refuses (above) when it is longer than `limit` bytes,
// unless it is `field` unchanged: a value read from the file is never refused for what the user did
// not type, and a value left alone is never rewritten.
bool TakeField(HWND dialog, int id, size_t limit, std::string* field);

}  // namespace prop
