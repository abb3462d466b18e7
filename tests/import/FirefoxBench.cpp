// Firefox import benchmark: how long tlImport.dll takes to read a places database ("FFBM") into a
// sink that only counts (SQLite's read, the tree's order, the text conversion and one sink call
// per folder and bookmark), once as it lies when Firefox is closed and once as a running Firefox
// leaves it (locked, recent changes in its log), which is read from a private copy.
//
// Usage: firefox_bench.exe <places.sqlite> <places.sqlite with a log>, with tlImport.dll beside
// the program. scripts/firefox-bench.sh makes the databases and sets Python's sqlite3 module
// reading the first beside it.
#include "../bench/Timing.h"
#include "CountingSink.h"

#include <base/Handles.h>
#include <base/Path.h>
#include <pluginapi/PluginInterface.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kTimedRounds = 7;

int Fail(const std::string& message) {
    std::fprintf(stderr, "firefox_bench: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return Fail("usage: firefox_bench <places.sqlite> <places.sqlite with a log>");
    const std::string closed = argv[1], running = argv[2];
    for (const std::string& input : {closed, running})
        if (!path::Exists(input)) return Fail("no such file: " + input);

    const std::string library = path::ReplaceFileName(path::ModuleFile(nullptr), plugin::kImportLibrary);
    const win::UniqueModule module(LoadLibraryA(library.c_str()));
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kImportExport);
    if (!create) return Fail("cannot load " + library);

    importbench::CountingSink closedSink, runningSink;
    int closedResult = 0, runningResult = 0;
    const char* const names[] = {"FFBM import, Firefox closed, counting sink", "FFBM import from a private copy"};
    const std::vector<bench::Step> steps = {
        {[&] { closedResult = importbench::RunImport(create, "FFBM", closed, closedSink); }},
        {[&] { runningResult = importbench::RunImport(create, "FFBM", running, runningSink); }},
    };
    std::printf("Firefox import benchmark: %s\n", closed.c_str());
    std::printf("(1 warm-up round, then %d timed rounds; the steps take turns)\n\n", kTimedRounds);
    std::fflush(stdout);
    const std::vector<bench::Timings> timings = bench::TimeInTurns(steps, kTimedRounds);
    if (closedResult != 0 || runningResult != 0 || closedSink.messages || runningSink.messages)
        return Fail("the import failed");

    std::printf("  folders %ld, bookmarks %ld (with a log: %ld, %ld)\n\n", closedSink.folders, closedSink.items,
                runningSink.folders, runningSink.items);
    std::printf("  %-52s %10s %10s\n", "", "median ms", "min ms");
    for (size_t i = 0; i < steps.size(); ++i)
        std::printf("  %-52s %10.1f %10.1f\n", names[i], timings[i].Median(), timings[i].Min());
    // For scripts/firefox-bench.sh.
    std::printf("\nmedian-ms %.1f\n", timings[0].Median());
    std::printf("copy-median-ms %.1f\n", timings[1].Median());
    return 0;
}
