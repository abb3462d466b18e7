#include "GeneralPage.h"

#include "Controls.h"
#include "TabEditDialog.h"

#include <base/MessageBox.h>
#include <resources/PropIds.h>
#include <settings/TreeSettings.h>

namespace prop {
namespace {

constexpr char kBrowserSection[] = "General";
constexpr char kBrowserKey[] = "Browser";
constexpr size_t kBrowserCapacity = 500;
constexpr char kDeleteQuestion[] = "タブを削除します。よろしいですか？";
constexpr char kConfirmCaption[] = "確認";

}  // namespace

HWND GeneralPage::List() const { return Item(IDC_TAB_LIST); }

void GeneralPage::Load() {
    browser_ = ini_.ReadString(kBrowserSection, kBrowserKey, "", kBrowserCapacity);
    storedBrowser_ = browser_;
    SetText(IDC_BROWSER, browser_);
    // The file may be beside the programs or in the user's own folder: say which is edited.
    SetText(IDC_SETTINGS_FILE, ini_.path());

    settings::TreeSettings listLook;
    listLook.fontFace = settings::kDefaultFontFace;
    listFont_.reset(settings::CreateTreeFont(listLook));
    SendMessageA(List(), WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), FALSE);

    tabs_.Load(ini_);
    for (int k = 0; k < tabs_.Count(); ++k)
        SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tabs_[k].name.c_str()));
    if (tabs_.Count() < kMaxTabs) SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNewTabEntry));
}

bool GeneralPage::TakeBack() { return TakeText(IDC_BROWSER, kPathLimit, &browser_); }

bool GeneralPage::Save() {
    // Only what the user changed is written: OK on an untouched page leaves the file as it was.
    if (browser_ != storedBrowser_) {
        if (!Store(kBrowserSection, kBrowserKey, browser_.empty() ? nullptr : browser_.c_str())) return false;
        storedBrowser_ = browser_;
    }
    const settings::WriteResult written = tabs_.Save(ini_);
    return written || Unsaved(ini_.path(), written.error);
}

int GeneralPage::Selected() const { return static_cast<int>(SendMessageA(List(), LB_GETCURSEL, 0, 0)); }

// The new-tab line is always the last and only there while fewer than 13 tabs exist.
bool GeneralPage::IsNewTabLine(int line) const { return line >= tabs_.Count(); }

void GeneralPage::EditTab(int line) {
    if (line < 0) return;
    const bool adding = IsNewTabLine(line);
    TabEditDialog dialog(tabs_, adding ? TabSlot{} : tabs_[line]);
    if (!dialog.Run(module_, GetParent(hwnd()))) return;

    // The edited copy still carries the section's other keys (none for a new tab).
    tabs_.Set(line, dialog.Slot());
    if (!adding || line == kMaxTabs - 1) SendMessageA(List(), LB_DELETESTRING, line, 0);
    SendMessageA(List(), LB_INSERTSTRING, line, reinterpret_cast<LPARAM>(tabs_[line].name.c_str()));
    SendMessageA(List(), LB_SETCURSEL, line, 0);
    Changed();
}

void GeneralPage::DeleteTab() {
    const int line = Selected();
    if (line < 0 || IsNewTabLine(line)) return;
    if (ui::ShowMessage(hwnd(), kDeleteQuestion, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const bool wasFull = tabs_.Count() == kMaxTabs;
    tabs_.Remove(line);
    SendMessageA(List(), LB_DELETESTRING, line, 0);
    if (wasFull) SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNewTabEntry));
    Changed();
}

void GeneralPage::SwapTabs(int j, int select) {
    if (!tabs_.Swap(j)) return;
    const std::string moved = ListLine(List(), j);
    SendMessageA(List(), LB_DELETESTRING, j, 0);
    SendMessageA(List(), LB_INSERTSTRING, j + 1, reinterpret_cast<LPARAM>(moved.c_str()));
    SendMessageA(List(), LB_SETCURSEL, select, 0);
    Changed();
}

INT_PTR GeneralPage::OnCommand(int id, int code) {
    const int line = Selected();
    if (id == IDC_TAB_LIST && code == LBN_DBLCLK) {
        EditTab(line);
    } else if (code != BN_CLICKED || line < 0) {
        return FALSE;
    } else if (id == IDC_TAB_DELETE) {
        DeleteTab();
    } else if (id == IDC_TAB_UP) {
        SwapTabs(line - 1, line - 1);
    } else if (id == IDC_TAB_DOWN) {
        SwapTabs(line, line + 1);
    } else {
        return FALSE;
    }
    return TRUE;
}

}  // namespace prop
