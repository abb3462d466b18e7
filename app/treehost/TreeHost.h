// The half of the "Tolvak_Wnd" window that the program's main window and the browser bar's band
// window share: the first tree (section "Tolvak#1") with the settings and font it is shown with,
// the status bar it reports to, layout, focus, notification routing and the tree commands.
// What only the program has (tabs, menus, accelerators) is MainWindow's; what only the bar has
// (its COM site) is the band's.
#pragma once

#include <base/Handles.h>
#include <base/Window.h>
#include <settings/Settings.h>
#include <settings/TreeSettings.h>
#include <tree/CFavTreeView.h>

#include <string>
#include <vector>

namespace treehost {

inline constexpr char kWindowClass[] = "Tolvak_Wnd";
inline constexpr char kFirstSection[] = "Tolvak#1";

class TreeHost : public ui::Window {
public:
    explicit TreeHost(std::string settingsPath);
    ~TreeHost() override;

    // Registers "Tolvak_Wnd" for `instance` (icon 1, arrow cursor, menu-coloured background);
    // a class that is already registered is kept.
    static void RegisterWindowClass(HINSTANCE instance);

    // The tree the user works with; the first tree unless a host shows others.
    virtual CFavTreeView* CurrentTree();
    CFavTreeView* FirstTree() const { return trees_.empty() ? nullptr : trees_.front().get(); }
    HWND StatusBar() const { return status_; }
    const settings::IniFile& ini() const { return ini_; }
    HFONT treeFont() const { return treeFont_.get(); }

protected:
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // Shared handling; everything else goes to DefWindowProcA.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // WM_CREATE: the status bar, the tree settings and font read afresh, the first tree created
    // and loaded. Hosts extend it.
    virtual bool OnCreate();
    // Configures a tree before its window exists (the bar switches link checks off).
    virtual void PrepareTree(CFavTreeView&) {}
    // Places what sits above the trees and returns its height (nothing here).
    virtual int LayOutTop(int /*width*/) { return 0; }
    void LayOut();
    void LayOut(int width, int height);
    // The tree commands both hosts offer (expand and collapse all, reload, delete); false for
    // any other command.
    bool RunTreeCommand(UINT id);
    // Releases the trees and the font (a host whose window goes before the object does).
    void ReleaseTrees();

    settings::IniFile ini_;
    settings::TreeSettings treeSettings_;
    HWND status_ = nullptr;
    win::UniqueFont treeFont_;
    std::vector<win::ComPtr<CFavTreeView>> trees_;  // entry 0 is the first tree

private:
    void ReloadCurrentTree();
    void ExpandAll();
    void CollapseAll();
    void DeleteCurrentNode();
};

}  // namespace treehost
