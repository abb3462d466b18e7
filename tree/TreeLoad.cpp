// Loading a tab's tree: choosing the root, the bookmark-source nodes and the folder content.
#include "CFavTreeView.h"

#include "FolderListing.h"

#include <base/Handles.h>
#include <base/Path.h>

#include <shlobj.h>

namespace {

constexpr char kLoadFailed[] = "読みとり中にエラーが発生しました\nメモリ十分なメモリがありません";

struct SourceKey {
    const char* key;
    const char* label;
    const char* code;
    fav::NodeKind kind;
};
constexpr SourceKey kSourceKeys[] = {
    {"BookMark", "Netscape BookMark", "NSBM", fav::kNetscapeSource},
    {"DonaBookMark", "Dona Browser BookMark", "DNBM", fav::kDonaBrowserSource},
    {"WWWCList", "WWWC Items", "WWWC", fav::kWwwcItemsSource},
};

std::string FavoritesFolder() {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_FAVORITES, &list))) return {};
    win::UniqueIdList owned(list);
    char buffer[MAX_PATH] = "";
    if (!SHGetPathFromIDListA(owned.get(), buffer)) return {};
    return buffer;
}

}  // namespace

void CFavTreeView::ChooseRoot() {
    if (!config_.HasSettingsSection()) return;  // a temporary tab keeps the folder it was given
    std::string root = config_.ini.ReadString(config_.section.c_str(), "FavRoot", "", MAX_PATH);
    if (root.empty()) root = FavoritesFolder();
    config_.rootPath = path::WithoutTrailingSeparator(std::move(root));
}

void CFavTreeView::AddBookmarkSources(HTREEITEM root) {
    config_.sourceCount = 0;
    if (!config_.HasSettingsSection()) return;
    for (const SourceKey& source : kSourceKeys) {
        const std::string file = config_.ini.ReadString(config_.section.c_str(), source.key, "", MAX_PATH);
        if (file.empty()) continue;
        const size_t index = config_.sourceCount;
        fav::BookmarkSource& record = config_.sources[index];
        lstrcpynA(record.code, source.code, sizeof record.code);
        lstrcpynA(record.path, file.c_str(), sizeof record.path);
        HTREEITEM node = InsertNode(root, source.label, source.kind, static_cast<fav::NodeIndex>(index));
        if (!node) continue;
        // An expand button even though nothing is read until the user opens it.
        TVITEMA item{};
        item.mask = TVIF_CHILDREN;
        item.hItem = node;
        item.cChildren = 1;
        TreeView_SetItem(hwnd(), &item);
        ++config_.sourceCount;
    }
}

bool CFavTreeView::LoadRoot() {
    HWND window = hwnd();
    if (!window || !StopLinkChecksBeforeReload()) return false;

    ShowWindow(window, SW_HIDE);
    config_.importedUrls.assign(1, std::string());
    config_.loaded = false;
    RemoveDeepBranches();
    TreeView_DeleteAllItems(window);

    ChooseRoot();
    Watch();

    HTREEITEM root = InsertNode(TVI_ROOT, config_.rootPath, fav::kFolder);
    if (!root) {
        Message(kLoadFailed, "", MB_ICONWARNING);
        ShowWindow(window, SW_SHOW);
        return false;
    }
    AddBookmarkSources(root);
    LoadFolder(config_.rootPath, root);

    TreeView_SelectItem(window, root);
    TreeView_Expand(window, root, TVE_EXPAND);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    config_.loaded = true;
    return true;
}

CFavTreeView::FolderStatus CFavTreeView::LoadFolder(const std::string& folderPath, HTREEITEM parent) {
    const std::optional<fav::FolderListing> listing = fav::ListFolder(folderPath);
    if (!listing) return FolderStatus::kUnreadable;
    for (const std::string& name : listing->folders) {
        if (HTREEITEM node = InsertAt(parent, TVI_LAST, name, fav::kFolder, 0))
            LoadFolder(path::Join(folderPath, name), node);
    }
    for (const std::string& label : listing->shortcuts) InsertAt(parent, TVI_LAST, label, fav::kShortcut, 0);
    return FolderStatus::kLoaded;
}
