#include "Startup.h"

#include "AppState.h"

#include <base/MessageBox.h>
#include <tree/ClipboardFormats.h>
#include <tree/additem/DdeClient.h>

#include <commctrl.h>
#include <ddeml.h>
#include <ole2.h>
#include <winsock.h>

#include <cstdlib>

namespace app {
namespace {

constexpr DWORD kDdeClientOnly = APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS;
constexpr DWORD kCommonControlClasses = 0x3F;  // list view, tree view, bars, tab, up-down, progress

HDDEDATA CALLBACK IgnoreDdeTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    return nullptr;
}

void ShutDownOleAndDde() {
    AppState& state = State();
    if (!state.initialised) return;
    DdeUninitialize(state.ddeInstance);
    state.ddeInstance = 0;
    OleUninitialize();
    state.initialised = false;
}

void CleanUpWinSock() { WSACleanup(); }

}  // namespace

AppState& State() {
    static AppState state;
    return state;
}

bool HandOverToRunningInstance(const settings::IniFile& ini) {
    if (ini.ReadInt("Wnd", "NoDual", 0) == 0) return false;
    HWND running = FindWindowA(kMainWindowClass, nullptr);
    if (!running) return false;
    SetForegroundWindow(running);
    SetActiveWindow(running);
    if (IsIconic(running)) ShowWindow(running, SW_RESTORE);
    return true;
}

bool InitializeCommon() {
    InitCommonControls();
    INITCOMMONCONTROLSEX controls{sizeof controls, kCommonControlClasses};
    InitCommonControlsEx(&controls);
    OleInitialize(nullptr);

    AppState& state = State();
    if (!state.ddeInstance &&
        DdeInitializeA(&state.ddeInstance, IgnoreDdeTransactions, kDdeClientOnly, 0) != DMLERR_NO_ERROR) {
        state.ddeInstance = 0;
        OleUninitialize();
        ui::ShowMessage(nullptr, "DDEの初期化に失敗しました。", "", MB_ICONWARNING);
        return false;
    }
    // The tree library's dialogs talk DDE through the program's instance.
    fav::SetDdeInstance(state.ddeInstance);
    fav::RegisterTreeFormats();
    state.initialised = true;
    std::atexit(ShutDownOleAndDde);
    return true;
}

void StartWinSock() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0 || std::atexit(CleanUpWinSock) != 0)
        ui::ShowMessage(nullptr, "WinSockの初期化に失敗しました。", "Error", MB_ICONERROR);
}

}  // namespace app
