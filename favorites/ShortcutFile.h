// Internet Shortcut files (".url"): an INI-structured text file whose section "InternetShortcut"
// holds the key "URL".
#pragma once

#include <optional>
#include <string>

namespace shortcut {

inline constexpr char kExtension[] = ".url";
inline constexpr wchar_t kWideExtension[] = L".url";

// The file content as this program writes it: "[InternetShortcut]\r\nURL=<url>", nothing after.
std::string FileText(const std::string& url);

// The URL stored in the file at `path`, whatever its length; nothing when the file is missing or
// its URL is empty.
std::optional<std::string> ReadUrl(const std::string& path);
// The same for a file whose name need not fit the code page.
std::optional<std::string> ReadUrl(const std::wstring& path);

// Creates or truncates the file and writes FileText(url). False when it cannot be written.
bool Write(const std::string& path, const std::string& url);
bool Write(const std::wstring& path, const std::string& url);

// "x.url" (any letter case, longer than the extension alone) gives "x"; other names give nothing.
std::optional<std::string> LabelFromFileName(const std::string& fileName);
std::optional<std::wstring> LabelFromFileName(const std::wstring& fileName);

}  // namespace shortcut
