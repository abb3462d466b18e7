// A favorites tree in a host window of its own, set up as the program's main window sets up its
// tabs, for the benchmarks.
#pragma once

#include <base/Handles.h>
#include <tree/CFavTreeView.h>
#include <settings/Settings.h>

#include <string>

#include <commctrl.h>

namespace bench {

// A private folder under %TEMP% for the settings file; removed with it at the end.
class SettingsFolder {
public:
    SettingsFolder();
    ~SettingsFolder();
    SettingsFolder(const SettingsFolder&) = delete;
    SettingsFolder& operator=(const SettingsFolder&) = delete;

    const settings::IniFile& ini() const { return ini_; }

private:
    std::string folder_;
    settings::IniFile ini_;
};

// A visible top-level window with a status bar that routes the trees' notifications.
win::UniqueWindow CreateHostWindow(const char* title);

// A tree for `section` of `ini` in `host`; null when it cannot be created.
win::ComPtr<CFavTreeView> CreateTree(HWND host, const settings::IniFile& ini, const char* section);

// A plain tree control on the trees' place in `host`, hidden until shown: what the control itself
// costs for the same items, the floor of what the program's tree does with them.
class BareTreeView {
public:
    explicit BareTreeView(HWND host);
    HWND window() const { return window_.get(); }
    // An item with `text` after the last child of `parent` (TVI_ROOT at the top); `children` gives
    // it an expand button before it has any.
    HTREEITEM Insert(HTREEITEM parent, const std::wstring& text, bool children = false);
    // Hidden and empty again.
    void Clear();

private:
    win::UniqueWindow window_;
};

}  // namespace bench
