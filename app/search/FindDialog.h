// Dialog 118 in its small form: asks for the text to find in the active tab, with the search
// history as the combo box's list. "検索！" reads the addresses the tree lacks before the dialog
// ends, with progress and a way out, so the search that follows is immediate.
#pragma once

#include "SearchDialog.h"
#include "SearchHistory.h"

#include <string>

namespace search {

class FindTextDialog : public SearchDialog {
public:
    // What Run returns after "検索！".
    static constexpr INT_PTR kSearch = 1000;

    // `tree`: the tree to be searched, whose addresses are read first (none: nothing is read).
    explicit FindTextDialog(const settings::IniFile& ini, CFavTreeView* tree = nullptr);
    INT_PTR Run(HINSTANCE module, HWND owner);
    const std::wstring& text() const { return text_; }

private:
    void OnInit() override;
    void OnSearch() override;

    SearchHistory history_;
    CFavTreeView* tree_;
    std::wstring text_;
};

}  // namespace search
