#include "AllTabsSearch.h"

#include "TextMatch.h"

#include <base/Mbcs.h>
#include <base/TextEncoding.h>
#include <favorites/ShortcutFile.h>

namespace search {
namespace {

constexpr size_t kTitleBytes = 198;
constexpr size_t kUrlBytes = 499;

// A folder path in one letter case, so that paths differing only in case meet. Folded as UTF-16:
// names the code page cannot tell apart ("café", "cafè") stay apart.
std::wstring FoldedPath(std::wstring path) {
    if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    return path;
}

// One item's exact name and parameter in a single request (the walk visits every item).
struct ItemData {
    std::wstring name;
    fav::NodeKind kind;
};

ItemData ReadItem(HWND tree, HTREEITEM node) {
    wchar_t buffer[MAX_PATH + 1] = L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT | TVIF_PARAM;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = MAX_PATH + 1;
    if (!SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return {{}, 0};
    return {buffer, fav::KindOf(item.lParam)};
}

}  // namespace

void ResultCollector::Clear() {
    rows_.clear();
    entryRows_.clear();
    folderRows_.clear();
}

void ResultCollector::Collect(CFavTreeView& tree, const std::string& tabName, const std::string& wanted) {
    HWND window = tree.hwnd();
    // Depth first without recursion; each entered folder's exact path is built once, so no
    // entry's path is walked up the tree again.
    struct Level {
        HTREEITEM next;
        std::wstring folder;
    };
    std::vector<Level> levels{{TreeView_GetChild(window, tree.Root()), tree.config().rootFile}};
    while (!levels.empty()) {
        HTREEITEM node = levels.back().next;
        if (!node) {
            levels.pop_back();
            continue;
        }
        levels.back().next = TreeView_GetNextSibling(window, node);
        const ItemData item = ReadItem(window, node);
        if (item.kind & fav::kImported) continue;

        std::wstring file = levels.back().folder + L'\\' + item.name;
        std::string title = text::WideToAnsi(item.name);
        title.resize(mbcs::FitLength(title, kTitleBytes));
        if (item.kind == fav::kFolder) {
            if (Contains(title, wanted)) AddRow({&tree, 0, title, {}, text::WideToAnsi(file), file, {}}, tabName);
            levels.push_back({TreeView_GetChild(window, node), std::move(file)});
            continue;
        }
        std::string url;
        if (item.kind == fav::kShortcut) {
            file += shortcut::kWideExtension;
            url = shortcut::ReadUrl(file).value_or(std::string());
            url.resize(mbcs::FitLength(url, kUrlBytes));
        }
        if (Contains(title, wanted) || Contains(url, wanted))
            AddRow({&tree, 1, std::move(title), std::move(url), text::WideToAnsi(file), std::move(file), {}}, tabName);
    }
}

void ResultCollector::AddRow(FindResult row, const std::string& tabName) {
    auto& index = row.kind == 0 ? folderRows_ : entryRows_;
    const auto [at, added] = index.try_emplace(row.kind == 0 ? FoldedPath(row.file) : row.file, rows_.size());
    if (!added) {
        rows_[at->second].tabs += "," + tabName;
        return;
    }
    row.tabs = tabName;
    rows_.push_back(std::move(row));
}

}  // namespace search
