// All-tabs search benchmark over three loaded tabs (20,000 shortcuts in 2,000 folders each):
// - the first search after loading, which reads every address, set against reading every
//   shortcut's bytes once with plain reads (open, read, close): a search cannot read less, so the
//   ratio is the price of the parser, the walk, the matching and the rows;
// - a repeated search over the same trees, which reads nothing: its time in milliseconds.
//
// Usage: search_bench.exe <data folder with tab1, tab2, tab3>
// scripts/search-bench.sh generates the data and runs this program under Wine.
#include "BenchTree.h"
#include "Timing.h"

#include <app/search/AddressReading.h>
#include <app/search/AllTabsSearch.h>
#include <base/Handles.h>
#include <base/Path.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kTimedRounds = 2;  // per order
constexpr int kRepeatedRounds = 5;
constexpr const char* kTabs[] = {"tab1", "tab2", "tab3"};
constexpr wchar_t kWanted[] = L"example.com/1999";  // about one entry in two thousand
constexpr double kFirstSearchGoal = 1.2;            // times the plain reads
constexpr double kRepeatedSearchGoalMs = 100;

// Every shortcut file of the trees, found before anything is timed.
std::vector<std::wstring> ShortcutFiles(const std::vector<win::ComPtr<CFavTreeView>>& trees) {
    std::vector<std::wstring> files;
    for (const auto& tree : trees)
        tree->entries().Walk([&](HTREEITEM, const fav::TreeEntries::Entry& entry, const std::wstring& folder) {
            if (entry.kind == fav::kShortcut) files.push_back(folder + L'\\' + entry.name + L".url");
            return true;
        });
    return files;
}

size_t ReadEveryFile(const std::vector<std::wstring>& files) {
    std::string buffer(4096, '\0');
    size_t bytes = 0;
    for (const std::wstring& file : files) {
        const win::UniqueFile handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                 nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD read = 0;
        if (handle && ReadFile(handle.get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) bytes += read;
    }
    return bytes;
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
    std::vector<CFavTreeView*> searched;
    for (size_t n = 0; n < std::size(kTabs); ++n) {
        const std::string section = "Tolvak#" + std::to_string(n + 1);
        const std::string root = path::Join(dataFolder, kTabs[n]);
        if (!path::IsDirectory(root)) return Fail("the data folder lacks tab1, tab2 or tab3");
        settingsFolder.ini().Write(section.c_str(), "FavRoot", root.c_str());
        win::ComPtr<CFavTreeView> tree = bench::CreateTree(host.get(), settingsFolder.ini(), section.c_str());
        if (!tree || !tree->LoadRoot()) return Fail("cannot load a tree");
        searched.push_back(tree.get());
        trees.push_back(std::move(tree));
    }
    const std::vector<std::wstring> files = ShortcutFiles(trees);
    bench::PumpMessages();

    // The dialog's search: the addresses the trees lack are read, then every tree is matched.
    search::ResultCollector results;
    const auto search = [&] {
        search::ReadAddresses(searched, [](size_t, size_t) { return true; });
        results.Clear();
        for (size_t n = 0; n < trees.size(); ++n) results.Collect(*trees[n], kTabs[n], kWanted);
    };
    size_t bytes = 0;
    // A first search knows no address: the trees forget them all (untimed) before each.
    const bench::Step firstSearch{search, [&] {
                                      for (const auto& tree : trees) tree->entries().ForgetAddressesAt(tree->config().rootFile);
                                  }};
    const bench::Step plainReads{[&] { bytes = ReadEveryFile(files); }};
    // Half the rounds in each order: the step that runs second finds the files its partner has
    // just read, which would otherwise always favour the same side.
    const auto first = bench::TimeInTurns({firstSearch, plainReads}, kTimedRounds);
    const auto second = bench::TimeInTurns({plainReads, firstSearch}, kTimedRounds);
    bench::Timings searchTimes = first[0], readTimes = first[1];
    searchTimes.runs.insert(searchTimes.runs.end(), second[1].runs.begin(), second[1].runs.end());
    readTimes.runs.insert(readTimes.runs.end(), second[0].runs.begin(), second[0].runs.end());
    const bench::Timings repeated = bench::TimeInTurns({bench::Step{search}}, kRepeatedRounds)[0];

    const double ratio = searchTimes.Median() / std::max(readTimes.Median(), 0.001);
    std::printf("All-tabs search benchmark: %zu shortcuts in %zu tabs (%zu bytes), %zu rows for \"example.com/1999\"\n",
                files.size(), trees.size(), bytes, results.rows().size());
    std::printf("  first search / plain reads of every shortcut: %.2fx (%.0f ms / %.0f ms; goal <= %.1fx)\n", ratio,
                searchTimes.Median(), readTimes.Median(), kFirstSearchGoal);
    std::printf("  repeated search over the same trees: %.1f ms (goal <= %.0f ms)\n", repeated.Median(),
                kRepeatedSearchGoalMs);
    return 0;
}
