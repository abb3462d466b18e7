// Internet Shortcut files (".url"): an INI-structured text file whose section "InternetShortcut"
// holds the key "URL". Text the code page cannot hold is kept, as the system's own writer keeps
// it, in "InternetShortcut.W" (UTF-7), with "InternetShortcut.A" recording the ANSI value it
// belongs to.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace shortcut {

inline constexpr char kExtension[] = ".url";
inline constexpr wchar_t kWideExtension[] = L".url";

// The file content as this program writes it: "[InternetShortcut]\r\nURL=<url>", nothing after.
std::string FileText(const std::string& url);
// The same for an exact address: the form above when the code page holds it; otherwise the
// ANSI section ("?" for each character the code page lacks), its copy in "InternetShortcut.A"
// and the exact value in "InternetShortcut.W", each line ending in CR LF.
std::string FileText(std::wstring_view url);

// The URL stored in the file at `path`, whatever its length; nothing when the file is missing or
// its URL is empty. The exact value, where the file has one, in the code page.
std::optional<std::string> ReadUrl(const std::string& path);
// The same for a file whose name need not fit the code page.
std::optional<std::string> ReadUrl(const std::wstring& path);
// The address exactly: the "InternetShortcut.W" value unless the ANSI value was changed since it
// was written (it no longer matches "InternetShortcut.A"), otherwise the ANSI value.
std::optional<std::wstring> ReadAddress(const std::wstring& path);
// The icon file ("IconFile") by the same rule; nothing when the file names none.
std::optional<std::wstring> ReadIconFile(const std::wstring& path);
// The rule both readers of shortcut files (this one and ShortcutScan) follow: the exact value
// from a "InternetShortcut.W" value `encoded` (UTF-7), or nothing when it is no UTF-7, decodes to
// nothing, or when the ANSI value `ansi` no longer matches its "InternetShortcut.A" copy
// `recorded` (then a program that knows only the ANSI section, or a hand, changed it since).
// Absent and empty values are alike.
std::optional<std::wstring> ExactValue(std::wstring_view encoded, std::optional<std::wstring_view> ansi,
                                       std::optional<std::wstring_view> recorded);

// Creates or truncates the file and writes FileText(url). False when it cannot be written.
bool Write(const std::string& path, const std::string& url);
bool Write(const std::wstring& path, const std::string& url);
bool Write(const std::wstring& path, std::wstring_view url);

// "x.url" (any letter case, longer than the extension alone) gives "x"; other names give nothing.
std::optional<std::string> LabelFromFileName(const std::string& fileName);
std::optional<std::wstring> LabelFromFileName(const std::wstring& fileName);

}  // namespace shortcut
