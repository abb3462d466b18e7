#include "Duplicates.h"

#include "Address.h"

#include <base/TextEncoding.h>

#include <map>
#include <set>

namespace linkcheck {

std::vector<DuplicateGroup> FindDuplicates(const std::vector<DuplicateTab>& tabs) {
    std::map<std::string, std::vector<Duplicate>> byAddress;
    std::set<std::wstring> seen;  // files, upper-cased
    for (const DuplicateTab& tab : tabs) {
        CFavTreeView& tree = *tab.tree;
        if (!tree.Root() && !tree.LoadRoot()) continue;
        VisitShortcuts(tree, [&](HTREEITEM node) {
            std::optional<std::wstring> file = tree.NodeFile(node);
            if (!file) return;
            std::wstring key = *file;
            CharUpperBuffW(key.data(), static_cast<DWORD>(key.size()));
            if (!seen.insert(key).second) return;
            std::string folder = tree.NodePath(TreeView_GetParent(tree.hwnd(), node)).value_or("");
            std::string title = tree.Label(node);
            // Last: a vanished file removes its node.
            const std::optional<std::wstring> address = tree.NodeAddress(node);
            if (!address) return;
            byAddress[NormalizeAddress(text::WideToUtf8(*address))].push_back({{&tree, std::move(*file), std::move(title)}, tab.name, std::move(folder)});
        });
    }
    std::vector<DuplicateGroup> groups;
    for (auto& [address, entries] : byAddress)
        if (entries.size() > 1) groups.push_back({address, std::move(entries)});
    return groups;
}

}  // namespace linkcheck
