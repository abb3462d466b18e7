#include "TestSupport.h"

#include <base/Path.h>
#include <base/TextEncoding.h>
#include <settings/TreeSettings.h>
#include <tree/TreeImportSink.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

#include <sddl.h>
#include <shlobj.h>
#include <winioctl.h>

#include <vector>

namespace testutil {
namespace {

constexpr char kHostClass[] = "TolvakTestHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (CFavTreeView::RouteNotify(reinterpret_cast<const NMHDR*>(lParam), &result)) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    path_ = path::WithoutTrailingSeparator(temp) + "\\tolvak-test-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(counter++);
    RemoveTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TempDir::~TempDir() { RemoveTree(path_); }

std::string TempDir::MakeDir(const std::string& relative) const {
    const std::string full = *this / relative;
    CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

std::string TempDir::WriteFile(const std::string& relative, const std::string& content) const {
    const std::string full = *this / relative;
    WriteBytes(full, content);
    return full;
}

std::string TempDir::WriteShortcut(const std::string& relative, const std::string& url) const {
    return WriteFile(relative + ".url", "[InternetShortcut]\r\nURL=" + url);
}

bool WriteBytes(const std::string& file, const std::string& content) {
    win::UniqueFile handle(CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return handle && WriteFile(handle.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

win::UniqueFile HoldUnshared(const std::string& file) {
    return win::UniqueFile(CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
}

std::string ReadBytes(const std::string& file) {
    win::UniqueFile handle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!handle) return "<missing>";
    std::string content(GetFileSize(handle.get(), nullptr), '\0');
    DWORD read = 0;
    ReadFile(handle.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr);
    content.resize(read);
    return content;
}

namespace {

void RemoveLink(const std::wstring& link);

// Wide, so names outside the code page go too; a link is removed, never entered, so a loop
// neither keeps the walk going nor empties the folder it leads to.
void RemoveTreeWide(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    win::UniqueFind find(FindFirstFileW((folder + L"\\*").c_str(), &entry));
    if (find) {
        do {
            const std::wstring name = entry.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring full = folder + L"\\" + name;
            SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            const DWORD attributes = entry.dwFileAttributes;
            if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                RemoveLink(full);
            else if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTreeWide(full);
            else
                DeleteFileW(full.c_str());
        } while (FindNextFileW(find.get(), &entry));
    }
    find.reset();
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

void RemoveTree(const std::string& folder) { RemoveTreeWide(text::AnsiToWide(folder)); }

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    win::UniqueFind find(FindFirstFileA((folder + "\\*").c_str(), &entry));
    if (!find) return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileA(find.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

std::string UnixPath(const std::string& path) {
    using Convert = char*(CDECL*)(const wchar_t*);
    const auto convert = win::ProcAddress<Convert>(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    char* unix = convert ? convert(text::AnsiToWide(path).c_str()) : nullptr;
    if (!unix) return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}

bool InRecycleBin(const std::string& file) {
    char data[MAX_PATH] = "";
    if (!GetEnvironmentVariableA("XDG_DATA_HOME", data, sizeof data)) return false;
    std::string info = std::string("Z:") + data + "/Trash/info";
    std::replace(info.begin(), info.end(), '/', '\\');
    const std::string wanted = "Path=" + UnixPath(file) + "\n";
    for (const std::string& name : FolderNames(info))
        if (ReadBytes(info + "\\" + name).find(wanted) != std::string::npos) return true;
    return false;
}

namespace {

std::map<UINT_PTR, std::function<void()>>& Steps() {
    static std::map<UINT_PTR, std::function<void()>> steps;
    return steps;
}

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const auto found = Steps().find(id);
    if (found == Steps().end()) return;
    const std::function<void()> step = std::move(found->second);
    Steps().erase(found);
    step();
}

}  // namespace

void Soon(std::function<void()> step) { Steps()[SetTimer(nullptr, 0, 10, RunStep)] = std::move(step); }

HWND ThreadWindow(const char* className) {
    std::pair<const char*, HWND> search{className, nullptr};
    const auto check = [](HWND window, LPARAM param) {
        auto& [wanted, found] = *reinterpret_cast<std::pair<const char*, HWND>*>(param);
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) && lstrcmpA(name, wanted) == 0) found = window;
        return found ? FALSE : TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), check, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

INT_PTR RunDialog(const std::function<INT_PTR()>& run, const std::function<void(HWND)>& script, INT_PTR leftOpen) {
    int tries = 0;
    std::function<void()> step = [&] {
        HWND dialog = ThreadWindow("#32770");
        if (!dialog && ++tries < 100) return Soon(step);
        ASSERT_NE(dialog, nullptr);
        script(dialog);
        if (IsWindowVisible(dialog)) EndDialog(dialog, leftOpen);
    };
    Soon(step);
    const INT_PTR result = run();
    for (const auto& [id, unused] : Steps()) KillTimer(nullptr, id);
    Steps().clear();
    return result;
}

HWND OwnDialog(HWND owner) {
    std::pair<HWND, HWND> search{owner, nullptr};
    EnumWindows(
        [](HWND window, LPARAM param) {
            auto& [wanted, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(param);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            char name[16] = "";
            GetClassNameA(window, name, sizeof name);
            if (process == GetCurrentProcessId() && IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0 &&
                (!wanted || GetWindow(window, GW_OWNER) == wanted))
                found = window;
            return found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs) {
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(20))
        if (done()) return true;
    return done();
}

namespace {

// Every dialog of this process that is still open: questions get "No", everything else "Cancel",
// innermost first as the owners wait for them.
void CloseOwnDialogs() {
    while (HWND dialog = OwnDialog()) {
        HWND inner = dialog;
        while (HWND owned = OwnDialog(inner)) inner = owned;
        const bool question = GetDlgItem(inner, IDNO) && !GetDlgItem(inner, IDCANCEL);
        PostMessageA(inner, WM_COMMAND, question ? IDNO : IDCANCEL, 0);
        if (!WaitUntilGone(inner)) return;
    }
}

}  // namespace

HWND WaitForOwnDialog(HWND owner, const std::atomic<bool>* over) {
    HWND found = nullptr;
    WaitFor([&] { return (over && *over) || (found = OwnDialog(owner)) != nullptr; });
    return found;
}

bool WaitUntilGone(HWND window) {
    return WaitFor([window] { return !IsWindow(window) || !IsWindowVisible(window); });
}

bool PlayUser(const std::function<void()>& run, HWND owner, const std::function<void(HWND)>& user) {
    std::atomic<bool> over = false;
    bool appeared = false;
    std::thread helper([&] {
        if (HWND dialog = WaitForOwnDialog(owner, &over)) {
            appeared = true;
            user(dialog);
        }
        if (WaitFor([&] { return over.load(); })) return;
        ADD_FAILURE() << "a dialog was left open";
        for (int round = 0; round < 3 && !over; ++round) {
            CloseOwnDialogs();
            WaitFor([&] { return over.load(); });
        }
    });
    run();
    over = true;
    helper.join();
    return appeared;
}

bool StartOnHost(const std::string& commandLine) {
    std::string command = "start.exe /unix " + commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PlaceCursor(POINT point) {
    for (int tries = 0, steady = 0; tries < 200 && steady < 3; ++tries) {
        SetCursorPos(point.x, point.y);
        Sleep(10);
        MSG pending;
        PeekMessageA(&pending, nullptr, 0, 0, PM_NOREMOVE);  // the display driver delivers its events here
        POINT now{};
        GetCursorPos(&now);
        steady = (now.x == point.x && now.y == point.y) ? steady + 1 : 0;
    }
}

MessageRecorder::MessageRecorder()
    : handler_([this](const ui::MessageRequest& request) {
          messages_.push_back(request);
          if (answers_.empty()) return IDOK;
          const int answer = answers_.front();
          answers_.pop_front();
          return answer;
      }) {}

std::vector<std::string> MessageRecorder::texts() const {
    std::vector<std::string> result;
    for (const ui::MessageRequest& request : messages_) result.push_back(request.text);
    return result;
}

std::vector<std::string> MessageRecorder::captions() const {
    std::vector<std::string> result;
    for (const ui::MessageRequest& request : messages_)
        result.push_back(request.systemCaption ? "(system)" : request.caption);
    return result;
}

TreeHost::TreeHost() {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kHostClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
    window_ = CreateWindowExA(0, kHostClass, "tree host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 500, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    status_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", window_, CFavTreeView::kStatusBarId);
}

TreeHost::~TreeHost() {
    trees_.clear();
    DestroyWindow(window_);
    PumpMessages();
}

std::string TreeHost::StatusText() const {
    char buffer[1024] = "";
    SendMessageA(status_, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::wstring TreeHost::WideStatusText() const {
    wchar_t buffer[1024] = L"";
    SendMessageW(status_, SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

CFavTreeView& TreeHost::AddTree(const std::string& iniPath, const std::string& section, bool load) {
    fav::TabConfig config;
    config.section = section;
    config.ini = settings::IniFile(iniPath);
    trees_.push_back(win::ComPtr<CFavTreeView>::Adopt(new CFavTreeView(std::move(config))));
    CFavTreeView& tree = *trees_.back();
    tree.Create(window_);
    const settings::IniFile ini(iniPath);
    tree.ApplySettings(settings::ReadTreeSettings(ini), nullptr);
    MoveWindow(tree.hwnd(), 0, 0, 380, 400, FALSE);
    if (load) tree.LoadRoot();
    return tree;
}

std::vector<std::string> ChildLabels(const CFavTreeView& tree, HTREEITEM node) {
    std::vector<std::string> labels;
    for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), node); child; child = TreeView_GetNextSibling(tree.hwnd(), child))
        labels.push_back(tree.Label(child));
    return labels;
}

HTREEITEM Child(const CFavTreeView& tree, HTREEITEM node, const std::string& label) {
    for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), node); child; child = TreeView_GetNextSibling(tree.hwnd(), child))
        if (tree.Label(child) == label) return child;
    return nullptr;
}

bool ImportSource(CFavTreeView& tree, HTREEITEM source, const char* code, const std::string& file) {
    const std::string library = path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\tlImport.dll");
    const win::UniqueModule module(LoadLibraryA(library.c_str()));
    const auto create = win::ProcAddress<plugin::CreateHandlerFunction>(module.get(), plugin::kImportExport);
    plugin::FormatHandler* handler = nullptr;
    if (!create || create(code, &handler) != 0) return false;
    TreeImportSink sink(tree);
    handler->SetSink(&sink);
    std::string location = file;
    const int result = handler->Run(location.data(), source);
    handler->Release();
    return result == 0;
}

HTREEITEM Node(const CFavTreeView& tree, const std::vector<std::string>& labels) {
    HTREEITEM node = tree.Root();
    for (const std::string& label : labels) {
        if (!node) return nullptr;
        node = Child(tree, node, label);
    }
    return node;
}

std::string WriteSettings(const TempDir& dir, const std::string& content) {
    return dir.WriteFile("tolvak.ini", content);
}

}  // namespace testutil

namespace testutil {

bool EditLabel(CFavTreeView& tree, HTREEITEM node, const char* text) {
    SetFocus(tree.hwnd());
    HWND edit = TreeView_EditLabel(tree.hwnd(), node);
    if (!edit) return false;
    FinishEdit(tree, text);
    return true;
}

void FinishEdit(const CFavTreeView& tree, const char* text) {
    HWND edit = OpenEditor(tree);
    if (!edit) return;
    if (text) SetWindowTextA(edit, text);
    SendMessageA(edit, WM_KEYDOWN, text ? VK_RETURN : VK_ESCAPE, 0);
    PumpMessages();
}

HWND OpenEditor(const CFavTreeView& tree) { return TreeView_GetEditControl(tree.hwnd()); }

}  // namespace testutil

namespace testutil {

Recorder::Recorder(const TempDir& dir, const std::string& folder, const std::string& program)
    : folder_(dir.MakeDir(folder)), name_(program) {
    const std::string built = path::ReplaceFileName(path::ModuleFile(nullptr), "record_args.exe");
    ok_ = CopyFileA(built.c_str(), this->program().c_str(), FALSE) != FALSE;
}

Recorder::~Recorder() {
    // A started copy may still be running for a moment; its folder goes only after it ends.
    for (int i = 0; i < 100 && path::Exists(program()) && !DeleteFileA(program().c_str()); ++i) Sleep(50);
}

bool Recorder::Started() const { return path::Exists(folder_ + "\\args.txt"); }

namespace {

// The process, opened to be ended, of a visible top-level window of another process that runs
// `program`.
win::UniqueHandle ProcessShowing(const std::string& program) {
    struct Search {
        const std::string& program;
        win::UniqueHandle found;
    } search{program, {}};
    EnumWindows(
        [](HWND window, LPARAM context) {
            auto& wanted = *reinterpret_cast<Search*>(context);
            DWORD id = 0;
            GetWindowThreadProcessId(window, &id);
            if (!IsWindowVisible(window) || id == GetCurrentProcessId()) return TRUE;
            win::UniqueHandle process(
                OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id));
            char image[MAX_PATH] = "";
            DWORD size = sizeof image;
            if (!process || !QueryFullProcessImageNameA(process.get(), 0, image, &size) ||
                lstrcmpiA(image, wanted.program.c_str()) != 0)
                return TRUE;
            wanted.found = std::move(process);
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return std::move(search.found);
}

}  // namespace

bool EndProgramWhenShown(const std::string& program, const std::function<bool()>& giveUp) {
    for (int i = 0; i < 500 && !giveUp(); ++i) {
        if (win::UniqueHandle shown = ProcessShowing(program)) {
            TerminateProcess(shown.get(), 0);
            WaitForSingleObject(shown.get(), 5000);
            return true;
        }
        Sleep(20);
    }
    return false;
}

ScopedCurrentFolder::ScopedCurrentFolder(const std::string& folder) : previous_(MAX_PATH, '\0') {
    previous_.resize(GetCurrentDirectoryA(MAX_PATH, previous_.data()));
    SetCurrentDirectoryA(folder.c_str());
}

ScopedCurrentFolder::~ScopedCurrentFolder() { SetCurrentDirectoryA(previous_.c_str()); }

std::string Recorder::WaitForCommandLine() const {
    const std::string file = folder_ + "\\args.txt";
    for (int i = 0; i < 200; ++i) {
        if (path::Exists(file)) return ReadBytes(file);
        Sleep(50);
    }
    return "";
}

std::wstring Recorder::WaitForWideCommandLine() const {
    if (WaitForCommandLine().empty()) return L"";
    const std::string bytes = ReadBytes(folder_ + "\\argsw.txt");
    std::wstring line(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(line.data(), bytes.data(), line.size() * sizeof(wchar_t));
    return line;
}

}  // namespace testutil

namespace testutil {

HRESULT STDMETHODCALLTYPE FakeData::QueryInterface(REFIID iid, void** object) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject)) {
        *object = this;
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FakeData::GetData(FORMATETC* wanted, STGMEDIUM* medium) {
    const auto found = formats_.find(wanted->cfFormat);
    if (found == formats_.end()) return DV_E_FORMATETC;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, found->second.size());
    if (!memory) return E_OUTOFMEMORY;
    std::memcpy(GlobalLock(memory), found->second.data(), found->second.size());
    GlobalUnlock(memory);
    *medium = STGMEDIUM{};
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = memory;
    return S_OK;
}

std::string FileList(const std::vector<std::string>& files) {
    std::string list;
    for (const std::string& file : files) list += file + '\0';
    list += '\0';
    DROPFILES header{};
    header.pFiles = sizeof header;
    return std::string(reinterpret_cast<const char*>(&header), sizeof header) + list;
}

POINTL PointOn(const CFavTreeView& tree, HTREEITEM node) {
    RECT rect{};
    TreeView_GetItemRect(tree.hwnd(), node, &rect, TRUE);
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(tree.hwnd(), &point);
    return POINTL{point.x, point.y};
}

DWORD DropOn(IDropTarget& target, const CFavTreeView& tree, IDataObject& data, HTREEITEM node, DWORD allowed) {
    const POINTL point = PointOn(tree, node);
    DWORD effect = allowed;
    target.DragEnter(&data, MK_LBUTTON, point, &effect);
    effect = allowed;
    target.DragOver(MK_LBUTTON, point, &effect);
    const DWORD hovering = effect;
    effect = allowed;
    target.Drop(&data, 0, point, &effect);
    PumpMessages();
    return hovering;
}

}  // namespace testutil

namespace testutil {

std::wstring WidePath(const TempDir& dir, const std::wstring& relative) {
    return text::AnsiToWide(dir.path()) + L"\\" + relative;
}

void WriteWideShortcut(const TempDir& dir, const std::wstring& relative, const std::string& url) {
    const std::wstring file = WidePath(dir, relative) + L".url";
    win::UniqueFile handle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    const std::string content = "[InternetShortcut]\r\nURL=" + url + "\r\n";
    DWORD written = 0;
    ASSERT_TRUE(handle && WriteFile(handle.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
}

namespace {

using UnixNameFn = char*(CDECL*)(LPCWSTR);

// The host's name of a path under Wine; "" elsewhere.
std::string UnixName(const std::wstring& path) {
    const auto unixName = win::ProcAddress<UnixNameFn>(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name");
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (!name) return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

// Runs a program of the host with arguments (double-quoted, as Windows splits them).
bool RunHost(const char* program, const std::vector<std::string>& arguments) {
    std::string command = program;
    for (const std::string& argument : arguments) command += " \"" + argument + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const std::string windowsName = std::string("Z:") + program;
    if (!CreateProcessA(windowsName.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// Wine cannot make reparse points yet; a symbolic link of the host's file system is what it shows
// as one (a folder with FILE_ATTRIBUTE_REPARSE_POINT whose identity is the target's), and the
// host's "ln" makes it.
bool MakeHostLink(const std::string& link, const std::string& target) {
    std::string folder, name;
    if (!path::SplitLast(link, &folder, &name)) return false;
    const std::string unixTarget = UnixName(text::AnsiToWide(target));
    const std::string unixFolder = UnixName(text::AnsiToWide(folder));
    if (unixTarget.empty() || unixFolder.empty() || !RunHost("/bin/ln", {"-s", unixTarget, unixFolder + "/" + name}))
        return false;
    // The handle of a host process may be signalled before the process has done its work.
    for (int i = 0; i < 100 && !path::IsDirectory(link); ++i) Sleep(20);
    return path::IsDirectory(link);
}

// A link the system cannot remove (one of the host's, under Wine) goes through the host.
void RemoveLink(const std::wstring& link) {
    if (DeleteFileW(link.c_str()) || RemoveDirectoryW(link.c_str())) return;
    const std::string unixLink = UnixName(link);
    if (!unixLink.empty()) RunHost("/bin/rm", {"-f", unixLink});
}

}  // namespace

bool MakeJunction(const std::string& link, const std::string& target) {
    if (!CreateDirectoryA(link.c_str(), nullptr)) return false;
    win::UniqueFile handle(CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle) return false;
    // The mount-point reparse buffer: tag, sizes, then the substitute and print names.
    const std::wstring substitute = L"\\??\\" + text::AnsiToWide(target);
    const std::wstring print = text::AnsiToWide(target);
    const size_t namesBytes = (substitute.size() + 1 + print.size() + 1) * sizeof(wchar_t);
    std::vector<BYTE> buffer(8 + 8 + namesBytes, 0);
    auto put16 = [&](size_t at, size_t value) { *reinterpret_cast<WORD*>(&buffer[at]) = static_cast<WORD>(value); };
    *reinterpret_cast<DWORD*>(&buffer[0]) = IO_REPARSE_TAG_MOUNT_POINT;
    put16(4, 8 + namesBytes);                                       // data length
    put16(8, 0);                                                    // substitute name offset
    put16(10, substitute.size() * sizeof(wchar_t));                 // substitute name length
    put16(12, (substitute.size() + 1) * sizeof(wchar_t));           // print name offset
    put16(14, print.size() * sizeof(wchar_t));                      // print name length
    std::memcpy(&buffer[16], substitute.c_str(), (substitute.size() + 1) * sizeof(wchar_t));
    std::memcpy(&buffer[16 + (substitute.size() + 1) * sizeof(wchar_t)], print.c_str(), (print.size() + 1) * sizeof(wchar_t));
    DWORD returned = 0;
    if (DeviceIoControl(handle.get(), FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()), nullptr,
                        0, &returned, nullptr))
        return true;
    handle.reset();
    RemoveDirectoryA(link.c_str());
    return MakeHostLink(link, target);
}

}  // namespace testutil

namespace testutil {

ShiftKey::ShiftKey(bool down) {
    GetKeyboardState(saved_);
    BYTE keys[256];
    std::memcpy(keys, saved_, sizeof keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

ShiftKey::~ShiftKey() { SetKeyboardState(saved_); }

std::optional<std::string> RegistryText(HKEY root, const std::string& key, const char* name) {
    char data[MAX_PATH * 4] = "";
    DWORD size = sizeof data;
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS) return std::nullopt;
    return std::string(data);
}

bool KeyExists(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
    RegCloseKey(opened);
    return true;
}

std::optional<NamedTexts> RegistryValues(HKEY root, const std::string& key) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return std::nullopt;
    const win::UniqueKey closed(opened);
    NamedTexts values;
    char name[256], data[1024];
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(opened, index, name, &nameSize, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataSize) !=
            ERROR_SUCCESS)
            break;
        // Stored with its terminating NUL, as REG_SZ.
        values.emplace_back(name, type == REG_SZ && dataSize > 0 && data[dataSize - 1] == '\0'
                                      ? std::string(data, dataSize - 1)
                                      : "(not a terminated string)");
    }
    return values;
}

ScopedRegistryKey::ScopedRegistryKey(HKEY root, std::string subKey, KeyAtStart start)
    : root_(root), subKey_(std::move(subKey)) {
    if (start == KeyAtStart::kAbsent) {
        const LSTATUS status = RegDeleteTreeA(root_, subKey_.c_str());
        ok_ = status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
        return;
    }
    HKEY key = nullptr;
    ok_ = RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS;
    if (ok_) RegCloseKey(key);
}

ScopedRegistryKey::~ScopedRegistryKey() {
    if (ok_) RegDeleteTreeA(root_, subKey_.c_str());
}

bool ScopedRegistryKey::Set(const std::string& relative, const std::string& value, const char* name) const {
    const std::string full = relative.empty() ? subKey_ : subKey_ + "\\" + relative;
    return RegSetKeyValueA(root_, full.c_str(), name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1)) ==
           ERROR_SUCCESS;
}

LockedRegistryKey::LockedRegistryKey(HKEY root, std::string subKey) : root_(root), subKey_(std::move(subKey)) {
    HKEY created = nullptr;
    if (RegCreateKeyExA(root_, subKey_.c_str(), 0, nullptr, 0, READ_CONTROL, nullptr, &created, nullptr) != ERROR_SUCCESS)
        return;
    const win::UniqueKey key(created);
    DWORD size = 0;
    RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
    saved_.resize(size);
    if (size == 0 || RegGetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, saved_.data(), &size) != ERROR_SUCCESS)
        return;
    PSECURITY_DESCRIPTOR locked = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:(D;;KWSD;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &locked,
                                                              nullptr))
        return;
    ok_ = SetRights(locked);
    LocalFree(locked);
}

LockedRegistryKey::~LockedRegistryKey() {
    if (ok_) SetRights(saved_.data());
}

bool LockedRegistryKey::SetRights(PSECURITY_DESCRIPTOR rights) const {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root_, subKey_.c_str(), 0, WRITE_DAC, &opened) != ERROR_SUCCESS) return false;
    const win::UniqueKey key(opened);
    return RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, rights) == ERROR_SUCCESS;
}

namespace {

constexpr const char* kCachedBarLists[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\PostSetup\\Component Categories\\"
    "{00021493-0000-0000-C000-000000000046}\\Enum",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Discardable\\PostSetup\\Component Categories64\\"
    "{00021493-0000-0000-C000-000000000046}\\Enum",
};

}  // namespace

CachedBarLists::CachedBarLists()
    : list_(HKEY_CURRENT_USER, kCachedBarLists[0]),
      list64_(HKEY_CURRENT_USER, kCachedBarLists[1]),
      ok_(list_.Set("Old", "") && list64_.Set("Old", "")) {}

bool CachedBarLists::Gone() {
    return !KeyExists(HKEY_CURRENT_USER, kCachedBarLists[0]) && !KeyExists(HKEY_CURRENT_USER, kCachedBarLists[1]);
}

BarUnregisteredAtEnd::~BarUnregisteredAtEnd() {
    using UnregisterFn = HRESULT(STDAPICALLTYPE*)();
    const std::string library = path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\TolvakBar.dll");
    const win::UniqueModule module(LoadLibraryA(library.c_str()));
    if (auto unregister = win::ProcAddress<UnregisterFn>(module.get(), MAKEINTRESOURCEA(4))) unregister();
}

ScopedClassObject::ScopedClassObject(REFCLSID clsid, IUnknown* factory) {
    registered_ = SUCCEEDED(
        CoRegisterClassObject(clsid, factory, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie_));
}

ScopedClassObject::~ScopedClassObject() {
    if (registered_) CoRevokeClassObject(cookie_);
}

HRESULT STDMETHODCALLTYPE SingleObjectFactory::QueryInterface(REFIID iid, void** object) {
    const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory);
    *object = known ? static_cast<IClassFactory*>(this) : nullptr;
    return known ? S_OK : E_NOINTERFACE;  // IMarshal included
}

HRESULT STDMETHODCALLTYPE SingleObjectFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return failing ? E_OUTOFMEMORY : object_->QueryInterface(iid, object);
}

}  // namespace testutil
