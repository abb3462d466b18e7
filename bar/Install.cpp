// Installing and uninstalling the bar from the program's menu: registration (which also makes the
// shell forget its cached list of bars), the vertical-bar category and the link list's menu
// extension.
#include "BarGuids.h"
#include "Registration.h"

#include <base/ComSession.h>
#include <base/Handles.h>
#include <base/MessageBox.h>

#include <comcat.h>
#include <shlguid.h>

namespace bar {
namespace {

constexpr char kCaption[] = "インストール";
constexpr char kAskInstall[] = "Tolvak Barをインストールしますか？";
constexpr char kAskUninstall[] = "Tolvak Bar, TLリンクリストをアンインストールしますか？";
constexpr char kMenuExtensions[] = "Software\\Microsoft\\Internet Explorer\\MenuExt";
constexpr char kLinkListExtension[] = "TLりんくりすと";
constexpr DWORD kAnyServer = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;

HRESULT ChangeCategory(bool implemented, DWORD context) {
    const win::ComSession com;
    win::ComPtr<ICatRegister> categories;
    HRESULT result = CoCreateInstance(CLSID_StdComponentCategoriesMgr, nullptr, context, IID_ICatRegister,
                                      reinterpret_cast<void**>(categories.put()));
    if (FAILED(result) || !categories) return FAILED(result) ? result : E_NOINTERFACE;
    CATID category = CATID_InfoBand;
    result = implemented ? categories->RegisterClassImplCategories(CLSID_TolvakEx, 1, &category)
                         : categories->UnRegisterClassImplCategories(CLSID_TolvakEx, 1, &category);
    return result;
}

void RemoveLinkListExtension() {
    HKEY created = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kMenuExtensions, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    const win::UniqueKey extensions(created);
    RegDeleteTreeA(extensions.get(), kLinkListExtension);
}

}  // namespace

int Install() {
    if (ui::ShowMessage(nullptr, kAskInstall, kCaption, MB_YESNO) != IDYES) return kInstallDeclined;
    HRESULT result = RegisterServer();
    // The user's entries carry the category already; the manager would write the machine's.
    if (result == kRegisteredForUser) return kInstalledForUser;
    const HRESULT category = ChangeCategory(true, CLSCTX_INPROC_SERVER);
    if (SUCCEEDED(result)) result = category;
    return SUCCEEDED(result) ? 0 : static_cast<int>(result);
}

int Uninstall() {
    if (ui::ShowMessage(nullptr, kAskUninstall, kCaption, MB_YESNO) != IDYES) return 0;
    UnregisterServer();
    ChangeCategory(false, kAnyServer);
    RemoveLinkListExtension();
    return 0;
}

}  // namespace bar
