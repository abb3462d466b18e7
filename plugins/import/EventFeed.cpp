#include "EventFeed.h"

#include <base/ShownName.h>

#include <vector>

namespace importer {

void FeedEvents(plugin::ImportSink& sink, plugin::ItemHandle source, const BookmarkEvents& events) {
    // The parents of the open folders, innermost last; it grows with the nesting however deep.
    std::vector<plugin::ItemHandle> parents;
    plugin::ItemHandle current = source;  // null inside a refused folder
    for (const BookmarkEvent& event : events) {
        switch (event.kind) {
        case BookmarkEvent::kItem:
            if (current)
                sink.AddNode(current, names::ShownLabel(event.name).c_str(), event.url.c_str(), plugin::kAddItem);
            break;
        case BookmarkEvent::kFolder:
            parents.push_back(current);
            current = current ? sink.AddNode(current, names::ShownLabel(event.name).c_str(), nullptr, plugin::kAddFolder)
                              : nullptr;
            break;
        case BookmarkEvent::kClose:
            if (!parents.empty()) {
                current = parents.back();
                parents.pop_back();
            }
            break;
        }
    }
}

}  // namespace importer
