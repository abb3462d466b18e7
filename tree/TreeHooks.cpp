// Where the tree meets features that arrive with their own modules: the context menu, drag and
// drop and link checking. Until a feature is present its hook does the least harmful thing.
#include "CFavTreeView.h"

void CFavTreeView::ShowContextMenu(HTREEITEM, POINT) {}

void CFavTreeView::BeginDrag(const NMTREEVIEWA&) {}

void CFavTreeView::RegisterDropTarget() {}

void CFavTreeView::RevokeDropTarget() {}

bool CFavTreeView::StopLinkChecksBeforeReload() { return true; }
