#include "ChromiumBookmarks.h"

// The whitespace and string scans with SSE2 where the target has it (every 64-bit one).
#if defined(__SSE2__) && !defined(RAPIDJSON_SSE2)
#define RAPIDJSON_SSE2
#endif
#include <rapidjson/reader.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <numeric>
#include <string>
#include <string_view>
#include <vector>

namespace importer {
namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The roots the browsers show, in their order, with the names they show when the file has none.
struct KnownRoot {
    std::string_view key;
    const char* name;
};
constexpr KnownRoot kKnownRoots[] = {
    {"bookmark_bar", "Bookmarks bar"},
    {"other", "Other bookmarks"},
    {"synced", "Mobile bookmarks"},
};

// The position of `key` among the roots the browsers show; after them come the others.
size_t RootRank(std::string_view key) {
    for (size_t i = 0; i < std::size(kKnownRoots); ++i)
        if (kKnownRoots[i].key == key) return i;
    return std::size(kKnownRoots);
}

enum class NodeType : uint8_t { kUnset, kFolder, kUrl, kOther };

NodeType TypeOf(std::string_view type) {
    return type.empty() ? NodeType::kUnset
         : type == "folder" ? NodeType::kFolder
         : type == "url" ? NodeType::kUrl
                         : NodeType::kOther;
}

// One bookmark node that will be shown, its UTF-8 already kept in the events' store (the file is
// only read, so names and URLs are copied once, straight to where the events will refer to them);
// children linked by position, so neither building nor walking needs one allocation per node or
// one stack frame per level.
struct Node {
    std::string_view name, url;
    NodeType type = NodeType::kUnset;
    bool hasChildren = false;  // a "children" array was there, empty or not
    uint32_t firstChild = kNone, nextSibling = kNone;
};

bool IsFolder(const Node& node) { return node.type == NodeType::kFolder || (node.type == NodeType::kUnset && node.hasChildren); }
bool IsBookmark(const Node& node) { return node.type == NodeType::kUrl || (node.type == NodeType::kUnset && !node.url.empty()); }

struct Root {
    std::string_view key;
    uint32_t node;
};

// Whether a decoded string is UTF-8 throughout, by the library's own check. Checked on what the
// escapes became too, so a lone surrogate written as "\uDC00" fails like a stray byte. ASCII (keys,
// dates, ids, most names and URLs) is told in one pass, eight bytes at a time.
bool IsUtf8(std::string_view text) {
    uint64_t high = 0;
    size_t at = 0;
    for (uint64_t eight; at + 8 <= text.size(); at += 8) high |= (std::memcpy(&eight, text.data() + at, 8), eight);
    for (; at < text.size(); ++at) high |= static_cast<unsigned char>(text[at]);
    if ((high & 0x8080808080808080u) == 0) return true;
    struct Bytes {  // a sequence cut short by the end reads NULs, which no sequence continues with
        const char* at;
        const char* end;
        char Take() { return at < end ? *at++ : '\0'; }
    } bytes{text.data(), text.data() + text.size()};
    struct Discard {
        void Put(char) {}
    } discard;
    while (bytes.at < bytes.end) {
        uint64_t eight;
        if (bytes.end - bytes.at >= 8 && (std::memcpy(&eight, bytes.at, 8), (eight & 0x8080808080808080u) == 0))
            bytes.at += 8;
        else if (!rapidjson::UTF8<>::Validate(bytes, discard))
            return false;
    }
    return true;
}

// Collects the nodes from the parser's events (RapidJSON's SAX interface). Everything but names,
// URLs, types and children is passed over however it nests. A member of the wrong type where the
// shape is known (roots not an object, children not an array of objects, a name that is no
// string) ends the parse: the file is not a bookmark file, or not one this reader understands.
// A node is kept only once it has closed and turned out to be a folder or a bookmark (or a
// root), and what is passed over is counted, not stacked: memory follows what will be shown,
// not how many objects the file holds.
class NodeCollector : public rapidjson::BaseReaderHandler<rapidjson::UTF8<>, NodeCollector> {
public:
    // Room for the nodes of a file of `size` bytes (browsers write several hundred bytes per node)
    // from the start: a growing list would copy itself and touch new memory at every doubling.
    // Room that is never used costs no memory.
    NodeCollector(BookmarkEvents& store, size_t size) : store_(store) { nodes.reserve(size / 256); }

    std::vector<Node> nodes;
    std::vector<Root> roots;
    bool sawRoots = false;

    // Numbers, booleans and null.
    bool Default() { return Scalar(); }

    bool String(const char* text, rapidjson::SizeType length, bool) {
        const std::string_view value(text, length);
        if (!IsUtf8(value)) return false;
        if (skipped_ || open_.empty() || open_.back() != Frame::kNode) return Scalar();
        Node& node = pending_.back().node;
        switch (field_) {
            case Field::kName: node.name = store_.Keep(value); return true;
            case Field::kUrl: node.url = store_.Keep(value); return true;
            case Field::kType: node.type = TypeOf(value); return true;
            case Field::kChildren: return false;
            default: return true;
        }
    }

    bool Key(const char* text, rapidjson::SizeType length, bool) {
        const std::string_view name(text, length);
        if (!IsUtf8(name)) return false;
        if (skipped_) return true;
        switch (open_.back()) {
            case Frame::kDocument: field_ = name == "roots" ? Field::kRoots : Field::kIgnored; break;
            case Frame::kRoots:
                field_ = RootRank(name) < std::size(kKnownRoots) ? Field::kRoot : Field::kOtherRoot;
                rootKey_ = store_.Keep(name);
                break;
            case Frame::kNode:
                field_ = name == "name" ? Field::kName
                       : name == "url" ? Field::kUrl
                       : name == "type" ? Field::kType
                       : name == "children" ? Field::kChildren
                                            : Field::kIgnored;
                break;
            default: break;
        }
        return true;
    }

    bool StartObject() {
        if (skipped_) return Skip();
        if (open_.empty()) return Push(Frame::kDocument);
        switch (open_.back()) {
            case Frame::kChildren: return OpenNode();
            case Frame::kDocument:
                if (field_ != Field::kRoots) return Skip();
                sawRoots = true;
                return Push(Frame::kRoots);
            case Frame::kRoots: return OpenNode();
            case Frame::kNode: return field_ == Field::kIgnored && Skip();
            default: return false;
        }
    }

    bool StartArray() {
        if (skipped_) return Skip();
        if (open_.empty()) return false;
        switch (open_.back()) {
            case Frame::kDocument: return field_ != Field::kRoots && Skip();
            case Frame::kRoots: return field_ == Field::kOtherRoot && Skip();
            case Frame::kNode:
                if (field_ == Field::kChildren) {
                    pending_.back().node.hasChildren = true;
                    return Push(Frame::kChildren);
                }
                return field_ == Field::kIgnored && Skip();
            default: return false;
        }
    }

    bool EndObject(rapidjson::SizeType) {
        if (!skipped_ && open_.back() == Frame::kNode) CloseNode();
        return Pop();
    }
    bool EndArray(rapidjson::SizeType) { return Pop(); }

private:
    enum class Frame : uint8_t { kDocument, kRoots, kNode, kChildren };
    // What the member whose key came last means in the innermost object.
    // Besides the known roots, "roots" may hold other members (a "sync_transaction_version"
    // string, a "meta_info" object, roots of other browsers): those need only be objects to count.
    enum class Field : uint8_t { kIgnored, kRoots, kRoot, kOtherRoot, kName, kUrl, kType, kChildren };
    // A node still open: what it has so far and the last of the children kept for it.
    struct OpenedNode {
        Node node;
        uint32_t lastChild = kNone;
    };

    bool Push(Frame frame) {
        open_.push_back(frame);
        field_ = Field::kIgnored;
        return true;
    }
    bool Pop() {
        if (skipped_) --skipped_;
        else open_.pop_back();
        field_ = Field::kIgnored;
        return true;
    }
    bool Skip() {
        ++skipped_;
        return true;
    }
    bool OpenNode() {
        pending_.emplace_back();
        return Push(Frame::kNode);
    }
    // A root is always kept (the reader decides on it); another node only when it is shown, as
    // the last child of the node around it.
    void CloseNode() {
        const OpenedNode closed = pending_.back();
        pending_.pop_back();
        const bool root = pending_.empty();
        if (!root && !IsFolder(closed.node) && !IsBookmark(closed.node)) return;
        const auto at = static_cast<uint32_t>(nodes.size());
        nodes.push_back(closed.node);
        if (root) {
            roots.push_back({rootKey_, at});
            return;
        }
        OpenedNode& parent = pending_.back();
        (parent.lastChild == kNone ? parent.node.firstChild : nodes[parent.lastChild].nextSibling) = at;
        parent.lastChild = at;
    }
    // A plain value: fine wherever nothing is known about it, wrong where an object, an array or
    // a string belongs. A document that is a plain value is no bookmark file.
    bool Scalar() const {
        if (skipped_) return true;
        if (open_.empty()) return false;
        switch (open_.back()) {
            case Frame::kDocument: return field_ != Field::kRoots;
            case Frame::kRoots: return field_ == Field::kOtherRoot;
            case Frame::kNode: return field_ == Field::kIgnored;
            default: return false;
        }
    }

    BookmarkEvents& store_;
    std::vector<Frame> open_;
    std::vector<OpenedNode> pending_;  // the nodes open, innermost last
    size_t skipped_ = 0;               // depth inside a value passed over
    Field field_ = Field::kIgnored;
    std::string_view rootKey_;  // the key of the root last met, kept until it closes
};

// The whole text parsed into `collector`: one pass over the text as it lies (nothing is written
// into it, so a mapped file can be read where it is), nesting kept on the parser's own stack
// rather than the call stack. A NUL byte ends the parser's input, so the parse must also have
// reached the text's end: nothing may follow the document.
bool Collect(std::string_view text, NodeCollector& collector) {
    // Browsers write no byte order mark; an editor may have added one.
    const size_t start = text.substr(0, kUtf8Mark.size()) == kUtf8Mark ? kUtf8Mark.size() : 0;
    rapidjson::StringStream stream(text.data() + start);
    rapidjson::Reader reader;
    return reader.Parse<rapidjson::kParseIterativeFlag>(stream, collector) && start + stream.Tell() == text.size() &&
           collector.sawRoots;
}

// A bookmark without a title is shown by its address, as the browsers show it.
std::string_view ItemName(const Node& node) { return node.name.empty() ? node.url : node.name; }

// The folder and what lies below it, in file order, without recursion.
void AddFolder(const std::vector<Node>& nodes, uint32_t folder, std::string_view name, BookmarkEvents& events) {
    events.AddKept({BookmarkEvent::kFolder, name, {}});
    std::vector<uint32_t> next{nodes[folder].firstChild};  // per open folder: its next child
    while (!next.empty()) {
        const uint32_t at = next.back();
        if (at == kNone) {
            next.pop_back();
            events.AddClose();
            continue;
        }
        const Node& node = nodes[at];
        next.back() = node.nextSibling;
        if (IsFolder(node)) {
            events.AddKept({BookmarkEvent::kFolder, node.name, {}});
            next.push_back(node.firstChild);
        } else {
            events.AddKept({BookmarkEvent::kItem, ItemName(node), node.url});
        }
    }
}

std::string_view RootName(const Root& root, const Node& node) {
    if (!node.name.empty()) return node.name;
    const size_t rank = RootRank(root.key);
    return rank < std::size(kKnownRoots) ? kKnownRoots[rank].name : root.key;
}

}  // namespace

std::optional<BookmarkEvents> ParseChromium(std::string_view text) {
    BookmarkEvents events;
    std::vector<Node> nodes;
    std::vector<Root> roots;
    {
        // The collector's stacks go before the events are made.
        NodeCollector collector(events, text.size());
        if (!Collect(text, collector)) return std::nullopt;
        nodes = std::move(collector.nodes);
        roots = std::move(collector.roots);
    }
    std::stable_sort(roots.begin(), roots.end(),
                     [](const Root& a, const Root& b) { return RootRank(a.key) < RootRank(b.key); });
    // Every kept node gives an item, or a folder and its end: no room doubles past that.
    events.reserve(std::accumulate(nodes.begin(), nodes.end(), size_t{0},
                                   [](size_t sum, const Node& node) { return sum + (IsFolder(node) ? 2 : 1); }));
    for (const Root& root : roots) {
        const Node& node = nodes[root.node];
        // An empty root (most users' mobile bookmarks) is not shown, as in the browsers.
        const bool known = RootRank(root.key) < std::size(kKnownRoots);
        if (node.firstChild != kNone && (known || IsFolder(node))) AddFolder(nodes, root.node, RootName(root, node), events);
    }
    return events;
}

}  // namespace importer
