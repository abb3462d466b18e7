// Dialog 102 "新しいアイテムの追加": creates an Internet Shortcut in a folder of a tab's tree. The
// user types a title and a URL, or takes both from a browser window that is open at the moment,
// and picks the target in a folder tree that copies the tab tree's folders; that folder tree also
// creates and renames folders, on disk and in both trees.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class CFavTreeView;

// Runs the dialog modally, owned by the tab tree window's parent. `targetFolder` (a folder of
// `tree`, null for its root) is preselected; an empty `url` leaves the URL field to the user.
// Returns 1 when a shortcut was added, 0 when the dialog was cancelled, -1 when it could not be
// shown.
INT_PTR ShowAddItemDialog(CFavTreeView& tree, HTREEITEM targetFolder, const std::string& title, const std::string& url);
