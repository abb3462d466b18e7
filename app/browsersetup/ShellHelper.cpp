// The browser's favorites import and export wizard.
#include "BrowserSetup.h"
#include "ShellHelper.h"

#include <base/MessageBox.h>

namespace browsersetup {
namespace {

constexpr char kBrowserTooOld[] = "Internet Explorer 5.0 以上が必要です";
constexpr wchar_t kWizardMethod[] = L"ImportExportFavorites";

void RunWizard(bool import) {
    const win::ComPtr<IShellUIHelper> helper = CreateShellHelper();
    if (!helper) {
        ui::ShowMessage(nullptr, kBrowserTooOld, MB_OK);
        return;
    }
    // No path: the browser asks for the file in its own wizard.
    helper->ImportExportFavorites(import ? VARIANT_TRUE : VARIANT_FALSE, nullptr);
}

}  // namespace

win::ComPtr<IShellUIHelper> CreateShellHelper() {
    win::ComPtr<IShellUIHelper> helper;
    if (FAILED(CoCreateInstance(CLSID_ShellUIHelper, nullptr, CLSCTX_INPROC_SERVER, IID_IShellUIHelper,
                                reinterpret_cast<void**>(helper.put()))) ||
        !helper)
        return {};
    // Browsers before 5.0 have the object but not the wizard; the name tells them apart.
    LPOLESTR name = const_cast<LPOLESTR>(kWizardMethod);
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(helper->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_SYSTEM_DEFAULT, &id))) return {};
    return helper;
}

void ImportFavorites() { RunWizard(true); }
void ExportFavorites() { RunWizard(false); }

}  // namespace browsersetup
