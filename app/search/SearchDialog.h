// What the search dialogs (118 in both forms, 119) share: "検索！" (IDOK) searches, "キャンセル"
// and Escape end the dialog with 2, the close box with 0. While the find dialogs read addresses,
// "キャンセル", Escape and the close box stop the reading instead, and "検索！" waits.
#pragma once

#include <base/Dialog.h>
#include <tree/CFavTreeView.h>

#include <string>
#include <vector>

namespace search {

class SearchDialog : public ui::Dialog {
protected:
    virtual void OnInit() = 0;
    virtual void OnSearch() = 0;
    // Any other message; FALSE when it is not handled.
    virtual INT_PTR OnOtherMessage(UINT, WPARAM, LPARAM) { return FALSE; }

    // Reads the addresses the trees lack (AddressReading.h), telling the progress in the caption
    // and letting the dialog's messages through. False when the user stopped it; the dialog
    // stays as it was then (the close box also ends it afterwards).
    bool ReadAddresses(const std::vector<CFavTreeView*>& trees);

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    bool ShowProgress(size_t done, size_t total);

    bool reading_ = false;
    bool stopped_ = false;
    INT_PTR endAfterReading_ = -1;
    ULONGLONG lastShown_ = 0;
};

// Reads the text of a dialog's combo box (at most `capacity` - 1 bytes).
std::string ComboText(HWND dialog, int id, size_t capacity);
// The same exactly, in UTF-16 (at most `capacity` - 1 units).
std::wstring WideComboText(HWND dialog, int id, size_t capacity);

}  // namespace search
