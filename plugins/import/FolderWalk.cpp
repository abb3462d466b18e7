#include "FolderWalk.h"

#include "ItemDat.h"
#include "SourceFile.h"

#include <base/FileSystem.h>
#include <base/ShownName.h>
#include <base/TextEncoding.h>
#include <favorites/FolderListing.h>
#include <favorites/ShortcutFile.h>

#include <new>
#include <optional>
#include <vector>

namespace importer {
namespace {

constexpr wchar_t kItemListName[] = L"Item.dat";
constexpr char kItemListOutOfMemory[] = "メモリを確保できませんでした";
constexpr unsigned kItemListCodePage = 932;

class Walker {
public:
    using ItemsFn = void (Walker::*)(const std::wstring& folder, const fav::FolderListing& listing,
                                     plugin::ItemHandle parent);
    Walker(const plugin::HostSink& sink, ItemsFn items) : sink_(sink), items_(items) {}

    void Walk(const std::wstring& folder, plugin::ItemHandle parent, bool link = false) {
        // A junction or link back to a folder on the way down is shown, not entered again.
        if (!trail_.Enter(folder, link)) return;
        if (const std::optional<fav::FolderListing> listing = fav::ListFolder(folder)) {
            AddFolders(folder, *listing, parent);
            (this->*items_)(folder, *listing, parent);
        }
        trail_.Leave();
    }

    void AddWwwcItems(const std::wstring& folder, const fav::FolderListing&, plugin::ItemHandle parent) {
        std::vector<WwwcItem> items;
        try {
            const std::optional<std::string> list = ReadWholeFile(fsys::Join(folder, kItemListName));
            if (!list) return;  // a folder without items
            items = ParseItemDat(*list);
        } catch (const std::bad_alloc&) {
            // This folder's items are lost; the walk goes on with the next folder.
            sink_.AddMessage(parent, kItemListOutOfMemory);
            return;
        }
        // Item.dat is Shift_JIS, whatever the system's code page.
        for (const WwwcItem& item : items)
            sink_.AddItem(parent, names::ShownLabel(text::CodePageToWide(item.title, kItemListCodePage)),
                          text::CodePageToWide(item.url, kItemListCodePage));
    }

    void AddShortcuts(const std::wstring& folder, const fav::FolderListing& listing, plugin::ItemHandle parent) {
        for (const fav::ListedEntry& entry : listing.shortcuts) {
            // A shortcut without a URL is still shown, with an empty one.
            const std::wstring file = fsys::Join(folder, entry.name) + shortcut::kWideExtension;
            sink_.AddItem(parent, entry.name, shortcut::ReadAddress(file).value_or(L""));
        }
    }

private:
    // Adds each sub-folder and walks it; a folder the host refuses is not walked.
    void AddFolders(const std::wstring& folder, const fav::FolderListing& listing, plugin::ItemHandle parent) {
        for (const fav::ListedEntry& entry : listing.folders) {
            plugin::ItemHandle child = sink_.AddFolder(parent, entry.name);
            if (!child) continue;
            const std::wstring path = fsys::Join(folder, entry.name);
            // Said, not silently left empty.
            if (!fav::IsListable(path))
                sink_.AddMessage(child, fav::kPathTooLong);
            else
                Walk(path, child, entry.link);
        }
    }

    const plugin::HostSink& sink_;
    ItemsFn items_;
    fav::FolderTrail trail_;
};

}  // namespace

void WalkWwwcFolder(const plugin::HostSink& sink, const std::string& folder, plugin::ItemHandle parent) {
    Walker(sink, &Walker::AddWwwcItems).Walk(text::AnsiToWide(folder), parent);
}

void WalkFavoritesFolder(const plugin::HostSink& sink, const std::string& folder, plugin::ItemHandle parent) {
    Walker(sink, &Walker::AddShortcuts).Walk(text::AnsiToWide(folder), parent);
}

}  // namespace importer
