#include "TreeReader.h"

#include <plugins/HostSink.h>

#include <optional>
#include <vector>

namespace exporter {
namespace {

// The sizes the host's other callers use; longer text is asked for again with more room.
constexpr int kRootLabelBuffer = 255;
constexpr int kLabelBuffer = 200;
constexpr int kUrlBuffer = 500;

}  // namespace

ExportTree ReadTree(plugin::ImportSink& hostSink) {
    const plugin::HostSink sink(hostSink);
    ExportTree tree;
    const plugin::ItemHandle rootItem = hostSink.GetRoot();
    if (!rootItem) return tree;
    tree.nodes.front().label = sink.Text(rootItem, kRootLabelBuffer);

    // The folders being read, innermost last, each with the next of its children to read.
    struct OpenFolder {
        size_t position;
        plugin::ItemHandle next;
    };
    std::vector<OpenFolder> open;
    const auto enter = [&](size_t position, plugin::ItemHandle item) {
        const plugin::ItemHandle first = hostSink.GetChild(item);
        tree.nodes[position].hasChildren = first != nullptr;
        open.push_back({position, first});
    };
    enter(0, rootItem);
    while (!open.empty()) {
        const plugin::ItemHandle child = open.back().next;
        if (!child) {
            open.pop_back();
            continue;
        }
        // Taken first: asking for the URL of a shortcut whose file has gone makes the host
        // remove that item from the tree, and its handle must not be used afterwards.
        open.back().next = hostSink.GetNextSibling(child);
        const size_t parent = open.back().position;
        ExportNode node;
        node.label = sink.Text(child, kLabelBuffer);
        if (hostSink.IsFolder(child)) {
            enter(tree.Add(parent, std::move(node)), child);
        } else if (std::optional<std::wstring> url = sink.Url(child, kUrlBuffer)) {
            node.kind = ExportNode::Kind::Item;
            node.url = std::move(*url);
            tree.Add(parent, std::move(node));
        }
    }
    return tree;
}

}  // namespace exporter
