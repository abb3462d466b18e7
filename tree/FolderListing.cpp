#include "FolderListing.h"

#include "ShortcutFile.h"

#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/Path.h>

namespace fav {

bool IsShownEntry(std::string_view name, DWORD attributes) {
    return !name.empty() && name.front() != '.' && !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

std::optional<FolderListing> ListFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    win::UniqueFind find(FindFirstFileA(path::Join(folder, "*").c_str(), &entry));
    if (!find) return std::nullopt;
    // Every entry is listed, however many a folder holds.
    FolderListing listing;
    do {
        if (!IsShownEntry(entry.cFileName, entry.dwFileAttributes)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listing.folders.emplace_back(entry.cFileName);
        } else if (auto label = shortcut::LabelFromFileName(entry.cFileName)) {
            listing.shortcuts.push_back(std::move(*label));
        }
    } while (FindNextFileA(find.get(), &entry));
    find.reset();
    mbcs::SortNames(listing.folders);
    // Sorted by label: "a-b.url" comes after "a.url", as "a-b" after "a".
    mbcs::SortNames(listing.shortcuts);
    return listing;
}

}  // namespace fav
