// One tab's configuration: its settings section, root folder, bookmark sources and the URLs of
// imported items.
#pragma once

#include "Settings.h"

#include <array>
#include <string>
#include <vector>

namespace fav {

// A bookmark source as the import plug-in receives it: the format code ("NSBM", "DNBM", "WWWC")
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
    std::string rootPath;         // no trailing backslash
    std::array<BookmarkSource, kMaxSources> sources{};
    size_t sourceCount = 0;
    std::vector<std::string> importedUrls{std::string()};  // entry 0 is always ""
    bool loaded = false;

    // Every tab but a temporary one reads its settings section.
    bool HasSettingsSection() const { return section.size() > 2; }
};

}  // namespace fav
