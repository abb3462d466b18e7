// Where the tree meets features that arrive with their own modules: drag and drop, link checking
// and the properties of an entry. Until a feature is present its hook does the least harmful thing.
#include "CFavTreeView.h"

void CFavTreeView::BeginDrag(const NMTREEVIEWA&) {}

void CFavTreeView::RegisterDropTarget() {}

void CFavTreeView::RevokeDropTarget() {}

bool CFavTreeView::StopLinkChecksBeforeReload() { return true; }

void CFavTreeView::ShowProperties(HTREEITEM) {}

void CFavTreeView::CheckLinks(HTREEITEM) {}
