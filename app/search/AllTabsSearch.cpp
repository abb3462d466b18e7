#include "AllTabsSearch.h"

#include "AddressReading.h"
#include "TextMatch.h"

#include <base/TextEncoding.h>
#include <favorites/ShortcutFile.h>

namespace search {
namespace {

constexpr size_t kTitleUnits = 198;
constexpr size_t kUrlUnits = 499;

// A folder path in one letter case, so that paths differing only in case meet. Folded as UTF-16:
// names the code page cannot tell apart ("café", "cafè") stay apart.
std::wstring FoldedPath(std::wstring path) {
    if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

}  // namespace

void ResultCollector::Clear() {
    rows_.clear();
    entryRows_.clear();
    folderRows_.clear();
}

void ResultCollector::Collect(CFavTreeView& tree, const std::string& tabName, const std::wstring& wanted) {
    const std::wstring tab = text::AnsiToWide(tabName);
    std::wstring scratch;
    // Paths are built for the rows only: the walk itself gives each folder's path.
    tree.entries().Walk([&](HTREEITEM node, const fav::TreeEntries::Entry& entry, const std::wstring& folder) {
        if (entry.kind & fav::kImported) return true;
        const std::wstring_view title = Fit(entry.name, kTitleUnits);
        if (entry.kind == fav::kFolder) {
            if (Contains(title, wanted)) AddRow({&tree, 0, std::wstring(title), {}, folder + L'\\' + entry.name, {}}, tab);
            return true;
        }
        const std::wstring_view url = Fit(AddressOf(tree, node, entry, folder, scratch), kUrlUnits);
        if (!Contains(title, wanted) && !Contains(url, wanted)) return true;
        std::wstring file = folder + L'\\' + entry.name;
        if (entry.kind == fav::kShortcut) file += shortcut::kWideExtension;
        AddRow({&tree, 1, std::wstring(title), std::wstring(url), std::move(file), {}}, tab);
        return true;
    });
}

void ResultCollector::AddRow(FindResult row, const std::wstring& tabName) {
    auto& index = row.kind == 0 ? folderRows_ : entryRows_;
    const auto [at, added] = index.try_emplace(row.kind == 0 ? FoldedPath(row.file) : row.file, rows_.size());
    if (!added) {
        rows_[at->second].tabs += L"," + tabName;
        return;
    }
    row.tabs = tabName;
    rows_.push_back(std::move(row));
}

}  // namespace search
