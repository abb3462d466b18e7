// Putting text on the clipboard.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace clip {

// Replaces the clipboard's content with `text` as CF_TEXT; false when the clipboard or the
// memory could not be had (the clipboard is then left as it was).
bool SetText(HWND owner, const std::string& text);

// The clipboard's data in `format` up to its first NUL and at most `limit` bytes; nothing when
// the clipboard cannot be opened or holds no such data. The clipboard is closed again.
std::optional<std::string> GetText(HWND owner, UINT format, size_t limit);

}  // namespace clip
