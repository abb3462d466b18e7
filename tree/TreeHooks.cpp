// Where the tree meets features that arrive with their own modules: link checking (installed by
// the program, absent from the bar) and the properties of an entry.
#include "CFavTreeView.h"

#include "properties/PropertiesSheet.h"

#include <base/FileSystem.h>

#include <shellapi.h>

namespace {

fav::LinkCheckFactory g_linkCheckFactory = nullptr;

}  // namespace

void fav::InstallLinkChecker(LinkCheckFactory factory) { g_linkCheckFactory = factory; }

fav::LinkCheckFactory fav::InstalledLinkChecker() { return g_linkCheckFactory; }

bool CFavTreeView::StopLinkChecksBeforeReload() { return !linkChecks_ || linkChecks_->StopBeforeReload(); }

void CFavTreeView::ShowProperties(HTREEITEM node) {
    const std::optional<std::wstring> file = NodeFile(node);
    props::ShowProperties(*this, node);
    // The sheet may have rewritten the file; by path, as the node may be gone meanwhile.
    if (file) entries_.ForgetAddressesAt(*file);
}

void CFavTreeView::CheckLinks(HTREEITEM node) {
    if (!linkChecks_ && g_linkCheckFactory) linkChecks_ = g_linkCheckFactory(*this);
    if (linkChecks_) linkChecks_->Check(node);
}

void CFavTreeView::ShowKeptLinkChecks() {
    if (!linkChecksAllowed_) return;
    if (!linkChecks_ && g_linkCheckFactory) linkChecks_ = g_linkCheckFactory(*this);
    if (linkChecks_) linkChecks_->ShowKeptResults();
}

void CFavTreeView::ForgetDroppedFiles(const std::wstring& folder, HDROP drop) {
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT n = 0; n < count; ++n) {
        std::wstring file(DragQueryFileW(drop, n, nullptr, 0) + 1, L'\0');
        file.resize(DragQueryFileW(drop, n, file.data(), static_cast<UINT>(file.size())));
        std::wstring name;
        if (fsys::SplitLast(file, nullptr, &name)) entries_.ForgetAddressesAt(fsys::Join(folder, name));
    }
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

std::optional<std::wstring> CFavTreeView::LinkCheckOutcome(HTREEITEM node) const {
    return linkChecks_ ? linkChecks_->Outcome(node) : std::nullopt;
}
