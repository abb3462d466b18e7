// Whole-node operations: deleting to the recycle bin and opening or closing a branch.
#include "CFavTreeView.h"

#include <base/FileSystem.h>
#include <base/Format.h>
#include <base/Mbcs.h>

#include <shlobj.h>

#include <utility>
#include <vector>

namespace {

constexpr char kRootCannotBeDeleted[] = "ルートフォルダは削除できません";
constexpr char kImportedCannotBeDeleted[] = "インポートされたアイテムは削除できません";
constexpr char kDeleteQuestion[] = "[%s]を削除しますか？";
constexpr char kDeleteCaption[] = "削除の確認";
constexpr char kDeleteFailed[] = "削除できませんでした";
constexpr size_t kQuestionLabelCapacity = MAX_PATH;
// Opening a branch stops this many levels down: the tree view's time for each expansion grows
// with the depth, and a source nesting a hundred thousand levels would keep the window busy for
// many minutes.
constexpr uint32_t kMaxExpandLevels = 1000;
constexpr char kTooDeepToExpand[] = "階層が深すぎるため、%u 階層より下は展開しませんでした";
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

// Expands `node` and the nodes below it down to kMaxExpandLevels; false when deeper levels stay closed.
bool ExpandDeepestFirst(const CFavTreeView& tree, HTREEITEM node) {
    HWND window = tree.hwnd();
    // Each node with children, before the nodes below it; a walk with its own stack, as sources
    // may nest deeper than recursion reaches.
    std::vector<HTREEITEM> parents;
    std::vector<std::pair<HTREEITEM, uint32_t>> pending{{node, 0}};
    bool complete = true;
    while (!pending.empty()) {
        const auto [at, level] = pending.back();
        pending.pop_back();
        // A source is read when it first opens: opened now, its content joins the walk.
        const fav::NodeKind kind = tree.KindOf(at);
        if ((kind & fav::kUnopened) && (kind & fav::kImported)) TreeView_Expand(window, at, TVE_EXPAND);
        HTREEITEM child = TreeView_GetChild(window, at);
        if (!child) continue;
        if (level == kMaxExpandLevels) {
            complete = false;
            continue;
        }
        parents.push_back(at);
        for (; child; child = TreeView_GetNextSibling(window, child)) pending.emplace_back(child, level + 1);
    }
    // The tree view's work for an expansion grows with what shows below the item: deepest first,
    // every node opens while it is still hidden, and each item comes into view once.
    for (auto at = parents.rbegin(); at != parents.rend(); ++at) TreeView_Expand(window, *at, TVE_EXPAND);
    return complete;
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
    bool cut = false;
    if (expand) {
        cut = !ExpandDeepestFirst(*this, node);
    } else {
        // A walk rather than recursion: an imported source may nest deeper than the stack reaches.
        for (HTREEITEM at = node; at; at = NextInBranch(window, node, at))
            if (TreeView_GetItemState(window, at, TVIS_EXPANDED) & TVIS_EXPANDED) TreeView_Expand(window, at, TVE_COLLAPSE);
    }
    TreeView_Select(window, node, TVGN_FIRSTVISIBLE);
    SendMessageA(window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(window, nullptr, TRUE);
    SetFocus(window);
    if (cut) Message(text::Format(kTooDeepToExpand, static_cast<unsigned>(kMaxExpandLevels)), "", MB_ICONINFORMATION);
}
