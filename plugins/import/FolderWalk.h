// The two folder formats: a WWWC data folder (sub-folders, each with its Item.dat) and an
// Internet Explorer favorites folder (sub-folders and ".url" files). At every level the folders
// come first, then the items, each group sorted by name without regard to case.
#pragma once

#include <pluginapi/PluginInterface.h>

#include <string>

namespace importer {

void WalkWwwcFolder(plugin::ImportSink& sink, const std::string& folder, plugin::ItemHandle parent);
void WalkFavoritesFolder(plugin::ImportSink& sink, const std::string& folder, plugin::ItemHandle parent);

}  // namespace importer
