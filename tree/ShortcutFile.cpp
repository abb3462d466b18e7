#include "ShortcutFile.h"

#include <base/Handles.h>
#include <base/Mbcs.h>

#include <windows.h>

#include <vector>

namespace shortcut {

std::string FileText(const std::string& url) { return "[InternetShortcut]\r\nURL=" + url; }

std::optional<std::string> ReadUrl(const std::string& path) {
    // The reader cuts values that do not fit (returning size - 1); grow until the URL fits.
    for (DWORD size = 512;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD length =
            GetPrivateProfileStringA("InternetShortcut", "URL", "", buffer.data(), size, path.c_str());
        if (length == 0) return std::nullopt;
        if (length + 1 < size || size >= (1u << 24)) return std::string(buffer.data(), length);
    }
}

bool Write(const std::string& path, const std::string& url) {
    win::UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr));
    if (!file) return false;
    const std::string content = FileText(url);
    DWORD written = 0;
    return WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

std::optional<std::string> LabelFromFileName(const std::string& fileName) {
    constexpr size_t extensionLength = sizeof(kExtension) - 1;
    if (fileName.size() <= extensionLength || !mbcs::EndsWithNoCase(fileName, kExtension)) return std::nullopt;
    return fileName.substr(0, fileName.size() - extensionLength);
}

}  // namespace shortcut
