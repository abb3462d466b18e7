#include "BenchTree.h"

#include <base/Format.h>
#include <base/Path.h>
#include <settings/TreeSettings.h>

#include <commctrl.h>

namespace bench {
namespace {

constexpr char kHostClass[] = "TolvakBenchHost";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // The trees talk to their parent through WM_NOTIFY, as in the program's main window.
    if (message == WM_NOTIFY) {
        LRESULT result = 0;
        if (CFavTreeView::RouteNotify(reinterpret_cast<const NMHDR*>(lParam), &result)) return result;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

SettingsFolder::SettingsFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder_ = path::Join(path::WithoutTrailingSeparator(temp), text::Format("tolvak-bench-%lu", GetCurrentProcessId()));
    CreateDirectoryA(folder_.c_str(), nullptr);
    ini_ = settings::IniFile(path::Join(folder_, settings::kFileName));
}

SettingsFolder::~SettingsFolder() {
    DeleteFileA(ini_.path().c_str());
    RemoveDirectoryA(folder_.c_str());
}

win::UniqueWindow CreateHostWindow(const char* title) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kHostClass;
    RegisterClassA(&windowClass);
    win::UniqueWindow host(CreateWindowExA(0, kHostClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 500,
                                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    // Selecting a node puts its text into the parent's status bar, as in the main window.
    if (host) CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "", host.get(), CFavTreeView::kStatusBarId);
    return host;
}

win::ComPtr<CFavTreeView> CreateTree(HWND host, const settings::IniFile& ini, const char* section) {
    fav::TabConfig config;
    config.section = section;
    config.ini = ini;
    auto tree = win::ComPtr<CFavTreeView>::Adopt(new CFavTreeView(std::move(config)));
    if (!tree->Create(host)) return {};
    tree->ApplySettings(settings::ReadTreeSettings(ini), nullptr);
    MoveWindow(tree->hwnd(), 0, 0, 380, 460, FALSE);
    return tree;
}

BareTreeView::BareTreeView(HWND host)
    : window_(CreateWindowExW(0, WC_TREEVIEWW, nullptr, WS_CHILD | TVS_HASBUTTONS | TVS_HASLINES | TVS_SHOWSELALWAYS, 0,
                              0, 380, 460, host, nullptr, GetModuleHandleW(nullptr), nullptr)) {}

HTREEITEM BareTreeView::Insert(HTREEITEM parent, const std::wstring& text, bool children) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_CHILDREN;
    insert.item.pszText = const_cast<wchar_t*>(text.c_str());
    insert.item.cChildren = children ? 1 : 0;
    return reinterpret_cast<HTREEITEM>(SendMessageW(window_.get(), TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}

void BareTreeView::Clear() {
    ShowWindow(window_.get(), SW_HIDE);
    TreeView_DeleteAllItems(window_.get());
}

}  // namespace bench
