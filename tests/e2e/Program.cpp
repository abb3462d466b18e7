#include "Program.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/Path.h>

#include <commctrl.h>

#include <cstring>

namespace e2e {
namespace {

// The text control of a message box.
constexpr int kMessageTextId = 0xFFFF;

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    char className[32] = "";
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, className, sizeof className);
    if ((search->processId == 0 || owner == search->processId) && lstrcmpA(className, search->className) == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

HWND TopWindowOf(DWORD processId, const char* className) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND MainWindowOf(DWORD processId) { return TopWindowOf(processId, "Tolvak_Wnd"); }

int CountMainWindows() {
    int count = 0;
    for (HWND window = FindWindowExA(nullptr, nullptr, "Tolvak_Wnd", nullptr); window;
         window = FindWindowExA(nullptr, window, "Tolvak_Wnd", nullptr))
        ++count;
    return count;
}

HWND TreeOf(HWND mainWindow) { return FindWindowExA(mainWindow, nullptr, "CFavTreeView", nullptr); }

HWND DialogOf(DWORD processId) { return TopWindowOf(processId, "#32770"); }

std::string MessageText(HWND box) {
    char text[512] = "";
    GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
    return text;
}

LRESULT SendWithRemoteText(HWND window, UINT message, WPARAM wParam, const std::string& text) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    win::UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return 0;
    void* remote = VirtualAllocEx(process.get(), nullptr, text.size() + 1, MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return 0;
    LRESULT result = 0;
    if (WriteProcessMemory(process.get(), remote, text.c_str(), text.size() + 1, nullptr))
        result = SendMessageA(window, message, wParam, reinterpret_cast<LPARAM>(remote));
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return result;
}

std::string RemoteLabel(HWND tree, HTREEITEM item) {
    struct Request {
        TVITEMA item;
        char text[MAX_PATH];
    };
    DWORD processId = 0;
    GetWindowThreadProcessId(tree, &processId);
    win::UniqueHandle process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process) return "<no access>";
    auto* remote = static_cast<Request*>(VirtualAllocEx(process.get(), nullptr, sizeof(Request), MEM_COMMIT, PAGE_READWRITE));
    if (!remote) return "<no memory>";
    Request request{};
    request.item.mask = TVIF_TEXT;
    request.item.hItem = item;
    request.item.pszText = remote->text;
    request.item.cchTextMax = MAX_PATH;
    std::string label = "<unreadable>";
    if (WriteProcessMemory(process.get(), remote, &request, sizeof request, nullptr) &&
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&remote->item)) &&
        ReadProcessMemory(process.get(), remote, &request, sizeof request, nullptr))
        label.assign(request.text, strnlen(request.text, MAX_PATH));
    VirtualFreeEx(process.get(), remote, 0, MEM_RELEASE);
    return label;
}

std::string BuiltFile(const std::string& name) {
    return path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\" + name);
}

std::string TestProgram(const std::string& name) { return path::ReplaceFileName(path::ModuleFile(nullptr), name); }

Installation::Installation(const std::string& settings) {
    copied_ = CopyFileA(BuiltFile("Tolvak.exe").c_str(), exe().c_str(), FALSE) != FALSE;
    testutil::WriteSettings(dir_, settings);
}

bool Installation::AddPlugIn(const char* name) const {
    return CopyFileA(BuiltFile(name).c_str(), (dir_ / name).c_str(), FALSE) != FALSE;
}

RunningProgram::RunningProgram(const Installation& installation, const std::string& currentFolder)
    : RunningProgram(installation.exe(), currentFolder.empty() ? installation.dir().path() : currentFolder) {}

RunningProgram::RunningProgram(const std::string& exe, const std::string& folder) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string commandLine = text::Format("\"%s\"", exe.c_str());
    if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                       &process_)) {
        CloseHandle(process_.hThread);
        process_.hThread = nullptr;
    }
}

RunningProgram::~RunningProgram() {
    if (!process_.hProcess) return;
    if (HWND window = MainWindowOf(process_.dwProcessId)) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hProcess);
}

HWND RunningProgram::Window() const {
    HWND window = nullptr;
    WaitFor([&] { return (window = MainWindowOf(process_.dwProcessId)) != nullptr; }, kStartTimeoutMs);
    return window;
}

HWND RunningProgram::WaitForDialog(DWORD timeoutMs) const {
    HWND dialog = nullptr;
    WaitFor([&] { return (dialog = DialogOf(process_.dwProcessId)) != nullptr; }, timeoutMs);
    return dialog;
}

bool RunningProgram::Exited(DWORD timeoutMs, DWORD* code) const {
    if (WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(process_.hProcess, code);
    return true;
}

bool AnswerDialog(const RunningProgram& program, HWND dialog, UINT command) {
    PostMessageA(dialog, WM_COMMAND, command, 0);
    if (!WaitFor([&] { return DialogOf(program.id()) == nullptr; })) return false;
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(program.Window(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
}

}  // namespace e2e
