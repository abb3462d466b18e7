// The main window's menus as start-up leaves them: owner-drawn plain and titled separators in the
// menu bar's popups and the system menu, and the user's tools at the end of the tools popup.
#pragma once

#include <settings/Settings.h>

#include <windows.h>

namespace app {

// Position of the popups in menu 108 after start-up has removed the proxy popup.
inline constexpr int kTreePopup = 0;
inline constexpr int kViewPopup = 1;
inline constexpr int kItemPopup = 2;
inline constexpr int kToolsPopup = 3;
inline constexpr int kProxyPopup = 4;  // in the resource only
inline constexpr int kHelpPopup = 4;

void DecorateMenus(HWND window, const settings::IniFile& ini);

}  // namespace app
