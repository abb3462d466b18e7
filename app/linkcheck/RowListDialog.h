// The part the check report and the duplicates list share: a dialog around a list view of rows
// (control IDC_REPORT_LIST) with several rows selectable and sorting by a column's text. The
// derived dialog owns its rows; the list holds only their indexes. Cell texts are UTF-8 and shown
// through the list's wide notifications, so addresses outside the code page show exactly.
#pragma once

#include <base/Dialog.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

namespace linkcheck {

class RowListDialog : public ui::Dialog {
public:
    struct Column {
        const char* title;
        int width;
    };

protected:
    explicit RowListDialog(std::vector<Column> columns) : columns_(std::move(columns)) {}

    // A cell's text, UTF-8.
    virtual std::string Text(size_t row, int column) const = 0;
    virtual void OnInit() = 0;
    // A command of the dialog's own (IDCANCEL closes without asking it).
    virtual void OnCommand(UINT id, UINT code) = 0;
    virtual void OnTimer() {}

    // Shows the rows `shown` (sorted by the chosen column, if any), selecting those `selected` says.
    void Fill(std::vector<size_t> shown, const std::function<bool(size_t)>& selected);
    // The selected rows, and all rows shown, in the list's order.
    std::vector<size_t> Selected() const;
    std::vector<size_t> Shown() const;
    HWND List() const;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    size_t RowOf(int item) const;
    void SortBy(int column);
    void Sort(std::vector<size_t>& rows) const;

    std::vector<Column> columns_;
    std::wstring shownText_;  // the text a display request was last given
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace linkcheck
