// Import benchmark: how long tlImport.dll takes to read a large Netscape bookmark file ("NSBM")
// into a sink that only counts, loaded and called the way the hosts do it. The time covers
// reading the file, the UTF-8 conversion, parsing and one sink call per folder and item.
//
// Usage: import_bench.exe <bookmark file>
// scripts/import-bench.sh generates the file and sets this against a Python html.parser pass.
// Further measurements (the import into a real tree, say) are one more entry in the step list in
// main(); every step gets the same warm-up and rounds and a line in the report.
#include "../bench/Timing.h"

#include <base/Handles.h>
#include <base/Path.h>
#include <plugins/PluginInterface.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kTimedRounds = 5;

using bench::NowMs;

struct Step {
    std::string name;
    std::function<void()> run;
    bench::Timings timings = {};
};

// One untimed warm-up round (file cache, first allocations), then the timed rounds; within a
// round the steps take turns, so a burst of other work slows all of them alike.
void TimeInTurns(std::vector<Step>& steps) {
    for (Step& step : steps) step.run();
    for (int round = 0; round < kTimedRounds; ++round) {
        for (Step& step : steps) {
            const double start = NowMs();
            step.run();
            step.timings.runs.push_back(NowMs() - start);
        }
    }
}

// A host sink that keeps nothing but counts; every folder gets a handle of its own.
class CountingSink final : public plugin::ImportSink {
public:
    long folders = 0;
    long items = 0;
    long messages = 0;

    plugin::ItemHandle root() { return Handle(0); }
    void Reset() { folders = items = messages = 0; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
    ULONG STDMETHODCALLTYPE AddRef() override { return E_NOTIMPL; }
    ULONG STDMETHODCALLTYPE Release() override { return E_NOTIMPL; }
    HWND STDMETHODCALLTYPE GetOwnerWindow() override { return nullptr; }
    plugin::ItemHandle STDMETHODCALLTYPE GetRoot() override { return root(); }
    plugin::ItemHandle STDMETHODCALLTYPE GetChild(plugin::ItemHandle) override { return nullptr; }
    plugin::ItemHandle STDMETHODCALLTYPE GetNextSibling(plugin::ItemHandle) override { return nullptr; }
    BOOL STDMETHODCALLTYPE GetText(plugin::ItemHandle, char*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE GetURL(plugin::ItemHandle, char*, int) override { return FALSE; }
    BOOL STDMETHODCALLTYPE IsFolder(plugin::ItemHandle) override { return FALSE; }
    plugin::ItemHandle STDMETHODCALLTYPE AddNode(plugin::ItemHandle, const char*, const char* url, int kind) override {
        if (kind == plugin::kAddFolder) return Handle(++folders);
        if (kind != plugin::kAddItem) return nullptr;
        ++(url == plugin::NoURL ? messages : items);
        return Handle(1);
    }

private:
    static plugin::ItemHandle Handle(long number) {
        return reinterpret_cast<plugin::ItemHandle>(static_cast<INT_PTR>(0x10000 + number * 16));
    }
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "import_bench: %s\n", message.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: import_bench <bookmark file>");
    const std::string file = argv[1];
    if (!path::Exists(file)) return Fail("no such file: " + file);

    const std::string library = path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\tlImport.dll");
    const win::UniqueModule module(LoadLibraryA(library.c_str()));
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kImportExport);
    if (!create) return Fail("cannot load " + library);

    CountingSink sink;
    int result = 0;
    std::vector<Step> steps = {
        {"NSBM import through tlImport.dll, counting sink",
         [&] {
             sink.Reset();
             plugin::FormatHandler* handler = nullptr;
             if (create("NSBM", &handler) != 0) {
                 result = -1;
                 return;
             }
             handler->SetSink(&sink);
             std::string location = file;  // the host's writable copy
             result = handler->Run(location.data(), sink.root());
             handler->Release();
         }},
    };

    std::printf("Import benchmark: %s\n", file.c_str());
    std::printf("(1 warm-up round, then %d timed rounds; the steps take turns)\n\n", kTimedRounds);
    std::fflush(stdout);
    TimeInTurns(steps);
    if (result != 0) return Fail("the import failed");

    std::printf("  folders %ld, items %ld, messages %ld\n\n", sink.folders, sink.items, sink.messages);
    std::printf("  %-52s %10s %10s\n", "", "median ms", "min ms");
    for (const Step& step : steps) std::printf("  %-52s %10.1f %10.1f\n", step.name.c_str(), step.timings.Median(), step.timings.Min());
    // For scripts/import-bench.sh: the first step's median.
    std::printf("\nmedian-ms %.1f\n", steps.front().timings.Median());
    return 0;
}
