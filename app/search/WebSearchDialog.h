// Dialog 119: a search word and a search site; the query opens in a new browser window.
#pragma once

#include "SearchDialog.h"
#include "SearchHistory.h"

class CFavTreeView;

namespace search {

class WebSearchDialog : public SearchDialog {
public:
    // `tree` opens the query (in the browser its settings name).
    WebSearchDialog(const settings::IniFile& ini, CFavTreeView& tree);
    INT_PTR Run(HINSTANCE module, HWND owner);

private:
    void OnInit() override;
    void OnSearch() override;

    settings::IniFile ini_;
    CFavTreeView& tree_;
    SearchHistory history_;
};

}  // namespace search
