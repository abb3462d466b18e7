#include "ShortcutFile.h"

#include <base/FileSystem.h>
#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <windows.h>

#include <vector>

namespace shortcut {

std::string FileText(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url; }

namespace {

constexpr wchar_t kSection[] = L"InternetShortcut";
constexpr wchar_t kAnsiSection[] = L"InternetShortcut.A";
constexpr wchar_t kWideSection[] = L"InternetShortcut.W";
constexpr wchar_t kUrlKey[] = L"URL";
constexpr wchar_t kIconFileKey[] = L"IconFile";

// The reader cuts values that do not fit (returning size - 1); grow until the URL fits.
template <typename Char, typename ReadFn>
std::optional<std::basic_string<Char>> ReadGrowing(ReadFn read) {
    for (DWORD size = 512;; size *= 2) {
        std::vector<Char> buffer(size, Char());
        const DWORD length = read(buffer.data(), size);
        if (length == 0) return std::nullopt;
        if (length + 1 < size || size >= (1u << 24)) return std::basic_string<Char>(buffer.data(), length);
    }
}

// UTF-7 is what the system writes into "InternetShortcut.W"; its own conversion gives the same
// bytes as the system's writer (which characters go into base64, the explicit "-" ends).
std::string ToUtf7(std::wstring_view wide) {
    const int size = static_cast<int>(wide.size());
    const int length = size ? WideCharToMultiByte(CP_UTF7, 0, wide.data(), size, nullptr, 0, nullptr, nullptr) : 0;
    std::string result(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) WideCharToMultiByte(CP_UTF7, 0, wide.data(), size, result.data(), length, nullptr, nullptr);
    return result;
}

// Nothing for a value that is no UTF-7 (UTF-7 is plain ASCII) or decodes to nothing.
std::optional<std::wstring> FromUtf7(std::wstring_view value) {
    std::string bytes;
    for (wchar_t c : value) {
        if (c == 0 || c > 0x7F) return std::nullopt;
        bytes += static_cast<char>(c);
    }
    const int size = static_cast<int>(bytes.size());
    const int length = size ? MultiByteToWideChar(CP_UTF7, 0, bytes.data(), size, nullptr, 0) : 0;
    if (length <= 0) return std::nullopt;
    std::wstring result(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_UTF7, 0, bytes.data(), size, result.data(), length) != length) return std::nullopt;
    return result;
}

std::optional<std::wstring> ReadValue(const std::wstring& path, const wchar_t* section, const wchar_t* key) {
    return ReadGrowing<wchar_t>([&](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileStringW(section, key, L"", buffer, size, path.c_str());
    });
}

std::optional<std::wstring> ReadExactValue(const std::wstring& path, const wchar_t* key) {
    const std::optional<std::wstring> encoded = ReadValue(path, kWideSection, key);
    if (!encoded) return std::nullopt;
    const std::optional<std::wstring> recorded = ReadValue(path, kAnsiSection, key);
    if (!recorded) return ExactValue(*encoded, std::nullopt, std::nullopt);
    return ExactValue(*encoded, ReadValue(path, kSection, key), recorded);
}

bool WriteTo(HANDLE handle, const std::string& content) {
    win::UniqueFile file(handle);
    if (!file) return false;
    DWORD written = 0;
    return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

constexpr DWORD kWriteFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH;

}  // namespace

std::optional<std::wstring> ExactValue(std::wstring_view encoded, std::optional<std::wstring_view> ansi,
                                       std::optional<std::wstring_view> recorded) {
    const auto present = [](std::optional<std::wstring_view> value) { return value && !value->empty(); };
    if (present(recorded) && (!present(ansi) || *ansi != *recorded)) return std::nullopt;
    return FromUtf7(encoded);
}

std::string FileText(std::wstring_view url) {
    bool exact = false;
    const std::string ansi = text::WideToAnsi(url, &exact);
    if (exact) return FileText(ansi);
    // Older readers take the first section; "?" (never a look-alike, which could name another
    // host) marks what they cannot have.
    return "[InternetShortcut]\r\nURL=" + ansi + "\r\n[InternetShortcut.A]\r\nURL=" + ansi +
           "\r\n[InternetShortcut.W]\r\nURL=" + ToUtf7(url) + "\r\n";
}

std::optional<std::string> ReadUrl(const std::string& path) {
    // Only files with an exact value need the wide reader; the rest keep their bytes as they are.
    if (const auto exact = ReadExactValue(text::AnsiToWide(path), kUrlKey)) return text::WideToAnsi(*exact);
    return ReadGrowing<char>([&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA("InternetShortcut", "URL", "", buffer, size, path.c_str());
    });
}

std::optional<std::string> ReadUrl(const std::wstring& path) {
    if (const auto exact = ReadExactValue(path, kUrlKey)) return text::WideToAnsi(*exact);
    // The URL's bytes are taken as they are wherever the name allows it; only a name outside the
    // code page needs the wide reader, which sees the file's text through the code page.
    bool exact = false;
    const std::string ansiPath = text::WideToAnsi(path, &exact);
    if (exact) return ReadUrl(ansiPath);
    const auto url = ReadValue(path, kSection, kUrlKey);
    if (!url) return std::nullopt;
    return text::WideToAnsi(*url);
}

std::optional<std::wstring> ReadAddress(const std::wstring& path) {
    if (auto exact = ReadExactValue(path, kUrlKey)) return exact;
    const std::optional<std::string> url = ReadUrl(path);
    if (!url) return std::nullopt;
    return text::AnsiToWide(*url);
}

std::optional<std::wstring> ReadIconFile(const std::wstring& path) {
    if (auto exact = ReadExactValue(path, kIconFileKey)) return exact;
    return ReadValue(path, kSection, kIconFileKey);
}

bool Write(const std::string& path, const std::string& url) {
    return WriteTo(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kWriteFlags, nullptr),
                   FileText(url));
}

bool Write(const std::wstring& path, const std::string& url) {
    return WriteTo(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kWriteFlags, nullptr),
                   FileText(url));
}

bool Write(const std::wstring& path, std::wstring_view url) {
    return WriteTo(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kWriteFlags, nullptr),
                   FileText(url));
}

std::optional<std::string> LabelFromFileName(const std::string& fileName) {
    constexpr size_t extensionLength = sizeof(kExtension) - 1;
    if (fileName.size() <= extensionLength || !mbcs::EndsWithNoCase(fileName, kExtension)) return std::nullopt;
    return fileName.substr(0, fileName.size() - extensionLength);
}

std::optional<std::wstring> LabelFromFileName(const std::wstring& fileName) {
    return fsys::WithoutExtension(fileName, kWideExtension);
}

}  // namespace shortcut
