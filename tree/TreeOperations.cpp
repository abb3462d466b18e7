// Whole-node operations: deleting to the recycle bin and opening or closing a branch.
#include "CFavTreeView.h"

#include <base/FileSystem.h>
#include <base/Format.h>
#include <base/Mbcs.h>

#include <shlobj.h>

namespace {

constexpr char kRootCannotBeDeleted[] = "ルートフォルダは削除できません";
constexpr char kImportedCannotBeDeleted[] = "インポートされたアイテムは削除できません";
constexpr char kDeleteQuestion[] = "[%s]を削除しますか？";
constexpr char kDeleteCaption[] = "削除の確認";
constexpr char kDeleteFailed[] = "削除できませんでした";
constexpr size_t kQuestionLabelCapacity = MAX_PATH;
// Silently, without a second question, into the recycle bin.
constexpr FILEOP_FLAGS kDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;

// The node after `at` in a depth-first walk of `top`'s branch (each node before its children),
// or null at the branch's end.
HTREEITEM NextInBranch(HWND tree, HTREEITEM top, HTREEITEM at) {
    if (HTREEITEM child = TreeView_GetChild(tree, at)) return child;
    for (; at != top; at = TreeView_GetParent(tree, at))
        if (HTREEITEM sibling = TreeView_GetNextSibling(tree, at)) return sibling;
    return nullptr;
}

}  // namespace

void CFavTreeView::Delete(HTREEITEM node) {
    if (!node) return;
    if (node == Root()) {
        Message(kRootCannotBeDeleted, "", MB_ICONWARNING);
        return;
    }
    if (KindOf(node) & fav::kImported) {
        Message(kImportedCannotBeDeleted, "", MB_ICONWARNING);
        return;
    }
    std::string label = Label(node);
    label.resize(mbcs::FitLength(label, kQuestionLabelCapacity - 1));
    if (Message(text::Format(kDeleteQuestion, label.c_str()), kDeleteCaption, MB_OKCANCEL) != IDOK) return;
    // The exact name: "café" and "cafe" are two files, whatever the code page shows of them.
    const std::optional<std::wstring> file = NodeFile(node);
    if (!file) return;
    // Any error counts, with or without the aborted flag: the node stays while its file does.
    if (!fsys::ShellDelete(hwnd(), *file, kDeleteFlags)) {
        Message(kDeleteFailed, "", MB_ICONWARNING);
        return;
    }
    RemoveNode(node);
    fsys::NotifyShell(SHCNE_DELETE, *file);
}

void CFavTreeView::ExpandBranch(HTREEITEM node, bool expand) {
    if (!node) return;
    HWND window = hwnd();
    SendMessageA(window, WM_SETREDRAW, FALSE, 0);
    const UINT action = expand ? TVE_EXPAND : TVE_COLLAPSE;
    // A walk rather than recursion: an imported source may nest deeper than the stack reaches.
    for (HTREEITEM at = node; at; at = NextInBranch(window, node, at)) TreeView_Expand(window, at, action);
    TreeView_Select(window, node, TVGN_FIRSTVISIBLE);
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
    SetFocus(window);
}
