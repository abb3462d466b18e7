// Where the tree meets features that arrive with their own modules: link checking (installed by
// the program, absent from the bar) and the properties of an entry.
#include "CFavTreeView.h"

#include "properties/PropertiesSheet.h"

namespace {

fav::LinkCheckFactory g_linkCheckFactory = nullptr;

}  // namespace

void fav::InstallLinkChecker(LinkCheckFactory factory) { g_linkCheckFactory = factory; }

fav::LinkCheckFactory fav::InstalledLinkChecker() { return g_linkCheckFactory; }

bool CFavTreeView::StopLinkChecksBeforeReload() { return !linkChecks_ || linkChecks_->StopBeforeReload(); }

void CFavTreeView::ShowProperties(HTREEITEM node) { props::ShowProperties(*this, node); }

void CFavTreeView::CheckLinks(HTREEITEM node) {
    if (!linkChecks_ && g_linkCheckFactory) linkChecks_ = g_linkCheckFactory(*this);
    if (linkChecks_) linkChecks_->Check(node);
}

void CFavTreeView::ShowKeptLinkChecks() {
    if (!linkChecksAllowed_) return;
    if (!linkChecks_ && g_linkCheckFactory) linkChecks_ = g_linkCheckFactory(*this);
    if (linkChecks_) linkChecks_->ShowKeptResults();
}

bool CFavTreeView::PropertiesOpen() const { return props::IsOpenFor(*this); }

bool CFavTreeView::RouteFeatureMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    return linkChecks_ && linkChecks_->HandleMessage(message, wParam, lParam, result);
}

void CFavTreeView::ForgetNodeInFeatures(HTREEITEM node) {
    if (linkChecks_) linkChecks_->Forget(node);
}

void CFavTreeView::AbandonFeatures() {
    if (linkChecks_) linkChecks_->Abandon();
}

std::optional<std::string> CFavTreeView::LinkCheckOutcome(HTREEITEM node) const {
    return linkChecks_ ? linkChecks_->Outcome(node) : std::nullopt;
}
