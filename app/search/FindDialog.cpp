#include "FindDialog.h"

#include <resources/SearchIds.h>

namespace search {
namespace {

constexpr size_t kTextCapacity = 199;

}  // namespace

FindTextDialog::FindTextDialog(const settings::IniFile& ini, CFavTreeView* tree) : history_(ini), tree_(tree) {
    history_.Load();
}

INT_PTR FindTextDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_FIND, owner); }

void FindTextDialog::OnInit() { history_.FillCombo(GetDlgItem(hwnd(), IDC_FIND_TEXT)); }

void FindTextDialog::OnSearch() {
    text_ = WideComboText(hwnd(), IDC_FIND_TEXT, kTextCapacity);
    // An empty text is not history; the search itself reports it.
    if (!text_.empty()) {
        history_.Add(text_);
        history_.Save();
        // Stopped: the dialog stays, for another try or "キャンセル".
        if (tree_ && !ReadAddresses({tree_})) return;
    }
    EndDialog(hwnd(), kSearch);
}

}  // namespace search
