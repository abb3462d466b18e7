// The add-item dialog's folder tree: a copy of the tab tree's folders whose items hold the tab-tree
// folders they stand for. Renames and new folders made here happen on disk and in both trees.
#include "AddItemMenu.h"
#include "AddItemWindow.h"
#include <favorites/NameRule.h>

#include <resources/TreeIds.h>

namespace additem {
namespace {

constexpr char kRootLabel[] = "Root";
constexpr char kNewFolderName[] = "新しいフォルダ";
constexpr wchar_t kCreateFolderLine[] = L"フォルダ作成";
// The tab tree's own answers to a bad name, given here for names typed in the folder tree.
constexpr char kEnterName[] = "名前を入れてください";
constexpr char kForbiddenCharacters[] = "ファイル名には \\ / : , ; * ? \" < > | を使用出来ません";
constexpr int kLabelCapacity = MAX_PATH + 1;

HTREEITEM InsertFolderItem(HWND folders, HTREEITEM parent, const char* label, HTREEITEM tabFolder) {
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = const_cast<char*>(label);
    insert.item.iImage = fav::kImageFolder;
    insert.item.iSelectedImage = fav::kImageOpenFolder;
    insert.item.lParam = reinterpret_cast<LPARAM>(tabFolder);
    return TreeView_InsertItem(folders, &insert);
}

std::string ItemText(HWND tree, HTREEITEM item) {
    char buffer[kLabelCapacity] = "";
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = sizeof buffer;
    return TreeView_GetItem(tree, &data) ? std::string(buffer) : std::string();
}

void SetItemText(HWND tree, HTREEITEM item, const std::string& text) {
    TVITEMA data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = const_cast<char*>(text.c_str());
    TreeView_SetItem(tree, &data);
}

bool HoldsFolder(const CFavTreeView& tree, HTREEITEM from, HTREEITEM wanted) {
    if (from == wanted) return true;
    HWND window = tree.hwnd();
    for (HTREEITEM child = TreeView_GetChild(window, from); child; child = TreeView_GetNextSibling(window, child))
        if (tree.IsFolder(child) && HoldsFolder(tree, child, wanted)) return true;
    return false;
}

}  // namespace

void AddItemDialog::BuildFolderTree() {
    folders_ = GetDlgItem(hwnd(), IDC_ADD_FOLDERS);
    TreeView_SetImageList(folders_, TreeView_GetImageList(tree_->hwnd(), TVSIL_NORMAL), TVSIL_NORMAL);
    HTREEITEM tabRoot = tree_->Root();
    folderRoot_ = InsertFolderItem(folders_, TVI_ROOT, kRootLabel, tabRoot);
    if (!folderRoot_) return;
    HTREEITEM target = tree_->FolderOutline(folders_, folderRoot_, tabRoot, target_);
    TreeView_SelectItem(folders_, target ? target : folderRoot_);
    TreeView_Expand(folders_, folderRoot_, TVE_EXPAND);
}

HTREEITEM AddItemDialog::TabFolderOf(HTREEITEM item) const {
    TVITEMA data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!TreeView_GetItem(folders_, &data)) return nullptr;
    // The tab tree follows the disk while the dialog is open: a folder removed there must not be
    // used through the copy's stale handle.
    const auto folder = reinterpret_cast<HTREEITEM>(data.lParam);
    return folder && HoldsFolder(*tree_, tree_->Root(), folder) ? folder : nullptr;
}

INT_PTR AddItemDialog::OnFolderNotify(const NMHDR& header) {
    switch (header.code) {
    case TVN_BEGINLABELEDITA: {
        // The root stands for the tab's root folder, which is not renamed from here.
        if (reinterpret_cast<const NMTVDISPINFOA&>(header).item.hItem == folderRoot_) return Answer(TRUE);
        notEditing_ = false;
        return Answer(FALSE);
    }
    case TVN_ENDLABELEDITA:
        notEditing_ = true;
        return Answer(OnEndFolderEdit(reinterpret_cast<const NMTVDISPINFOA&>(header)) ? TRUE : FALSE);
    case NM_RCLICK:
        ShowFolderMenu();
        return Answer(TRUE);
    default:
        return FALSE;
    }
}

bool AddItemDialog::OnEndFolderEdit(const NMTVDISPINFOA& info) {
    // A message box takes the focus from the edit box, and the tree view then ends the same edit
    // a second time; that second notice must not act again.
    if (endingEdit_ || !info.item.pszText || info.item.hItem == folderRoot_) return false;
    endingEdit_ = true;
    const bool renamed = RenameFolder(info.item.hItem, info.item.pszText);
    endingEdit_ = false;
    return renamed;
}

bool AddItemDialog::RenameFolder(HTREEITEM item, const std::string& name) {
    switch (fav::CheckName(name)) {
    case fav::NameProblem::kEmpty:
        Warn(kEnterName);
        return false;
    case fav::NameProblem::kForbiddenCharacter:
        Warn(kForbiddenCharacters);
        return false;
    case fav::NameProblem::kNone:
        break;
    }
    HTREEITEM folder = TabFolderOf(item);
    if (!folder) return false;
    const bool renamed = tree_->Rename(folder, name);
    if (renamed) {
        // The tab tree takes a new label from its own edits only; this one was typed here.
        SetItemText(tree_->hwnd(), folder, name);
    } else {
        // A refused name reopens the tab tree's editor for its own edits; this edit was not its.
        MSG reopen;
        while (PeekMessageA(&reopen, tree_->hwnd(), CFavTreeView::kReopenLabelEdit, CFavTreeView::kReopenLabelEdit,
                            PM_REMOVE)) {
        }
    }
    BringToFront();
    return renamed;
}

void AddItemDialog::ShowFolderMenu() {
    TVHITTESTINFO hit{};
    GetCursorPos(&hit.pt);
    const POINT screen = hit.pt;
    ScreenToClient(folders_, &hit.pt);
    HTREEITEM item = TreeView_HitTest(folders_, &hit);
    HTREEITEM folder = item ? TabFolderOf(item) : nullptr;
    if (!folder) return;

    PopupMenu menu;
    menu.AddHeader(ItemText(folders_, item));
    for (HTREEITEM child = TreeView_GetChild(tree_->hwnd(), folder); child;
         child = TreeView_GetNextSibling(tree_->hwnd(), child))
        if (tree_->IsShortcut(child)) menu.AddInformation(tree_->Label(child));
    menu.AddSeparator();
    menu.AddCommand(kCreateFolderCommand, kCreateFolderLine);
    if (menu.Track(hwnd(), screen) == kCreateFolderCommand) CreateFolder(item);
}

void AddItemDialog::CreateFolder(HTREEITEM item) {
    HTREEITEM parent = TabFolderOf(item);
    HTREEITEM folder = parent ? tree_->NewFolder(parent, std::string(kNewFolderName)) : nullptr;
    BringToFront();
    if (!folder) return;
    HTREEITEM copy = InsertFolderItem(folders_, item, kNewFolderName, folder);
    if (!copy) return;
    TreeView_SelectItem(folders_, copy);
    SetFocus(folders_);
    TreeView_EditLabel(folders_, copy);
}

}  // namespace additem
