// "WWWC": the tree as WWWC data, in a new folder "Exported" below the folder chosen in the folder
// browser or given as `path`: one folder per favorites folder, each with its Item.dat.
#pragma once

#include <pluginapi/PluginInterface.h>

namespace exporter {

// 0 when everything was written; 1 when the user cancelled, "Exported" already exists (nothing
// is written then), or some folder could not be written (the user is told of the last two).
int ExportWwwc(plugin::ImportSink& sink, const char* path);

}  // namespace exporter
