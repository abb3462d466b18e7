// The main window's commands: a table from command id to handler.
#include "AppState.h"
#include "ExportCommand.h"
#include "MainWindow.h"

#include <app/browsersetup/BrowserSetup.h>
#include <base/MessageBox.h>
#include <resources/TolvakIds.h>
#include <settings/WriteFailure.h>

namespace app {
namespace {

struct CommandEntry {
    UINT id;
    void (MainWindow::*run)();
};

// Commands that need nothing of the window.
struct ProgramCommand {
    UINT id;
    void (*run)();
};

constexpr ProgramCommand kProgramCommands[] = {
    {ID_IE_IMPORT, &browsersetup::ImportFavorites},
    {ID_IE_EXPORT, &browsersetup::ExportFavorites},
    {ID_TOOLBAR_ADD, &browsersetup::AddToolbarButton},
    {ID_TOOLBAR_REMOVE, &browsersetup::RemoveToolbarButton},
    {ID_BAR_INSTALL, &browsersetup::InstallBar},
    {ID_BAR_UNINSTALL, &browsersetup::UninstallBar},
};

constexpr char kMenuBarHidden[] = "メニューバーを消しました。\n再び表示するにはTolvakを再起動してください";

}  // namespace

void MainWindow::OnCommand(UINT id) {
    // Commands of features that are not part of the program yet have no entry and do nothing.
    // The tree commands that the browser bar shares are TreeHost's.
    static constexpr CommandEntry kCommands[] = {
        {ID_ITEM_RENAME, &MainWindow::RenameCurrentNode},
        {ID_VIEW_STATUS_BAR, &MainWindow::ToggleStatusBar},
        {ID_VIEW_TAB_BAR, &MainWindow::ToggleTabBar},
        {ID_VIEW_TOP_MOST, &MainWindow::ToggleTopMost},
        {ID_VIEW_MENU_BAR, &MainWindow::HideMenuBar},
        {ID_EXPORT_XML, &MainWindow::ExportXml},
        {ID_EXPORT_WWWC, &MainWindow::ExportWwwc},
        {ID_EXPORT_HTML, &MainWindow::ExportHtml},
        {ID_CLIPBOARD_URL, &MainWindow::OpenClipboardUrl},
        {ID_CLIPBOARD_HTML, &MainWindow::ConvertClipboardHtml},
        {ID_HELP_CONTENTS, &MainWindow::ShowHelp},
        {ID_SETTINGS_TOOL, &MainWindow::StartSettingsTool},
        {ID_EDIT_SETTINGS_FILE, &MainWindow::EditSettingsFile},
        {ID_INTERNET_OPTIONS, &MainWindow::ShowInternetOptions},
        {ID_HOME_PAGE, &MainWindow::OpenHomePage},
        {ID_ADD_HOME_PAGE, &MainWindow::AddHomePage},
        {ID_FIND_IN_TAB, &MainWindow::FindInTab},
        {ID_FIND_NEXT, &MainWindow::FindNextInTab},
        {ID_FIND_IN_ALL_TABS, &MainWindow::FindInAllTabs},
        {ID_WEB_SEARCH, &MainWindow::SearchWeb},
        {ID_LINK_REPORT, &MainWindow::ShowLinkReport},
        {ID_FIND_DUPLICATES, &MainWindow::ShowDuplicates},
        {ID_CACHE_BANNERS, &MainWindow::DeleteBannerCache},
        {ID_CACHE_CGI, &MainWindow::DeleteCgiCache},
        {ID_CACHE_EDIT_PATTERNS, &MainWindow::EditBannerPatterns},
    };
    for (const CommandEntry& command : kCommands) {
        if (command.id == id) {
            (this->*command.run)();
            return;
        }
    }
    for (const ProgramCommand& command : kProgramCommands) {
        if (command.id == id) {
            command.run();
            return;
        }
    }
    if (id >= ID_FIRST_USER_TOOL && id <= ID_LAST_USER_TOOL) RunUserTool(id);
}

void MainWindow::RenameCurrentNode() {
    if (CFavTreeView* tree = CurrentTree()) tree->StartRename();
}

void MainWindow::ExportXml() {
    if (CFavTreeView* tree = CurrentTree()) ExportTree(*tree, hwnd(), "XML");
}

void MainWindow::ExportWwwc() {
    if (CFavTreeView* tree = CurrentTree()) ExportTree(*tree, hwnd(), "WWWC");
}

void MainWindow::ExportHtml() {
    if (CFavTreeView* tree = CurrentTree()) ExportTree(*tree, hwnd(), "NSBM");
}

void MainWindow::SetMenuCheck(UINT id, bool checked) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    if (HMENU menu = GetMenu(hwnd()); menu && GetMenuItemInfoA(menu, id, FALSE, &info)) {
        info.fState = checked ? (info.fState | MFS_CHECKED) : (info.fState & ~UINT(MFS_CHECKED));
        SetMenuItemInfoA(menu, id, FALSE, &info);
    }
}

void MainWindow::ToggleBar(HWND bar, const char* key, UINT id) {
    if (!bar) return;
    const bool show = !IsWindowVisible(bar);
    ShowWindow(bar, show ? SW_SHOW : SW_HIDE);
    RECT client{};
    GetClientRect(hwnd(), &client);
    PostMessageA(hwnd(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    SetMenuCheck(id, show);
    StoreViewSwitch(key, show);
}

void MainWindow::ToggleStatusBar() { ToggleBar(status_, "ShowStatusBar", ID_VIEW_STATUS_BAR); }

void MainWindow::ToggleTabBar() { ToggleBar(tabBar_, "ShowTabBar", ID_VIEW_TAB_BAR); }

void MainWindow::ToggleTopMost() {
    LONG& topMost = State().topMost;
    topMost = topMost ? 0 : -1;
    SetWindowPos(hwnd(), topMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetMenuCheck(ID_VIEW_TOP_MOST, topMost != 0);
    StoreViewSwitch("TopMost", topMost != 0);
}

// The setting is all that outlasts a view switch, so a write that fails is said; what the
// program saves by the way (placement, search history) stays quiet.
void MainWindow::StoreViewSwitch(const char* key, bool on) const {
    if (const settings::WriteResult written = ini_.Write("Wnd", key, on ? "1" : "0"); !written)
        settings::ReportWriteFailure(hwnd(), ini_.path(), written.error);
}

void MainWindow::HideMenuBar() {
    HMENU menu = GetMenu(hwnd());
    if (!menu) return;
    SetMenu(hwnd(), nullptr);
    detachedMenu_.reset(menu);  // nothing else owns it once it is off the window
    ui::ShowMessage(hwnd(), kMenuBarHidden, "", MB_OK);
}

}  // namespace app
