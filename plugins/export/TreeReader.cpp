#include "TreeReader.h"

#include <cstring>
#include <optional>

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

void ReadChildren(plugin::ImportSink& sink, plugin::ItemHandle parent, ExportNode& folder) {
    plugin::ItemHandle child = sink.GetChild(parent);
    folder.hasChildren = child != nullptr;
    while (child) {
        // Taken first: asking for the URL of a shortcut whose file has gone makes the host
        // remove that item from the tree, and its handle must not be used afterwards.
        const plugin::ItemHandle next = sink.GetNextSibling(child);
        ExportNode node;
        node.label = Label(sink, child, kLabelBuffer);
        if (sink.IsFolder(child)) {
            ReadChildren(sink, child, node);
            folder.children.push_back(std::move(node));
        } else if (std::optional<std::string> url = Url(sink, child)) {
            node.kind = ExportNode::Kind::Item;
            node.url = std::move(*url);
            folder.children.push_back(std::move(node));
        }
        child = next;
    }
}

}  // namespace

ExportNode ReadTree(plugin::ImportSink& sink) {
    ExportNode root;
    if (const plugin::ItemHandle item = sink.GetRoot()) {
        root.label = Label(sink, item, kRootLabelBuffer);
        ReadChildren(sink, item, root);
    }
    return root;
}

}  // namespace exporter
