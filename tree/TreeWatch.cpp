// Following the file system: the shell's change notifications for the root folder's hierarchy
// arrive as kShellChange and are applied node by node.
#include "CFavTreeView.h"

#include <favorites/FolderListing.h>
#include <favorites/ShortcutFile.h>

#include <base/Handles.h>
#include <base/FileSystem.h>

#include <shlobj.h>

#include <vector>

namespace {

// Exported by shell32 by ordinal only on older systems, so both are bound at run time.
using RegisterFn = ULONG(WINAPI*)(HWND, int, LONG, UINT, int, const SHChangeNotifyEntry*);
using DeregisterFn = BOOL(WINAPI*)(ULONG);
constexpr WORD kRegisterOrdinal = 2;
constexpr WORD kDeregisterOrdinal = 4;
constexpr int kAllSources = 0xFF;
constexpr LONG kAllEvents = static_cast<LONG>(0xFFFFFFFF);

template <typename Fn>
Fn Shell32Ordinal(WORD ordinal) {
    HMODULE shell = GetModuleHandleA("shell32.dll");
    if (!shell) shell = LoadLibraryA("shell32.dll");  // stays loaded: the process links shell32 anyway
    return win::ProcAddress<Fn>(shell, MAKEINTRESOURCEA(ordinal));
}

win::UniqueIdList IdListFromPath(const std::wstring& folder) {
    win::ComPtr<IShellFolder> desktop;
    if (FAILED(SHGetDesktopFolder(desktop.put()))) return {};
    std::wstring name = folder;  // the parser takes a writable string
    LPITEMIDLIST list = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, name.data(), nullptr, &list, nullptr))) return {};
    return win::UniqueIdList(list);
}

// Exactly: the tree finds its nodes by their exact names.
std::wstring PathFromIdList(LPCITEMIDLIST list) {
    wchar_t buffer[MAX_PATH] = L"";
    if (!list || !SHGetPathFromIDListW(list, buffer)) return {};
    return buffer;
}

// Entries that loading would not show are not shown when they appear later either.
bool IsShownEntry(const std::wstring& fullPath, const std::wstring& name) {
    // Attributes that cannot be read hide nothing.
    const DWORD attributes = fsys::Attributes(fullPath);
    return fav::IsShownEntry(name, attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes);
}

}  // namespace

void CFavTreeView::Watch() {
    Unwatch();
    const auto registerFn = Shell32Ordinal<RegisterFn>(kRegisterOrdinal);
    if (!registerFn) return;
    win::UniqueIdList root = IdListFromPath(config_.rootFile);
    if (!root) return;
    SHChangeNotifyEntry entry{root.get(), TRUE};
    watchId_ = registerFn(hwnd(), kAllSources, kAllEvents, kShellChange, 1, &entry);
}

void CFavTreeView::Unwatch() {
    if (!watchId_) return;
    if (const auto deregisterFn = Shell32Ordinal<DeregisterFn>(kDeregisterOrdinal))
        deregisterFn(watchId_);
    watchId_ = 0;
}

void CFavTreeView::AddCreatedEntry(const std::wstring& fullPath, bool isFolder) {
    std::wstring folder, name;
    if (!fsys::SplitLast(fullPath, &folder, &name) || !IsShownEntry(fullPath, name)) return;
    HTREEITEM parent = FindNodeByFile(folder);
    if (!parent) return;
    if (isFolder) {
        if (HTREEITEM node = InsertEntry(parent, name, fav::kFolder)) LoadFolder(fullPath, node);
    } else if (auto label = shortcut::LabelFromFileName(name)) {
        InsertEntry(parent, *label, fav::kShortcut);
    }
}

void CFavTreeView::OnShellChange(WPARAM idLists, LPARAM event) {
    const auto* lists = reinterpret_cast<const LPCITEMIDLIST*>(idLists);
    if (!lists) return;
    const std::wstring oldPath = PathFromIdList(lists[0]);
    const std::wstring newPath = PathFromIdList(lists[1]);
    const LONG change = static_cast<LONG>(event) & ~SHCNE_INTERRUPT;
    if (oldPath.empty()) return;

    // Whatever happened at a path, the address read from it before may be out of date; a rename
    // keeps the content, but may have replaced another file at the new name.
    const bool rename = change == SHCNE_RENAMEITEM || change == SHCNE_RENAMEFOLDER;
    entries_.ForgetAddressesAt(rename ? newPath : oldPath);

    HTREEITEM node = FindNodeByFile(oldPath);
    if (!node) {
        if (change == SHCNE_CREATE || change == SHCNE_MKDIR) {
            AddCreatedEntry(oldPath, change == SHCNE_MKDIR);
        } else if ((change == SHCNE_RENAMEITEM || change == SHCNE_RENAMEFOLDER) && !newPath.empty()) {
            // Renamed from something the tree does not show (a ".txt", a hidden name) into a favorite.
            if (!FindNodeByFile(newPath)) AddCreatedEntry(newPath, fsys::IsDirectory(newPath));
        }
        return;
    }

    switch (change) {
    case SHCNE_DELETE:
    case SHCNE_RMDIR:
        RemoveNode(node);
        break;
    case SHCNE_RENAMEITEM:
    case SHCNE_RENAMEFOLDER: {
        if (newPath.empty()) break;
        if (node == Root()) {
            config_.SetRoot(newPath);
            SetFileName(node, config_.rootFile);
            break;
        }
        std::wstring oldFolder, newFolder, newName;
        fsys::SplitLast(oldPath, &oldFolder, nullptr);
        if (!fsys::SplitLast(newPath, &newFolder, &newName)) break;
        // Whether a folder or a file was renamed is the node's business: not every shell reports
        // folder renames as such.
        const bool isFolder = (KindOf(node) & fav::kContainer) != 0;
        std::optional<std::wstring> label = newName;
        if (!isFolder) label = shortcut::LabelFromFileName(newName);
        // Moved elsewhere, or no longer a favorite ("x.url" became "x.txt"): the node goes, and
        // comes back below its new folder when the tree shows that folder.
        if (!label || !fsys::EqualsNoCase(oldFolder, newFolder) || !IsShownEntry(newPath, newName)) {
            RemoveNode(node);
            AddCreatedEntry(newPath, isFolder);
            break;
        }
        SetFileName(node, *label);
        break;
    }
    default:
        break;
    }
}
