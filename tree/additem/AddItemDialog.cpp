// The add-item dialog: its fields, "追加(&A)" and cancelling; messages are dispatched here.
#include "AddItemDialog.h"

#include "AddItemMenu.h"
#include "AddItemWindow.h"
#include <favorites/NameRule.h>
#include <tree/TreeModule.h>

#include <resources/TreeIds.h>

#include <base/ControlText.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>

#include <shlwapi.h>

#include <utility>

namespace additem {
namespace {

constexpr char kFieldMissing[] = "どちらかの項目が入力されていません";
constexpr char kNoFolder[] = "対象フォルダが選択されていません";
constexpr char kRegistrationFailed[] = "登録に失敗しました。\n不正なファイル名の可能性があります";

constexpr INT_PTR kAdded = 1;
constexpr size_t kMaxCapturedTitleCharacters = MAX_PATH;
constexpr INT_PTR kCancelled = 0;

using AutoCompleteFn = HRESULT(WINAPI*)(HWND, DWORD);

}  // namespace

AddItemDialog::AddItemDialog(CFavTreeView& tree, HTREEITEM targetFolder, std::wstring title, std::wstring url)
    : target_(targetFolder), title_(std::move(title)), url_(std::move(url)) {
    // The dialog keeps the tab's tree alive while it works on it.
    tree.AddRef();
    tree_ = win::ComPtr<CFavTreeView>::Adopt(&tree);
}

INT_PTR AddItemDialog::Run() { return RunModal(fav::TreeModule(), IDD_ADD_ITEM, tree_->parentWindow()); }

INT_PTR AddItemDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog();
        return TRUE;
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return header->hwndFrom == folders_ ? OnFolderNotify(*header) : FALSE;
    }
    case WM_MEASUREITEM:
        return MeasureLine(hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam), TreeFont()) ? TRUE : FALSE;
    case WM_DRAWITEM:
        return DrawLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), TreeFont(), tree_->menuPen()) ? TRUE : FALSE;
    default:
        return FALSE;
    }
}

void AddItemDialog::OnInitDialog() {
    // Titles and addresses are kept exactly, whatever the code page holds of them.
    ui::MakeWideEdit(hwnd(), IDC_ADD_TITLE);
    ui::MakeWideEdit(hwnd(), IDC_ADD_URL);
    SetDlgItemTextW(hwnd(), IDC_ADD_TITLE, title_.c_str());
    SendDlgItemMessageA(hwnd(), IDC_ADD_TITLE, EM_SETSEL, 0, -1);
    if (!url_.empty()) {
        SetDlgItemTextW(hwnd(), IDC_ADD_URL, url_.c_str());
        EnableWindow(GetDlgItem(hwnd(), IDC_ADD_CAPTURE), FALSE);
    }
    EnableUrlCompletion();
    BuildFolderTree();
}

void AddItemDialog::EnableUrlCompletion() {
    // Bound at run time: systems without it simply offer no completion.
    const win::UniqueModule shlwapi(LoadLibraryA("SHLWAPI.DLL"));
    if (const auto autoComplete = win::ProcAddress<AutoCompleteFn>(shlwapi.get(), "SHAutoComplete"))
        autoComplete(GetDlgItem(hwnd(), IDC_ADD_URL), SHACF_URLHISTORY);
}

INT_PTR AddItemDialog::OnCommand(UINT id, UINT code) {
    switch (id) {
    case IDOK:
        if (code == BN_CLICKED) OnAdd();
        return TRUE;
    case IDCANCEL:
        OnCancel();
        return TRUE;
    case IDC_ADD_CAPTURE:
        if (code == BN_CLICKED) ShowCaptureMenu();
        return TRUE;
    default:
        return FALSE;
    }
}

void AddItemDialog::OnAdd() {
    // Enter in a folder name belongs to the name, not to the dialog.
    if (!notEditing_) {
        TreeView_EndEditLabelNow(folders_, FALSE);
        return;
    }
    const std::wstring title = ui::WideControlText(hwnd(), IDC_ADD_TITLE);
    const std::wstring url = ui::WideControlText(hwnd(), IDC_ADD_URL);
    if (title.empty() || url.empty()) {
        Warn(kFieldMissing);
        return;
    }
    HTREEITEM selected = TreeView_GetSelection(folders_);
    HTREEITEM folder = selected ? TabFolderOf(selected) : nullptr;
    if (!folder) {
        Warn(kNoFolder);
        return;
    }
    CFavTreeView::ShortcutResult outcome = CFavTreeView::ShortcutResult::kFailed;
    tree_->CreateShortcut(folder, url, title, CFavTreeView::NameOrigin::kTyped, &outcome);
    BringToFront();
    switch (outcome) {
    case CFavTreeView::ShortcutResult::kCreated:
        EndDialog(hwnd(), kAdded);
        break;
    case CFavTreeView::ShortcutResult::kFailed:
        Warn(kRegistrationFailed);
        break;
    case CFavTreeView::ShortcutResult::kCancelled:
        break;
    }
}

void AddItemDialog::OnCancel() {
    if (!notEditing_) {
        TreeView_EndEditLabelNow(folders_, TRUE);
        return;
    }
    EndDialog(hwnd(), kCancelled);
}

void AddItemDialog::SetFields(const std::wstring& title, const std::wstring& url) {
    // A page's title is no file name yet: what would lead out of the folder or break the name rule
    // is replaced before the user sees it, and what the user then types is checked on "追加".
    const std::wstring name = title.empty() ? title : fav::SafeName(title, kMaxCapturedTitleCharacters);
    SetDlgItemTextW(hwnd(), IDC_ADD_TITLE, name.c_str());
    SetDlgItemTextW(hwnd(), IDC_ADD_URL, url.c_str());
}

void AddItemDialog::Warn(const char* text) {
    ui::ShowMessage(hwnd(), text, "", MB_ICONWARNING);
    BringToFront();
}

void AddItemDialog::BringToFront() {
    SetForegroundWindow(hwnd());
    if (!IsChild(hwnd(), GetFocus())) SetFocus(GetDlgItem(hwnd(), IDC_ADD_TITLE));
}

HFONT AddItemDialog::TreeFont() const {
    return reinterpret_cast<HFONT>(SendMessageA(tree_->hwnd(), WM_GETFONT, 0, 0));
}

}  // namespace additem

INT_PTR ShowAddItemDialog(CFavTreeView& tree, HTREEITEM targetFolder, const std::string& title,
                          const std::string& url) {
    additem::AddItemDialog dialog(tree, targetFolder, text::AnsiToWide(title), text::AnsiToWide(url));
    return dialog.Run();
}
