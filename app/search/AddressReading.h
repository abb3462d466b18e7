// The addresses a search matches with. A tree keeps each shortcut's address once read (see
// tree/TreeEntries.h); a search first reads the ones it lacks, all at once and with progress, so
// that matching itself reads nothing as a rule.
#pragma once

#include <tree/CFavTreeView.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace search {

// Told how far the reading has come after every kReadsPerProgress files; false stops it.
using ReadProgress = std::function<bool(size_t done, size_t total)>;
inline constexpr size_t kReadsPerProgress = 64;

// Takes in the changes made on disk meanwhile, then reads every address the trees lack. False
// when `progress` stopped it: the addresses read until then are kept, each whole, and nothing
// else has changed.
bool ReadAddresses(const std::vector<CFavTreeView*>& trees, const ReadProgress& progress);

// The address an entry is matched with: a shortcut's as its tree holds it (read now when the tree
// lacks it: added meanwhile, or unreadable before), an imported item's from the tree, nothing for
// anything else. `scratch` holds what the tree does not keep; the view lives as long as it does.
std::wstring_view AddressOf(CFavTreeView& tree, HTREEITEM node, const fav::TreeEntries::Entry& entry,
                            const std::wstring& folder, std::wstring& scratch);

}  // namespace search
