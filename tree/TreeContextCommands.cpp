// The context menu's commands, carried out on the node the menu was opened for.
#include "CFavTreeView.h"

#include "additem/AddItemDialog.h"
#include "TreeContextMenu.h"

#include <base/Clipboard.h>

namespace {

constexpr char kNewItemTitle[] = "新しいアイテム";

}  // namespace

void CFavTreeView::ShowContextMenu(HTREEITEM node, POINT screenPoint) {
    if (!node) return;
    contextNode_ = node;
    {
        ctxmenu::ContextMenu menu(*this, node);
        menu.Track(screenPoint);
    }
    if (HTREEITEM caret = TreeView_GetSelection(hwnd())) ShowStatusText(caret);
}

void CFavTreeView::CopyUrl(HTREEITEM node, bool asLink) {
    const std::optional<std::wstring> url = NodeAddress(node);
    if (!url) return;
    const std::wstring text = asLink ? L"<a href=\"" + *url + L"\">" + FileName(node) + L"</a>" : *url;
    clip::SetText(GetActiveWindow(), text);
}

void CFavTreeView::NewShortcut(HTREEITEM folder) { ShowAddItemDialog(*this, folder, kNewItemTitle, ""); }

void CFavTreeView::RunContextCommand(UINT id, HTREEITEM node) {
    if (!node) return;
    switch (id) {
    case ctxmenu::kCopyUrl: CopyUrl(node, false); break;
    case ctxmenu::kCopyLink: CopyUrl(node, true); break;
    case ctxmenu::kNewItem: NewShortcut(node); break;
    case ctxmenu::kAddHere: NewShortcut(TreeView_GetParent(hwnd(), node)); break;
    case ctxmenu::kNewFolder: NewFolderPlaceholder(node); break;
    case ctxmenu::kOpen: Open(node); break;
    case ctxmenu::kOpenInNewWindow: OpenInNewWindow(node); break;
    case ctxmenu::kDelete: Delete(node); break;
    case ctxmenu::kExpandBranch: ExpandBranch(node, true); break;
    case ctxmenu::kCollapseBranch: ExpandBranch(node, false); break;
    case ctxmenu::kOpenAll: OpenAll(node); break;
    case ctxmenu::kRename: StartRename(node); break;
    case ctxmenu::kProperties: ShowProperties(node); break;
    case ctxmenu::kCheckLinks:
        if (linkChecksAllowed_) CheckLinks(node);
        break;
    default: break;
    }
}
