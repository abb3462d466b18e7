// The main window ("Tolvak_Wnd"): status bar and the tab trees.
#pragma once

#include <base/Handles.h>
#include <base/Window.h>
#include <tree/CFavTreeView.h>
#include <tree/Settings.h>

#include <string>

namespace app {

class MainWindow : public ui::Window {
public:
    static constexpr char kTitle[] = "Tolvak - Build 072 \"release\"";

    explicit MainWindow(std::string settingsPath);
    ~MainWindow() override;

    // Registers the window class and creates the window (hidden until creation has placed it).
    bool Create(HINSTANCE instance);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The tree of the selected tab.
    virtual CFavTreeView* CurrentTree();

private:
    static LRESULT CALLBACK ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    bool OnCreate();
    void Layout(int width, int height);
    void SaveWindowRect();
    void OnCommand(UINT id);
    void ReloadCurrentTree();

    settings::IniFile ini_;
    HWND status_ = nullptr;
    win::UniqueFont treeFont_;
    win::ComPtr<CFavTreeView> firstTree_;
};

}  // namespace app
