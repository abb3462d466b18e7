#include "FolderWalk.h"

#include "ItemDat.h"
#include "SourceFile.h"

#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/Path.h>
#include <tree/ShortcutFile.h>

#include <new>
#include <optional>
#include <vector>

namespace importer {
namespace {

constexpr char kItemListName[] = "Item.dat";
constexpr char kItemListOutOfMemory[] = "メモリを確保できませんでした";

struct Listing {
    std::vector<std::string> folders;  // sorted
    std::vector<std::string> files;
};

// The folder's shown entries ("." names and hidden ones are left out); nothing when the folder
// cannot be listed. The listing is closed before anything is added.
std::optional<Listing> ListFolder(const std::string& folder) {
    WIN32_FIND_DATAA entry;
    win::UniqueFind find(FindFirstFileA(path::Join(folder, "*").c_str(), &entry));
    if (!find) return std::nullopt;
    Listing listing;
    do {
        if (entry.cFileName[0] == '.' || (entry.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)) continue;
        auto& group = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? listing.folders : listing.files;
        group.emplace_back(entry.cFileName);
    } while (FindNextFileA(find.get(), &entry));
    mbcs::SortNames(listing.folders);
    return listing;
}

using Walk = void (*)(plugin::ImportSink&, const std::string&, plugin::ItemHandle);

// Adds each sub-folder and walks it; a folder the host refuses is not walked.
void AddFolders(plugin::ImportSink& sink, const std::string& folder, const Listing& listing,
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
    const std::optional<Listing> listing = ListFolder(folder);
    if (!listing) return;
    AddFolders(sink, folder, *listing, parent, WalkWwwcFolder);
    AddItemList(sink, folder, parent);
}

void WalkFavoritesFolder(plugin::ImportSink& sink, const std::string& folder, plugin::ItemHandle parent) {
    const std::optional<Listing> listing = ListFolder(folder);
    if (!listing) return;
    AddFolders(sink, folder, *listing, parent, WalkFavoritesFolder);
    // Sorted by label: "a-b.url" comes after "a.url", as "a-b" after "a".
    std::vector<std::string> labels;
    for (const std::string& file : listing->files)
        if (std::optional<std::string> label = shortcut::LabelFromFileName(file)) labels.push_back(std::move(*label));
    mbcs::SortNames(labels);
    for (const std::string& label : labels) {
        // A shortcut without a URL is still shown, with an empty one.
        const std::string url = shortcut::ReadUrl(path::Join(folder, label) + shortcut::kExtension).value_or("");
        sink.AddNode(parent, label.c_str(), url.c_str(), plugin::kAddItem);
    }
}

}  // namespace importer
