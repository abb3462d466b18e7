#include "CFavTreeView.h"

#include "TreeContextMenu.h"
#include "TreeModule.h"

#include <resources/TreeIds.h>

#include <base/MessageBox.h>

#include <initguid.h>

DEFINE_GUID(IID_IFavTree, 0x7C41B5C1, 0x3A6F, 0x11D4, 0x8E, 0x3F, 0x2A, 0x61, 0xC0, 0xD9, 0x4B, 0x17);

namespace {

constexpr int kImageSize = 16;
constexpr DWORD kTreeStyle = WS_CHILD | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES | TVS_EDITLABELS |
                             TVS_SHOWSELALWAYS;

WNDPROC g_baseTreeProc = nullptr;  // the system tree view's procedure, shared by every tree
// Per thread: browser bars run a tree on each browser window's thread, and a label edit on one
// must not hold back the keys of another.
thread_local bool g_labelEditing = false;

bool RegisterTreeClass() {
    WNDCLASSA base{};
    if (!GetClassInfoA(nullptr, WC_TREEVIEWA, &base)) return false;
    g_baseTreeProc = base.lpfnWndProc;
    return true;
}

// The lowest id from 110 that no other child of `parent` uses: ids belong to their parent, so a
// process that creates host windows again and again (a browser opening bars) never runs out.
int FreeControlId(HWND parent) {
    int id = CFavTreeView::kFirstControlId;
    while (parent && GetDlgItem(parent, id)) ++id;
    return id;
}

DWORD StyleForItemMode(DWORD style, int itemMode) {
    if ((itemMode & settings::kItemModeExpandMask) == settings::kExpandSingle) style |= TVS_SINGLEEXPAND;
    if (itemMode & settings::kItemModeHotTrack) style |= TVS_TRACKSELECT;
    if (itemMode & settings::kItemModeNoDragOut) style |= TVS_DISABLEDRAGDROP;
    if (itemMode & settings::kItemModeNoLabelEdit) style &= ~DWORD(TVS_EDITLABELS);
    return style;
}

}  // namespace

CFavTreeView::CFavTreeView(fav::TabConfig config) : config_(std::move(config)) {}

CFavTreeView::~CFavTreeView() {
    if (HWND window = hwnd()) DestroyWindow(window);
}

HRESULT STDMETHODCALLTYPE CFavTreeView::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IFavTree)) {
        *object = static_cast<IFavTree*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE CFavTreeView::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG STDMETHODCALLTYPE CFavTreeView::Release() {
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
}

char* STDMETHODCALLTYPE CFavTreeView::GetNodeUrl(HTREEITEM node, char* buffer, int size) {
    if (!buffer || size <= 0) return nullptr;
    const std::optional<std::string> url = NodeUrl(node);
    if (!url) return nullptr;
    lstrcpynA(buffer, url->c_str(), size);
    return buffer;
}

CFavTreeView* CFavTreeView::FromWindow(HWND window) {
    char className[32] = "";
    if (!window || !GetClassNameA(window, className, sizeof className) || lstrcmpA(className, kClassName) != 0)
        return nullptr;
    return static_cast<CFavTreeView*>(ui::Window::FromHandle(window));
}

bool CFavTreeView::IsLabelEditing() { return g_labelEditing; }

void CFavTreeView::SetLabelEditing(bool editing) { g_labelEditing = editing; }

bool CFavTreeView::RouteNotify(const NMHDR* header, LRESULT* result) {
    CFavTreeView* tree = header ? FromWindow(header->hwndFrom) : nullptr;
    if (!tree) return false;
    *result = tree->OnNotify(header);
    return true;
}

LRESULT CALLBACK CFavTreeView::ClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Route(window, message, wParam, lParam, g_baseTreeProc);
}

bool CFavTreeView::Create(HWND parent) {
    static const bool registered = [] {
        if (!RegisterTreeClass()) return false;
        WNDCLASSA own{};
        GetClassInfoA(nullptr, WC_TREEVIEWA, &own);
        own.lpfnWndProc = ClassProc;
        own.hInstance = fav::TreeModule();
        own.lpszClassName = kClassName;
        RegisterClassA(&own);  // a second registration in the same module fails harmlessly
        return true;
    }();
    if (!registered) return false;

    parent_ = parent;
    const int id = FreeControlId(parent);
    HWND window = CreateWindowExA(WS_EX_NOPARENTNOTIFY, kClassName, nullptr, kTreeStyle, 0, 0, 30, 30, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), fav::TreeModule(), CreationParam());
    if (!window) return false;
    SendMessageA(window, WM_INITDIALOG, 0, 0);

    itemMode_ = config_.ini.ReadInt("Tree", "itemMode", 0);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    SetWindowLongPtrA(window, GWL_STYLE, StyleForItemMode(static_cast<DWORD>(style), itemMode_));
    return true;
}

void CFavTreeView::ApplySettings(const settings::TreeSettings& tree, HFONT font) {
    HWND window = hwnd();
    if (font) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    menuPen_.reset(CreatePen(PS_SOLID, 0, GetSysColor(COLOR_MENUTEXT)));

    if (tree.background) TreeView_SetBkColor(window, *tree.background);
    TreeView_SetTextColor(window, tree.text);
    TreeView_SetLineColor(window, tree.lines);
    TreeView_SetIndent(window, tree.indent);

    if (!tree.showIcons) return;
    images_.reset(ImageList_LoadImageA(fav::TreeModule(), MAKEINTRESOURCEA(IDB_TREE_IMAGES), kImageSize, 0,
                                       CLR_DEFAULT, IMAGE_BITMAP, LR_CREATEDIBSECTION));
    if (!images_) return;
    ImageList_SetBkColor(images_.get(), tree.background.value_or(GetSysColor(COLOR_WINDOW)));
    TreeView_SetImageList(window, images_.get(), TVSIL_NORMAL);
}

int CFavTreeView::Message(const std::string& text, const std::string& caption, UINT flags) {
    return ShowBox(text, &caption, flags);
}

int CFavTreeView::Message(const std::string& text, UINT flags) { return ShowBox(text, nullptr, flags); }

int CFavTreeView::ShowBox(const std::string& text, const std::string* caption, UINT flags) {
    HWND window = hwnd();
    HWND top = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (top) {
        SetActiveWindow(top);
        SetForegroundWindow(top);
    }
    const int answer = caption ? ui::ShowMessage(top, text, *caption, flags) : ui::ShowMessage(top, text, flags);
    if (window && IsWindow(window)) SetFocus(window);
    return answer;
}

LRESULT CFavTreeView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = hwnd();
    if (LRESULT result = 0; RouteFeatureMessage(message, wParam, lParam, &result)) return result;
    switch (message) {
    case WM_INITDIALOG:
        RegisterDropTarget();
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            HTREEITEM caret = TreeView_GetSelection(window);
            if (caret && (KindOf(caret) & fav::kOpenable)) Open(caret);
        } else if (wParam == VK_APPS) {
            if (HTREEITEM caret = TreeView_GetSelection(window)) {
                RECT rect{};
                TreeView_GetItemRect(window, caret, &rect, TRUE);
                POINT point{rect.left, rect.bottom};
                ClientToScreen(window, &point);
                ShowContextMenu(caret, point);
            }
        }
        break;
    case WM_COMMAND:
        if (lParam == 0) RunContextCommand(LOWORD(wParam), contextNode_);
        break;
    case WM_MEASUREITEM:
        if (ctxmenu::Measure(window, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)),
                             *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)))
            return TRUE;
        break;
    case WM_DRAWITEM:
        if (ctxmenu::Draw(menuPen_.get(), *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MENUCHAR:
        if (const LRESULT chosen = ctxmenu::MenuChar(reinterpret_cast<HMENU>(lParam), static_cast<char>(LOWORD(wParam))))
            return chosen;
        break;
    case WM_TIMER:
        if (wParam == 1) {
            KillTimer(window, 1);
            if (HTREEITEM node = HitTestCursor()) TreeView_Expand(window, node, TVE_EXPAND);
        }
        break;
    case kRenderDragData:
        *reinterpret_cast<HGLOBAL*>(lParam) = RenderDragData(static_cast<UINT>(wParam));
        return 0;
    case kDropEvent: {
        auto& notify = *reinterpret_cast<dnd::DropNotify*>(lParam);
        // Files dropped from elsewhere may replace shortcuts without a word to the shell.
        const bool files = wParam == dnd::kDrop && notify.format == CF_HDROP && notify.data;
        const HTREEITEM at = files ? NodeAtScreenPoint(notify.cursor) : nullptr;
        const std::wstring folder = files ? entries_.FolderPath(at ? DropFolderFor(at) : Root()) : L"";
        const LRESULT result = OnDropEvent(wParam, notify);
        if (!folder.empty()) ForgetDroppedFiles(folder, static_cast<HDROP>(notify.data));
        return result;
    }
    case kShellChange:
        OnShellChange(wParam, lParam);
        break;
    case kReopenLabelEdit:
        OnReopenLabelEdit(reinterpret_cast<HTREEITEM>(lParam));
        return 0;
    case kRemoveNode:
        RemoveNode(reinterpret_cast<HTREEITEM>(lParam));
        return 0;
    case TVM_EDITLABELA:
    case TVM_EDITLABELW:
        // The tree view hands back the editor already open, whatever item is asked for, and its
        // end would rename that other item: the open edit is cancelled first.
        if (editingNode_ && editingNode_ != reinterpret_cast<HTREEITEM>(lParam)) {
            editCancel_ = EditCancel::kAsked;
            TreeView_EndEditLabelNow(window, TRUE);
            editCancel_ = EditCancel::kNone;
        }
        break;
    case WM_DESTROY:
        AbandonFeatures();
        RemoveDeepBranches();  // before the tree view removes the rest
        break;
    case WM_NCDESTROY:
        Unwatch();
        RevokeDropTarget();
        break;
    default:
        break;
    }
    return CallWindowProcA(g_baseTreeProc, window, message, wParam, lParam);
}

void CFavTreeView::OnWindowGone() {
    // The window dies before the object when its parent is destroyed; nothing else refers to it.
    g_labelEditing = false;
    entries_.Clear();  // the control's items went with it
}

HTREEITEM CFavTreeView::HitTestCursor(UINT* flags) const {
    TVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    ScreenToClient(hwnd(), &hit.pt);
    HTREEITEM node = TreeView_HitTest(hwnd(), &hit);
    if (flags) *flags = hit.flags;
    return node;
}
