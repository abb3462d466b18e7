#include "TreeHost.h"

#include <resources/TolvakIds.h>

#include <commctrl.h>

namespace treehost {
namespace {

constexpr DWORD kStatusStyle = WS_CHILD | WS_VISIBLE | SBARS_TOOLTIPS | SBARS_SIZEGRIP | CCS_BOTTOM;
constexpr int kIconId = 1;  // the host module's icon, in the program and in the bar library

struct CommandEntry {
    UINT id;
    void (TreeHost::*run)();
};

}  // namespace

TreeHost::TreeHost(std::string settingsPath) : ini_(std::move(settingsPath)) {}

TreeHost::~TreeHost() {
    if (HWND window = hwnd()) DestroyWindow(window);
}

void TreeHost::RegisterWindowClass(HINSTANCE instance) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = ClassProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(kIconId));
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassA(&windowClass);  // fails harmlessly when the class exists
}

LRESULT CALLBACK TreeHost::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Route(window, message, wParam, lParam, DefWindowProcA);
}

CFavTreeView* TreeHost::CurrentTree() { return FirstTree(); }

bool TreeHost::OnCreate() {
    trees_.clear();  // a host whose window is made again starts with a fresh tree
    status_ = CreateStatusWindowA(kStatusStyle, "", hwnd(), CFavTreeView::kStatusBarId);
    treeSettings_ = settings::ReadTreeSettings(ini_);
    treeFont_.reset(settings::CreateTreeFont(treeSettings_));

    fav::TabConfig first;
    first.section = kFirstSection;
    first.ini = ini_;
    auto tree = win::ComPtr<CFavTreeView>::Adopt(new CFavTreeView(std::move(first)));
    PrepareTree(*tree);
    if (!tree->Create(hwnd())) return false;
    tree->ApplySettings(treeSettings_, treeFont_.get());
    trees_.push_back(std::move(tree));
    trees_.front()->LoadRoot();
    return true;
}

void TreeHost::ReleaseTrees() {
    trees_.clear();
    treeFont_.reset();
    status_ = nullptr;
}

void TreeHost::LayOut() {
    RECT client{};
    GetClientRect(hwnd(), &client);
    LayOut(client.right, client.bottom);
}

void TreeHost::LayOut(int width, int height) {
    int statusHeight = 0;
    if (status_ && IsWindow(status_) && IsWindowVisible(status_)) {
        SendMessageA(status_, WM_SIZE, 0, 0);
        RECT rect{};
        GetClientRect(status_, &rect);
        statusHeight = rect.bottom;
    }
    const int top = LayOutTop(width);
    for (const auto& tree : trees_) MoveWindow(tree->hwnd(), 0, top, width, height - statusHeight - top, TRUE);
}

bool TreeHost::RunTreeCommand(UINT id) {
    static constexpr CommandEntry kCommands[] = {
        {ID_TREE_EXPAND_ALL, &TreeHost::ExpandAll},
        {ID_TREE_COLLAPSE_ALL, &TreeHost::CollapseAll},
        {ID_TREE_RELOAD, &TreeHost::ReloadCurrentTree},
        {ID_ITEM_DELETE, &TreeHost::DeleteCurrentNode},
    };
    for (const CommandEntry& command : kCommands) {
        if (command.id == id) {
            (this->*command.run)();
            return true;
        }
    }
    return false;
}

void TreeHost::ReloadCurrentTree() {
    if (CFavTreeView* tree = CurrentTree()) tree->LoadRoot();
}

void TreeHost::ExpandAll() {
    if (CFavTreeView* tree = CurrentTree()) tree->ExpandBranch(tree->Root(), true);
}

void TreeHost::CollapseAll() {
    CFavTreeView* tree = CurrentTree();
    if (!tree) return;
    tree->ExpandBranch(tree->Root(), false);
    TreeView_Expand(tree->hwnd(), tree->Root(), TVE_EXPAND);  // the root always stays open
}

void TreeHost::DeleteCurrentNode() {
    if (CFavTreeView* tree = CurrentTree()) tree->Delete(TreeView_GetSelection(tree->hwnd()));
}

LRESULT TreeHost::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        return OnCreate() ? 0 : -1;
    case WM_SIZE:
        LayOut(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_SETFOCUS:
        if (CFavTreeView* tree = CurrentTree()) SetFocus(tree->hwnd());
        return 0;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (CFavTreeView::RouteNotify(reinterpret_cast<const NMHDR*>(lParam), &result)) return result;
        break;
    }
    case WM_COMMAND:
        if (RunTreeCommand(LOWORD(wParam))) return 0;
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd(), message, wParam, lParam);
}

}  // namespace treehost
