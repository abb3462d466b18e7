// The tree's entries as the searches see them, kept beside the tree control: the root and every
// node inside a folder, with kind, exact name and children in the control's order, and each
// shortcut's address once read. The control looks an item up among all its items before it
// answers any question about it, so walking it costs seconds for tens of thousands of entries;
// this copy is walked in milliseconds. CFavTreeView keeps it in step where nodes are inserted,
// removed, renamed or change kind, and forgets an address wherever its file may have changed.
#pragma once

#include "FavNode.h"

#include <base/FolderWatch.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace fav {

class TreeEntries {
public:
    struct Entry {
        HTREEITEM parent = nullptr;
        NodeKind kind = 0;
        std::wstring name;                // the item's text: file or folder name (the root: its path)
        std::vector<HTREEITEM> children;  // in the control's order
        uint64_t serial = 0;              // tells an entry from a later one that got the same handle
        bool addressKnown = false;        // shortcuts: `address` is what the file held when read
        std::wstring address;
    };

    // The control has been emptied.
    void Clear();
    // `node` was inserted below `parent` (TVI_ROOT for the root) after `after` (TVI_FIRST,
    // TVI_LAST or a sibling). Only the root and what lies in folders are kept.
    void Inserted(HTREEITEM parent, HTREEITEM after, HTREEITEM node, NodeKind kind, std::wstring_view name);
    // `node` and everything below it went.
    void Removed(HTREEITEM node);
    void Renamed(HTREEITEM node, std::wstring_view name);
    void KindChanged(HTREEITEM node, NodeKind kind);

    HTREEITEM root() const { return root_; }
    const Entry* Find(HTREEITEM node) const;
    // The entry at the exact path `file` (".url" for a shortcut), compared as the file system
    // compares names; null when the tree does not show it.
    HTREEITEM FindByFile(std::wstring_view file) const;
    // The full path of a folder entry (the root: its path).
    std::wstring FolderPath(HTREEITEM folder) const;
    // Every entry below the root in the tree's order, folders entered after they are visited;
    // `visit` gets the entry and the path of the folder it lies in, and returns false to stop.
    using Visit = std::function<bool(HTREEITEM node, const Entry& entry, const std::wstring& folder)>;
    void Walk(const Visit& visit) const;

    // Addresses. A stored address is used until something says its file changed.
    void StoreAddress(HTREEITEM node, uint64_t serial, std::wstring address);
    void ForgetAddress(HTREEITEM node);
    // The address of every shortcut at or below `file` (a shortcut or a folder).
    void ForgetAddressesAt(std::wstring_view file);
    // Takes in the changes other programs made on disk since the last call (see the .cpp).
    void TakeOutsideChanges();
    size_t knownAddresses() const { return knownAddresses_; }

private:
    void ForgetBelow(HTREEITEM node);
    void Watch();

    std::unordered_map<HTREEITEM, Entry> entries_;
    HTREEITEM root_ = nullptr;
    uint64_t nextSerial_ = 1;
    size_t knownAddresses_ = 0;
    fsys::FolderWatch watch_;
};

}  // namespace fav
