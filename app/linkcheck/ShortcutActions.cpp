#include "ShortcutActions.h"

#include <base/FileSystem.h>
#include <base/Format.h>
#include <base/MessageBox.h>

#include <shlobj.h>

#include <algorithm>

namespace linkcheck {
namespace {

constexpr char kDeleteQuestion[] = "選択した %d 個のショートカットをごみ箱に移動しますか？";
constexpr char kDeleteCaption[] = "削除の確認";
constexpr char kDeleteFailed[] = "次のショートカットを削除できませんでした：";
constexpr char kNodeGone[] = "ツリーにアイテムが見つかりません。";
// Silently: the list has asked once already.
constexpr FILEOP_FLAGS kDeleteFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_ALLOWUNDO;

}  // namespace

void VisitShortcuts(CFavTreeView& tree, const std::function<void(HTREEITEM)>& visit) {
    HWND window = tree.hwnd();
    // A list of our own: folders nest as deep as paths allow.
    std::vector<HTREEITEM> pending{TreeView_GetRoot(window)};
    while (!pending.empty()) {
        const HTREEITEM node = pending.back();
        pending.pop_back();
        if (tree.IsShortcut(node)) {
            visit(node);
        } else if (tree.IsFolder(node)) {
            const size_t first = pending.size();
            for (HTREEITEM child = TreeView_GetChild(window, node); child; child = TreeView_GetNextSibling(window, child))
                pending.push_back(child);
            std::reverse(pending.begin() + static_cast<ptrdiff_t>(first), pending.end());
        }
    }
}

void TellRefused(HWND owner, const char* heading, const std::vector<const ShortcutRef*>& refused) {
    if (refused.empty()) return;
    std::string text = heading;
    for (const ShortcutRef* shortcut : refused) text += "\n" + shortcut->title;
    ui::ShowMessage(owner, text, "", MB_ICONWARNING);
}

bool DeleteShortcuts(HWND owner, const std::vector<const ShortcutRef*>& shortcuts,
                     const std::function<bool(const ShortcutRef&)>& mayDelete, const char* refusedHeading) {
    if (shortcuts.empty()) return false;
    const std::string question = text::Format(kDeleteQuestion, static_cast<int>(shortcuts.size()));
    if (ui::ShowMessage(owner, question, kDeleteCaption, MB_OKCANCEL) != IDOK) return false;
    std::vector<const ShortcutRef*> refused, failed;
    bool deleted = false;
    for (const ShortcutRef* shortcut : shortcuts) {
        if (!mayDelete(*shortcut)) {
            refused.push_back(shortcut);
        } else if (!fsys::ShellDelete(owner, shortcut->file, kDeleteFlags)) {
            failed.push_back(shortcut);
        } else {
            deleted = true;
            shortcut->tree->RemoveNode(shortcut->tree->FindNodeByFile(shortcut->file));
            fsys::NotifyShell(SHCNE_DELETE, shortcut->file);
        }
    }
    TellRefused(owner, refusedHeading, refused);
    TellRefused(owner, kDeleteFailed, failed);
    return deleted;
}

bool ShowInTree(HWND owner, const ShortcutRef& shortcut) {
    HTREEITEM node = shortcut.tree->FindNodeByFile(shortcut.file);
    if (!node) {
        ui::ShowMessage(owner, kNodeGone, "", MB_ICONWARNING);
        return false;
    }
    TreeView_SelectItem(shortcut.tree->hwnd(), node);
    TreeView_EnsureVisible(shortcut.tree->hwnd(), node);
    return true;
}

}  // namespace linkcheck
