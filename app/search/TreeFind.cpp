#include "TreeFind.h"

#include "TextMatch.h"

#include <base/Mbcs.h>
#include <favorites/ShortcutFile.h>

#include <vector>

namespace search {
namespace {

constexpr size_t kTitleBytes = 198;
constexpr size_t kEntryTextBytes = 2047;  // title, tab and URL together

// The URL an entry is matched with, read without side effects: a shortcut whose file has gone
// simply has none here (opening it later reports that).
std::string EntryUrl(CFavTreeView& tree, HTREEITEM node) {
    const fav::NodeKind kind = tree.KindOf(node);
    std::optional<std::string> url;
    if (kind == fav::kShortcut) {
        if (const std::optional<std::wstring> file = tree.NodeFile(node)) url = shortcut::ReadUrl(*file);
    } else if (kind == fav::kImportedItem) {
        url = tree.NodeUrl(node);
    }
    return url.value_or(std::string());
}

bool EntryMatches(CFavTreeView& tree, HTREEITEM node, const std::string& wanted) {
    std::string title = tree.Label(node);
    title.resize(mbcs::FitLength(title, kTitleBytes));
    if (tree.KindOf(node) == fav::kFolder) return Contains(title, wanted);
    // Title and URL are one text here, so a text may run from the title's end into the URL.
    std::string text = title + '\t' + EntryUrl(tree, node);
    text.resize(mbcs::FitLength(text, kEntryTextBytes));
    return Contains(text, wanted);
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

    HWND window = tree.hwnd();
    std::vector<HTREEITEM> resume;  // where each entered level goes on afterwards
    HTREEITEM node = TreeView_GetChild(window, tree.Root());
    for (;;) {
        if (!node) {
            if (resume.empty()) break;
            node = resume.back();
            resume.pop_back();
            continue;
        }
        if (state.started) {
            if (EntryMatches(tree, node, state.text)) {
                state.stop = node;
                TreeView_SelectItem(window, node);
                TreeView_EnsureVisible(window, node);
                return;
            }
        } else if (node == state.stop) {
            state.started = true;  // the stop node itself is not tested again
        }
        HTREEITEM next = TreeView_GetNextSibling(window, node);
        if (tree.KindOf(node) == fav::kFolder) {
            resume.push_back(next);
            node = TreeView_GetChild(window, node);
        } else {
            node = next;
        }
    }
    tree.Message(kNotFound, kNotFoundCaption, MB_ICONWARNING);
}

}  // namespace

void FindFirst(CFavTreeView& tree, const std::string& text) {
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
