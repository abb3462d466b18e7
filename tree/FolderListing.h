// What a favorites folder holds as the trees show it. The tree's loading and the import
// plug-in's favorites and WWWC walks read folders through this, so they agree on what is shown.
#pragma once

#include <base/FileSystem.h>

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fav {

// One entry: `label` is what the tree shows (a shortcut's name without ".url", in the code page,
// "?" for what it lacks); `name` is the same exactly (a shortcut's file name without ".url"), which
// every operation on the file uses.
struct ListedEntry {
    std::string label;
    std::wstring name;
};

// Sub-folders and ".url" shortcuts, each group sorted by label without regard to case.
struct FolderListing {
    std::vector<ListedEntry> folders;
    std::vector<ListedEntry> shortcuts;
};

// Whether a tree shows an entry: no names starting with "." and no hidden entries.
bool IsShownEntry(std::string_view name, DWORD attributes);
bool IsShownEntry(std::wstring_view name, DWORD attributes);

// Nothing when the folder cannot be listed. The listing is closed before this returns, so a walk
// that descends never holds more than one open.
std::optional<FolderListing> ListFolder(const std::wstring& folder);

// The folders on the way down a walk, by identity: a junction or link back to one of them must
// not be entered again, or the walk would never end.
class FolderTrail {
public:
    // False when `folder` is already on the trail; otherwise it is added (a folder whose identity
    // cannot be read is entered, and cannot lead back to itself through the trail).
    bool Enter(const std::wstring& folder);
    void Leave();

private:
    std::vector<std::optional<fsys::FolderId>> folders_;
};

}  // namespace fav
