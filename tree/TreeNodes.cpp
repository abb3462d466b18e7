// Node queries, insertion, paths and the path-to-node lookup.
#include "CFavTreeView.h"

#include <favorites/ShortcutFile.h>

#include <base/FileSystem.h>
#include <base/Mbcs.h>
#include <base/Path.h>
#include <base/TextEncoding.h>

#include <algorithm>
#include <vector>

namespace {

constexpr char kFavoriteDeleted[] = "お気に入りが削除されています";
constexpr char kFavoriteDeletedSentence[] = "お気に入りが削除されています。";
constexpr char kFavoriteUnreadable[] = "お気に入りを読み込めませんでした。\n他のプログラムが使用している可能性があります。";
constexpr int kLabelCapacity = MAX_PATH + 1;
constexpr int kNameCapacity = MAX_PATH + 1;  // UTF-16 units: a file name holds at most 255
constexpr int kOutlineLabelCapacity = 200;  // labels copied into another tree (199 bytes)

LPARAM ItemParam(HWND tree, HTREEITEM node) {
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    return TreeView_GetItem(tree, &item) ? item.lParam : 0;
}

}  // namespace

HTREEITEM CFavTreeView::Root() const { return TreeView_GetRoot(hwnd()); }

fav::NodeKind CFavTreeView::KindOf(HTREEITEM node) const { return node ? fav::KindOf(ItemParam(hwnd(), node)) : 0; }

fav::NodeIndex CFavTreeView::IndexOf(HTREEITEM node) const { return node ? fav::IndexOf(ItemParam(hwnd(), node)) : 0; }

void CFavTreeView::SetKind(HTREEITEM node, fav::NodeKind kind) {
    TVITEMA item{};
    item.mask = TVIF_PARAM;
    item.hItem = node;
    item.lParam = fav::MakeItemParam(kind, IndexOf(node));
    TreeView_SetItem(hwnd(), &item);
    entries_.KindChanged(node, kind);
}

std::string CFavTreeView::Label(HTREEITEM node) const {
    char buffer[kLabelCapacity] = "";
    TVITEMA item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = sizeof buffer;
    return TreeView_GetItem(hwnd(), &item) ? std::string(buffer) : std::string();
}

std::wstring CFavTreeView::FileName(HTREEITEM node) const {
    // The control keeps its text in UTF-16, so a name outside the code page is still exact here.
    wchar_t buffer[kNameCapacity] = L"";
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = buffer;
    item.cchTextMax = kNameCapacity;
    return SendMessageW(hwnd(), TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item)) ? std::wstring(buffer)
                                                                                    : std::wstring();
}

void CFavTreeView::SetFileName(HTREEITEM node, const std::wstring& name) {
    TVITEMW item{};
    item.mask = TVIF_TEXT;
    item.hItem = node;
    item.pszText = const_cast<wchar_t*>(name.c_str());
    SendMessageW(hwnd(), TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
    entries_.Renamed(node, name);
}

HTREEITEM CFavTreeView::InsertAt(HTREEITEM parent, HTREEITEM after, const std::wstring& name, fav::NodeKind kind,
                                 fav::NodeIndex index) {
    const fav::NodeImages images = fav::ImagesFor(kind);
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<wchar_t*>(name.c_str());
    insert.item.lParam = fav::MakeItemParam(kind, index);
    insert.item.iImage = images.normal;
    insert.item.iSelectedImage = images.selected;
    HTREEITEM node =
        reinterpret_cast<HTREEITEM>(SendMessageW(hwnd(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    entries_.Inserted(parent, after, node, kind, name);
    return node;
}

HTREEITEM CFavTreeView::InsertAt(HTREEITEM parent, HTREEITEM after, const std::string& label, fav::NodeKind kind,
                                 fav::NodeIndex index) {
    // What the control itself would do with the ANSI message.
    return InsertAt(parent, after, text::AnsiToWide(label), kind, index);
}

HTREEITEM CFavTreeView::InsertPosition(HTREEITEM parent, fav::NodeKind kind) const {
    if (!fav::JoinsFolderGroup(kind)) return TVI_LAST;
    // After the run of containers that starts the parent's children, or first.
    HTREEITEM after = TVI_FIRST;
    for (HTREEITEM child = TreeView_GetChild(hwnd(), parent); child && (KindOf(child) & fav::kContainer);
         child = TreeView_GetNextSibling(hwnd(), child))
        after = child;
    return after;
}

HTREEITEM CFavTreeView::InsertNode(HTREEITEM parent, const std::string& label, fav::NodeKind kind, fav::NodeIndex index) {
    return InsertAt(parent, InsertPosition(parent, kind), label, kind, index);
}

HTREEITEM CFavTreeView::InsertEntry(HTREEITEM parent, const std::wstring& name, fav::NodeKind kind) {
    return InsertAt(parent, InsertPosition(parent, kind), name, kind, 0);
}

void CFavTreeView::RemoveNode(HTREEITEM node) {
    if (!node) return;
    entries_.Removed(node);
    TreeView_DeleteItem(hwnd(), node);
}

std::optional<std::wstring> CFavTreeView::NodeFile(HTREEITEM node) const {
    if (!node) return std::nullopt;
    std::vector<HTREEITEM> chain;  // the node and its ancestors below the root
    for (HTREEITEM at = node; at; at = TreeView_GetParent(hwnd(), at)) chain.push_back(at);
    chain.pop_back();  // the root stands for the stored root path, whatever its label says

    std::wstring result = config_.rootFile;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        result += L'\\';
        result += FileName(*it);
    }
    if (KindOf(node) == fav::kShortcut) result += shortcut::kWideExtension;
    return result;
}

std::optional<std::string> CFavTreeView::NodePath(HTREEITEM node) const {
    // The shown form of the exact path: "?" where the code page lacks a character, never a
    // look-alike that could read as a separator.
    const std::optional<std::wstring> file = NodeFile(node);
    if (!file) return std::nullopt;
    return text::WideToAnsi(*file);
}

std::optional<std::string> CFavTreeView::NodeUrl(HTREEITEM node) {
    const fav::NodeKind kind = KindOf(node);
    if (kind == fav::kImportedItem) {
        // The code-page form of the exact address, for the callers that take ANSI text.
        const std::optional<std::wstring> address = NodeAddress(node);
        if (!address) return std::nullopt;
        return text::WideToAnsi(*address);
    }
    if (kind != fav::kShortcut) return std::nullopt;
    const std::optional<std::wstring> file = NodeFile(node);
    std::optional<std::string> url = file ? shortcut::ReadUrl(*file) : std::nullopt;
    if (url) return url;
    // A file that is there but cannot be read (another program holds it locked) is still the
    // user's favorite: said so, and kept.
    if (file && fsys::Exists(*file) && !fsys::ReadAll(*file)) {
        Message(kFavoriteUnreadable, "", MB_ICONWARNING);
        return std::nullopt;
    }
    // The file is gone (or holds no URL): the entry cannot be used any more.
    Message(kFavoriteDeletedSentence, "", MB_ICONWARNING);
    RemoveNode(node);
    return std::nullopt;
}

std::optional<std::wstring> CFavTreeView::NodeAddress(HTREEITEM node) {
    if (KindOf(node) == fav::kImportedItem) {
        const fav::NodeIndex index = IndexOf(node);
        if (index == fav::kNoUrlIndex || index >= config_.importedUrls.size()) return std::nullopt;
        return config_.importedUrls[index];
    }
    if (KindOf(node) == fav::kShortcut) {
        const std::optional<std::wstring> file = NodeFile(node);
        if (auto address = file ? shortcut::ReadAddress(*file) : std::nullopt) return address;
        // NodeUrl tells why the file gave nothing (and drops the node of a vanished one).
    }
    const std::optional<std::string> url = NodeUrl(node);
    if (!url) return std::nullopt;
    return text::AnsiToWide(*url);
}

bool CFavTreeView::StillExists(HTREEITEM node) {
    if (!(KindOf(node) & fav::kFileBacked)) return true;
    const std::optional<std::wstring> file = NodeFile(node);
    if (file && fsys::Exists(*file)) return true;
    Message(kFavoriteDeleted, "", MB_ICONWARNING);
    RemoveNode(node);
    return false;
}

HTREEITEM CFavTreeView::FindNodeByPath(const std::string& fullPath) const {
    // A path in the code page names the file whose exact name it is, never a look-alike.
    return FindNodeByFile(text::AnsiToWide(fullPath));
}

HTREEITEM CFavTreeView::FindNodeByFile(const std::wstring& fullPath) const {
    HTREEITEM root = Root();
    if (!root) return nullptr;

    std::wstring wanted = fullPath;
    const auto label = shortcut::LabelFromFileName(wanted);
    const bool wantOpenable = label.has_value();
    if (wantOpenable) wanted = *label;

    const std::wstring& rootFile = config_.rootFile;
    if (!fsys::StartsWithNoCase(wanted, rootFile)) return nullptr;
    const std::wstring_view rest = std::wstring_view(wanted).substr(rootFile.size());
    // The root must match a whole path component: "C:\\Fav" is not the root of "C:\\Favorites".
    if (!rest.empty() && rest.front() != L'\\' && rest.front() != L':') return nullptr;
    std::vector<std::wstring_view> components;
    for (size_t at = 0; at < rest.size();) {
        const size_t end = std::min(rest.find_first_of(L"\\:", at), rest.size());
        if (end > at) components.push_back(rest.substr(at, end - at));
        at = end + 1;
    }
    if (components.empty()) return wantOpenable ? nullptr : root;

    HTREEITEM current = root;
    for (size_t level = 0; level < components.size(); ++level) {
        const bool last = level + 1 == components.size();
        HTREEITEM match = nullptr;
        for (HTREEITEM child = TreeView_GetChild(hwnd(), current); child; child = TreeView_GetNextSibling(hwnd(), child)) {
            const fav::NodeKind kind = KindOf(child);
            if (!(kind & fav::kFileBacked) || !fsys::EqualsNoCase(FileName(child), components[level])) continue;
            // A folder and a shortcut may share a label: the ".url" decides which one is meant.
            if (last && wantOpenable != ((kind & fav::kOpenable) != 0)) continue;
            if (!last && !(kind & fav::kContainer)) continue;
            match = child;
            break;
        }
        if (!match) return nullptr;
        current = match;
    }
    return current;
}

HTREEITEM CFavTreeView::FolderOutline(HWND other, HTREEITEM otherParent, HTREEITEM node, HTREEITEM locate) const {
    HTREEITEM located = nullptr;
    // Depth first without recursion: per level entered, the next node to look at there and the
    // copy its folders go below.
    struct Level {
        HTREEITEM next, copyParent;
    };
    std::vector<Level> levels{{TreeView_GetChild(hwnd(), node), otherParent}};
    while (!levels.empty()) {
        HTREEITEM child = levels.back().next;
        if (!child) {
            levels.pop_back();
            continue;
        }
        levels.back().next = TreeView_GetNextSibling(hwnd(), child);
        if (KindOf(child) != fav::kFolder) continue;
        char label[kOutlineLabelCapacity] = "";
        mbcs::CopyFitting(Label(child), label, sizeof label);
        TVINSERTSTRUCTA insert{};
        insert.hParent = levels.back().copyParent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        insert.item.pszText = label;
        insert.item.iImage = fav::kImageFolder;
        insert.item.iSelectedImage = fav::kImageOpenFolder;
        insert.item.lParam = reinterpret_cast<LPARAM>(child);
        HTREEITEM copy = TreeView_InsertItem(other, &insert);
        if (!copy) continue;
        if (child == locate) located = copy;
        levels.push_back({TreeView_GetChild(hwnd(), child), copy});
    }
    return located;
}
