// Entry point of Tolvak.exe: start-up, the message loop and the teardown.
#include "AppState.h"
#include "MainWindow.h"
#include "Startup.h"

#include <app/linkcheck/LinkChecker.h>

#include <base/MessageBox.h>
#include <resources/TolvakIds.h>
#include <tree/CFavTreeView.h>

#include <memory>

namespace {

int RunMessageLoop(HACCEL accelerators) {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // While a label is edited, Del, F5 and the rest are keys for the edit box.
        if (!CFavTreeView::IsLabelEditing() &&
            TranslateAcceleratorA(GetForegroundWindow(), accelerators, &message) == 1)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    app::AppState& state = app::State();
    state.instance = instance;
    state.settingsPath = settings::LocateFor(nullptr);
    const settings::IniFile ini(state.settingsPath);

    if (app::HandOverToRunningInstance(ini)) return 0;
    if (!app::InitializeCommon()) return 0;
    app::StartWinSock();
    linkcheck::Install();

    auto mainWindow = std::make_unique<app::MainWindow>(state.settingsPath);
    if (!mainWindow->Create(instance)) {
        ui::ShowMessage(nullptr, "アプリケーションの初期化に失敗しました", "", MB_OK);
        return 0;
    }
    const int code = RunMessageLoop(LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN)));
    mainWindow.reset();
    return code;
}
