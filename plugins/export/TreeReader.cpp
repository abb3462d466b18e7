#include "TreeReader.h"

#include <cstring>
#include <optional>
#include <vector>

namespace exporter {
namespace {

// The sizes the host's other callers use; longer text is asked for again with more room.
constexpr int kRootLabelBuffer = 255;
constexpr int kLabelBuffer = 200;
constexpr int kUrlBuffer = 500;
// Beyond this a sink that keeps filling every buffer is not asked again.
constexpr int kLargestBuffer = 1 << 20;

// The sink cuts text to the buffer it is given, on a character boundary. A result that fills
// the buffer to its last byte or two may have been cut, so the sink is asked again with twice
// the room until the text ends short of the buffer's end.
template <typename Read>
std::optional<std::string> ReadText(Read read, int size) {
    for (;; size *= 2) {
        std::string buffer(static_cast<size_t>(size), '\0');
        if (!read(buffer.data(), size)) return std::nullopt;
        buffer.resize(strnlen(buffer.c_str(), buffer.size()));
        if (buffer.size() + 2 < static_cast<size_t>(size) || size >= kLargestBuffer) return buffer;
    }
}

std::string Label(plugin::ImportSink& sink, plugin::ItemHandle item, int size) {
    return ReadText([&](char* buffer, int room) { return sink.GetText(item, buffer, room); }, size).value_or("");
}

std::optional<std::string> Url(plugin::ImportSink& sink, plugin::ItemHandle item) {
    return ReadText([&](char* buffer, int room) { return sink.GetURL(item, buffer, room); }, kUrlBuffer);
}

}  // namespace

ExportTree ReadTree(plugin::ImportSink& sink) {
    ExportTree tree;
    const plugin::ItemHandle rootItem = sink.GetRoot();
    if (!rootItem) return tree;
    tree.nodes.front().label = Label(sink, rootItem, kRootLabelBuffer);

    // The folders being read, innermost last, each with the next of its children to read.
    struct OpenFolder {
        size_t position;
        plugin::ItemHandle next;
    };
    std::vector<OpenFolder> open;
    const auto enter = [&](size_t position, plugin::ItemHandle item) {
        const plugin::ItemHandle first = sink.GetChild(item);
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
        open.back().next = sink.GetNextSibling(child);
        const size_t parent = open.back().position;
        ExportNode node;
        node.label = Label(sink, child, kLabelBuffer);
        if (sink.IsFolder(child)) {
            enter(tree.Add(parent, std::move(node)), child);
        } else if (std::optional<std::string> url = Url(sink, child)) {
            node.kind = ExportNode::Kind::Item;
            node.url = std::move(*url);
            tree.Add(parent, std::move(node));
        }
    }
    return tree;
}

}  // namespace exporter
