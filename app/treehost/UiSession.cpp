#include "UiSession.h"

#include <base/MessageBox.h>
#include <tree/ClipboardFormats.h>
#include <tree/additem/DdeClient.h>

#include <commctrl.h>
#include <ddeml.h>

namespace treehost {
namespace {

constexpr DWORD kDdeClientOnly = APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS;
constexpr DWORD kCommonControlClasses = 0x3F;  // list view, tree view, bars, tab, up-down, progress

// DDEML instances belong to their thread; the sessions of one thread share its instance.
thread_local int t_ddeUsers = 0;

HDDEDATA CALLBACK IgnoreDdeTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

}  // namespace

bool UiSession::Start() {
    if (usesDde_) return true;
    InitCommonControls();
    INITCOMMONCONTROLSEX controls{sizeof controls, kCommonControlClasses};
    InitCommonControlsEx(&controls);
    ole_.emplace();

    if (t_ddeUsers == 0) {
        DWORD instance = 0;
        if (DdeInitializeA(&instance, IgnoreDdeTransactions, kDdeClientOnly, 0) != DMLERR_NO_ERROR) {
            ole_.reset();
            ui::ShowMessage(nullptr, "DDEの初期化に失敗しました。", "", MB_ICONWARNING);
            return false;
        }
        fav::SetDdeInstance(instance);
    }
    ++t_ddeUsers;
    usesDde_ = true;
    fav::RegisterTreeFormats();
    return true;
}

UiSession::~UiSession() {
    if (usesDde_ && --t_ddeUsers == 0) {
        DdeUninitialize(fav::DdeInstance());
        fav::SetDdeInstance(0);
    }
}

}  // namespace treehost
