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

bool WriteTo(HANDLE handle, const std::string& url) {
    win::UniqueFile file(handle);
    if (!file) return false;
    const std::string content = FileText(url);
    DWORD written = 0;
    return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

constexpr DWORD kWriteFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH;

}  // namespace

std::optional<std::string> ReadUrl(const std::string& path) {
    return ReadGrowing<char>([&](char* buffer, DWORD size) {
        return GetPrivateProfileStringA("InternetShortcut", "URL", "", buffer, size, path.c_str());
    });
}

std::optional<std::string> ReadUrl(const std::wstring& path) {
    // The URL's bytes are taken as they are wherever the name allows it; only a name outside the
    // code page needs the wide reader, which sees the file's text through the code page.
    bool exact = false;
    const std::string ansiPath = text::WideToAnsi(path, &exact);
    if (exact) return ReadUrl(ansiPath);
    const auto url = ReadGrowing<wchar_t>([&](wchar_t* buffer, DWORD size) {
        return GetPrivateProfileStringW(L"InternetShortcut", L"URL", L"", buffer, size, path.c_str());
    });
    if (!url) return std::nullopt;
    return text::WideToAnsi(*url);
}

bool Write(const std::string& path, const std::string& url) {
    return WriteTo(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kWriteFlags, nullptr), url);
}

bool Write(const std::wstring& path, const std::string& url) {
    return WriteTo(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, kWriteFlags, nullptr), url);
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
