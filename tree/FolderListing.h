// What a favorites folder holds as the trees show it. The tree's loading and the import
// plug-in's favorites and WWWC walks read folders through this, so they agree on what is shown.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// Sub-folders and ".url" shortcuts, each group sorted by name without regard to case.
struct FolderListing {
    std::vector<std::string> folders;
    std::vector<std::string> shortcuts;  // labels: the file names without ".url"
};

// Whether a tree shows an entry: no names starting with "." and no hidden entries.
bool IsShownEntry(std::string_view name, DWORD attributes);

// Nothing when the folder cannot be listed. The listing is closed before this returns, so a walk
// that descends never holds more than one open.
std::optional<FolderListing> ListFolder(const std::string& folder);

}  // namespace fav
