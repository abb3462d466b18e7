// The tab bar as drop target: hovering selects a tab, Ctrl+dropping a folder opens it in a
// temporary tab, and any other drop goes to the visible tree.
#include "MainWindow.h"

#include <base/DragDrop.h>
#include <base/FileSystem.h>
#include <base/Path.h>

#include <commctrl.h>
#include <shellapi.h>

namespace app {
namespace {

constexpr char kTemporaryTabCaption[] = "一時タブ";
constexpr DWORD kCopyOrLink = DROPEFFECT_COPY | DROPEFFECT_LINK;

LRESULT CALLBACK TabBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR owner) {
    auto* main = reinterpret_cast<MainWindow*>(owner);
    switch (message) {
    case WM_INITDIALOG:
        dnd::RegisterDropTarget(window, MainWindow::kTabBarDropEvent, CFavTreeView::AcceptedDropFormats());
        return 0;
    case MainWindow::kTabBarDropEvent:
        return main->OnTabBarDrop(wParam, *reinterpret_cast<dnd::DropNotify*>(lParam));
    case WM_NCDESTROY:
        dnd::RevokeDropTarget(window);
        RemoveWindowSubclass(window, TabBarProc, 1);
        break;
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// The first path of a CF_HDROP block, exactly.
std::wstring FirstDroppedPath(const std::string& bytes) {
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!copy) return {};
    std::wstring file;
    if (void* target = GlobalLock(copy)) {
        std::copy(bytes.begin(), bytes.end(), static_cast<char*>(target));
        GlobalUnlock(copy);
        auto drop = static_cast<HDROP>(copy);
        if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
            file.resize(DragQueryFileW(drop, 0, nullptr, 0) + 1);
            file.resize(DragQueryFileW(drop, 0, file.data(), static_cast<UINT>(file.size())));
        }
    }
    GlobalFree(copy);
    return file;
}

}  // namespace

void MainWindow::MakeTabBarDropTarget() {
    SetWindowSubclass(tabBar_, TabBarProc, 1, reinterpret_cast<DWORD_PTR>(this));
    SendMessageA(tabBar_, WM_INITDIALOG, 0, 0);
}

LRESULT MainWindow::OnTabBarDrop(WPARAM event, dnd::DropNotify& notify) {
    if (event == dnd::kDrop) {
        if (notify.keyState & MK_CONTROL) {
            if (const auto files = dnd::GetGlobalBytes(notify.dataObject, CF_HDROP)) {
                const std::wstring folder = FirstDroppedPath(*files);
                if (fsys::IsDirectory(folder)) OpenTemporaryTab(folder);
                return 0;
            }
        }
        // Dropping on the tab bar is dropping on the visible tree.
        if (CFavTreeView* tree = CurrentTree()) {
            SendMessageA(tree->hwnd(), CFavTreeView::kDropEvent, dnd::kEnter, reinterpret_cast<LPARAM>(&notify));
            return SendMessageA(tree->hwnd(), CFavTreeView::kDropEvent, dnd::kDrop, reinterpret_cast<LPARAM>(&notify));
        }
        return 0;
    }
    if (!notify.cursor) return 0;
    TCHITTESTINFO hit{};
    hit.pt = *notify.cursor;
    ScreenToClient(tabBar_, &hit.pt);
    const int tab = TabCtrl_HitTest(tabBar_, &hit);
    if (tab >= 0) {
        SelectTab(static_cast<size_t>(tab));
        notify.effect = kCopyOrLink;
    }
    return 0;
}

void MainWindow::OpenTemporaryTab(const std::wstring& folder) {
    fav::TabConfig config;
    config.section = std::string(fav::kTemporarySection);
    config.ini = ini_;
    config.SetRoot(folder);
    CFavTreeView* tree = AddTabTree(std::move(config));
    if (!tree) return;
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(kTemporaryTabCaption);
    TabCtrl_InsertItem(tabBar_, TabCtrl_GetItemCount(tabBar_), &item);
    LayOut();
    SelectTab(trees_.size() - 1);
}

}  // namespace app
