// Putting text on the clipboard and taking it off.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace clip {

// Replaces the clipboard's content with `text` as CF_TEXT; false when the clipboard or the
// memory could not be had (the clipboard is then left as it was).
bool SetText(HWND owner, const std::string& text);
// The same with exact text: CF_UNICODETEXT, and CF_TEXT for programs that read only that ("?" for
// what the code page lacks, never a look-alike).
bool SetText(HWND owner, const std::wstring& text);

// The clipboard's data in `format` up to its first NUL and at most `limit` bytes; nothing when
// the clipboard cannot be opened or holds no such data. The clipboard is closed again.
std::optional<std::string> GetText(HWND owner, UINT format, size_t limit);
// The clipboard's CF_UNICODETEXT (which the system also makes from CF_TEXT) the same way, at most
// `limit` characters.
std::optional<std::wstring> GetWideText(HWND owner, size_t limit);

}  // namespace clip
