// Dialog 141: every address bookmarked more than once across the tabs, a group per address
// (numbered, rows of a group together), with delete and show-in-tree on the selected rows.
#pragma once

#include "Duplicates.h"
#include "RowListDialog.h"

namespace linkcheck {

class DuplicatesDialog : public RowListDialog {
public:
    // `showTab` brings the tab of a tree to the front (show in tree).
    DuplicatesDialog(std::vector<DuplicateTab> tabs, std::function<void(CFavTreeView&)> showTab);
    INT_PTR Run(HINSTANCE module, HWND owner);

    struct Row {
        size_t group;
        Duplicate entry;
    };
    const std::vector<Row>& rows() const { return rows_; }

private:
    std::string Text(size_t row, int column) const override;
    void OnInit() override;
    void OnCommand(UINT id, UINT code) override;
    void Collect();

    std::vector<DuplicateTab> tabs_;
    std::function<void(CFavTreeView&)> showTab_;
    std::vector<DuplicateGroup> groups_;
    std::vector<Row> rows_;
};

}  // namespace linkcheck
