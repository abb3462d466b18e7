// Putting text on the clipboard.
#pragma once

#include <windows.h>

#include <string>

namespace clip {

// Replaces the clipboard's content with `text` as CF_TEXT; false when the clipboard or the
// memory could not be had (the clipboard is then left as it was).
bool SetText(HWND owner, const std::string& text);

}  // namespace clip
