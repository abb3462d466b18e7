#include "SearchDialog.h"

#include <vector>

namespace search {

std::string ComboText(HWND dialog, int id, size_t capacity) {
    std::vector<char> buffer(capacity, '\0');
    GetDlgItemTextA(dialog, id, buffer.data(), static_cast<int>(capacity));
    return buffer.data();
}

INT_PTR SearchDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            OnSearch();
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
        return OnOtherMessage(message, wParam, lParam);
    }
}

}  // namespace search
