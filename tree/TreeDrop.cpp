// Drops onto the tree: links from browsers, ".url" files, imported items and nodes of this
// program's trees, which are moved on disk.
#include "CFavTreeView.h"

#include "ClipboardFormats.h"
#include "TreeItemBlock.h"

#include <favorites/NameRule.h>
#include <favorites/ShortcutFile.h>
#include <base/DragDrop.h>
#include <base/FileSystem.h>
#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/Path.h>
#include <base/TextEncoding.h>

#include <shlobj.h>

#include <cstring>

namespace {

constexpr char kDropTargetStatus[] = "ドロップ先：";
constexpr char kCreateFailed[] = "作成に失敗しました";
constexpr char kOverwriteFileQuestion[] = "すでに同じ名前のファイルが存在します。\n上書きしますか？\n\n%s";
constexpr char kOverwriteFileCaption[] = "上書きの確認";
constexpr int kScrollMargin = 20;
constexpr UINT kHoverTimer = 1;
constexpr UINT kHoverMilliseconds = 1000;
constexpr DWORD kCopyOrLink = DROPEFFECT_COPY | DROPEFFECT_LINK;
constexpr FILEOP_FLAGS kMoveFlags = FOF_SILENT | FOF_ALLOWUNDO;
constexpr const char* kLinkPrefixes[] = {"http://", "https://", "ftp://", "file://", "mk:@MSITStore:", "about:", "mailto:"};

// One drag at a time per thread (OLE drags are modal on their thread; browser bars on other
// threads have drags of their own).
struct DragState {
    CFavTreeView::DragKind kind = CFavTreeView::DragKind::kNone;
    HTREEITEM target = nullptr;
    bool hovering = false;  // the expand timer runs for `target`
};
thread_local DragState g_drag;

bool IsLink(const std::string& text) {
    for (const char* prefix : kLinkPrefixes)
        if (text.compare(0, std::strlen(prefix), prefix) == 0) return true;
    return false;
}

bool IsLinkFormat(UINT format) { return format == CF_TEXT || format == CF_UNICODETEXT || format == dnd::WideUrlFormat(); }

// A link's address as dropped: exact from the wide formats, through the code page from CF_TEXT.
std::wstring LinkAddress(UINT format, HGLOBAL data) {
    return format == CF_TEXT ? text::AnsiToWide(dnd::TextOf(data)) : dnd::WideTextOf(data);
}

// The name a browser suggests for a dragged link: the first file of its file group descriptor,
// cut at ".url".
std::wstring SuggestedName(IDataObject* data) {
    const std::wstring fallback = text::AnsiToWide(fav::kDefaultItemName);
    const std::optional<std::wstring> file = dnd::FirstDescribedFile(data);
    if (!file) return fallback;
    const size_t cut = file->find(shortcut::kWideExtension);
    if (cut == std::wstring::npos || cut == 0) return fallback;
    return file->substr(0, cut);
}

std::vector<std::wstring> DroppedFiles(HGLOBAL data) {
    std::vector<std::wstring> files;
    auto drop = static_cast<HDROP>(data);
    const UINT count = drop ? DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) : 0;
    for (UINT i = 0; i < count; ++i) {
        std::wstring file(DragQueryFileW(drop, i, nullptr, 0) + 1, L'\0');
        file.resize(DragQueryFileW(drop, i, file.data(), static_cast<UINT>(file.size())));
        files.push_back(std::move(file));
    }
    return files;
}

}  // namespace

HTREEITEM CFavTreeView::NodeAtScreenPoint(const POINT* screen) const {
    if (!screen) return nullptr;
    TVHITTESTINFO hit{};
    hit.pt = *screen;
    ScreenToClient(hwnd(), &hit.pt);
    return TreeView_HitTest(hwnd(), &hit);
}

HTREEITEM CFavTreeView::DropFolderFor(HTREEITEM node) const {
    if (node && KindOf(node) == fav::kShortcut) return TreeView_GetParent(hwnd(), node);
    return node;
}

LRESULT CFavTreeView::OnDropEvent(WPARAM event, dnd::DropNotify& notify) {
    switch (event) {
    case dnd::kEnter: OnDragEnter(notify); break;
    case dnd::kOver: OnDragOver(notify); break;
    case dnd::kLeave: EndDragFeedback(); break;
    case dnd::kDrop: OnDrop(notify); break;
    default: break;
    }
    return 0;
}

void CFavTreeView::OnDragEnter(dnd::DropNotify& notify) {
    g_drag = DragState{};
    if (PropertiesOpen()) return;
    g_drag.target = NodeAtScreenPoint(notify.cursor);
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();
    if (notify.format == formats.shared) g_drag.kind = DragKind::kNode;
    else if (notify.format == formats.raw) g_drag.kind = DragKind::kImported;
    else if (notify.format == CF_HDROP) g_drag.kind = DragKind::kFiles;
    else if (IsLinkFormat(notify.format) && IsLink(text::WideToAnsi(LinkAddress(notify.format, notify.data))))
        g_drag.kind = DragKind::kLink;
}

void CFavTreeView::OnDragOver(dnd::DropNotify& notify) {
    HWND window = hwnd();
    if (g_drag.kind == DragKind::kNone || !notify.cursor) {
        notify.effect = DROPEFFECT_NONE;
        return;
    }
    POINT client = *notify.cursor;
    ScreenToClient(window, &client);
    RECT area{};
    GetClientRect(window, &area);
    HTREEITEM first = TreeView_GetFirstVisible(window);
    if (client.y < kScrollMargin) {
        if (HTREEITEM previous = first ? TreeView_GetPrevVisible(window, first) : nullptr)
            TreeView_Select(window, previous, TVGN_FIRSTVISIBLE);
    } else if (client.y > area.bottom - kScrollMargin) {
        if (HTREEITEM next = first ? TreeView_GetNextVisible(window, first) : nullptr)
            TreeView_Select(window, next, TVGN_FIRSTVISIBLE);
    }

    HTREEITEM target = DropFolderFor(NodeAtScreenPoint(notify.cursor));
    if (target && KindOf(target) == fav::kFolder) {
        TreeView_SelectDropTarget(window, target);
        // Also when the drag entered right over this folder: it opens after a second all the same.
        if (target != g_drag.target || !g_drag.hovering) SetTimer(window, kHoverTimer, kHoverMilliseconds, nullptr);
        g_drag.target = target;
        g_drag.hovering = true;
        notify.effect = kCopyOrLink;
        SetStatusText(kDropTargetStatus + NodePath(target).value_or(""));
    } else {
        KillTimer(window, kHoverTimer);
        g_drag.hovering = false;
        TreeView_SelectDropTarget(window, nullptr);
        notify.effect = DROPEFFECT_NONE;
    }
}

void CFavTreeView::EndDragFeedback() {
    TreeView_SelectDropTarget(hwnd(), nullptr);
    KillTimer(hwnd(), kHoverTimer);
    if (HTREEITEM caret = TreeView_GetSelection(hwnd())) ShowStatusText(caret);
    g_drag = DragState{};
}

void CFavTreeView::OnDrop(dnd::DropNotify& notify) {
    const DragKind kind = g_drag.kind;
    TreeView_SelectDropTarget(hwnd(), nullptr);
    KillTimer(hwnd(), kHoverTimer);
    g_drag = DragState{};
    HTREEITEM target = NodeAtScreenPoint(notify.cursor);
    target = DropFolderFor(target ? target : Root());
    if (!target) return;
    switch (kind) {
    case DragKind::kLink:
        DropLink(target, LinkAddress(notify.format, notify.data), SuggestedName(notify.dataObject));
        break;
    case DragKind::kFiles: DropFiles(target, DroppedFiles(notify.data)); break;
    case DragKind::kNode:
    case DragKind::kImported: DropBlock(target, notify.data); break;
    case DragKind::kNone: break;
    }
}

void CFavTreeView::ActivateWindow() {
    HWND top = GetAncestor(hwnd(), GA_ROOT);
    SetActiveWindow(top);
    SetForegroundWindow(top);
}

void CFavTreeView::DropLink(HTREEITEM target, const std::wstring& url, const std::wstring& name) {
    ShortcutResult outcome = ShortcutResult::kCancelled;
    HTREEITEM node = CreateShortcut(target, url, name, NameOrigin::kOutside, &outcome);
    if (outcome == ShortcutResult::kFailed) Message(kCreateFailed, "", MB_ICONWARNING);
    if (!node) return;
    ActivateWindow();
    if (Label(node) == fav::kDefaultItemName || settings::ReadEditOnDrop(config_.ini, config_.section))
        StartRename(node);
}

void CFavTreeView::DropFiles(HTREEITEM target, const std::vector<std::wstring>& files) {
    const std::optional<std::wstring> folder = NodeFile(target);
    if (!folder) return;
    HTREEITEM added = nullptr;
    for (const std::wstring& file : files) {
        std::wstring name;
        if (!fsys::SplitLast(file, nullptr, &name)) name = file;
        const std::optional<std::wstring> label = shortcut::LabelFromFileName(name);
        if (!label) continue;  // only Internet Shortcuts become favorites
        const std::wstring destination = fsys::Join(*folder, name);
        if (!fsys::Exists(destination)) {
            if (CopyFileW(file.c_str(), destination.c_str(), TRUE)) added = InsertEntry(target, *label, fav::kShortcut);
        } else if (Message(text::Format(kOverwriteFileQuestion, text::WideToAnsi(name).c_str()), kOverwriteFileCaption,
                           MB_YESNO) == IDYES) {
            CopyFileW(file.c_str(), destination.c_str(), FALSE);
        }
    }
    ActivateWindow();
    TreeView_Expand(hwnd(), target, TVE_EXPAND);
    TreeView_SelectItem(hwnd(), target);
    if (files.size() == 1 && settings::ReadEditOnDrop(config_.ini, config_.section))
        StartRename(added ? added : TreeView_GetSelection(hwnd()));
}

void CFavTreeView::DropBlock(HTREEITEM target, HGLOBAL data) {
    if (!data || GlobalSize(data) < sizeof(fav::TreeItemBlock)) return;
    fav::TreeItemBlock block{};
    if (const void* bytes = GlobalLock(data)) {
        std::memcpy(&block, bytes, sizeof block);
        GlobalUnlock(data);
    }
    block.text[sizeof block.text - 1] = '\0';
    block.label[sizeof block.label - 1] = '\0';
    if (!(block.flags & fav::kBlockFileNode)) {
        // An imported item is copied as a shortcut; it stays where it is. One without a URL (a
        // message item) is nothing to copy.
        if (!block.text[0]) return;
        std::wstring url = text::AnsiToWide(block.text);
        std::wstring name = text::AnsiToWide(block.label);
        // The block holds both in the code page; the tree the item comes from, while it still
        // shows the item, has them exactly.
        CFavTreeView* sourceTree = FromWindow(static_cast<HWND>(LongToHandle(static_cast<LONG>(block.window))));
        HTREEITEM source = sourceTree ? sourceTree->currentNode() : nullptr;
        if (source && sourceTree->IsImportedItem(source) &&
            sourceTree->NodeUrl(source) == std::string(block.text)) {
            url = sourceTree->NodeAddress(source).value_or(url);
            name = sourceTree->FileName(source);
        }
        ShortcutResult outcome = ShortcutResult::kCancelled;
        CreateShortcut(target, url, name, NameOrigin::kOutside, &outcome);
        if (outcome == ShortcutResult::kFailed) Message(kCreateFailed, "", MB_ICONWARNING);
        return;
    }
    if (block.marker != fav::kBlockMarker) return;
    CFavTreeView* sourceTree = FromWindow(static_cast<HWND>(LongToHandle(static_cast<LONG>(block.window))));
    if (!sourceTree) return;
    // The dragged node itself where the block still names it: its path in the code page may
    // also fit another file's name ("cafe" for "café").
    HTREEITEM source = sourceTree->currentNode();
    if (!source || sourceTree->NodePath(source) != std::string(block.text)) source = sourceTree->FindNodeByPath(block.text);
    MoveNode(*sourceTree, source, target);
}

bool CFavTreeView::MoveNode(CFavTreeView& sourceTree, HTREEITEM source, HTREEITEM target) {
    if (!source || !target || (&sourceTree == this && (target == source || TreeView_GetParent(hwnd(), source) == target)))
        return false;
    // A tab's root folder stays where it is, whichever tree it is dropped on.
    if (source == sourceTree.Root()) return false;
    const fav::NodeKind kind = sourceTree.KindOf(source);
    if (kind != fav::kFolder && kind != fav::kShortcut) return false;
    const bool isFolder = kind == fav::kFolder;
    const std::optional<std::wstring> sourceFile = sourceTree.NodeFile(source);
    const std::optional<std::wstring> targetFile = NodeFile(target);
    if (!sourceFile || !targetFile) return false;
    // Character by character over the source path: a folder never goes into itself or below itself.
    if (isFolder && targetFile->compare(0, sourceFile->size(), *sourceFile) == 0) return false;
    const std::wstring name = sourceTree.FileName(source);
    const std::wstring destination = fsys::Join(*targetFile, name) + (isFolder ? L"" : shortcut::kWideExtension);
    if (fsys::EqualsNoCase(destination, *sourceFile)) return false;  // already there (another tab, same folder)

    if (!fsys::ShellMove(hwnd(), *sourceFile, destination, kMoveFlags)) return false;

    // The shell may already have told the trees about the move; whatever it did, each tree ends
    // with one node, in the new place.
    sourceTree.RemoveNode(sourceTree.FindNodeByFile(*sourceFile));
    if (!FindNodeByFile(destination)) {
        if (HTREEITEM node = InsertEntry(target, name, kind); node && isFolder) LoadFolder(destination, node);
    }
    fsys::NotifyShell(SHCNE_DELETE, *sourceFile);
    fsys::NotifyShell(isFolder ? SHCNE_MKDIR : SHCNE_CREATE, destination);
    TreeView_Expand(hwnd(), target, TVE_EXPAND);
    return true;
}
