// The formats that write one file ("XML", "NSBM"): the destination, the document, the file.
#pragma once

#include "ExportNode.h"

#include <pluginapi/PluginInterface.h>

#include <optional>
#include <string>

namespace exporter {

struct DocumentFormat {
    std::optional<std::string> (*ask)(HWND owner);  // the save dialog; nothing when cancelled
    std::string (*write)(const ExportTree& tree);  // the file's bytes
};

// 0 when the whole document was written to `path` (or, without one, to the file the user
// chose); 1 when the user cancelled or the file could not be written (the user is told of that).
int ExportDocument(plugin::ImportSink& sink, const char* path, const DocumentFormat& format);

// "XML": the tree as an XML document in Shift_JIS.
int ExportXml(plugin::ImportSink& sink, const char* path);
// "NSBM": the tree as a Netscape bookmark file, which every browser imports.
int ExportNetscape(plugin::ImportSink& sink, const char* path);

}  // namespace exporter
