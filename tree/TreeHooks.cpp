// Where the tree meets features that arrive with their own modules: link checking and the
// properties of an entry. Until a feature is present its hook does the least harmful thing.
#include "CFavTreeView.h"

bool CFavTreeView::StopLinkChecksBeforeReload() { return true; }

void CFavTreeView::ShowProperties(HTREEITEM) {}

void CFavTreeView::CheckLinks(HTREEITEM) {}

bool CFavTreeView::PropertiesOpen() const { return false; }
