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
    std::vector<ExportNode> children;  // folders only, in tree order
};

}  // namespace exporter
