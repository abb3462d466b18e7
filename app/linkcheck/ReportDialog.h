// Dialog 140, the check report of one tree: its checked shortcuts with their kept results,
// filtered and sorted, and the actions on the selected rows (LinkReport.h). It follows checks
// that run while it is open.
#pragma once

#include "LinkReport.h"
#include "RowListDialog.h"

namespace linkcheck {

class ReportDialog : public RowListDialog {
public:
    explicit ReportDialog(CFavTreeView& tree);
    // Shows the report modally; nothing when a report is open already (a check of many ending
    // while the user works in one).
    static void Show(HINSTANCE module, HWND owner, CFavTreeView& tree);

    INT_PTR Run(HINSTANCE module, HWND owner);
    const std::vector<ReportRow>& rows() const { return rows_; }
    // Writes the rows the filter shows, in the list's order, as CSV; false after saying it failed.
    bool SaveCsv(const std::wstring& path);

private:
    std::string Text(size_t row, int column) const override;
    void OnInit() override;
    void OnCommand(UINT id, UINT code) override;
    void OnTimer() override;
    // Reads the rows again, keeping the user's selection (first time: the preselected rows).
    void Refresh(bool first);
    void ShowFiltered(const std::function<bool(size_t)>& selected);
    std::vector<const ReportRow*> SelectedRows() const;
    void AskWhereToSave();

    CFavTreeView& tree_;
    std::vector<ReportRow> rows_;
    uint64_t generation_ = 0;
};

}  // namespace linkcheck
