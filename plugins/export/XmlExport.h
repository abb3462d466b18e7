// "XML": the tree as one document, in the file chosen in the save dialog or at `path`.
#pragma once

#include <plugins/PluginInterface.h>

namespace exporter {

// 0 when the whole document was written; 1 when the user cancelled or the file could not be
// written (the user is told of the latter).
int ExportXml(plugin::ImportSink& sink, const char* path);

}  // namespace exporter
