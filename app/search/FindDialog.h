// Dialog 118 in its small form: asks for the text to find in the active tab, with the search
// history as the combo box's list.
#pragma once

#include "SearchDialog.h"
#include "SearchHistory.h"

#include <string>

namespace search {

class FindTextDialog : public SearchDialog {
public:
    // What Run returns after "検索！".
    static constexpr INT_PTR kSearch = 1000;

    explicit FindTextDialog(const settings::IniFile& ini);
    INT_PTR Run(HINSTANCE module, HWND owner);
    const std::string& text() const { return text_; }

private:
    void OnInit() override;
    void OnSearch() override;

    SearchHistory history_;
    std::string text_;
};

}  // namespace search
