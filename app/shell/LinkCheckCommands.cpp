// The main window's commands over link-check results and duplicate addresses.
#include "AppState.h"
#include "MainWindow.h"

#include <app/linkcheck/DuplicatesDialog.h>
#include <app/linkcheck/ReportDialog.h>

namespace app {

void MainWindow::ShowLinkReport() {
    if (CFavTreeView* tree = CurrentTree()) linkcheck::ReportDialog::Show(State().instance, GetActiveWindow(), *tree);
}

void MainWindow::ShowDuplicates() {
    std::vector<linkcheck::DuplicateTab> tabs;
    for (const auto& tree : trees_) tabs.push_back({tree.get(), SearchTabName(*tree)});
    linkcheck::DuplicatesDialog dialog(std::move(tabs), [this](CFavTreeView& shown) {
        for (size_t n = 0; n < trees_.size(); ++n)
            if (trees_[n].get() == &shown) SelectTab(n);
    });
    dialog.Run(State().instance, GetActiveWindow());
}

}  // namespace app
