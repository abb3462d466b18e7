// Reads the exportable part of the host's tree through its sink: every folder on disk with its
// content and every other entry that has a URL. Bookmark sources, imported folders and entries
// without a URL drop out together with everything below them. Labels and URLs come exactly
// where the host has the wide calls.
#pragma once

#include "ExportNode.h"

#include <pluginapi/PluginInterface.h>

namespace exporter {

// The tree's first top-level item and what lies below it; an empty tree gives an empty root.
// Walks without recursion, so no depth of folders exhausts the stack.
ExportTree ReadTree(plugin::ImportSink& sink);

}  // namespace exporter
