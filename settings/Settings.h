// The settings file "tolvak.ini" beside the executable: location and typed access through the
// private-profile functions. Missing files, sections and keys always yield the defaults.
#pragma once

#include "IniText.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace settings {

inline constexpr char kFileName[] = "tolvak.ini";

// The outcome of a write: ERROR_SUCCESS, or the system's reason why the file was not written.
struct WriteResult {
    DWORD error = ERROR_SUCCESS;
    explicit operator bool() const { return error == ERROR_SUCCESS; }
};

// "tolvak.ini" for the programs in the folder of `module` (the executable or the library holding
// the tree code): beside them, or in the user's own folder (Location.h).
std::string LocateFor(HMODULE module);

class IniFile {
public:
    IniFile() = default;
    explicit IniFile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    int ReadInt(const char* section, const char* key, int fallback) const;
    // At most `capacity` - 1 bytes, as the private-profile reader cuts longer values.
    std::string ReadString(const char* section, const char* key, const char* fallback,
                           size_t capacity) const;
    // A hexadecimal COLORREF ("0x00BBGGRR" or plain hex); nothing when the key is missing or empty.
    std::optional<COLORREF> ReadColor(const char* section, const char* key) const;
    // Every key name of a section, in file order.
    std::vector<std::string> ReadKeys(const char* section) const;

    // The whole file as it is now ("" when it does not exist or cannot be read).
    std::string ReadText() const;
    // Hands the file's text to `edit` and writes it back in one piece when `edit` changed it;
    // a missing file counts as empty and is made only when there is something to write.
    WriteResult EditText(const std::function<void(IniText&)>& edit) const;

    // A null value deletes the key.
    WriteResult Write(const char* section, const char* key, const char* value) const;
    WriteResult WriteInt(const char* section, const char* key, int value) const;

private:
    void DropCachedCopy() const;

    std::string path_;
};

// "EditOnDrop" for a tab: its own section first; the settings tool writes the key into section
// "Tree", which counts when the tab section has none.
bool ReadEditOnDrop(const IniFile& ini, const std::string& tabSection);

// Main window rectangle from section "Wnd", with out-of-range values replaced by the defaults.
struct WindowRect {
    int left = 0, top = 0, width = 470, height = 550;
};
WindowRect ReadWindowRect(const IniFile& ini);

}  // namespace settings
