// The part of a favorites tree that an export writes: folders on disk with their content, and
// entries that have a URL. Plain data, so the writers can be tested without a tree or a sink.
#pragma once

#include <string>
#include <vector>

namespace exporter {

struct ExportNode {
    enum class Kind { Folder, Item };

    Kind kind = Kind::Folder;
    std::string label;
    std::string url;  // items only
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

}  // namespace exporter
