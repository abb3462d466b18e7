// Dragging nodes out of the tree: the formats offered and their rendering on demand.
#include "CFavTreeView.h"

#include "ClipboardFormats.h"
#include "TreeItemBlock.h"

#include <base/DragDrop.h>
#include <base/Handles.h>
#include <base/Mbcs.h>

#include <shlobj.h>

#include <cstring>
#include <vector>

namespace {

HGLOBAL GlobalCopy(const void* bytes, size_t size) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!memory) return nullptr;
    void* target = GlobalLock(memory);
    if (!target) {
        GlobalFree(memory);
        return nullptr;
    }
    std::memcpy(target, bytes, size);
    GlobalUnlock(memory);
    return memory;
}

// A DROPFILES list with one wide path (every supported system is of the NT family), exact
// whatever the code page holds of the name.
HGLOBAL FileList(const std::wstring& file) {
    std::vector<char> bytes(sizeof(DROPFILES) + (file.size() + 2) * sizeof(wchar_t), '\0');
    auto* header = reinterpret_cast<DROPFILES*>(bytes.data());
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(bytes.data() + sizeof(DROPFILES), file.data(), file.size() * sizeof(wchar_t));
    return GlobalCopy(bytes.data(), bytes.size());  // the last wide NUL ends the list
}

}  // namespace

std::vector<UINT> CFavTreeView::DragFormats(HTREEITEM node) const {
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();
    switch (KindOf(node)) {
    case fav::kShortcut: return {formats.shared, CF_TEXT, CF_HDROP};
    case fav::kFolder: return {formats.shared, CF_HDROP};
    // A message item ("インポートに失敗しました") has no URL and offers nothing.
    case fav::kImportedItem:
        if (IndexOf(node) == fav::kNoUrlIndex) return {};
        return {formats.raw, CF_TEXT};
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
        return GlobalCopy(&block, sizeof block);
    }
    if (format == CF_TEXT) {
        const std::string url = (KindOf(node) & fav::kOpenable) ? NodeUrl(node).value_or("") : std::string();
        return GlobalCopy(url.c_str(), url.size() + 1);
    }
    if (format == CF_HDROP) {
        const std::optional<std::wstring> file = NodeFile(node);
        return file ? FileList(*file) : nullptr;
    }
    return nullptr;
}

std::vector<UINT> CFavTreeView::AcceptedDropFormats() {
    const fav::TreeFormats& formats = fav::RegisterTreeFormats();
    return {formats.shared, formats.raw, CF_HDROP, CF_TEXT};
}

void CFavTreeView::RegisterDropTarget() { dnd::RegisterDropTarget(hwnd(), kDropEvent, AcceptedDropFormats()); }

void CFavTreeView::RevokeDropTarget() { dnd::RevokeDropTarget(hwnd()); }
