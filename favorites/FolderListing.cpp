#include "FolderListing.h"

#include "ShortcutFile.h"

#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <algorithm>

namespace fav {
namespace {

void SortByLabel(std::vector<ListedEntry>& entries) {
    // Stable: "café" and "cafe" may share a label, and keep the listing's order then.
    std::stable_sort(entries.begin(), entries.end(), [](const ListedEntry& a, const ListedEntry& b) {
        return mbcs::CompareNoCase(a.label, b.label) < 0;
    });
}

}  // namespace

bool IsShownEntry(std::string_view name, DWORD attributes) {
    return !name.empty() && name.front() != '.' && !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

bool IsShownEntry(std::wstring_view name, DWORD attributes) {
    return !name.empty() && name.front() != L'.' && !(attributes & FILE_ATTRIBUTE_HIDDEN);
}

std::optional<FolderListing> ListFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(FindFirstFileW(fsys::Join(folder, L"*").c_str(), &entry));
    if (!find) return std::nullopt;
    // Every entry is listed, however many a folder holds.
    FolderListing listing;
    do {
        std::wstring name = entry.cFileName;
        if (!IsShownEntry(name, entry.dwFileAttributes)) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::string label = text::WideToAnsi(name);
            listing.folders.push_back(
                {std::move(label), std::move(name), (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0});
        } else if (auto label = shortcut::LabelFromFileName(name)) {
            std::string shown = text::WideToAnsi(*label);
            listing.shortcuts.push_back({std::move(shown), std::move(*label)});
        }
    } while (FindNextFileW(find.get(), &entry));
    find.reset();
    SortByLabel(listing.folders);
    // Sorted by label: "a-b.url" comes after "a.url", as "a-b" after "a".
    SortByLabel(listing.shortcuts);
    return listing;
}

bool FolderTrail::Enter(const std::wstring& folder, bool link) {
    if (link) {
        const std::optional<fsys::FolderId> id = fsys::IdentityOf(folder);
        for (Step& step : steps_) {
            if (!step.read) {
                step.id = fsys::IdentityOf(step.folder);
                step.read = true;
            }
            if (id && step.id == id) return false;
        }
        steps_.push_back({folder, id, true});
        return true;
    }
    steps_.push_back({folder, std::nullopt, false});
    return true;
}

void FolderTrail::Leave() {
    if (!steps_.empty()) steps_.pop_back();
}

}  // namespace fav
