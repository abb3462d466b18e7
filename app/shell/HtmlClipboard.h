// Turning the "HTML Format" a browser puts on the clipboard into the HTML source as plain text.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace app {

// Larger clipboard HTML is refused rather than converted.
constexpr size_t kHtmlClipboardLimit = 50000;

// The HTML source between "<!--StartFragment-->" and "<!--EndFragment-->" (or the end of the
// data when the end marker is missing), in the ANSI code page; nothing without the start marker.
std::optional<std::string> HtmlFragment(std::string_view utf8Html);

// Replaces the clipboard's "HTML Format" by its fragment as CF_TEXT. Data over the limit is
// refused with a message; a clipboard without HTML is left alone silently.
void ConvertClipboardHtml(HWND owner);

}  // namespace app
