// The two folder formats: a WWWC data folder (sub-folders, each with its Item.dat) and an
// Internet Explorer favorites folder (sub-folders and ".url" files). At every level the folders
// come first, then the items, each group sorted by name without regard to case.
#pragma once

#include <plugins/HostSink.h>

#include <string>

namespace importer {

// Folder names are given exactly where the host has the wide calls.
void WalkWwwcFolder(const plugin::HostSink& sink, const std::string& folder, plugin::ItemHandle parent);
void WalkFavoritesFolder(const plugin::HostSink& sink, const std::string& folder, plugin::ItemHandle parent);

}  // namespace importer
