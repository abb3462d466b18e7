// "直接編集": the shortcut file's bytes in an editor. The file is read and written whole; a write
// goes to a temporary file first, so a failure leaves the file as it was.
#include "PropertiesPages.h"

#include <base/ControlText.h>
#include <base/FileSystem.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>
#include <resources/TreeIds.h>

namespace props {

namespace {

constexpr char kWriteFailed[] = "ファイルに書き込めませんでした。";
constexpr char kReadFailed[] = "ファイルを読み込めませんでした。直接編集はできません。";
constexpr char kNotShownFaithfully[] = "このファイルには表示できない文字が含まれているため、直接編集はできません。";
// Posted while the sheet opens: the refusal is told once the sheet shows.
constexpr UINT kTellRefusal = WM_APP + 1;

// The editor holds text of the code page: a NUL byte would end it there, and bytes that are no
// character of the code page would come back as other bytes.
bool ShowsFaithfully(const std::string& bytes) {
    return bytes.find('\0') == std::string::npos && text::WideToAnsi(text::AnsiToWide(bytes)) == bytes;
}

}  // namespace

INT_PTR DirectEditPage::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Load();
        return TRUE;
    case kTellRefusal:
        ui::ShowMessage(GetParent(hwnd()), refusal_, "", MB_ICONWARNING);
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
    const std::optional<std::string> bytes = fsys::ReadAll(file_);
    if (bytes) SetWindowTextA(edit, bytes->c_str());
    SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
    refusal_ = !bytes ? kReadFailed : !ShowsFaithfully(*bytes) ? kNotShownFaithfully : nullptr;
    if (!refusal_) return;
    SendMessageA(edit, EM_SETREADONLY, TRUE, 0);
    PostMessageA(hwnd(), kTellRefusal, 0, 0);
}

bool DirectEditPage::Save() {
    HWND edit = GetDlgItem(hwnd(), IDC_PROP_TEXT);
    // Untouched text is not written back, nor the text of a file the editor cannot hold.
    if (refusal_ || !SendMessageA(edit, EM_GETMODIFY, 0, 0)) return true;
    if (fsys::ReplaceContent(file_, ui::WindowText(edit))) {
        SendMessageA(edit, EM_SETMODIFY, FALSE, 0);
        return true;
    }
    ui::ShowMessage(GetParent(hwnd()), kWriteFailed, "", MB_ICONWARNING);
    return false;
}

}  // namespace props
