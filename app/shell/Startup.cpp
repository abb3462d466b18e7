#include "Startup.h"

#include "AppState.h"

#include <app/treehost/UiSession.h>
#include <base/MessageBox.h>

#include <winsock.h>

#include <cstdlib>

namespace app {
namespace {

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
    // Kept until the process ends; its end uninitialises DDE and OLE.
    static treehost::UiSession session;
    return session.Start();
}

void StartWinSock() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(1, 1), &data) != 0 || std::atexit(CleanUpWinSock) != 0)
        ui::ShowMessage(nullptr, "WinSockの初期化に失敗しました。", "Error", MB_ICONERROR);
}

}  // namespace app
