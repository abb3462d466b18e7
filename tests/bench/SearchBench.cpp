// All-tabs search benchmark: the search over three loaded tabs (20,000 shortcuts in 2,000
// folders each), set against reading every shortcut's URL once with the same file reader. The
// search cannot do with less reading, so the ratio between the two is the price of walking the
// trees, matching and building the rows.
//
// Usage: search_bench.exe <data folder with tab1, tab2, tab3>
// scripts/search-bench.sh generates the data and runs this program under Wine.
#include "BenchTree.h"
#include "Timing.h"

#include <app/search/AllTabsSearch.h>
#include <base/Handles.h>
#include <base/Path.h>
#include <favorites/ShortcutFile.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kTimedRounds = 3;  // per order
constexpr const char* kTabs[] = {"tab1", "tab2", "tab3"};
constexpr char kWanted[] = "example.com/1999";  // about one entry in two thousand

// Every shortcut file below `node`, found before anything is timed.
void ShortcutFiles(const CFavTreeView& tree, HTREEITEM node, std::vector<std::wstring>& files) {
    std::vector<HTREEITEM> pending{node};
    while (!pending.empty()) {
        HTREEITEM at = pending.back();
        pending.pop_back();
        for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), at); child;
             child = TreeView_GetNextSibling(tree.hwnd(), child)) {
            if (tree.IsShortcut(child)) files.push_back(*tree.NodeFile(child));
            else pending.push_back(child);
        }
    }
}

int Fail(const char* message) {
    std::fprintf(stderr, "search_bench: %s\n", message);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: search_bench <data folder>");
    const std::string dataFolder = path::WithoutTrailingSeparator(argv[1]);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const win::OleSession ole;
    if (!ole.ok()) return Fail("OleInitialize failed");

    const bench::SettingsFolder settingsFolder;
    const win::UniqueWindow host = bench::CreateHostWindow("search bench");
    if (!host) return Fail("cannot create the host window");
    std::vector<win::ComPtr<CFavTreeView>> trees;
    std::vector<std::wstring> files;
    for (size_t n = 0; n < std::size(kTabs); ++n) {
        const std::string section = "Tolvak#" + std::to_string(n + 1);
        const std::string root = path::Join(dataFolder, kTabs[n]);
        if (!path::IsDirectory(root)) return Fail("the data folder lacks tab1, tab2 or tab3");
        settingsFolder.ini().Write(section.c_str(), "FavRoot", root.c_str());
        win::ComPtr<CFavTreeView> tree = bench::CreateTree(host.get(), settingsFolder.ini(), section.c_str());
        if (!tree || !tree->LoadRoot()) return Fail("cannot load a tree");
        ShortcutFiles(*tree, tree->Root(), files);
        trees.push_back(std::move(tree));
    }
    bench::PumpMessages();

    search::ResultCollector results;
    size_t urlBytes = 0;
    const bench::Step searchStep{[&] {
        results.Clear();
        for (size_t n = 0; n < trees.size(); ++n) results.Collect(*trees[n], kTabs[n], kWanted);
    }};
    const bench::Step readStep{[&] {
        urlBytes = 0;
        for (const std::wstring& file : files) urlBytes += shortcut::ReadUrl(file).value_or("").size();
    }};
    // Half the rounds in each order: the step that runs second finds the files its partner has
    // just read, which would otherwise always favour the same side.
    const auto first = bench::TimeInTurns({searchStep, readStep}, kTimedRounds);
    const auto second = bench::TimeInTurns({readStep, searchStep}, kTimedRounds);
    std::vector<bench::Timings> timings = first;
    timings[0].runs.insert(timings[0].runs.end(), second[1].runs.begin(), second[1].runs.end());
    timings[1].runs.insert(timings[1].runs.end(), second[0].runs.begin(), second[0].runs.end());

    std::printf("All-tabs search benchmark: %s\n", dataFolder.c_str());
    std::printf("  %zu shortcuts in %zu tabs, %zu rows for \"%s\", %zu URL bytes read\n", files.size(), trees.size(),
                results.rows().size(), kWanted, urlBytes);
    std::printf("  %-40s %10s %10s\n", "", "median ms", "min ms");
    std::printf("  %-40s %10.1f %10.1f\n", "all-tabs search", timings[0].Median(), timings[0].Min());
    std::printf("  %-40s %10.1f %10.1f\n", "reading every URL once", timings[1].Median(), timings[1].Min());
    std::printf("\n  ratio search/reading (median): %.2f\n", timings[0].Median() / std::max(timings[1].Median(), 0.001));
    return 0;
}
