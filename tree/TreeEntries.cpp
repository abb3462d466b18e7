#include "TreeEntries.h"

#include <favorites/ShortcutFile.h>

#include <base/FileSystem.h>

#include <algorithm>

namespace fav {

void TreeEntries::Clear() {
    entries_.clear();
    root_ = nullptr;
    knownAddresses_ = 0;
    watch_.Stop();
}

void TreeEntries::Inserted(HTREEITEM parent, HTREEITEM after, HTREEITEM node, NodeKind kind, std::wstring_view name) {
    if (!node) return;
    if (entries_.count(node)) Removed(node);  // a handle the control gave out again
    if (parent == TVI_ROOT) {
        Clear();
        root_ = node;
    } else {
        const auto folder = entries_.find(parent);
        if (folder == entries_.end() || folder->second.kind != kFolder) return;  // imported content is not searched
        std::vector<HTREEITEM>& siblings = folder->second.children;
        auto at = siblings.end();
        if (after == TVI_FIRST) {
            at = siblings.begin();
        } else if (after != TVI_LAST) {
            at = std::find(siblings.begin(), siblings.end(), after);
            if (at != siblings.end()) ++at;
        }
        siblings.insert(at, node);
    }
    Entry& entry = entries_[node];
    entry.parent = parent == TVI_ROOT ? nullptr : parent;
    entry.kind = kind;
    entry.name = name;
    entry.serial = nextSerial_++;
}

void TreeEntries::Removed(HTREEITEM node) {
    const auto found = entries_.find(node);
    if (found == entries_.end()) return;
    if (const auto parent = entries_.find(found->second.parent); parent != entries_.end()) {
        std::vector<HTREEITEM>& siblings = parent->second.children;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), node), siblings.end());
    }
    if (node == root_) {
        Clear();
        return;
    }
    std::vector<HTREEITEM> pending{node};
    while (!pending.empty()) {
        const auto at = entries_.find(pending.back());
        pending.pop_back();
        if (at == entries_.end()) continue;
        pending.insert(pending.end(), at->second.children.begin(), at->second.children.end());
        if (at->second.addressKnown) --knownAddresses_;
        entries_.erase(at);
    }
}

void TreeEntries::Renamed(HTREEITEM node, std::wstring_view name) {
    const auto found = entries_.find(node);
    if (found != entries_.end()) found->second.name = name;
}

void TreeEntries::KindChanged(HTREEITEM node, NodeKind kind) {
    const auto found = entries_.find(node);
    if (found == entries_.end()) return;
    ForgetAddress(node);
    found->second.kind = kind;
}

const TreeEntries::Entry* TreeEntries::Find(HTREEITEM node) const {
    const auto found = entries_.find(node);
    return found == entries_.end() ? nullptr : &found->second;
}

HTREEITEM TreeEntries::FindByFile(std::wstring_view file) const {
    const Entry* root = Find(root_);
    if (!root || !fsys::StartsWithNoCase(file, root->name)) return nullptr;
    std::wstring_view rest = file.substr(root->name.size());
    if (!rest.empty() && rest.front() != L'\\') return nullptr;
    HTREEITEM node = root_;
    while (!rest.empty()) {
        rest.remove_prefix(1);
        const size_t end = std::min(rest.find(L'\\'), rest.size());
        const std::wstring_view component = rest.substr(0, end);
        rest.remove_prefix(end);
        const std::optional<std::wstring> label = shortcut::LabelFromFileName(std::wstring(component));
        HTREEITEM match = nullptr;
        for (HTREEITEM child : entries_.at(node).children) {
            const Entry& entry = entries_.at(child);
            const bool shortcutNamed = entry.kind == kShortcut && label && fsys::EqualsNoCase(entry.name, *label);
            if (shortcutNamed || (entry.kind == kFolder && fsys::EqualsNoCase(entry.name, component))) {
                match = child;
                break;
            }
        }
        if (!match || (!rest.empty() && entries_.at(match).kind != kFolder)) return nullptr;
        node = match;
    }
    return node;
}

std::wstring TreeEntries::FolderPath(HTREEITEM folder) const {
    std::vector<const std::wstring*> names;
    for (const Entry* at = Find(folder); at; at = Find(at->parent)) names.push_back(&at->name);
    std::wstring path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (!path.empty()) path += L'\\';
        path += **name;
    }
    return path;
}

void TreeEntries::Walk(const Visit& visit) const {
    const Entry* root = Find(root_);
    if (!root) return;
    // Depth first without recursion; each folder's path is built once, when it is entered.
    struct Level {
        const std::vector<HTREEITEM>* children;
        size_t next;
        std::wstring folder;
    };
    std::vector<Level> levels{{&root->children, 0, root->name}};
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == level.children->size()) {
            levels.pop_back();
            continue;
        }
        const HTREEITEM node = (*level.children)[level.next++];
        const Entry& entry = entries_.at(node);
        if (!visit(node, entry, level.folder)) return;
        if (entry.kind == kFolder) levels.push_back({&entry.children, 0, level.folder + L'\\' + entry.name});
    }
}

void TreeEntries::StoreAddress(HTREEITEM node, uint64_t serial, std::wstring address) {
    const auto found = entries_.find(node);
    if (found == entries_.end() || found->second.serial != serial || found->second.kind != kShortcut) return;
    Entry& entry = found->second;
    if (!entry.addressKnown) ++knownAddresses_;
    entry.addressKnown = true;
    entry.address = std::move(address);
}

void TreeEntries::ForgetAddress(HTREEITEM node) {
    const auto found = entries_.find(node);
    if (found == entries_.end() || !found->second.addressKnown) return;
    found->second.addressKnown = false;
    found->second.address.clear();
    --knownAddresses_;
}

void TreeEntries::ForgetBelow(HTREEITEM node) {
    std::vector<HTREEITEM> pending{node};
    while (!pending.empty() && knownAddresses_) {
        const HTREEITEM at = pending.back();
        pending.pop_back();
        ForgetAddress(at);
        const Entry* entry = Find(at);
        if (entry) pending.insert(pending.end(), entry->children.begin(), entry->children.end());
    }
}

void TreeEntries::ForgetAddressesAt(std::wstring_view file) {
    if (!knownAddresses_) return;
    if (HTREEITEM node = FindByFile(file)) ForgetBelow(node);
}

// Files other programs change: the tree hears of its own changes and of the shell's, but another
// program may rewrite a shortcut without telling anyone. Looking at every file's time before each
// search would cost one file-system call per shortcut (over half a second for 60,000); instead a
// watch over the root folder's hierarchy names each file that changed, so a search pays only for
// what changed. Addresses are kept only while the watch runs: where the file system cannot report
// changes, or lost some, every address is read again. (Wine 8 reports only the root folder's own
// entries; the tree's hooks cover what the program itself changes below it.)
void TreeEntries::TakeOutsideChanges() {
    const Entry* root = Find(root_);
    if (!root) return;
    if (!watch_.active()) {
        ForgetBelow(root_);
        watch_.Start(root->name);
        return;
    }
    const std::wstring& rootPath = root->name;
    std::wstring file;
    const bool complete = watch_.Collect([&](std::wstring_view changed) {
        file.assign(rootPath).append(L"\\").append(changed);
        ForgetAddressesAt(file);
    });
    if (!complete) ForgetBelow(root_);
}

}  // namespace fav
