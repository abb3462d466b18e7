#include "PropertiesSheet.h"

#include "PropertiesPages.h"

#include <tree/CFavTreeView.h>
#include <tree/TreeModule.h>

#include <base/TextEncoding.h>
#include <resources/TreeIds.h>

namespace props {

namespace {

constexpr char kCaption[] = "プロパティ";

// The tree whose sheet is open on this thread. The sheet is modal on its thread, so each has at
// most one; browser bars run trees on every browser window's thread, each with its own sheet.
thread_local const CFavTreeView* g_openFor = nullptr;

}  // namespace

void ShowProperties(CFavTreeView& tree, HTREEITEM node) {
    if (!node || !tree.IsShortcut(node) || g_openFor) return;
    // Both read before the sheet opens: a vanished file is reported and its node removed here,
    // never while the sheet shows it.
    const std::optional<std::wstring> file = tree.NodeFile(node);
    const std::optional<std::wstring> address = tree.NodeAddress(node);
    if (!file || !address) return;

    DirectEditPage editPage(*file);
    UrlInfoPage infoPage(*address, text::WideToAnsi(*address));
    HPROPSHEETPAGE pages[] = {editPage.CreatePage(fav::TreeModule(), IDD_PROP_EDIT),
                              infoPage.CreatePage(fav::TreeModule(), IDD_PROP_URL_INFO)};
    if (!pages[0] || !pages[1]) {
        for (HPROPSHEETPAGE page : pages)
            if (page) DestroyPropertySheetPage(page);
        return;
    }
    PROPSHEETHEADERA header{};
    header.dwSize = sizeof header;
    header.hwndParent = GetActiveWindow();
    header.hInstance = fav::TreeModule();
    header.pszCaption = kCaption;
    header.nPages = 2;
    header.phpage = pages;
    g_openFor = &tree;
    PropertySheetA(&header);
    g_openFor = nullptr;
}

bool IsOpenFor(const CFavTreeView& tree) { return g_openFor == &tree; }

}  // namespace props
