#include "TreeFind.h"

#include "AddressReading.h"
#include "TextMatch.h"

namespace search {
namespace {

constexpr size_t kTitleUnits = 198;
constexpr size_t kEntryTextUnits = 2047;  // title, tab and URL together

bool EntryMatches(CFavTreeView& tree, HTREEITEM node, const fav::TreeEntries::Entry& entry, const std::wstring& folder,
                  const std::wstring& wanted, std::wstring& text, std::wstring& scratch) {
    const std::wstring_view title = Fit(entry.name, kTitleUnits);
    if (entry.kind == fav::kFolder) return Contains(title, wanted);
    // Title and URL are one text here, so a text may run from the title's end into the URL.
    text.assign(title).append(1, L'\t').append(AddressOf(tree, node, entry, folder, scratch));
    return Contains(Fit(text, kEntryTextUnits), wanted);
}

// Walks the tree in display order from the root's first child; entries count once the walk has
// passed the stop node. Folders are entered, other containers (bookmark sources) are not.
void Walk(CFavTreeView& tree) {
    CFavTreeView::FindState& state = tree.findState();
    if (state.text.empty()) {
        tree.Message(kNoSearchText, MB_ICONWARNING);
        return;
    }
    if (!state.stop) state.started = true;

    // What changed on disk meanwhile is read again on the way; nothing else is.
    tree.entries().TakeOutsideChanges();
    HTREEITEM found = nullptr;
    std::wstring text, scratch;
    tree.entries().Walk([&](HTREEITEM node, const fav::TreeEntries::Entry& entry, const std::wstring& folder) {
        if (state.started) {
            if (!EntryMatches(tree, node, entry, folder, state.text, text, scratch)) return true;
            found = node;
            return false;
        }
        if (node == state.stop) state.started = true;  // the stop node itself is not tested again
        return true;
    });
    if (!found) {
        tree.Message(kNotFound, kNotFoundCaption, MB_ICONWARNING);
        return;
    }
    state.stop = found;
    TreeView_SelectItem(tree.hwnd(), found);
    TreeView_EnsureVisible(tree.hwnd(), found);
}

}  // namespace

void FindFirst(CFavTreeView& tree, const std::wstring& text) {
    CFavTreeView::FindState& state = tree.findState();
    state.text = text;
    state.started = true;
    Walk(tree);
}

void FindNext(CFavTreeView& tree) {
    CFavTreeView::FindState& state = tree.findState();
    state.started = false;
    state.stop = TreeView_GetSelection(tree.hwnd());
    if (state.stop == tree.Root()) state.started = true;
    Walk(tree);
}

}  // namespace search
