// Dialog 118 in its large form: the search over several tabs, with the tab list, the result list
// and the rows' pop-up menu.
#pragma once

#include "AllTabsSearch.h"
#include "SearchDialog.h"
#include "SearchHistory.h"


#include <string>
#include <vector>

namespace search {

struct SearchTab {
    CFavTreeView* tree;
    std::string name;
};

// The main window's tabs as the dialog sees them: trees in tab order, and where the tab
// selection lives.
struct TabSet {
    HWND mainWindow = nullptr;
    HWND tabBar = nullptr;  // control 101; null when the window shows one tree only
    std::vector<SearchTab> tabs;
};

class AllTabsDialog : public SearchDialog {
public:
    // The rows' pop-up commands.
    enum : UINT { kOpen = 1001, kOpenInNewWindow = 1002, kBackToTree = 1003, kProperties = 1004 };
    // What Run returns after "ツリーに戻る(&B)".
    static constexpr INT_PTR kBackedToTree = 1;

    AllTabsDialog(const settings::IniFile& ini, TabSet tabs);
    INT_PTR Run(HINSTANCE module, HWND owner);

    // Runs a pop-up command (or the double click, as kOpen) for the list item `item`.
    void RunRowCommand(UINT id, int item);
    const std::vector<FindResult>& rows() const { return results_.rows(); }

private:
    void OnInit() override;
    void OnSearch() override;
    INT_PTR OnOtherMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PlaceList(int width, int height);
    LRESULT OnListNotify(NMHDR& header);
    void SortBy(int column);
    static int CALLBACK CompareRows(LPARAM left, LPARAM right, LPARAM self);
    void ShowRowMenu(int item);
    // The row's entry in its tree now, or null after telling the user it is gone.
    HTREEITEM FindAgain(const FindResult& row);
    void ReturnToTree(const FindResult& row, HTREEITEM node);
    void NotifyTabChange();
    HWND List() const;

    TabSet tabs_;
    SearchHistory history_;
    ResultCollector results_;
    CFavTreeView* current_ = nullptr;
    int sortColumn_ = -1;
    bool ascending_ = true;
};

}  // namespace search
