#include "FindDialog.h"

#include <resources/SearchIds.h>


#include <vector>

namespace search {
namespace {

constexpr size_t kTextCapacity = 199;

}  // namespace

std::string ComboText(HWND dialog, int id, size_t capacity) {
    std::vector<char> buffer(capacity, '\0');
    GetDlgItemTextA(dialog, id, buffer.data(), static_cast<int>(capacity));
    return buffer.data();
}

FindTextDialog::FindTextDialog(const settings::IniFile& ini) : history_(ini) { history_.Load(); }

INT_PTR FindTextDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_FIND, owner); }

INT_PTR FindTextDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        history_.FillCombo(GetDlgItem(hwnd(), IDC_FIND_TEXT));
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            text_ = ComboText(hwnd(), IDC_FIND_TEXT, kTextCapacity);
            // An empty text is not history; the search itself reports it.
            if (!text_.empty()) {
                history_.Add(text_);
                history_.Save();
            }
            EndDialog(hwnd(), kSearch);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd(), IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        EndDialog(hwnd(), 0);
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace search
