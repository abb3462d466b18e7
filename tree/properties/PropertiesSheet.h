// The properties of a shortcut: a modal sheet "プロパティ" with the raw text of its file
// ("直接編集") and what the browser's URL cache knows about its URL ("URL情報").
//
// Implementation files: PropertiesSheet.cpp (the sheet and its state), DirectEditPage.cpp,
// UrlInfoPage.cpp.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CFavTreeView;

namespace props {

// Shows the sheet for a shortcut node of `tree` (other nodes: nothing). The tree refuses drops
// while it is open. The tree's context menu and the search result list open it through here.
void ShowProperties(CFavTreeView& tree, HTREEITEM node);

// True while the sheet of a node of `tree` is open.
bool IsOpenFor(const CFavTreeView& tree);

}  // namespace props
