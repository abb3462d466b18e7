// Link-check benchmark: 2,000 shortcuts in one folder against servers on eight loopback
// addresses (scripts/linkcheck-bench.sh starts them on the host) that answer every request after
// 200 ms. With 16 checks at a time (the setting "ChecksAtOnce"; two per host) the floor is
// 2,000 x 0.2 s / 16 = 25 s; the run prints its time against that floor, and the process's
// handles and memory before and after. The results are kept in a file of the run's own.
//
// Usage: linkcheck_bench.exe http://127.0.0.1:PORT http://127.0.0.2:PORT ...
#include "BenchTree.h"
#include "Timing.h"

#include <app/linkcheck/LinkChecker.h>
#include <app/linkcheck/ResultStore.h>
#include <base/Format.h>
#include <base/TextEncoding.h>
#include <tree/TreeContextMenu.h>

#include <psapi.h>
#include <winsock.h>

#include <cstdio>
#include <vector>

namespace {

constexpr int kShortcuts = 2000;
constexpr int kWarmUpShortcuts = 32;
constexpr int kChecksAtOnce = 16;
constexpr double kAnswerMs = 200;
constexpr double kFloorMs = kShortcuts * kAnswerMs / kChecksAtOnce;

struct Usage {
    int handles = 0;
    SIZE_T committedBytes = 0;
};

// Every open handle of the process, counted by asking each possible value (Wine answers
// GetProcessHandleCount with 0).
int CountHandles() {
    constexpr ULONG_PTR kHighestValue = 0x40000;
    int count = 0;
    for (ULONG_PTR value = 4; value < kHighestValue; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
    }
    return count;
}

Usage Measure() {
    Usage usage;
    usage.handles = CountHandles();
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    usage.committedBytes = counters.PagefileUsage;
    return usage;
}

// Shortcuts to the servers in turn.
void WriteShortcuts(const std::string& folder, int count, const std::vector<std::string>& bases) {
    CreateDirectoryA(folder.c_str(), nullptr);
    for (int i = 1; i <= count; ++i) {
        const std::string file = text::Format("%s\\%04d.url", folder.c_str(), i);
        const std::string& base = bases[static_cast<size_t>(i) % bases.size()];
        const std::string content = text::Format("[InternetShortcut]\r\nURL=%s/delay/%d\r\n", base.c_str(), i);
        HANDLE out = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        WriteFile(out, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
        CloseHandle(out);
    }
}

bool IsAlive(const CFavTreeView& tree, HTREEITEM node) {
    TVITEMA item{};
    item.mask = TVIF_IMAGE;
    item.hItem = node;
    TreeView_GetItem(tree.hwnd(), &item);
    return item.iImage == fav::kImageLinkAlive;
}

// Checks every shortcut of `folder`; the milliseconds until all of them show the alive picture.
double CheckAll(CFavTreeView& tree, HTREEITEM folder) {
    constexpr double kGiveUpMs = 120000;  // a failed check never turns alive
    const double start = bench::NowMs();
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    // Checks end in about the order they start: the first item not yet alive moves down the list,
    // so looking from it on costs next to nothing while the checks run.
    HTREEITEM waiting = TreeView_GetChild(tree.hwnd(), folder);
    while (waiting && bench::NowMs() - start < kGiveUpMs) {
        while (waiting && IsAlive(tree, waiting)) waiting = TreeView_GetNextSibling(tree.hwnd(), waiting);
        if (!waiting) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    return bench::NowMs() - start;
}

HTREEITEM ChildNamed(const CFavTreeView& tree, const char* label) {
    for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), tree.Root()); child; child = TreeView_GetNextSibling(tree.hwnd(), child))
        if (tree.Label(child) == label) return child;
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: linkcheck_bench http://127.0.0.1:PORT ...\n");
        return 2;
    }
    const std::vector<std::string> bases(argv + 1, argv + argc);
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    linkcheck::Install();

    bench::SettingsFolder settingsFolder;
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    const std::string root = text::Format("%slinkcheck-bench-%lu", temp, GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    WriteShortcuts(root + "\\warm", kWarmUpShortcuts, bases);
    WriteShortcuts(root + "\\many", kShortcuts, bases);
    settingsFolder.ini().Write("Tolvak#1", "FavRoot", root.c_str());
    settingsFolder.ini().WriteInt("LinkCheck", "ChecksAtOnce", kChecksAtOnce);
    const linkcheck::ScopedResultsFile results(text::AnsiToWide(root + "\\linkcheck.json"));

    win::UniqueWindow host = bench::CreateHostWindow("link check bench");
    win::ComPtr<CFavTreeView> tree = bench::CreateTree(host.get(), settingsFolder.ini(), "Tolvak#1");
    if (!tree || !tree->LoadRoot()) return 1;
    HTREEITEM warm = ChildNamed(*tree, "warm");
    HTREEITEM many = ChildNamed(*tree, "many");

    CheckAll(*tree, warm);  // first sockets, first look-ups: the process's one-time costs
    const Usage before = Measure();
    const double ms = CheckAll(*tree, many);
    const Usage after = Measure();

    std::printf("%d shortcuts on %zu hosts, answers after %.0f ms, %d checks at a time\n", kShortcuts, bases.size(),
                kAnswerMs, kChecksAtOnce);
    std::printf("checked in %.2f s; floor %.2f s; ratio %.3f (goal: at most 1.1)\n", ms / 1000, kFloorMs / 1000,
                ms / kFloorMs);
    std::printf("handles %d -> %d; committed memory %.2f -> %.2f MB\n", before.handles, after.handles,
                before.committedBytes / 1048576.0, after.committedBytes / 1048576.0);

    tree.reset();
    host.reset();
    std::printf("kept results: %lu bytes\n", static_cast<unsigned long>(GetCompressedFileSizeA((root + "\\linkcheck.json").c_str(), nullptr)));
    // The shortcuts go with their folder.
    SHFILEOPSTRUCTA remove{};
    const std::string from = root + '\0';
    remove.wFunc = FO_DELETE;
    remove.pFrom = from.c_str();
    remove.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    SHFileOperationA(&remove);
    WSACleanup();
    return ms / kFloorMs <= 1.1 ? 0 : 1;
}
