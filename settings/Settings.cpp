#include "Settings.h"

#include "Location.h"

#include <base/FileSystem.h>
#include <base/Path.h>
#include <base/TextEncoding.h>

#include <cstdlib>
#include <vector>

namespace settings {
namespace {

constexpr size_t kColorTextCapacity = 11;  // "0x00BBGGRR" and the terminator
constexpr int kMaxWindowCoordinate = 2000;

int InRangeOr(int value, int low, int high, int fallback) {
    return (value < low || value > high) ? fallback : value;
}

}  // namespace

std::string LocateFor(HMODULE module) { return path::Join(SettingsFolderOf(module), kFileName); }

int IniFile::ReadInt(const char* section, const char* key, int fallback) const {
    return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, path_.c_str()));
}

std::string IniFile::ReadString(const char* section, const char* key, const char* fallback,
                                size_t capacity) const {
    std::string buffer(capacity, '\0');
    const DWORD length = GetPrivateProfileStringA(section, key, fallback, buffer.data(),
                                                  static_cast<DWORD>(capacity), path_.c_str());
    buffer.resize(length);
    return buffer;
}

std::optional<COLORREF> IniFile::ReadColor(const char* section, const char* key) const {
    const std::string text = ReadString(section, key, "", kColorTextCapacity);
    if (text.empty()) return std::nullopt;
    return static_cast<COLORREF>(std::strtoul(text.c_str(), nullptr, 16));
}

std::vector<std::string> IniFile::ReadKeys(const char* section) const {
    // The reader returns names separated by NULs; grow until the list fits.
    for (DWORD size = 5000;; size *= 2) {
        std::vector<char> buffer(size, '\0');
        const DWORD length = GetPrivateProfileStringA(section, nullptr, "", buffer.data(), size, path_.c_str());
        if (length + 2 < size || size > (1u << 24)) {
            std::vector<std::string> keys;
            for (const char* p = buffer.data(); *p; p += keys.back().size() + 1) keys.emplace_back(p);
            return keys;
        }
    }
}

// The reader keeps a copy of the file and trusts it while the file's time stamp stays; a write of
// the whole text within the same tick would go unseen. Asking for a flush drops that copy.
void IniFile::DropCachedCopy() const { WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str()); }

std::string IniFile::ReadText() const {
    return fsys::ReadAll(text::AnsiToWide(path_)).value_or("");
}

WriteResult IniFile::EditText(const std::function<void(IniText&)>& edit) const {
    const std::wstring file = text::AnsiToWide(path_);
    std::optional<std::string> before = fsys::ReadAll(file);
    if (!before) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return {error};
        before.emplace();
    }
    IniText text(*before);
    edit(text);
    const std::string after = text.Bytes();
    if (after == *before) return {};
    if (!fsys::ReplaceContent(file, after)) return {GetLastError()};
    DropCachedCopy();
    return {};
}

WriteResult IniFile::Write(const char* section, const char* key, const char* value) const {
    if (WritePrivateProfileStringA(section, key, value, path_.c_str())) return {};
    return {GetLastError()};
}

WriteResult IniFile::WriteInt(const char* section, const char* key, int value) const {
    return Write(section, key, std::to_string(value).c_str());
}

bool ReadEditOnDrop(const IniFile& ini, const std::string& tabSection) {
    constexpr int kMissing = -1;
    const int own = ini.ReadInt(tabSection.c_str(), "EditOnDrop", kMissing);
    if (own != kMissing) return own != 0;
    return ini.ReadInt("Tree", "EditOnDrop", 0) != 0;
}

WindowRect ReadWindowRect(const IniFile& ini) {
    WindowRect rect;
    rect.left = InRangeOr(ini.ReadInt("Wnd", "iLeft", 0), 0, kMaxWindowCoordinate, 0);
    rect.top = InRangeOr(ini.ReadInt("Wnd", "iTop", 0), 0, kMaxWindowCoordinate, 0);
    rect.width = InRangeOr(ini.ReadInt("Wnd", "iWidth", 470), 1, kMaxWindowCoordinate, 470);
    rect.height = InRangeOr(ini.ReadInt("Wnd", "iHeight", 550), 1, kMaxWindowCoordinate, 550);
    return rect;
}

}  // namespace settings
