#include "AddressReading.h"

#include <favorites/ShortcutFile.h>
#include <favorites/ShortcutScan.h>

namespace search {
namespace {

struct PendingRead {
    CFavTreeView* tree;
    HTREEITEM node;
    uint64_t serial;
    std::wstring file;
};

std::wstring ShortcutFile(const std::wstring& folder, const fav::TreeEntries::Entry& entry) {
    return folder + L'\\' + entry.name + shortcut::kWideExtension;
}

}  // namespace

bool ReadAddresses(const std::vector<CFavTreeView*>& trees, const ReadProgress& progress) {
    std::vector<PendingRead> pending;
    for (CFavTreeView* tree : trees) {
        tree->entries().TakeOutsideChanges();
        tree->entries().Walk([&](HTREEITEM node, const fav::TreeEntries::Entry& entry, const std::wstring& folder) {
            if (entry.kind == fav::kShortcut && !entry.addressKnown)
                pending.push_back({tree, node, entry.serial, ShortcutFile(folder, entry)});
            return true;
        });
    }
    // The trees stay alive while the progress lets messages through, which may close a tab.
    for (CFavTreeView* tree : trees) tree->AddRef();
    std::string buffer;
    bool finished = true;
    for (size_t done = 0; done < pending.size(); ++done) {
        if (done && done % kReadsPerProgress == 0 && !progress(done, pending.size())) {
            finished = false;
            break;
        }
        // Stored at once, between two looks at the messages: a change the tree hears of later
        // forgets it again, and an entry removed meanwhile (its serial gone) takes nothing.
        const PendingRead& read = pending[done];
        shortcut::ScannedFile scanned = shortcut::ScanFile(read.file, buffer);
        if (scanned.read) read.tree->entries().StoreAddress(read.node, read.serial, std::move(scanned.address));
    }
    for (CFavTreeView* tree : trees) tree->Release();
    return finished;
}

std::wstring_view AddressOf(CFavTreeView& tree, HTREEITEM node, const fav::TreeEntries::Entry& entry,
                            const std::wstring& folder, std::wstring& scratch) {
    if (entry.kind == fav::kImportedItem) {
        scratch = tree.NodeAddress(node).value_or(std::wstring());
        return scratch;
    }
    if (entry.kind != fav::kShortcut) return {};
    if (entry.addressKnown) return entry.address;
    std::string buffer;
    shortcut::ScannedFile scanned = shortcut::ScanFile(ShortcutFile(folder, entry), buffer);
    scratch = scanned.address;
    if (scanned.read) tree.entries().StoreAddress(node, entry.serial, std::move(scanned.address));
    return scratch;
}

}  // namespace search
