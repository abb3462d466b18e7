// Bookmark events added to the host's tree through its sink.
#pragma once

#include "BookmarkEvent.h"

#include <pluginapi/PluginInterface.h>

namespace importer {

// Adds the events' folders and items below `source`, nested as the events say. Closing events
// without an open folder leave the parent at `source`. A folder the host refuses takes what
// lies inside it along: nothing is added until it closes.
void FeedEvents(plugin::ImportSink& sink, plugin::ItemHandle source, const BookmarkEvents& events);

}  // namespace importer
