// Loading benchmark for the favorites tree: how long LoadRoot takes for a large Favorites folder,
// set against a bare FindFirstFileA/FindNextFileA walk over the same folder. The walk is the least
// any loader has to pay for reading the file system, so the ratio between the two is the price of
// everything else: sorting the names and inserting the items into the control. Emptying a loaded
// tree, which every reload does first, is timed on its own. For the one big folder, the control's
// own share is timed too: the same names inserted into a bare tree control, below a root that is
// then expanded and shown, as the loaded tree's is. Under Wine the control measures the text of
// every item that an expansion makes visible, so this share grows with a folder's size.
//
// Usage: tree_load_bench.exe <data folder>
// scripts/bench.sh generates the data (folders of ".url" files plus one big folder "big") and runs
// this program under Wine.
#include "BenchTree.h"
#include "Timing.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/Path.h>
#include <tree/CFavTreeView.h>
#include <settings/Settings.h>
#include <settings/TreeSettings.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int kTimedRounds = 7;
constexpr char kWholeSection[] = "Tolvak#1";
constexpr char kBigSection[] = "Tolvak#2";
constexpr char kBigFolder[] = "big";

// ---- shared pieces ---------------------------------------------------------------------------------

using bench::CreateHostWindow;
using bench::CreateTree;
using bench::PumpMessages;
using bench::Timings;

// ---- the bare walk --------------------------------------------------------------------------------

struct WalkCount {
    long folders = 0;
    long files = 0;
};

// The same enumeration the tree does, without anything else: one FindFirstFileA per folder.
void Walk(const std::string& folder, WalkCount& count) {
    WIN32_FIND_DATAA entry;
    win::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) return;
    std::vector<std::string> subfolders;
    do {
        const std::string_view name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            ++count.folders;
            subfolders.emplace_back(name);
        } else {
            ++count.files;
        }
    } while (FindNextFileA(find.get(), &entry));
    // Closed before descending, as the tree does, so the walk never holds more than one handle.
    find.reset();
    for (const std::string& name : subfolders) Walk(folder + "\\" + name, count);
}

// ---- the bare control -----------------------------------------------------------------------------

// The names of one folder in a bare tree control, as LoadRoot leaves the loaded tree: below a
// root, expanded and shown.
class BareControl {
public:
    BareControl(HWND host, const std::string& folder) : view_(host) {
        WIN32_FIND_DATAW entry;
        win::UniqueFind find(FindFirstFileW(text::AnsiToWide(folder + "\\*").c_str(), &entry));
        if (find) do {
                if (entry.cFileName[0] != L'.') names_.emplace_back(entry.cFileName);
            } while (FindNextFileW(find.get(), &entry));
    }
    void Fill() {
        const HTREEITEM root = view_.Insert(TVI_ROOT, L"root");
        for (const std::wstring& name : names_) view_.Insert(root, name);
        TreeView_Expand(view_.window(), root, TVE_EXPAND);
        ShowWindow(view_.window(), SW_SHOW);
    }
    void Empty() { view_.Clear(); }

private:
    bench::BareTreeView view_;
    std::vector<std::wstring> names_;
};

// ---- measurements ---------------------------------------------------------------------------------

struct Results {
    Timings load;     // LoadRoot into an empty tree, as at the program's start
    Timings clear;    // emptying the loaded tree, which a reload does before loading
    Timings walk;     // the bare walk over the same folder
    Timings control;  // the same names into a bare control (one folder only)
    long items = 0;
    WalkCount walked;
};

// `bare` (a folder without subfolders) also times the bare control.
Results Measure(CFavTreeView& tree, const std::string& folder, BareControl* bare) {
    Results results;
    std::vector<bench::Step> steps = {
        {[&] {
             tree.LoadRoot();
             // One message, lost in the noise of the load itself.
             results.items = static_cast<long>(TreeView_GetCount(tree.hwnd()));
         },
         [&] {
             if (bare) bare->Empty();  // never both on show
         }},
        {[&] {
            ShowWindow(tree.hwnd(), SW_HIDE);  // as LoadRoot does before it clears
            TreeView_DeleteAllItems(tree.hwnd());
        }},
        {[&] {
            results.walked = WalkCount{};
            Walk(folder, results.walked);
        }},
    };
    if (bare) steps.push_back({[&] { bare->Fill(); }, [&] { bare->Empty(); }});
    const std::vector<Timings> timings = bench::TimeInTurns(steps, kTimedRounds);
    results.load = timings[0];
    results.clear = timings[1];
    results.walk = timings[2];
    if (bare) results.control = timings[3];
    return results;
}

// ---- report ----------------------------------------------------------------------------------------

void PrintRow(const std::string& what, const Timings& timings) {
    std::printf("  %-44s %10.1f %10.1f\n", what.c_str(), timings.Median(), timings.Min());
}

double Ratio(const Timings& load, const Timings& walk) { return load.Median() / std::max(walk.Median(), 0.001); }

int Fail(const std::string& message) {
    std::fprintf(stderr, "tree_load_bench: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: tree_load_bench <data folder>");
    const std::string dataFolder = path::WithoutTrailingSeparator(argv[1]);
    if (!path::IsDirectory(dataFolder)) return Fail("not a folder: " + dataFolder);

    // As the program starts: common controls, then OLE in a single-threaded apartment (the trees
    // register as drop targets).
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const win::OleSession ole;
    if (!ole.ok()) return Fail("OleInitialize failed");

    const bench::SettingsFolder settingsFolder;
    const std::string bigFolder = path::Join(dataFolder, kBigFolder);
    const bool haveBig = path::IsDirectory(bigFolder);
    settingsFolder.ini().Write(kWholeSection, "FavRoot", dataFolder.c_str());
    if (haveBig) settingsFolder.ini().Write(kBigSection, "FavRoot", bigFolder.c_str());

    const win::UniqueWindow host = CreateHostWindow("tree load bench");
    if (!host) return Fail("cannot create the host window");
    PumpMessages();

    win::ComPtr<CFavTreeView> tree = CreateTree(host.get(), settingsFolder.ini(), kWholeSection);
    if (!tree) return Fail("cannot create the tree");

    std::printf("Tree load benchmark: %s\n", dataFolder.c_str());
    std::printf("(1 warm-up round, then %d timed rounds; load, clear and walk take turns)\n\n", kTimedRounds);
    std::fflush(stdout);

    const Results whole = Measure(*tree, dataFolder, nullptr);
    tree.reset();
    PumpMessages();

    // The one big folder on its own: the most expensive single folder of the load, measured at a
    // fifth of the whole tree's size.
    std::optional<Results> big;
    if (haveBig) {
        BareControl bare(host.get(), bigFolder);
        if (win::ComPtr<CFavTreeView> bigTree = CreateTree(host.get(), settingsFolder.ini(), kBigSection))
            big = Measure(*bigTree, bigFolder, &bare);
        PumpMessages();
    }

    std::printf("  on disk (bare walk): %ld folders, %ld files\n", whole.walked.folders, whole.walked.files);
    std::printf("  items loaded (TVM_GETCOUNT): %ld", whole.items);
    // The tree adds one item for the root folder itself.
    const long expected = whole.walked.folders + whole.walked.files + 1;
    if (whole.items != expected) std::printf("  (expected %ld)", expected);
    std::printf("\n\n");

    std::printf("  %-44s %10s %10s\n", "", "median ms", "min ms");
    PrintRow("LoadRoot, whole folder", whole.load);
    PrintRow("clearing the loaded tree (reload only)", whole.clear);
    PrintRow("bare FindFirstFileA walk", whole.walk);
    if (big) {
        PrintRow(text::Format("LoadRoot, \"%s\" only (%ld items)", kBigFolder, big->items), big->load);
        PrintRow(text::Format("clearing, \"%s\" only", kBigFolder), big->clear);
        PrintRow(text::Format("bare walk, \"%s\" only", kBigFolder), big->walk);
        PrintRow(text::Format("same names into a bare control, \"%s\" only", kBigFolder), big->control);
    }
    std::printf("\n  ratio load/walk (median): %.1f\n", Ratio(whole.load, whole.walk));
    if (big) {
        std::printf("  ratio load/walk, \"%s\" only (median): %.1f\n", kBigFolder, Ratio(big->load, big->walk));
        // What the program adds to the floor of the file system and the control together.
        Timings floor;
        for (size_t i = 0; i < big->walk.runs.size() && i < big->control.runs.size(); ++i)
            floor.runs.push_back(big->walk.runs[i] + big->control.runs[i]);
        std::printf("  ratio load/(walk + bare control), \"%s\" only (median): %.2f\n", kBigFolder, Ratio(big->load, floor));
    }
    return 0;
}
