// What the check report and the duplicates list do with the shortcuts a user chose: delete them
// to the recycle bin after one question, and show one in its tree. Rows find their node again by
// the exact file path, since checks and the file system change the trees meanwhile.
#pragma once

#include <tree/CFavTreeView.h>

#include <functional>
#include <string>
#include <vector>

namespace linkcheck {

struct ShortcutRef {
    CFavTreeView* tree = nullptr;
    std::wstring file;
    std::string title;
};

// Calls `visit` for every shortcut node of the tree, in tree order. (The visit may remove the
// node it is given, but no other.)
void VisitShortcuts(CFavTreeView& tree, const std::function<void(HTREEITEM)>& visit);

// Says once which shortcuts an action left alone and why (nothing when `names` is empty).
void TellRefused(HWND owner, const char* heading, const std::vector<const ShortcutRef*>& refused);

// Asks once, then sends each shortcut that `mayDelete` allows to the recycle bin and removes its
// node; the others are named in one message. True when anything was deleted.
bool DeleteShortcuts(HWND owner, const std::vector<const ShortcutRef*>& shortcuts,
                     const std::function<bool(const ShortcutRef&)>& mayDelete, const char* refusedHeading);

// Selects the shortcut's node in its tree; false when it is gone (said in a message).
bool ShowInTree(HWND owner, const ShortcutRef& shortcut);

}  // namespace linkcheck
