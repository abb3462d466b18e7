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
    bool link = false;  // a junction or symbolic link (a reparse point)
};

// Sub-folders and ".url" shortcuts, each group sorted by label without regard to case.
struct FolderListing {
    std::vector<ListedEntry> folders;
    std::vector<ListedEntry> shortcuts;
};

// Whether a tree shows an entry: no names starting with "." and no hidden entries.
bool IsShownEntry(std::string_view name, DWORD attributes);
bool IsShownEntry(std::wstring_view name, DWORD attributes);

// Folders are listed through "<folder>\\*", which must fit the system's path limit. A walk shows
// a folder beyond it with a message item saying so, never as an empty folder.
inline constexpr size_t kMaxListedFolderCharacters = MAX_PATH - 3;
inline constexpr char kPathTooLong[] = "フォルダのパスが長すぎるため読み込めません";
inline bool IsListable(const std::wstring& folder) { return folder.size() <= kMaxListedFolderCharacters; }

// Nothing when the folder cannot be listed. The listing is closed before this returns, so a walk
// that descends never holds more than one open.
std::optional<FolderListing> ListFolder(const std::wstring& folder);

// The folders on the way down a walk: a junction or link back to one of them must not be entered
// again, or the walk would never end. Only a link can lead back up, so identities are read only
// when a link is entered (and then once per folder on the way), which keeps plain walks fast.
class FolderTrail {
public:
    // False when `folder`, reached through a link, is one of the folders on the trail (compared
    // by identity, not by name); otherwise it is added. A folder whose identity cannot be read is
    // entered.
    bool Enter(const std::wstring& folder, bool link);
    void Leave();

private:
    struct Step {
        std::wstring folder;
        std::optional<fsys::FolderId> id;
        bool read = false;
    };
    std::vector<Step> steps_;
};

}  // namespace fav
