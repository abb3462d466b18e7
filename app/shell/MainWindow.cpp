#include "MainWindow.h"

#include "AppState.h"
#include "MenuDecoration.h"
#include "Startup.h"

#include <app/linkcheck/LinkChecker.h>
#include <app/linkcheck/ReportDialog.h>
#include <base/Format.h>
#include <resources/TolvakIds.h>
#include <tree/MenuDrawing.h>

#include <commctrl.h>

namespace app {
namespace {

constexpr DWORD kMainStyle = 0x80CF0000;  // pop-up, caption, system menu, sizing frame, min/max boxes
constexpr WORD kActivationHotKey = MAKEWORD('F', HOTKEYF_CONTROL | HOTKEYF_ALT);
constexpr size_t kTabNameCapacity = 40;
constexpr int kMenuHelpCapacity = 500;
constexpr UINT kSimplePart = 255;

}  // namespace

MainWindow::MainWindow(std::string settingsPath) : TreeHost(std::move(settingsPath)) {}

MainWindow::~MainWindow() {
    if (HWND window = hwnd()) DestroyWindow(window);
}

bool MainWindow::Create(HINSTANCE instance) {
    RegisterWindowClass(instance);
    HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDM_MAIN));
    // The top-most state is also part of the creation style: not every system keeps a z-order
    // that is set while the window is still being created.
    State().topMost = ini_.ReadInt("Wnd", "TopMost", 0) != 0 ? -1 : 0;
    if (!CreateWindowExA(State().topMost ? WS_EX_TOPMOST : 0, kMainWindowClass, "Tolvak", kMainStyle, 0, 0, 298, 302, nullptr, menu, instance,
                         CreationParam())) {
        if (menu) DestroyMenu(menu);
        return false;
    }
    return true;
}

CFavTreeView* MainWindow::CurrentTree() {
    if (tabBar_) {
        const int selected = TabCtrl_GetCurSel(tabBar_);
        if (selected >= 0 && static_cast<size_t>(selected) < trees_.size()) return trees_[selected].get();
    }
    return trees_.empty() ? nullptr : trees_.front().get();
}

void MainWindow::PlaceWindow() {
    if (ini_.ReadInt("Wnd", "ShowStatusBar", 1) == 0) {
        ShowWindow(status_, SW_HIDE);
        SetMenuCheck(ID_VIEW_STATUS_BAR, false);
    }
    settings::WindowRect rect;
    if (ini_.ReadInt("Wnd", "DontReadPos", 0) == 0) rect = settings::ReadWindowRect(ini_);
    SetWindowPos(hwnd(), State().topMost ? HWND_TOPMOST : HWND_NOTOPMOST, rect.left, rect.top, rect.width,
                 rect.height, 0);
    SetMenuCheck(ID_VIEW_TOP_MOST, State().topMost != 0);
}

CFavTreeView* MainWindow::AddTabTree(fav::TabConfig config) {
    auto tree = win::ComPtr<CFavTreeView>::Adopt(new CFavTreeView(std::move(config)));
    if (!tree->Create(hwnd())) return nullptr;
    tree->ApplySettings(treeSettings_, treeFont_.get());
    ShowWindow(tree->hwnd(), SW_HIDE);
    trees_.push_back(std::move(tree));
    return trees_.back().get();
}

void MainWindow::CreateTabs() {
    const auto tabName = [&](int n) {
        return ini_.ReadString(text::Format("Tolvak#%d", n).c_str(), "tabName", "", kTabNameCapacity);
    };
    if (tabName(2).empty()) return;

    tabBar_ = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_TABSTOP, 0, 0, 600, kTabBarHeight, hwnd(),
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTabBarId)), State().instance, nullptr);
    if (!tabBar_) return;
    MakeTabBarDropTarget();
    SendMessageA(tabBar_, WM_SETFONT, reinterpret_cast<WPARAM>(treeFont_.get()), FALSE);
    ToggleTabBar();

    // The first tree gets a tab even without a name of its own, so tabs and trees stay in step.
    const auto appendTab = [&](const std::string& caption) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(caption.c_str());
        TabCtrl_InsertItem(tabBar_, TabCtrl_GetItemCount(tabBar_), &item);
    };
    appendTab(tabName(1));
    for (int n = 2; n <= kLastTabSection; ++n) {
        const std::string caption = tabName(n);
        if (caption.empty()) break;
        fav::TabConfig config;
        config.section = text::Format("Tolvak#%d", n);
        config.ini = ini_;
        if (AddTabTree(std::move(config))) appendTab(caption);
    }
    EnableMenuItem(GetMenu(hwnd()), ID_VIEW_TAB_BAR, MF_BYCOMMAND | MF_ENABLED);
}

bool MainWindow::OnCreate() {
    if (!TreeHost::OnCreate()) return false;
    PlaceWindow();
    CreateTabs();
    SetWindowTextA(hwnd(), kTitle);
    SendMessageA(hwnd(), WM_SETHOTKEY, kActivationHotKey, 0);
    DecorateMenus(hwnd(), ini_);
    LayOut();
    ShowWindow(hwnd(), SW_SHOW);
    return true;
}

int MainWindow::LayOutTop(int width) {
    if (!tabBar_ || !IsWindowVisible(tabBar_)) return 0;
    MoveWindow(tabBar_, 0, 0, width, kTabBarHeight, TRUE);
    return kTabBarHeight;
}

void MainWindow::SelectTab(size_t index) {
    if (index >= trees_.size()) return;
    if (tabBar_ && TabCtrl_GetCurSel(tabBar_) != static_cast<int>(index)) TabCtrl_SetCurSel(tabBar_, index);
    CFavTreeView& selected = *trees_[index];
    if (!selected.IsLoaded()) selected.LoadRoot();
    ShowWindow(selected.hwnd(), SW_SHOW);
    SetFocus(selected.hwnd());
    for (const auto& tree : trees_)
        if (tree.get() != &selected) ShowWindow(tree->hwnd(), SW_HIDE);
}

// Saved by itself at every close: a box about it would come where the user asked for none.
void MainWindow::SaveWindowRect() const {
    RECT rect{};
    if (!GetWindowRect(hwnd(), &rect)) return;
    ini_.WriteInt("Wnd", "iLeft", rect.left);
    ini_.WriteInt("Wnd", "iTop", rect.top);
    ini_.WriteInt("Wnd", "iWidth", rect.right - rect.left);
    ini_.WriteInt("Wnd", "iHeight", rect.bottom - rect.top);
}

void MainWindow::ShowMenuHelp(UINT id, UINT flags, HMENU menu) {
    if (flags == 0xFFFF && !menu) return;  // the menu closed; WM_EXITMENULOOP restores the status
    char help[kMenuHelpCapacity] = "";
    if (!(flags & (MF_POPUP | MF_SEPARATOR))) LoadStringA(State().instance, id, help, sizeof help);
    SendMessageA(status_, SB_SIMPLE, TRUE, 0);
    SendMessageA(status_, SB_SETTEXTA, kSimplePart | SBT_NOBORDERS, reinterpret_cast<LPARAM>(help));
}

void MainWindow::EndMenuHelp() {
    SendMessageA(status_, SB_SIMPLE, FALSE, 0);
    if (CFavTreeView* tree = CurrentTree()) tree->ShowStatusText(TreeView_GetSelection(tree->hwnd()));
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == kTabBarId && header->code == TCN_SELCHANGE) {
            const int selected = TabCtrl_GetCurSel(tabBar_);
            if (selected >= 0) SelectTab(static_cast<size_t>(selected));
            return 0;
        }
        break;
    }
    case WM_COMMAND:
        if (RunTreeCommand(LOWORD(wParam))) return 0;
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_MEASUREITEM:
        if (ownerdraw::MeasureSeparator(hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), treeFont_.get())) return TRUE;
        break;
    case WM_DRAWITEM: {
        CFavTreeView* tree = CurrentTree();
        if (ownerdraw::DrawSeparator(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), treeFont_.get(),
                          tree ? tree->menuPen() : nullptr))
            return TRUE;
        break;
    }
    case WM_MENUSELECT:
        ShowMenuHelp(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_EXITMENULOOP:
        if (!wParam) EndMenuHelp();
        return 0;
    case linkcheck::LinkChecker::kChecksEnded:
        // A check of many ended: its tree's report, unless the tree went meanwhile.
        for (const auto& tree : trees_)
            if (tree->hwnd() == reinterpret_cast<HWND>(wParam))
                linkcheck::ReportDialog::Show(State().instance, hwnd(), *tree);
        return 0;
    case WM_CLOSE:
        SaveWindowRect();
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return TreeHost::HandleMessage(message, wParam, lParam);
}

}  // namespace app
