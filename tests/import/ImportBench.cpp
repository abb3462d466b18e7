// Import benchmark: how long tlImport.dll takes to read a large Netscape bookmark file ("NSBM"),
// once into a sink that only counts (reading the file, the UTF-8 conversion, parsing and one sink
// call per folder and item) and once as the program does it: a tab's bookmark source opened in a
// real tree, every folder and item inserted into the tree control; and a large Chromium
// "Bookmarks" file ("CRBM", JSON) into the counting sink. The floor of the import into the
// tree: the same folders and items (as the counting sink saw them) inserted into a tree control
// with nothing else, below a node that is then expanded, as the source is. The floor of the
// Chromium import: the JSON library's reader alone over the same mapped file, with a handler
// that does nothing.
//
// Usage: import_bench.exe <bookmark file> <Bookmarks file>, with tlImport.dll beside the program.
// scripts/import-bench.sh generates the files and sets them against Python's html.parser and
// json module.
// Every step gets the same warm-up and rounds and a line in the report.
#include "../bench/BenchTree.h"
#include "../bench/Timing.h"
#include "CountingSink.h"

#include <base/Handles.h>
#include <base/Path.h>
#include <pluginapi/PluginInterface.h>
#include <plugins/import/SourceFile.h>
#include <tree/CFavTreeView.h>

#if defined(__SSE2__) && !defined(RAPIDJSON_SSE2)
#define RAPIDJSON_SSE2  // as the plug-in has it
#endif
#include <rapidjson/reader.h>

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kTimedRounds = 5;
constexpr char kTreeSection[] = "Tolvak#1";

int Fail(const std::string& message) {
    std::fprintf(stderr, "import_bench: %s\n", message.c_str());
    return 1;
}

// A bare tree view holding the entries an import added, in the same order and nesting.
class BareTree {
public:
    BareTree(HWND host, const std::vector<importbench::CountingSink::Entry>& entries) : view_(host), entries_(entries) {}
    HWND window() const { return view_.window(); }

    // An empty tree with a root and a closed node to fill.
    void Reset() {
        view_.Clear();
        source_ = view_.Insert(view_.Insert(TVI_ROOT, L"root"), L"source", true);
    }
    void Fill() {
        std::vector<HTREEITEM> folders{source_};
        for (const auto& entry : entries_) {
            HTREEITEM item = view_.Insert(folders[static_cast<size_t>(entry.parent)], entry.name);
            if (entry.folder) folders.push_back(item);
        }
        TreeView_Expand(view_.window(), source_, TVE_EXPAND);
    }

private:
    bench::BareTreeView view_;
    const std::vector<importbench::CountingSink::Entry>& entries_;
    HTREEITEM source_ = nullptr;
};

// The reader's events, counted and nothing else.
struct NullHandler : rapidjson::BaseReaderHandler<rapidjson::UTF8<>, NullHandler> {
    size_t events = 0;
    bool Default() { return ++events != 0; }
};

// The JSON library's own time for the file, as the plug-in reads it: mapped, in one pass,
// without recursion.
bool ReadJsonOnly(const std::wstring& file) {
    importer::ReadFailure failure;
    const std::optional<importer::SourceText> source = importer::SourceText::Open(file, failure);
    if (!source) return false;
    rapidjson::StringStream stream(source->text().data());
    rapidjson::Reader reader;
    NullHandler handler;
    return !reader.Parse<rapidjson::kParseIterativeFlag>(stream, handler).IsError();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Fail("usage: import_bench <bookmark file> <Bookmarks file>");
    const std::string file = argv[1], chromiumFile = argv[2];
    for (const std::string& input : {file, chromiumFile})
        if (!path::Exists(input)) return Fail("no such file: " + input);

    // Beside this program, where the tree looks for it too (the script puts both there).
    const std::string library = path::ReplaceFileName(path::ModuleFile(nullptr), plugin::kImportLibrary);
    const win::UniqueModule module(LoadLibraryA(library.c_str()));
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kImportExport);
    if (!create) return Fail("cannot load " + library);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    const win::OleSession ole;
    if (!ole.ok()) return Fail("OleInitialize failed");
    const bench::SettingsFolder settingsFolder;
    const std::string emptyRoot = path::ReplaceFileName(settingsFolder.ini().path(), "root");
    CreateDirectoryA(emptyRoot.c_str(), nullptr);
    settingsFolder.ini().Write(kTreeSection, "FavRoot", emptyRoot.c_str());
    settingsFolder.ini().Write(kTreeSection, "BookMark", file.c_str());
    const win::UniqueWindow host = bench::CreateHostWindow("import bench");
    if (!host) return Fail("cannot create the host window");
    win::ComPtr<CFavTreeView> tree = bench::CreateTree(host.get(), settingsFolder.ini(), kTreeSection);
    if (!tree) return Fail("cannot create the tree");
    HWND treeWindow = tree->hwnd();
    HTREEITEM source = nullptr;
    long treeItems = 0;

    importbench::CountingSink sink, chromiumSink;
    std::vector<importbench::CountingSink::Entry> entries;
    sink.entries = &entries;
    if (importbench::RunImport(create, "NSBM", file, sink) != 0) return Fail("the import failed");
    sink.entries = nullptr;
    BareTree bare(host.get(), entries);  // on the tree's place, shown only for its own step

    int result = 0, chromiumResult = 0;
    bool jsonRead = false;
    const char* const names[] = {"NSBM import through tlImport.dll, counting sink",
                                 "NSBM source opened in the tree (the whole import)",
                                 "CRBM import through tlImport.dll, counting sink",
                                 "the same entries into a bare tree view",
                                 "CRBM file through the JSON reader alone"};
    const std::vector<bench::Step> steps = {
        {[&] { result = importbench::RunImport(create, "NSBM", file, sink); }},
        {[&] {
             TreeView_Expand(treeWindow, source, TVE_EXPAND);
             treeItems = static_cast<long>(TreeView_GetCount(treeWindow));
         },
         [&] {
             // A reload empties the tree and puts back the unopened source node.
             ShowWindow(bare.window(), SW_HIDE);
             tree->LoadRoot();
             source = TreeView_GetChild(treeWindow, TreeView_GetRoot(treeWindow));
         }},
        {[&] { chromiumResult = importbench::RunImport(create, "CRBM", chromiumFile, chromiumSink); }},
        {[&] { bare.Fill(); },
         [&] {
             ShowWindow(treeWindow, SW_HIDE);
             bare.Reset();
             ShowWindow(bare.window(), SW_SHOW);
         }},
        {[&] { jsonRead = ReadJsonOnly(text::AnsiToWide(chromiumFile)); }},
    };

    std::printf("Import benchmark: %s\n", file.c_str());
    std::printf("(1 warm-up round, then %d timed rounds; the steps take turns)\n\n", kTimedRounds);
    std::fflush(stdout);
    const std::vector<bench::Timings> timings = bench::TimeInTurns(steps, kTimedRounds);
    if (result != 0 || chromiumResult != 0) return Fail("the import failed");
    if (!jsonRead) return Fail("the JSON reader refused the Bookmarks file");

    std::printf("  folders %ld, items %ld, messages %ld; tree items %ld\n\n", sink.folders, sink.items, sink.messages,
                treeItems);
    std::printf("  Chromium: folders %ld, items %ld, messages %ld\n\n", chromiumSink.folders, chromiumSink.items,
                chromiumSink.messages);
    std::printf("  %-52s %10s %10s\n", "", "median ms", "min ms");
    for (size_t i = 0; i < steps.size(); ++i)
        std::printf("  %-52s %10.1f %10.1f\n", names[i], timings[i].Median(), timings[i].Min());
    // For scripts/import-bench.sh: the medians of the steps.
    std::printf("\nmedian-ms %.1f\n", timings[0].Median());
    std::printf("tree-median-ms %.1f\n", timings[1].Median());
    std::printf("chromium-median-ms %.1f\n", timings[2].Median());
    std::printf("bare-tree-median-ms %.1f\n", timings[3].Median());
    std::printf("json-reader-median-ms %.1f\n", timings[4].Median());
    return 0;
}
