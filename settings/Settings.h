// The settings file "tolvak.ini" beside the executable: location and typed access through the
// private-profile functions. Missing files, sections and keys always yield the defaults.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace settings {

inline constexpr char kFileName[] = "tolvak.ini";

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

    // Every line of a section ("key=value"), in file order; empty when the section is missing.
    std::vector<std::string> ReadSection(const char* section) const;
    // Replaces the whole section by `lines`, in their order.
    void WriteSection(const char* section, const std::vector<std::string>& lines) const;
    void DeleteSection(const char* section) const;

    // A null value deletes the key.
    void Write(const char* section, const char* key, const char* value) const;
    void WriteInt(const char* section, const char* key, int value) const;

private:
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
