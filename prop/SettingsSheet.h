// The settings tool's property sheet over tolvak.ini, and its single-instance rule.
#pragma once

#include <settings/Settings.h>

#include <windows.h>

namespace prop {

inline constexpr char kSheetCaption[] = "Tolvak.ini setting tool";

// Shows the sheet modally with its five pages, starting on "General"; dialogs come from `module`.
void RunSettingsSheet(HINSTANCE module, HWND owner, const settings::IniFile& ini);

// The tool's start-up: the single-instance mutex, COM, the common controls and the sheet. A second
// start brings the running sheet to the front and returns at once.
int RunSettingsTool(HINSTANCE module);

}  // namespace prop
