// Asking the user where an export goes. No value: the user cancelled.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace exporter {

// The save dialog for the XML document (asks before replacing a file; ".xml" is added to a
// name without extension).
std::optional<std::string> AskXmlFile(HWND owner);

// The save dialog for the Netscape bookmark file (".html" added to a name without extension).
std::optional<std::string> AskHtmlFile(HWND owner);

// The folder browser for WWWC data; only folders of the file system can be chosen.
std::optional<std::string> AskWwwcFolder(HWND owner);

}  // namespace exporter
