// "直接編集": the shortcut file's bytes in an editor. The file is read and written whole; a write
// goes to a temporary file first, so a failure leaves the file as it was.
#include "PropertiesPages.h"

#include <base/ControlText.h>
#include <base/FileSystem.h>
#include <base/MessageBox.h>
#include <resources/TreeIds.h>

namespace props {

namespace {

constexpr char kWriteFailed[] = "ファイルに書き込めませんでした。";

}  // namespace

INT_PTR DirectEditPage::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Load();
        return TRUE;
    case WM_NOTIFY:
        switch (reinterpret_cast<const NMHDR*>(lParam)->code) {
        case PSN_APPLY:
            // A failed write keeps the sheet open with the text, so nothing typed is lost.
            return Answer(Save() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE);
        case PSN_QUERYCANCEL:
            return Answer(FALSE);  // cancel is never refused
        default:
            return FALSE;
        }
    default:
        return FALSE;
    }
}

void DirectEditPage::Load() {
    HWND edit = GetDlgItem(hwnd(), IDC_PROP_TEXT);
    SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);  // no limit: the file is shown whole
    if (const std::optional<std::string> text = fsys::ReadAll(file_)) SetWindowTextA(edit, text->c_str());
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
}

bool DirectEditPage::Save() {
    HWND edit = GetDlgItem(hwnd(), IDC_PROP_TEXT);
    // Untouched text is not written back: the file keeps bytes the editor cannot show.
    if (!SendMessageA(edit, EM_GETMODIFY, 0, 0)) return true;
    if (fsys::ReplaceContent(file_, ui::WindowText(edit))) {
        SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
        return true;
    }
    ui::ShowMessage(GetParent(hwnd()), kWriteFailed, "", MB_ICONWARNING);
    return false;
}

}  // namespace props
