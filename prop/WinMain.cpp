// TLProp.exe: the settings tool.
#include "SettingsSheet.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return prop::RunSettingsTool(instance); }
