// The main window's search commands (find in the active tab, find next, find in all tabs, web
// search) and the cache cleaner's commands.
#include "AppState.h"
#include "MainWindow.h"

#include <app/helpers/CacheCleaner.h>
#include <app/search/AllTabsDialog.h>
#include <app/search/FindDialog.h>
#include <app/search/TreeFind.h>
#include <app/search/WebSearchDialog.h>
#include <base/Path.h>

namespace app {
namespace {

constexpr size_t kTabNameCapacity = 200;

}  // namespace

std::string SearchTabName(const CFavTreeView& tree) {
    const fav::TabConfig& config = tree.config();
    std::string name;
    if (config.HasSettingsSection()) name = config.ini.ReadString(config.section.c_str(), "tabName", "", kTabNameCapacity);
    if (!name.empty()) return name;
    std::string folder, last;
    return path::SplitLast(config.rootPath, &folder, &last) ? last : config.rootPath;
}

std::string MainWindow::SettingsDirectory() const {
    std::string folder, file;
    return path::SplitLast(ini_.path(), &folder, &file) ? folder : std::string(".");
}

void MainWindow::FindInTab() {
    CFavTreeView* tree = CurrentTree();
    if (!tree) return;
    search::FindTextDialog dialog(ini_, tree);
    if (dialog.Run(State().instance, GetActiveWindow()) == search::FindTextDialog::kSearch)
        search::FindFirst(*tree, dialog.text());
}

void MainWindow::FindNextInTab() {
    if (CFavTreeView* tree = CurrentTree()) search::FindNext(*tree);
}

void MainWindow::FindInAllTabs() {
    search::TabSet set;
    set.mainWindow = hwnd();
    set.tabBar = tabBar_;
    for (const auto& tree : trees_) set.tabs.push_back({tree.get(), SearchTabName(*tree)});
    search::AllTabsDialog dialog(ini_, std::move(set));
    dialog.Run(State().instance, GetActiveWindow());
}

void MainWindow::SearchWeb() {
    CFavTreeView* tree = CurrentTree();
    if (!tree) return;
    search::WebSearchDialog dialog(ini_, *tree);
    dialog.Run(State().instance, GetActiveWindow());
}

void MainWindow::DeleteBannerCache() { cachecleaner::DeleteBannerCache(hwnd(), State().instance, SettingsDirectory()); }

void MainWindow::DeleteCgiCache() { cachecleaner::DeleteCgiCache(hwnd()); }

void MainWindow::EditBannerPatterns() { cachecleaner::EditPatterns(State().instance, SettingsDirectory()); }

}  // namespace app
