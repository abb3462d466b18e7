// Bookmark events added to the host's tree through its sink.
#pragma once

#include "BookmarkEvent.h"

#include <plugins/HostSink.h>

namespace importer {

// Adds the events' folders and items below `source`, nested as the events say, converting their
// UTF-8 once: to UTF-16 for a host with the wide calls, to its code page for an older one.
// Closing events without an open folder leave the parent at `source`. A folder the host refuses
// takes what lies inside it along: nothing is added until it closes.
void FeedEvents(const plugin::HostSink& sink, plugin::ItemHandle source, const BookmarkEvents& events);

}  // namespace importer
