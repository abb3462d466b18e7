// Internet Shortcut files (".url"): an INI-structured text file whose section "InternetShortcut"
// holds the key "URL".
#pragma once

#include <optional>
#include <string>

namespace shortcut {

inline constexpr char kExtension[] = ".url";

// The file content as this program writes it: "[InternetShortcut]\r\nURL=<url>", nothing after.
std::string FileText(const std::string& url);

// The URL stored in the file at `path`, whatever its length; nothing when the file is missing or
// its URL is empty.
std::optional<std::string> ReadUrl(const std::string& path);

// Creates or truncates the file and writes FileText(url). False when it cannot be written.
bool Write(const std::string& path, const std::string& url);

// "x.url" (any letter case, longer than the extension alone) gives "x"; other names give nothing.
std::optional<std::string> LabelFromFileName(const std::string& fileName);

}  // namespace shortcut
