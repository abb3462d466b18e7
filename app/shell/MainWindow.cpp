#include "MainWindow.h"

#include "Startup.h"

#include <resources/TolvakIds.h>
#include <tree/TreeSettings.h>

#include <commctrl.h>

namespace app {
namespace {

constexpr DWORD kMainStyle = 0x80CF0000;  // pop-up, caption, system menu, sizing frame, min/max boxes
constexpr DWORD kStatusStyle = WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS | SBARS_SIZEGRIP | CCS_BOTTOM;
constexpr WORD kActivationHotKey = MAKEWORD('F', HOTKEYF_CONTROL | HOTKEYF_ALT);

struct CommandEntry {
    UINT id;
    void (MainWindow::*run)();
};

}  // namespace

MainWindow::MainWindow(std::string settingsPath) : ini_(std::move(settingsPath)) {}

MainWindow::~MainWindow() {
    if (HWND window = hwnd()) DestroyWindow(window);
}

LRESULT CALLBACK MainWindow::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Route(window, message, wParam, lParam, DefWindowProcA);
}

bool MainWindow::Create(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClassProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kMainWindowClass, "Tolvak", kMainStyle, 0, 0, 298, 302, nullptr, nullptr, instance,
                           CreationParam()) != nullptr;
}

CFavTreeView* MainWindow::CurrentTree() { return firstTree_.get(); }

bool MainWindow::OnCreate() {
    HWND window = hwnd();
    status_ = CreateStatusWindowA(kStatusStyle, "", window, CFavTreeView::kStatusBarId);

    const settings::TreeSettings treeSettings = settings::ReadTreeSettings(ini_);
    treeFont_.reset(settings::CreateTreeFont(treeSettings));

    fav::TabConfig first;
    first.section = "Tolvak#1";
    first.ini = ini_;
    firstTree_ = win::ComPtr<CFavTreeView>::Adopt(new CFavTreeView(std::move(first)));
    if (!firstTree_->Create(window)) return false;
    firstTree_->ApplySettings(treeSettings, treeFont_.get());
    firstTree_->LoadRoot();

    settings::WindowRect rect;
    if (ini_.ReadInt("Wnd", "DontReadPos", 0) == 0) rect = settings::ReadWindowRect(ini_);
    SetWindowPos(window, nullptr, rect.left, rect.top, rect.width, rect.height, SWP_NOZORDER);
    SetWindowTextA(window, kTitle);
    SendMessageA(window, WM_SETHOTKEY, kActivationHotKey, 0);
    ShowWindow(window, SW_SHOW);
    return true;
}

void MainWindow::Layout(int width, int height) {
    int statusHeight = 0;
    if (status_ && IsWindowVisible(status_)) {
        SendMessageA(status_, WM_SIZE, 0, 0);
        RECT rect{};
        GetClientRect(status_, &rect);
        statusHeight = rect.bottom;
    }
    if (firstTree_ && firstTree_->hwnd())
        MoveWindow(firstTree_->hwnd(), 0, 0, width, height - statusHeight, TRUE);
}

void MainWindow::SaveWindowRect() {
    RECT rect{};
    if (!GetWindowRect(hwnd(), &rect)) return;
    ini_.WriteInt("Wnd", "iLeft", rect.left);
    ini_.WriteInt("Wnd", "iTop", rect.top);
    ini_.WriteInt("Wnd", "iWidth", rect.right - rect.left);
    ini_.WriteInt("Wnd", "iHeight", rect.bottom - rect.top);
}

void MainWindow::ReloadCurrentTree() {
    if (CFavTreeView* tree = CurrentTree()) tree->LoadRoot();
}

void MainWindow::OnCommand(UINT id) {
    static constexpr CommandEntry kCommands[] = {
        {ID_TREE_RELOAD, &MainWindow::ReloadCurrentTree},
    };
    for (const CommandEntry& command : kCommands) {
        if (command.id == id) {
            (this->*command.run)();
            return;
        }
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS:
        if (CFavTreeView* tree = CurrentTree()) SetFocus(tree->hwnd());
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (CFavTreeView::RouteNotify(reinterpret_cast<const NMHDR*>(lParam), &result)) return result;
        break;
    }
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE:
        SaveWindowRect();
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd(), message, wParam, lParam);
}

}  // namespace app
