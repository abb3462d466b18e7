#include "FolderWalk.h"

#include "ItemDat.h"
#include "SourceFile.h"

#include <base/Path.h>
#include <tree/FolderListing.h>
#include <tree/ShortcutFile.h>

#include <new>
#include <optional>
#include <vector>

namespace importer {
namespace {

constexpr char kItemListName[] = "Item.dat";
constexpr char kItemListOutOfMemory[] = "メモリを確保できませんでした";

using Walk = void (*)(plugin::ImportSink&, const std::string&, plugin::ItemHandle);

// Adds each sub-folder and walks it; a folder the host refuses is not walked.
void AddFolders(plugin::ImportSink& sink, const std::string& folder, const fav::FolderListing& listing,
                plugin::ItemHandle parent, Walk walk) {
    for (const std::string& name : listing.folders)
        if (plugin::ItemHandle child = sink.AddNode(parent, name.c_str(), nullptr, plugin::kAddFolder))
            walk(sink, path::Join(folder, name), child);
}

void AddItemList(plugin::ImportSink& sink, const std::string& folder, plugin::ItemHandle parent) {
    std::vector<WwwcItem> items;
    try {
        const std::optional<std::string> list = ReadWholeFile(path::Join(folder, kItemListName));
        if (!list) return;  // a folder without items
        items = ParseItemDat(*list);
    } catch (const std::bad_alloc&) {
        // This folder's items are lost; the walk goes on with the next folder.
        sink.AddNode(parent, kItemListOutOfMemory, plugin::NoURL, plugin::kAddItem);
        return;
    }
    for (const WwwcItem& item : items) sink.AddNode(parent, item.title.c_str(), item.url.c_str(), plugin::kAddItem);
}

}  // namespace

void WalkWwwcFolder(plugin::ImportSink& sink, const std::string& folder, plugin::ItemHandle parent) {
    const std::optional<fav::FolderListing> listing = fav::ListFolder(folder);
    if (!listing) return;
    AddFolders(sink, folder, *listing, parent, WalkWwwcFolder);
    AddItemList(sink, folder, parent);
}

void WalkFavoritesFolder(plugin::ImportSink& sink, const std::string& folder, plugin::ItemHandle parent) {
    const std::optional<fav::FolderListing> listing = fav::ListFolder(folder);
    if (!listing) return;
    AddFolders(sink, folder, *listing, parent, WalkFavoritesFolder);
    for (const std::string& label : listing->shortcuts) {
        // A shortcut without a URL is still shown, with an empty one.
        const std::string url = shortcut::ReadUrl(path::Join(folder, label) + shortcut::kExtension).value_or("");
        sink.AddNode(parent, label.c_str(), url.c_str(), plugin::kAddItem);
    }
}

}  // namespace importer
