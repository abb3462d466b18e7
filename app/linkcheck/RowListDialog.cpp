#include "RowListDialog.h"

#include <resources/LinkCheckIds.h>

#include <base/TextEncoding.h>

#include <algorithm>
#include <unordered_set>

namespace linkcheck {

HWND RowListDialog::List() const { return GetDlgItem(hwnd(), IDC_REPORT_LIST); }

void RowListDialog::Fill(std::vector<size_t> shown, const std::function<bool(size_t)>& selected) {
    Sort(shown);
    HWND list = List();
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    ListView_SetItemCount(list, shown.size());
    for (size_t n = 0; n < shown.size(); ++n) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
        item.iItem = static_cast<int>(n);
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.lParam = static_cast<LPARAM>(shown[n]);
        item.stateMask = LVIS_SELECTED;
        item.state = selected(shown[n]) ? LVIS_SELECTED : 0;
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
}

size_t RowListDialog::RowOf(int item) const {
    LVITEMA wanted{};
    wanted.mask = LVIF_PARAM;
    wanted.iItem = item;
    SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&wanted));
    return static_cast<size_t>(wanted.lParam);
}

std::vector<size_t> RowListDialog::Selected() const {
    std::vector<size_t> rows;
    for (int item = -1; (item = ListView_GetNextItem(List(), item, LVNI_SELECTED)) >= 0;) rows.push_back(RowOf(item));
    return rows;
}

std::vector<size_t> RowListDialog::Shown() const {
    std::vector<size_t> rows;
    const int count = ListView_GetItemCount(List());
    for (int item = 0; item < count; ++item) rows.push_back(RowOf(item));
    return rows;
}

void RowListDialog::Sort(std::vector<size_t>& rows) const {
    if (sortColumn_ < 0) return;
    std::vector<std::wstring> keys(rows.empty() ? 0 : *std::max_element(rows.begin(), rows.end()) + 1);
    for (size_t row : rows) keys[row] = text::Utf8ToWide(Text(row, sortColumn_));
    std::stable_sort(rows.begin(), rows.end(), [&](size_t left, size_t right) {
        const int order = lstrcmpiW(keys[left].c_str(), keys[right].c_str());
        return ascending_ ? order < 0 : order > 0;
    });
}

void RowListDialog::SortBy(int column) {
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    const std::vector<size_t> selected = Selected();
    const std::unordered_set<size_t> keep(selected.begin(), selected.end());
    Fill(Shown(), [&](size_t row) { return keep.count(row) > 0; });
}

INT_PTR RowListDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        HWND list = List();
        ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
        // The dialog is an ANSI window; its list asks for cell texts in UTF-16 all the same.
        ListView_SetUnicodeFormat(list, TRUE);
        for (size_t n = 0; n < columns_.size(); ++n) {
            LVCOLUMNA column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH;
            column.pszText = const_cast<char*>(columns_[n].title);
            column.cx = columns_[n].width;
            SendMessageA(list, LVM_INSERTCOLUMNA, n, reinterpret_cast<LPARAM>(&column));
        }
        OnInit();
        return TRUE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd(), IDCANCEL);
            return TRUE;
        }
        OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_TIMER:
        OnTimer();
        return TRUE;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.idFrom != IDC_REPORT_LIST) return FALSE;
        if (header.code == LVN_GETDISPINFOW) {
            LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
            if (item.mask & LVIF_TEXT) {
                shownText_ = text::Utf8ToWide(Text(static_cast<size_t>(item.lParam), item.iSubItem));
                item.pszText = shownText_.data();
            }
        } else if (header.code == LVN_COLUMNCLICK) {
            SortBy(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        }
        return Answer(0);
    }
    default:
        return FALSE;
    }
}

}  // namespace linkcheck
