#include "SettingsSheet.h"

#include "BrowserPage.h"
#include "CookiePage.h"
#include "GeneralPage.h"
#include "TreePage.h"
#include "WindowPage.h"

#include <base/ComSession.h>
#include <base/Handles.h>
#include <resources/PropIds.h>

#include <commctrl.h>
#include <objbase.h>

namespace prop {
namespace {

constexpr char kInstanceMutex[] = "TLProp.exe";

}  // namespace

void RunSettingsSheet(HINSTANCE module, HWND owner, const settings::IniFile& ini) {
    GeneralPage general(ini, module);
    TreePage tree(ini);
    WindowPage window(ini);
    BrowserPage browser(ini);
    CookiePage cookies(ini);
    PROPSHEETPAGEA pages[] = {
        general.Describe(module, IDD_PAGE_GENERAL), tree.Describe(module, IDD_PAGE_TREE),
        window.Describe(module, IDD_PAGE_WND),      browser.Describe(module, IDD_PAGE_IE1),
        cookies.Describe(module, IDD_PAGE_COOKIE),
    };
    PROPSHEETHEADERA sheet{};
    sheet.dwSize = sizeof sheet;
    sheet.dwFlags = PSH_PROPSHEETPAGE;
    sheet.hwndParent = owner;
    sheet.hInstance = module;
    sheet.pszCaption = kSheetCaption;
    sheet.nPages = static_cast<UINT>(std::size(pages));
    sheet.nStartPage = 0;
    sheet.ppsp = pages;
    PropertySheetA(&sheet);
}

int RunSettingsTool(HINSTANCE module) {
    win::UniqueHandle mutex(CreateMutexA(nullptr, FALSE, kInstanceMutex));
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        if (HWND running = FindWindowA(nullptr, kSheetCaption)) SetForegroundWindow(running);
        return 0;
    }
    win::ComSession com;
    // The "Tree" page's indent spin is an up-down control, which needs its own class too.
    INITCOMMONCONTROLSEX controls{sizeof controls,
                                  ICC_TREEVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    RunSettingsSheet(module, GetActiveWindow(), settings::IniFile(settings::LocateFor(nullptr)));
    return 0;
}

}  // namespace prop
