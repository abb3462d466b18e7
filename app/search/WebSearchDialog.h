// Dialog 119: a search word and a search site; the query opens in a new browser window.
#pragma once

#include "SearchHistory.h"

#include <base/Dialog.h>

class CFavTreeView;

namespace search {

class WebSearchDialog : public ui::Dialog {
public:
    // `tree` opens the query (in the browser its settings name).
    WebSearchDialog(const settings::IniFile& ini, CFavTreeView& tree);
    INT_PTR Run(HINSTANCE module, HWND owner);

protected:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Search();

    settings::IniFile ini_;
    CFavTreeView& tree_;
    SearchHistory history_;
};

}  // namespace search
