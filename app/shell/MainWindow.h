// The main window ("Tolvak_Wnd"): the tab bar, one favorites tree per tab (only the selected one
// visible) and the status bar. The first tree, layout, focus, notifications and tree commands
// are the shared TreeHost's; commands are in MainCommands.cpp, menu decoration in
// MenuDecoration.cpp.
#pragma once

#include <app/treehost/TreeHost.h>
#include <base/DragDrop.h>
#include <base/Handles.h>
#include <tree/CFavTreeView.h>

#include <string>
#include <vector>

namespace app {

// A tab's name in lists over the tabs: its "tabName", or for a tab without one (a temporary tab)
// the name of its root folder.
std::string SearchTabName(const CFavTreeView& tree);

class MainWindow : public treehost::TreeHost {
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
    CFavTreeView* CurrentTree() override;

    size_t TabCount() const { return trees_.size(); }
    CFavTreeView* Tab(size_t index) const { return index < trees_.size() ? trees_[index].get() : nullptr; }
    HWND TabBar() const { return tabBar_; }
    // Shows tab `index`, loading its tree the first time.
    void SelectTab(size_t index);
    // Drag events on the tab bar (TabBarDrop.cpp).
    LRESULT OnTabBarDrop(WPARAM event, dnd::DropNotify& notify);
    // A tab, not saved, that shows `folder`.
    void OpenTemporaryTab(const std::wstring& folder);

private:
    bool OnCreate() override;
    int LayOutTop(int width) override;
    void PlaceWindow();
    void CreateTabs();
    CFavTreeView* AddTabTree(fav::TabConfig config);
    void MakeTabBarDropTarget();
    void SaveWindowRect() const;
    void ShowMenuHelp(UINT id, UINT flags, HMENU menu);
    void EndMenuHelp();

    // Commands (MainCommands.cpp).
    void OnCommand(UINT id);
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
    void ShowLinkReport();
    void ShowDuplicates();
    void DeleteBannerCache();
    void DeleteCgiCache();
    void EditBannerPatterns();
    std::string SettingsDirectory() const;  // the folder of tolvak.ini, which also holds data\\banner.ini
    void SetMenuCheck(UINT id, bool checked);
    void ToggleBar(HWND bar, const char* key, UINT id);
    // Saves a view switch in section "Wnd"; reports a failed write.
    void StoreViewSwitch(const char* key, bool on) const;

    HWND tabBar_ = nullptr;
    win::UniqueMenu detachedMenu_;  // the menu bar after the user hid it
};

}  // namespace app
