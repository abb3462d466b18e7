// One tab's configuration: its settings section, root folder, bookmark sources and the URLs of
// imported items.
#pragma once

#include <settings/Settings.h>

#include <base/FileSystem.h>
#include <base/TextEncoding.h>

#include <array>
#include <string>
#include <vector>

namespace fav {

// A bookmark source as the import plug-in receives it: the format code ("NSBM", "DNBM", "WWWC", "CRBM", "FFBM")
// followed by the file or folder path. The layout is shared with the plug-in.
struct BookmarkSource {
    char code[6];
    char path[MAX_PATH];
};
static_assert(sizeof(BookmarkSource) == 266, "the import plug-in reads this record by layout");

inline constexpr size_t kMaxSources = 11;

// Section of a temporary tab: no settings apply to it.
inline constexpr char kTemporarySection[] = " ";

struct TabConfig {
    std::string section;          // "Tolvak#1", "Tolvak#2" ...
    settings::IniFile ini;
    std::string rootPath;         // no trailing backslash; as shown ("?" for what the code page lacks)
    std::wstring rootFile;        // the same path exactly, for the file system
    std::array<BookmarkSource, kMaxSources> sources{};
    size_t sourceCount = 0;
    std::vector<std::wstring> importedUrls{std::wstring()};  // exactly; entry 0 is always ""
    bool loaded = false;

    // Every tab but a temporary one reads its settings section.
    bool HasSettingsSection() const { return section.size() > 2; }
    // Sets both forms of the root path from the exact one.
    void SetRoot(std::wstring file);
};

inline void TabConfig::SetRoot(std::wstring file) {
    // One trailing backslash goes ("C:\\Favorites\\"); in UTF-16 no trail byte can look like one.
    if (!file.empty() && file.back() == L'\\') file.pop_back();
    rootFile = std::move(file);
    rootPath = text::WideToAnsi(rootFile);
}

}  // namespace fav
