// Changes the user makes through the tree: label edits (renames and new folders) and new
// shortcut files. Every change happens on disk first and is then mirrored in the tree.
#include "CFavTreeView.h"

#include <favorites/NameRule.h>
#include <favorites/ShortcutFile.h>

#include <base/FileSystem.h>
#include <base/TextEncoding.h>

#include <shlobj.h>

namespace {

constexpr char kDefaultFolderName[] = "新しいフォルダ";
constexpr char kEnterName[] = "名前を入れてください";
constexpr char kForbiddenCharacters[] = "ファイル名には \\ / : , ; * ? \" < > | を使用出来ません";
constexpr char kNameExists[] = "その名前は既に存在します";
constexpr char kCreateFailed[] = "作成に失敗しました";
constexpr char kRenameTargetExists[] = "すでに同じ名前のフォルダが存在します";
constexpr char kRenameFailed[] = "名前を変更できませんでした";
constexpr char kOverwriteQuestion[] = "既に同名のアイテムがあります。\n上書きしますか？";

constexpr size_t kMaxPathCharacters = MAX_PATH - 1;

// Any error counts, with or without the aborted flag; and a shell that reports success for a
// rename it did not carry out (the file held open elsewhere) is caught by looking afterwards.
bool RenameOnDisk(HWND owner, const std::wstring& from, const std::wstring& to) {
    if (!fsys::ShellMove(owner, from, to, FOF_SILENT)) return false;
    if (!fsys::Exists(to)) return false;
    return fsys::EqualsNoCase(from, to) || !fsys::Exists(from);
}

}  // namespace

LRESULT CFavTreeView::OnBeginLabelEdit(const NMTVDISPINFOA& info) {
    HTREEITEM node = info.item.hItem;
    const bool allowed = node && node != Root() && (KindOf(node) & fav::kFileBacked);
    if (allowed) {
        SetLabelEditing(true);
        editingNode_ = node;
    }
    return allowed ? FALSE : TRUE;
}

LRESULT CFavTreeView::OnEndLabelEdit(const NMTVDISPINFOA& info) {
    SetLabelEditing(false);
    editingNode_ = nullptr;
    // A message box takes the focus from the edit box, and the tree view then ends the same edit
    // a second time; that second notice must not act again.
    if (endingLabelEdit_ || editCancel_ == EditCancel::kDone) return FALSE;
    NMTVDISPINFOA ending = info;
    if (editCancel_ == EditCancel::kAsked) {
        ending.item.pszText = nullptr;
        editCancel_ = EditCancel::kDone;
    }
    endingLabelEdit_ = true;
    const LRESULT result = FinishLabelEdit(ending);
    endingLabelEdit_ = false;
    return result;
}

LRESULT CFavTreeView::FinishLabelEdit(const NMTVDISPINFOA& info) {
    HTREEITEM node = info.item.hItem;
    const char* text = info.item.pszText;  // null: the user cancelled

    if (KindOf(node) == fav::kNewFolder) return EndPlaceholderEdit(node, text) ? TRUE : FALSE;
    if (!text) return FALSE;
    // Unchanged: nothing to do, also for a name shown with "?" for what the code page lacks,
    // which would otherwise rename the file to the shown form.
    if (text == Label(node)) return FALSE;

    switch (fav::CheckName(text)) {
    case fav::NameProblem::kEmpty:
        Message(kEnterName, "", MB_ICONWARNING);
        ReopenLabelEdit(node, text);
        return FALSE;
    case fav::NameProblem::kForbiddenCharacter:
        Message(kForbiddenCharacters, "", MB_ICONWARNING);
        ReopenLabelEdit(node, text);
        return FALSE;
    case fav::NameProblem::kNone:
        break;
    }
    if (!(KindOf(node) & fav::kFileBacked)) return FALSE;
    return Rename(node, text) ? TRUE : FALSE;
}

bool CFavTreeView::EndPlaceholderEdit(HTREEITEM placeholder, const char* text) {
    // The placeholder is removed after the tree view has finished with the edit, never inside it.
    if (text && !*text) {
        PostMessageA(hwnd(), kRemoveNode, 0, reinterpret_cast<LPARAM>(placeholder));
        return false;
    }
    const std::string name = text ? text : kDefaultFolderName;
    if (fav::CheckName(name) == fav::NameProblem::kForbiddenCharacter) {
        Message(kForbiddenCharacters, "", MB_ICONWARNING);
        ReopenLabelEdit(placeholder, name);
        return false;
    }
    // A cancelled edit whose default name cannot be made either ends there: reopening would only
    // offer the same failing name again and keep the user in the editor.
    const bool made = NewFolder(TreeView_GetParent(hwnd(), placeholder), name) != nullptr;
    if (made || !text) {
        PostMessageA(hwnd(), kRemoveNode, 0, reinterpret_cast<LPARAM>(placeholder));
    } else {
        ReopenLabelEdit(placeholder, name);
    }
    return false;
}

void CFavTreeView::ReopenLabelEdit(HTREEITEM node, const std::string& text) {
    // The edit box is still being torn down; open the new one once the tree view is done.
    reopenText_ = text;
    PostMessageA(hwnd(), kReopenLabelEdit, 0, reinterpret_cast<LPARAM>(node));
}

void CFavTreeView::OnReopenLabelEdit(HTREEITEM node) {
    // The user has begun editing another item meanwhile: that edit wins.
    if (editingNode_) return;
    HWND edit = TreeView_EditLabel(hwnd(), node);
    if (!edit) return;
    // Keep what the user typed so it can be corrected rather than retyped.
    SetWindowTextA(edit, reopenText_.c_str());
    SendMessageA(edit, EM_SETSEL, 0, -1);
}

void CFavTreeView::StartRename(HTREEITEM node) {
    if (!node) node = TreeView_GetSelection(hwnd());
    if (!node) return;
    SetFocus(hwnd());
    TreeView_EditLabel(hwnd(), node);
}

bool CFavTreeView::Rename(HTREEITEM node, const std::string& label) {
    const std::optional<std::wstring> oldFile = NodeFile(node);
    std::wstring folder;
    if (!oldFile || !fsys::SplitLast(*oldFile, &folder, nullptr)) return false;
    std::wstring newFile = fsys::Join(folder, text::AnsiToWide(label));
    if (KindOf(node) == fav::kShortcut) newFile += shortcut::kWideExtension;
    if (*oldFile == newFile) return true;

    // A change of letter case only names the same object; anything else must be a free name.
    if (!fsys::EqualsNoCase(*oldFile, newFile) && fsys::Exists(newFile)) {
        Message(kRenameTargetExists, "Tolvak", MB_ICONWARNING);
        ReopenLabelEdit(node, label);
        return false;
    }
    // The tree must not show a name the disk lacks.
    if (!RenameOnDisk(hwnd(), *oldFile, newFile)) {
        Message(kRenameFailed, "", MB_ICONWARNING);
        return false;
    }
    // At once, whenever the shell's notification comes: the searches follow the new name.
    std::wstring newName;
    if (fsys::SplitLast(newFile, nullptr, &newName))
        entries_.Renamed(node, KindOf(node) == fav::kShortcut ? shortcut::LabelFromFileName(newName).value_or(newName) : newName);
    return true;
}

HTREEITEM CFavTreeView::NewFolder(HTREEITEM parent, const std::optional<std::string>& name) {
    const std::optional<std::wstring> parentFile = NodeFile(parent);
    if (!parentFile) return nullptr;
    const std::string folderName = name.value_or(kDefaultFolderName);
    const std::wstring folderFile = fsys::Join(*parentFile, text::AnsiToWide(folderName));
    if (fsys::Exists(folderFile)) {
        Message(kNameExists, "", MB_ICONWARNING);
        return nullptr;
    }
    if (!CreateDirectoryW(folderFile.c_str(), nullptr)) {
        Message(kCreateFailed, "", MB_ICONWARNING);
        return nullptr;
    }
    HTREEITEM node = InsertNode(parent, folderName, fav::kFolder);
    fsys::NotifyShell(SHCNE_MKDIR, folderFile);
    TreeView_Expand(hwnd(), parent, TVE_EXPAND);
    if (!name && node) StartRename(node);
    return node;
}

void CFavTreeView::NewFolderPlaceholder(HTREEITEM parent) {
    HTREEITEM node = InsertAt(parent, TVI_FIRST, kDefaultFolderName, fav::kNewFolder, 0);
    if (!node) return;
    TreeView_Expand(hwnd(), parent, TVE_EXPAND);
    StartRename(node);
}

HTREEITEM CFavTreeView::CreateShortcut(HTREEITEM parent, const std::string& url, const std::string& name,
                                       NameOrigin origin, ShortcutResult* result) {
    // The URL's bytes are written as they are.
    return CreateShortcutFile(parent, text::AnsiToWide(name), origin, result,
                              [&url](const std::wstring& file) { return shortcut::Write(file, url); });
}

HTREEITEM CFavTreeView::CreateShortcut(HTREEITEM parent, const std::wstring& url, const std::wstring& name,
                                       NameOrigin origin, ShortcutResult* result) {
    return CreateShortcutFile(parent, name, origin, result,
                              [&url](const std::wstring& file) { return shortcut::Write(file, std::wstring_view(url)); });
}

HTREEITEM CFavTreeView::CreateShortcutFile(HTREEITEM parent, const std::wstring& name, NameOrigin origin,
                                           ShortcutResult* result, const std::function<bool(const std::wstring&)>& write) {
    ShortcutResult ignored;
    ShortcutResult& outcome = result ? *result : ignored;
    outcome = ShortcutResult::kCancelled;
    if (name.empty()) return nullptr;
    const std::optional<std::wstring> parentFile = NodeFile(parent);
    if (!parentFile) return nullptr;

    // Whatever the name holds, the file lands in the parent folder: a typed name that breaks the
    // rule is refused, an outside one loses what would lead elsewhere and what does not fit.
    // The caller reports a refused name as it reports other failures to write.
    std::wstring fileName = name;
    if (origin == NameOrigin::kTyped) {
        if (fav::CheckName(name) != fav::NameProblem::kNone || fav::IsDeviceName(text::WideToAnsi(name))) {
            outcome = ShortcutResult::kFailed;
            return nullptr;
        }
    } else {
        const size_t used = parentFile->size() + 1 + (sizeof(shortcut::kExtension) - 1);
        if (used >= kMaxPathCharacters) {
            outcome = ShortcutResult::kFailed;
            return nullptr;
        }
        fileName = fav::SafeName(name, kMaxPathCharacters - used);
    }
    const std::wstring file = fsys::Join(*parentFile, fileName) + shortcut::kWideExtension;

    HTREEITEM existing = nullptr;
    if (fsys::Exists(file)) {
        if (Message(kOverwriteQuestion, "上書き", MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return nullptr;
        existing = FindNodeByFile(file);
    }
    if (!write(file)) {
        outcome = ShortcutResult::kFailed;
        return nullptr;
    }
    entries_.ForgetAddress(existing);
    HTREEITEM node = existing ? existing : InsertEntry(parent, fileName, fav::kShortcut);
    TreeView_SelectItem(hwnd(), node);
    fsys::NotifyShell(SHCNE_CREATE, file);
    outcome = ShortcutResult::kCreated;
    return node;
}
