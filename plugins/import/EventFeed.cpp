#include "EventFeed.h"

#include <base/ShownName.h>
#include <base/TextEncoding.h>

#include <vector>

namespace importer {

void FeedEvents(const plugin::HostSink& sink, plugin::ItemHandle source, const BookmarkEvents& events) {
    // The parents of the open folders, innermost last; it grows with the nesting however deep.
    std::vector<plugin::ItemHandle> parents;
    plugin::ItemHandle current = source;  // null inside a refused folder
    // Reused from one event to the next: most names and URLs then take no memory of their own.
    std::wstring name, url;
    const auto shownName = [&name](const BookmarkEvent& event) -> const std::wstring& {
        text::Utf8ToWide(event.name, name);
        names::MakeShownLabel(name);
        return name;
    };
    for (const BookmarkEvent& event : events) {
        switch (event.kind) {
        case BookmarkEvent::kItem:
            if (current) {
                text::Utf8ToWide(event.url, url);
                sink.AddItem(current, shownName(event), url);
            }
            break;
        case BookmarkEvent::kFolder:
            parents.push_back(current);
            current = current ? sink.AddFolder(current, shownName(event)) : nullptr;
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
