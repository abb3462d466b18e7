// Notifications the parent forwards from the tree window, and the status-bar text.
#include "CFavTreeView.h"

#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <oleauto.h>

namespace {

constexpr char kFolderStatus[] = "フォルダ";
constexpr int kErrorLabelCapacity = 200;

}  // namespace

LRESULT CFavTreeView::OnNotify(const NMHDR* header) {
    HWND window = hwnd();
    switch (header->code) {
    case TVN_BEGINLABELEDITA:
        return OnBeginLabelEdit(*reinterpret_cast<const NMTVDISPINFOA*>(header));
    case TVN_ENDLABELEDITA:
        return OnEndLabelEdit(*reinterpret_cast<const NMTVDISPINFOA*>(header));
    case TVN_DELETEITEMA: {
        // Commands, dragged data and link checks act on nodes: none may outlive its item.
        HTREEITEM node = reinterpret_cast<const NMTREEVIEWA*>(header)->itemOld.hItem;
        if (node == contextNode_) contextNode_ = nullptr;
        if (node == editingNode_) editingNode_ = nullptr;
        ForgetNodeInFeatures(node);
        return 0;
    }
    case TVN_BEGINDRAGA: {
        const auto& info = *reinterpret_cast<const NMTREEVIEWA*>(header);
        if (StillExists(info.itemNew.hItem)) BeginDrag(info);
        return 0;
    }
    case TVN_ITEMEXPANDINGA: {
        const auto& info = *reinterpret_cast<const NMTREEVIEWA*>(header);
        HTREEITEM node = info.itemNew.hItem;
        const fav::NodeKind kind = KindOf(node);
        if ((info.action & TVE_EXPAND) && (kind & fav::kUnopened) && (kind & fav::kImported) &&
            IndexOf(node) < fav::kMaxSources)
            OpenBookmarkSource(node);
        return FALSE;  // expansion always proceeds
    }
    case TVN_SELCHANGEDA:
        ShowStatusText(reinterpret_cast<const NMTREEVIEWA*>(header)->itemNew.hItem);
        return 0;
    case NM_RCLICK: {
        POINT point;
        GetCursorPos(&point);
        if (HTREEITEM node = HitTestCursor()) ShowContextMenu(node, point);
        return TRUE;
    }
    case NM_DBLCLK: {
        HTREEITEM node = HitTestCursor();
        if (node && (KindOf(node) & fav::kOpenable)) {
            Open(node);
            return TRUE;
        }
        return 0;
    }
    case NM_CLICK: {
        if ((itemMode_ & settings::kItemModeExpandMask) != settings::kExpandOnClick) return 0;
        UINT flags = 0;
        HTREEITEM node = HitTestCursor(&flags);
        // A click on the expand button toggles by itself; toggling again would undo it.
        if (node && KindOf(node) == fav::kFolder && (flags & TVHT_ONITEM)) TreeView_Expand(window, node, TVE_TOGGLE);
        return 0;
    }
    default:
        return 0;
    }
}

void CFavTreeView::ShowStatusText(HTREEITEM node) {
    if (!node) return;
    std::wstring text;
    if (IndexOf(node) == fav::kNoUrlIndex && (KindOf(node) & fav::kImported)) {
        // Cut on a character boundary: half a double-byte character shows as a broken one.
        const std::string label = Label(node);
        text = text::AnsiToWide("Error : " + label.substr(0, mbcs::FitLength(label, kErrorLabelCapacity - 1)));
    } else if (KindOf(node) & fav::kOpenable) {
        // The address as it opens, whatever the code page holds of it.
        const std::optional<std::wstring> address = NodeAddress(node);
        if (!address) return;  // the node is gone
        const std::optional<std::wstring> outcome = LinkCheckOutcome(node);
        text = outcome ? *outcome + L"  " + *address : *address;
    } else {
        text = text::AnsiToWide(kFolderStatus);
    }
    SetStatusText(text);
}

void CFavTreeView::SetStatusText(const std::string& text) { SetStatusText(text::AnsiToWide(text)); }

void CFavTreeView::SetStatusText(const std::wstring& text) {
    if (browser_) {
        if (const win::UniqueBstr wide{SysAllocString(text.c_str())}) browser_->put_StatusText(wide.get());
        return;
    }
    if (HWND status = GetDlgItem(parent_, kStatusBarId)) SendMessageW(status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
