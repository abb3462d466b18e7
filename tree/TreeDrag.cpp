// Dragging nodes out of the tree: the formats offered and their rendering on demand.
#include "CFavTreeView.h"

#include "ClipboardFormats.h"
#include "TreeItemBlock.h"

#include <favorites/NameRule.h>
#include <favorites/ShortcutFile.h>
#include <base/DragDrop.h>
#include <base/Handles.h>
#include <base/Mbcs.h>

#include <shlobj.h>

#include <cstring>
#include <vector>

namespace {

// A name in a file group descriptor leaves room for ".url" within MAX_PATH.
constexpr size_t kMaxShortcutName = MAX_PATH - 1 - (sizeof(shortcut::kExtension) - 1);

// A DROPFILES list with one wide path (every supported system is of the NT family), exact
// whatever the code page holds of the name.
HGLOBAL FileList(const std::wstring& file) {
    std::vector<char> bytes(sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(bytes.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(bytes.data() + sizeof(DROPFILES), file.data(), file.size() * sizeof(wchar_t));
    return dnd::GlobalCopy(bytes.data(), bytes.size());  // the last wide NUL ends the list
}

}  // namespace

std::vector<UINT> CFavTreeView::DragFormats(HTREEITEM node) const {
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();
    switch (KindOf(node)) {
    case fav::kShortcut: return {formats.shared, CF_TEXT, CF_UNICODETEXT, dnd::WideUrlFormat(), CF_HDROP};
    case fav::kFolder: return {formats.shared, CF_HDROP};
    // A message item ("インポートに失敗しました") has no URL and offers nothing. An item has no
    // file of its own: it is offered as the content of one, under its exact name.
    case fav::kImportedItem:
        if (IndexOf(node) == fav::kNoUrlIndex) return {};
        return {formats.raw, CF_TEXT, CF_UNICODETEXT, dnd::WideUrlFormat(), dnd::WideFileGroupFormat(),
                dnd::FileContentsFormat()};
    default: return {};
    }
}

void CFavTreeView::BeginDrag(const NMTREEVIEWA& info) {
    HTREEITEM node = info.itemNew.hItem;
    const std::vector<UINT> formats = DragFormats(node);
    if (formats.empty()) return;
    contextNode_ = node;
    win::ComPtr<IDataObject> data;
    *data.put() = dnd::CreateDataObject(hwnd(), kRenderDragData, formats);
    win::ComPtr<IDropSource> source;
    *source.put() = dnd::CreateDropSource();
    DWORD effect = DROPEFFECT_NONE;
    // Only copies leave the tree this way; moves between trees are done by the receiving tree.
    DoDragDrop(data.get(), source.get(), DROPEFFECT_COPY, &effect);
    TreeView_SelectDropTarget(hwnd(), nullptr);
    if (HTREEITEM caret = TreeView_GetSelection(hwnd())) ShowStatusText(caret);
}

HGLOBAL CFavTreeView::RenderDragData(UINT format) {
    HTREEITEM node = contextNode_;
    if (!node) return nullptr;
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();
    if (format == formats.shared || format == formats.raw) {
        fav::TreeItemBlock block{};
        block.marker = fav::kBlockMarker;
        block.window = static_cast<uint32_t>(HandleToLong(hwnd()));
        std::string text, label;
        if (KindOf(node) & fav::kFileBacked) {
            block.flags = fav::kBlockFileNode;
            text = NodePath(node).value_or("");
        } else if (KindOf(node) == fav::kImportedItem) {
            block.flags = fav::kBlockImportedItem;
            text = NodeUrl(node).value_or("");
            label = Label(node);
        }
        // A path or URL that does not fit would name something else: nothing is offered then.
        if (text.size() >= sizeof block.text) return nullptr;
        text.copy(block.text, text.size());
        mbcs::CopyFitting(label, block.label, sizeof block.label);
        return dnd::GlobalCopy(&block, sizeof block);
    }
    if (format == CF_TEXT) {
        const std::string url = (KindOf(node) & fav::kOpenable) ? NodeUrl(node).value_or("") : std::string();
        return dnd::GlobalCopy(url.c_str(), url.size() + 1);
    }
    if (!(KindOf(node) & fav::kOpenable)) return nullptr;
    if (format == CF_UNICODETEXT || format == dnd::WideUrlFormat())
        return dnd::GlobalWideText(NodeAddress(node).value_or(std::wstring()));
    if (format == dnd::WideFileGroupFormat())
        return dnd::WideFileGroup(fav::SafeName(FileName(node), kMaxShortcutName) + shortcut::kWideExtension);
    if (format == dnd::FileContentsFormat()) {
        const std::optional<std::wstring> url = NodeAddress(node);
        if (!url) return nullptr;
        const std::string content = shortcut::FileText(std::wstring_view(*url));
        return dnd::GlobalCopy(content.data(), content.size());
    }
    if (format == CF_HDROP) {
        const std::optional<std::wstring> file = NodeFile(node);
        return file ? FileList(*file) : nullptr;
    }
    return nullptr;
}

std::vector<UINT> CFavTreeView::AcceptedDropFormats() {
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();
    // A link's wide forms before CF_TEXT: they hold the address exactly.
    return {formats.shared, formats.raw, CF_HDROP, dnd::WideUrlFormat(), CF_UNICODETEXT, CF_TEXT};
}

void CFavTreeView::RegisterDropTarget() { dnd::RegisterDropTarget(hwnd(), kDropEvent, AcceptedDropFormats()); }

void CFavTreeView::RevokeDropTarget() { dnd::RevokeDropTarget(hwnd()); }
