// Loading a tab's tree: choosing the root, the bookmark-source nodes and the folder content.
#include "CFavTreeView.h"

#include "BrowserProfiles.h"

#include <favorites/FolderListing.h>
#include <base/Handles.h>
#include <base/FileSystem.h>
#include <base/Path.h>
#include <base/TextEncoding.h>

#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr char kLoadFailed[] = "読みとり中にエラーが発生しました\nメモリ十分なメモリがありません";

// Today's browsers: a Chromium-based browser's "Bookmarks" file, Firefox's places database. A tab
// that names none offers the default profiles of Edge and Chrome, or of Firefox, unless its
// "OfferBrowserProfiles" is 0.
constexpr char kOfferProfilesKey[] = "OfferBrowserProfiles";

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
    {"ChromiumBookMark", "Chromium BookMark", "CRBM", fav::kChromiumBookmarkSource},
    {"FirefoxBookMark", "Firefox BookMark", "FFBM", fav::kFirefoxBookmarkSource},
};

std::wstring FavoritesFolder() {
    LPITEMIDLIST list = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_FAVORITES, &list))) return {};
    win::UniqueIdList owned(list);
    // Exactly: a user's name outside the code page is part of this path on many systems.
    wchar_t buffer[MAX_PATH] = L"";
    if (!SHGetPathFromIDListW(owned.get(), buffer)) return {};
    return buffer;
}

}  // namespace

void CFavTreeView::ChooseRoot() {
    if (!config_.HasSettingsSection()) {
        // A temporary tab keeps the folder it was given.
        if (config_.rootFile.empty()) config_.SetRoot(text::AnsiToWide(config_.rootPath));
        return;
    }
    const std::string root = config_.ini.ReadString(config_.section.c_str(), "FavRoot", "", MAX_PATH);
    config_.SetRoot(root.empty() ? FavoritesFolder() : text::AnsiToWide(root));
}

void CFavTreeView::AddBookmarkSources(HTREEITEM root) {
    config_.sourceCount = 0;
    if (!config_.HasSettingsSection()) return;
    const char* section = config_.section.c_str();
    for (const SourceKey& source : kSourceKeys) {
        const std::string file = config_.ini.ReadString(section, source.key, "", MAX_PATH);
        if (!file.empty()) AddBookmarkSource(root, source.label, source.code, file, source.kind);
    }
    if (config_.ini.ReadInt(section, kOfferProfilesKey, 1) == 0) return;
    for (const fav::ProfileBookmarks& profile : fav::DefaultProfileBookmarks()) {
        const SourceKey& own = *std::find_if(std::begin(kSourceKeys), std::end(kSourceKeys),
                                             [&](const SourceKey& source) { return !strcmp(source.code, profile.code); });
        if (config_.ini.ReadString(section, own.key, "", MAX_PATH).empty())
            AddBookmarkSource(root, profile.label, own.code, profile.path, own.kind);
    }
}

void CFavTreeView::AddBookmarkSource(HTREEITEM root, const char* label, const char* code, const std::string& file,
                                     fav::NodeKind kind) {
    const size_t index = config_.sourceCount;
    if (index >= fav::kMaxSources) return;
    fav::BookmarkSource& record = config_.sources[index];
    lstrcpynA(record.code, code, sizeof record.code);
    lstrcpynA(record.path, file.c_str(), sizeof record.path);
    HTREEITEM node = InsertNode(root, label, kind, static_cast<fav::NodeIndex>(index));
    if (!node) return;
    // An expand button even though nothing is read until the user opens it.
    TVITEMA item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = node;
    item.cChildren = 1;
    TreeView_SetItem(hwnd(), &item);
    ++config_.sourceCount;
}

bool CFavTreeView::LoadRoot() {
    HWND window = hwnd();
    if (!window || (linkChecksAllowed_ && !StopLinkChecksBeforeReload())) return false;

    ShowWindow(window, SW_HIDE);
    config_.importedUrls.assign(1, std::wstring());
    config_.loaded = false;
    RemoveDeepBranches();
    TreeView_DeleteAllItems(window);
    entries_.Clear();

    ChooseRoot();
    Watch();

    HTREEITEM root = InsertEntry(TVI_ROOT, config_.rootFile, fav::kFolder);
    if (!root) {
        Message(kLoadFailed, "", MB_ICONWARNING);
        ShowWindow(window, SW_SHOW);
        return false;
    }
    AddBookmarkSources(root);
    LoadFolder(config_.rootFile, root);
    ShowKeptLinkChecks();

    TreeView_SelectItem(window, root);
    TreeView_Expand(window, root, TVE_EXPAND);
    ShowWindow(window, SW_SHOW);
    SetFocus(window);
    config_.loaded = true;
    return true;
}

CFavTreeView::FolderStatus CFavTreeView::LoadFolder(const std::wstring& folder, HTREEITEM parent) {
    // The folders above `parent` are on the trail too: a link in a folder that appears later
    // may lead back to any of them.
    std::vector<HTREEITEM> above;
    for (HTREEITEM at = TreeView_GetParent(hwnd(), parent); at; at = TreeView_GetParent(hwnd(), at)) above.push_back(at);
    fav::FolderTrail trail;
    for (auto it = above.rbegin(); it != above.rend(); ++it)
        if (const std::optional<std::wstring> file = NodeFile(*it)) trail.Enter(*file, false);
    const DWORD attributes = fsys::Attributes(folder);
    const bool link = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!trail.Enter(folder, link)) return FolderStatus::kLoaded;
    return LoadFolderBelow(folder, parent, trail) ? FolderStatus::kLoaded : FolderStatus::kUnreadable;
}

bool CFavTreeView::LoadFolderBelow(const std::wstring& folder, HTREEITEM parent, fav::FolderTrail& trail) {
    if (!fav::IsListable(folder)) {
        AddImportedItem(parent, fav::kPathTooLong, std::nullopt);
        return false;
    }
    const std::optional<fav::FolderListing> listing = fav::ListFolder(folder);
    if (!listing) return false;
    for (const fav::ListedEntry& entry : listing->folders) {
        HTREEITEM node = InsertAt(parent, TVI_LAST, entry.name, fav::kFolder, 0);
        const std::wstring path = fsys::Join(folder, entry.name);
        // A folder reached again through a link is shown, but its content is already above.
        if (!node || !trail.Enter(path, entry.link)) continue;
        LoadFolderBelow(path, node, trail);
        trail.Leave();
    }
    for (const fav::ListedEntry& entry : listing->shortcuts) InsertAt(parent, TVI_LAST, entry.name, fav::kShortcut, 0);
    return true;
}
