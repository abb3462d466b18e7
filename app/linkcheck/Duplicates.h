// Addresses bookmarked more than once across the tabs, compared in their normalised form
// (Address.h). A file that two tabs both show (nested or equal roots) counts once.
#pragma once

#include "ShortcutActions.h"

#include <string>
#include <vector>

namespace linkcheck {

struct DuplicateTab {
    CFavTreeView* tree;
    std::string name;
};

struct Duplicate {
    ShortcutRef shortcut;
    std::string tab;
    std::string folder;
};

struct DuplicateGroup {
    std::string address;  // normalised, exact (UTF-8)
    std::vector<Duplicate> entries;  // tab order, then tree order
};

// The groups in the order of their addresses; tabs not loaded yet are loaded first.
std::vector<DuplicateGroup> FindDuplicates(const std::vector<DuplicateTab>& tabs);

}  // namespace linkcheck
