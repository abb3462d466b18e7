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
// Opening or closing a branch stops this many levels down: the tree view's time for each step
// grows with the depth and the item count, and a source nesting a hundred thousand levels would
// keep the window busy for many minutes. Levels below can only have been opened by hand.
constexpr uint32_t kMaxExpandLevels = 1000;
constexpr char kTooDeepToExpand[] = "階層が深すぎるため、%u 階層より下は展開しませんでした";
// Silently, without a second question, into the recycle bin.
constexpr FILEOP_FLAGS kDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;

// The nodes with children in `node`'s branch, each before the nodes below it, down to
// kMaxExpandLevels; `complete` tells whether nothing deeper was left out. A walk with its own
// stack, as sources may nest deeper than recursion reaches, and bounded, as every tree-view
// message about an item costs time that grows with the number of items.
std::vector<HTREEITEM> BranchParents(const CFavTreeView& tree, HTREEITEM node, bool openSources, bool* complete) {
    HWND window = tree.hwnd();
    std::vector<HTREEITEM> parents;
    std::vector<std::pair<HTREEITEM, uint32_t>> pending{{node, 0}};
    *complete = true;
    while (!pending.empty()) {
        const auto [at, level] = pending.back();
        pending.pop_back();
        // A source is read when it first opens: opened now, its content joins the walk.
        const fav::NodeKind kind = tree.KindOf(at);
        if (openSources && (kind & fav::kUnopened) && (kind & fav::kImported)) TreeView_Expand(window, at, TVE_EXPAND);
        HTREEITEM child = TreeView_GetChild(window, at);
        if (!child) continue;
        if (level == kMaxExpandLevels) {
            *complete = false;
            continue;
        }
        parents.push_back(at);
        for (; child; child = TreeView_GetNextSibling(window, child)) pending.emplace_back(child, level + 1);
    }
    return parents;
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
    // Hidden meanwhile: the tree view scrolls and repaints a shown window at every expansion,
    // which costs far more than the expansion itself.
    const bool shown = (GetWindowLongPtrA(window, GWL_STYLE) & WS_VISIBLE) != 0;
    ShowWindow(window, SW_HIDE);
    bool complete = true;
    const std::vector<HTREEITEM> parents = BranchParents(*this, node, expand, &complete);
    // Deepest first: the tree view's work for each expansion or collapse grows with what shows
    // below the item, and this way nothing below it shows yet, or any more.
    for (auto at = parents.rbegin(); at != parents.rend(); ++at)
        TreeView_Expand(window, *at, expand ? TVE_EXPAND : TVE_COLLAPSE);
    TreeView_Select(window, node, TVGN_FIRSTVISIBLE);
    if (shown) ShowWindow(window, SW_SHOW);
    SetFocus(window);
    if (expand && !complete)
        Message(text::Format(kTooDeepToExpand, static_cast<unsigned>(kMaxExpandLevels)), "", MB_ICONINFORMATION);
}
