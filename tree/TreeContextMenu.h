// The tree's owner-drawn context menu: which entries a node gets, and how they are measured,
// drawn and chosen by their mnemonic keys. The commands themselves are CFavTreeView's
// (RunContextCommand).
#pragma once

#include <base/Handles.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

class CFavTreeView;

namespace ctxmenu {

// Command ids.
enum : UINT {
    kCopyUrl = 30000,
    kCopyLink = 30001,
    kNewItem = 30002,
    kAddHere = 30003,
    kNewFolder = 30004,
    kOpen = 30005,
    kOpenInNewWindow = 30006,
    kDelete = 30007,
    kProperties = 30008,
    kExpandBranch = 30009,
    kCollapseBranch = 30010,
    kOpenAll = 30011,
    kCheckLinks = 30012,
    kRename = 40032,
};

// What an owner-drawn entry carries as item data; a separator carries none.
struct Entry {
    std::string text;
    win::UniqueIcon icon;
};

// One menu, built for one node; owns its entries and icons.
class ContextMenu {
public:
    ContextMenu(CFavTreeView& tree, HTREEITEM node);
    // An empty menu of the same look for another window (`owner` measures and draws it); the
    // caller adds the entries.
    ContextMenu(HWND owner, HIMAGELIST images);
    ~ContextMenu();
    ContextMenu(const ContextMenu&) = delete;
    ContextMenu& operator=(const ContextMenu&) = delete;

    HMENU handle() const { return menu_.get(); }
    // Shows the menu at a screen point; the chosen command reaches the tree as WM_COMMAND.
    void Track(POINT screenPoint);
    // Shows the menu at a screen point and returns the chosen command (0: none).
    UINT Choose(POINT screenPoint);

    void Add(UINT id, const char* text, int image = -1);
    void AddSeparator();

private:
    HWND tree_;
    HIMAGELIST images_;
    win::UniqueMenu menu_;
    std::vector<std::unique_ptr<Entry>> entries_;
};

// WM_MEASUREITEM, WM_DRAWITEM and WM_MENUCHAR for the context menu's entries.
bool Measure(HWND tree, HFONT font, MEASUREITEMSTRUCT& measure);
bool Draw(HPEN pen, const DRAWITEMSTRUCT& draw);
// The WM_MENUCHAR answer: execute the entry whose mnemonic is `typed`, or 0 (default handling).
LRESULT MenuChar(HMENU menu, char typed);

}  // namespace ctxmenu
