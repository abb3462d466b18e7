// What the search dialogs (118 in both forms, 119) share: "検索！" (IDOK) searches, "キャンセル"
// and Escape end the dialog with 2, the close box with 0.
#pragma once

#include <base/Dialog.h>

#include <string>

namespace search {

class SearchDialog : public ui::Dialog {
protected:
    virtual void OnInit() = 0;
    virtual void OnSearch() = 0;
    // Any other message; FALSE when it is not handled.
    virtual INT_PTR OnOtherMessage(UINT, WPARAM, LPARAM) { return FALSE; }

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
};

// Reads the text of a dialog's combo box (at most `capacity` - 1 bytes).
std::string ComboText(HWND dialog, int id, size_t capacity);

}  // namespace search
