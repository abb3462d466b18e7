// Dialog 118 in its small form: asks for the text to find in the active tab, with the search
// history as the combo box's list.
#pragma once

#include "SearchHistory.h"

#include <base/Dialog.h>

#include <string>

namespace search {

class FindTextDialog : public ui::Dialog {
public:
    // What Run returns after "検索！"; "キャンセル" and Escape give 2, the close box 0.
    static constexpr INT_PTR kSearch = 1000;

    explicit FindTextDialog(const settings::IniFile& ini);
    INT_PTR Run(HINSTANCE module, HWND owner);
    const std::string& text() const { return text_; }

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    SearchHistory history_;
    std::string text_;
};

// Reads the text of a dialog's combo box (at most `capacity` - 1 bytes).
std::string ComboText(HWND dialog, int id, size_t capacity);

}  // namespace search
