#include "BandWindow.h"

#include "Module.h"

namespace bar {
namespace {

constexpr DWORD kBandStyle = WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER;
constexpr int kInitialWidth = 298;
constexpr int kInitialHeight = 302;

}  // namespace

BandWindow::BandWindow(std::string settingsPath, FocusListener& listener)
    : TreeHost(std::move(settingsPath)), listener_(listener) {}

BandWindow::~BandWindow() {
    // Here, while this object's handlers still run, rather than in TreeHost's destructor.
    if (HWND window = hwnd()) DestroyWindow(window);
}

bool BandWindow::Create(HWND parent) {
    if (hwnd()) return true;
    // OLE before the tree registers itself as a drop target; each window keeps its own share.
    session_.emplace();
    if (!session_->Start()) {
        session_.reset();
        return false;
    }
    // Once per process, before any band window: bands on other threads must not try to create
    // their window while the class is still being registered by the first one.
    static const bool registered = (RegisterWindowClass(Module()), true);
    (void)registered;
    if (!CreateWindowExA(0, treehost::kWindowClass, "Tolvak", kBandStyle, 0, 0, kInitialWidth, kInitialHeight, parent,
                         nullptr, Module(), CreationParam())) {
        session_.reset();
        return false;
    }
    return true;
}

bool BandWindow::OnCreate() {
    if (!TreeHost::OnCreate()) return false;
    // The tree fills the whole band; its status texts go to the browser.
    if (status_) DestroyWindow(status_);
    status_ = nullptr;
    return true;
}

void BandWindow::OnWindowGone() {
    ReleaseTrees();
    session_.reset();
}

HTREEITEM BandWindow::NodeUnderCursor() const {
    CFavTreeView* tree = FirstTree();
    if (!tree || !tree->hwnd()) return nullptr;
    TVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(tree->hwnd(), &hit.pt);
    return TreeView_HitTest(tree->hwnd(), &hit);
}

LRESULT BandWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: {
        // The shared handling passes the focus on to the tree first (this window then sees
        // WM_KILLFOCUS); the band still counts as focused while its tree has the keys.
        const LRESULT result = TreeHost::HandleMessage(message, wParam, lParam);
        listener_.OnBandFocus(true);
        return result;
    }
    case WM_KILLFOCUS:
        listener_.OnBandFocus(false);
        break;
    default:
        break;
    }
    return TreeHost::HandleMessage(message, wParam, lParam);
}

}  // namespace bar
