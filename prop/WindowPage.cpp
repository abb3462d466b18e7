#include "WindowPage.h"

#include <base/Path.h>
#include <resources/PropIds.h>

#include <shellapi.h>

namespace prop {
namespace {

constexpr char kSection[] = "Wnd";

}  // namespace

void WindowPage::Load() {
    noDual_ = ini_.ReadInt(kSection, "NoDual", 0) != 0;
    topMost_ = ini_.ReadInt(kSection, "TopMost", 0) != 0;
    defaultSize_ = ini_.ReadInt(kSection, "DontReadPos", 0) != 0;
    statusBar_ = ini_.ReadInt(kSection, "ShowStatusBar", 1) != 0;
    Check(IDC_WND_NO_DUAL, noDual_);
    Check(IDC_WND_TOP_MOST, topMost_);
    Check(IDC_WND_DEFAULT_SIZE, defaultSize_);
    Check(IDC_WND_STATUS_BAR, statusBar_);
}

bool WindowPage::TakeBack() {
    noDual_ = Checked(IDC_WND_NO_DUAL);
    topMost_ = Checked(IDC_WND_TOP_MOST);
    defaultSize_ = Checked(IDC_WND_DEFAULT_SIZE);
    statusBar_ = Checked(IDC_WND_STATUS_BAR);
    return true;
}

bool WindowPage::Save() {
    // Switches that are off by default are written only when on; the status bar, on by default,
    // only when off.
    return Store(kSection, "TopMost", topMost_ ? "1" : nullptr) &&
           Store(kSection, "DontReadPos", defaultSize_ ? "1" : nullptr) &&
           Store(kSection, "NoDual", noDual_ ? "1" : nullptr) &&
           Store(kSection, "ShowStatusBar", statusBar_ ? nullptr : "0");
}

INT_PTR WindowPage::OnCommand(int id, int code) {
    if (id != IDC_WND_INTERNET_OPTIONS || code != BN_CLICKED) return FALSE;
    ShellExecuteA(hwnd(), "open", path::SystemFile("control.exe").c_str(), "inetcpl.cpl", ".", SW_SHOWNORMAL);
    return TRUE;
}

}  // namespace prop
