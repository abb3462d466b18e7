#include "FindDialog.h"

#include <resources/SearchIds.h>

namespace search {
namespace {

constexpr size_t kTextCapacity = 199;

}  // namespace

FindTextDialog::FindTextDialog(const settings::IniFile& ini) : history_(ini) { history_.Load(); }

INT_PTR FindTextDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_FIND, owner); }

void FindTextDialog::OnInit() { history_.FillCombo(GetDlgItem(hwnd(), IDC_FIND_TEXT)); }

void FindTextDialog::OnSearch() {
    text_ = ComboText(hwnd(), IDC_FIND_TEXT, kTextCapacity);
    // An empty text is not history; the search itself reports it.
    if (!text_.empty()) {
        history_.Add(text_);
        history_.Save();
    }
    EndDialog(hwnd(), kSearch);
}

}  // namespace search
