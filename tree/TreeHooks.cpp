// Where the tree meets features that arrive with their own modules: the context menu, drag and
// drop, bookmark import and link checking. Until a feature is present its hook does the least
// harmful thing.
#include "CFavTreeView.h"

void CFavTreeView::ShowContextMenu(HTREEITEM, POINT) {}

void CFavTreeView::BeginDrag(const NMTREEVIEWA&) {}

void CFavTreeView::RegisterDropTarget() {}

void CFavTreeView::RevokeDropTarget() {}

void CFavTreeView::OpenBookmarkSource(HTREEITEM node) {
    // Read once per load: the node stops being an unopened source before anything is imported.
    SetKind(node, fav::kImportedFolder);
}

bool CFavTreeView::StopLinkChecksBeforeReload() { return true; }
