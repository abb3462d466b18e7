#include "EventFeed.h"

#include <base/ShownName.h>
#include <base/TextEncoding.h>

#include <vector>

namespace importer {

void FeedEvents(const plugin::HostSink& sink, plugin::ItemHandle source, const BookmarkEvents& events) {
    // The parents of the open folders, innermost last; it grows with the nesting however deep.
    std::vector<plugin::ItemHandle> parents;
    plugin::ItemHandle current = source;  // null inside a refused folder
    for (const BookmarkEvent& event : events) {
        switch (event.kind) {
        case BookmarkEvent::kItem:
            if (current)
                sink.AddItem(current, names::ShownLabel(text::Utf8ToWide(event.name)), text::Utf8ToWide(event.url));
            break;
        case BookmarkEvent::kFolder:
            parents.push_back(current);
            current = current ? sink.AddFolder(current, names::ShownLabel(text::Utf8ToWide(event.name))) : nullptr;
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
