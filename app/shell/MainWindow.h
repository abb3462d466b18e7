// The main window ("Tolvak_Wnd"): the tab bar, one favorites tree per tab (only the selected one
// visible) and the status bar. Commands are in MainCommands.cpp, menu decoration in
// MenuDecoration.cpp.
#pragma once

#include <base/DragDrop.h>
#include <base/Handles.h>
#include <base/Window.h>
#include <tree/CFavTreeView.h>
#include <settings/Settings.h>
#include <settings/TreeSettings.h>

#include <string>
#include <vector>

namespace app {

class MainWindow : public ui::Window {
public:
    static constexpr char kTitle[] = "Tolvak - Build 072 \"release\"";
    static constexpr int kTabBarId = 101;
    static constexpr int kTabBarHeight = 22;
    static constexpr int kLastTabSection = 13;
    static constexpr UINT kTabBarDropEvent = 0x806F;
    static constexpr char kHomePageUrl[] = "https://tolvak.example.com/";
    static constexpr char kHomePageTitle[] = "Tolvakのホームページ";

    explicit MainWindow(std::string settingsPath);
    ~MainWindow() override;

    // Registers the window class and creates the window, which places and shows itself.
    bool Create(HINSTANCE instance);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The tree of the selected tab (the first tree without a tab bar or selection).
    virtual CFavTreeView* CurrentTree();

    size_t TabCount() const { return tabs_.size(); }
    CFavTreeView* Tab(size_t index) const { return index < tabs_.size() ? tabs_[index].get() : nullptr; }
    HWND TabBar() const { return tabBar_; }
    HWND StatusBar() const { return status_; }
    // Shows tab `index`, loading its tree the first time.
    void SelectTab(size_t index);
    // Drag events on the tab bar (TabBarDrop.cpp).
    LRESULT OnTabBarDrop(WPARAM event, dnd::DropNotify& notify);
    // A tab, not saved, that shows `folder`.
    void OpenTemporaryTab(const std::wstring& folder);

private:
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    bool CreateFirstTree();
    void PlaceWindow();
    void CreateTabs();
    CFavTreeView* AddTabTree(fav::TabConfig config);
    void MakeTabBarDropTarget();
    void LayOut();
    void LayOut(int width, int height);
    void SaveWindowRect() const;
    void ShowMenuHelp(UINT id, UINT flags, HMENU menu);
    void EndMenuHelp();

    // Commands (MainCommands.cpp).
    void OnCommand(UINT id);
    void ReloadCurrentTree();
    void ExpandAll();
    void CollapseAll();
    void DeleteCurrentNode();
    void RenameCurrentNode();
    void ToggleStatusBar();
    void ToggleTabBar();
    void ToggleTopMost();
    void HideMenuBar();
    void ExportXml();
    void ExportWwwc();
    void ExportHtml();
    void OpenClipboardUrl();
    void ConvertClipboardHtml();
    void ShowHelp();
    void StartSettingsTool();
    void EditSettingsFile();
    void ShowInternetOptions();
    void OpenHomePage();
    void AddHomePage();
    void RunUserTool(UINT id);
    // Searching and the cache cleaner (SearchCommands.cpp).
    void FindInTab();
    void FindNextInTab();
    void FindInAllTabs();
    void SearchWeb();
    void DeleteBannerCache();
    void DeleteCgiCache();
    void EditBannerPatterns();
    std::string ProgramDirectory() const;
    void SetMenuCheck(UINT id, bool checked);
    void ToggleBar(HWND bar, const char* key, UINT id);

    settings::IniFile ini_;
    settings::TreeSettings treeSettings_;
    HWND status_ = nullptr;
    HWND tabBar_ = nullptr;
    win::UniqueFont treeFont_;
    win::UniqueMenu detachedMenu_;  // the menu bar after the user hid it
    std::vector<win::ComPtr<CFavTreeView>> tabs_;  // entry 0 is the first tree
};

}  // namespace app
