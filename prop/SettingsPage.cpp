#include "SettingsPage.h"

#include "Controls.h"

#include <settings/WriteFailure.h>

#include <commctrl.h>

namespace prop {
namespace {

bool IsSwitch(HWND control) {
    switch (GetWindowLongPtrA(control, GWL_STYLE) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return true;
    default:
        return false;
    }
}

}  // namespace

PROPSHEETPAGEA SettingsPage::Describe(HINSTANCE module, int templateId) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.hInstance = module;
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = ui::Dialog::PageProcedure;
    page.lParam = reinterpret_cast<LPARAM>(static_cast<ui::Dialog*>(this));
    return page;
}

void SettingsPage::Changed() {
    if (!loading_ && hwnd()) PropSheet_Changed(GetParent(hwnd()), hwnd());
}

bool SettingsPage::Refuse(int id) { return RefuseControl(hwnd(), id); }

std::string SettingsPage::Text(int id) const { return ControlText(hwnd(), id); }

bool SettingsPage::TakeText(int id, size_t limit, std::string* text) { return TakeField(hwnd(), id, limit, text); }

void SettingsPage::SetText(int id, const std::string& text) const { SetDlgItemTextA(hwnd(), id, text.c_str()); }

bool SettingsPage::Checked(int id) const { return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED; }

void SettingsPage::Check(int id, bool on) const { CheckDlgButton(hwnd(), id, on ? BST_CHECKED : BST_UNCHECKED); }

bool SettingsPage::Store(const char* section, const char* key, const char* value) const {
    const settings::WriteResult written = ini_.Write(section, key, value);
    return written || Unsaved(ini_.path(), written.error);
}

bool SettingsPage::Unsaved(const std::string& where, DWORD error) const {
    settings::ReportWriteFailure(GetParent(hwnd()), where, error);
    return false;
}

INT_PTR SettingsPage::OnNotify(const NMHDR& header) {
    switch (header.code) {
    case PSN_KILLACTIVE:
        return Answer(TakeBack() ? FALSE : TRUE);
    case PSN_APPLY:
        return Answer(TakeBack() && Save() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
    default:
        return FALSE;
    }
}

INT_PTR SettingsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        loading_ = true;
        Load();
        loading_ = false;
        return TRUE;
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
        if (header.hwndFrom == GetParent(hwnd())) return OnNotify(header);
        return OnMessage(message, wParam, lParam);
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        const auto control = reinterpret_cast<HWND>(lParam);
        if (HoldsSettings() && control &&
            (code == EN_CHANGE || (code == BN_CLICKED && IsSwitch(control))))
            Changed();
        return OnCommand(id, code);
    }
    default:
        return OnMessage(message, wParam, lParam);
    }
}

}  // namespace prop
