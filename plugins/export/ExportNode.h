// The part of a favorites tree that an export writes: folders on disk with their content, and
// entries that have a URL. Plain data, so the writers can be tested without a tree or a sink.
#pragma once

#include <string>
#include <vector>

namespace exporter {

struct ExportNode {
    enum class Kind { Folder, Item };

    Kind kind = Kind::Folder;
    // Exactly, as the host's wide calls give them (an older host's code page converted).
    std::wstring label;
    std::wstring url;  // items only
    // Folders: whether the tree holds anything below it, exported or not. The WWWC form makes no
    // folder for one without children, but an empty list for one whose children all drop out.
    bool hasChildren = false;
    std::vector<size_t> children;  // folders only: positions in ExportTree::nodes, in tree order
};

// The nodes side by side, each folder naming its children by position: reading, writing and
// freeing a tree then takes no more stack for ten thousand folder levels than for one.
struct ExportTree {
    std::vector<ExportNode> nodes{1};  // the first is the tree's first top-level item

    const ExportNode& root() const { return nodes.front(); }
    const ExportNode& at(size_t position) const { return nodes[position]; }
    // Appends `node` as the last child of the folder at `parent`; its position.
    size_t Add(size_t parent, ExportNode node) {
        nodes.push_back(std::move(node));
        nodes[parent].children.push_back(nodes.size() - 1);
        return nodes.size() - 1;
    }
};

// Everything below the root in document order, the open folders kept in a list rather than on
// the call stack: `enter(folder, depth)` and later `leave(folder, depth)` around a folder's
// content, `item(node, depth)` for an item; depth 1 for the root's children.
template <typename Enter, typename Item, typename Leave>
void WalkBelowRoot(const ExportTree& tree, Enter enter, Item item, Leave leave) {
    struct OpenFolder {
        const ExportNode* folder;
        size_t nextChild;
    };
    std::vector<OpenFolder> open{{&tree.root(), 0}};
    while (!open.empty()) {
        OpenFolder& innermost = open.back();
        const int depth = static_cast<int>(open.size());
        if (innermost.nextChild == innermost.folder->children.size()) {
            const ExportNode& done = *innermost.folder;
            open.pop_back();
            if (!open.empty()) leave(done, depth - 1);
            continue;
        }
        const ExportNode& child = tree.at(innermost.folder->children[innermost.nextChild++]);
        if (child.kind == ExportNode::Kind::Folder) {
            enter(child, depth);
            open.push_back({&child, 0});
        } else {
            item(child, depth);
        }
    }
}

}  // namespace exporter
