#include "TabEditDialog.h"

#include "Controls.h"
#include "RootFolder.h"

#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/MessageBox.h>
#include <resources/PropIds.h>

#include <commdlg.h>
#include <shlobj.h>

#include <vector>

namespace prop {
namespace {

constexpr char kNameMissing[] = "タブ名は省略できません。";
constexpr char kNameReserved[] = "\"<新規タブ>\"で始まるタブ名は使えません。";
constexpr char kRootMissing[] = "お気に入りのルートの実体は存在しません。\nフォルダを作成しますか？";
constexpr char kRootBrowseTitle[] = "お気に入りのルートとして使用するフォルダを指定してください";
constexpr char kWwwcBrowseTitle[] = "WWWCのルートフォルダを指定してください";
constexpr char kHtmlFilter[] = "HTMLファイル\0*.htm; *.html\0";
// Chromium-based browsers name the file "Bookmarks", without an extension.
constexpr char kChromiumFilter[] = "Bookmarks ファイル\0Bookmarks\0すべてのファイル (*.*)\0*.*\0";
// Firefox keeps its bookmarks in the profile folder's "places.sqlite".
constexpr char kFirefoxFilter[] = "places.sqlite\0places.sqlite\0SQLite データベース (*.sqlite)\0*.sqlite\0すべてのファイル (*.*)\0*.*\0";
constexpr size_t kDialogPathCapacity = 500;

// Root menu commands; the tabs' roots take 1 to 13.
constexpr UINT kBrowseRoot = 100;
constexpr UINT kStandardRoot = 101;

int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM data) {
    if (message == BFFM_INITIALIZED) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, data);
    return 0;
}

std::string FolderOfIdList(LPITEMIDLIST list) {
    win::UniqueIdList owner(list);
    char chosen[MAX_PATH] = "";
    if (!list || !SHGetPathFromIDListA(list, chosen)) return {};
    return chosen;
}

}  // namespace

bool TabEditDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_TAB_EDIT, owner) == IDOK; }

void TabEditDialog::Show() const {
    SetDlgItemTextA(hwnd(), IDC_TAB_NAME, slot_.name.c_str());
    SetDlgItemTextA(hwnd(), IDC_TAB_ROOT, slot_.root.c_str());
    SetDlgItemTextA(hwnd(), IDC_TAB_BOOKMARK, slot_.bookmark.c_str());
    SetDlgItemTextA(hwnd(), IDC_TAB_DONA, slot_.donaBookmark.c_str());
    SetDlgItemTextA(hwnd(), IDC_TAB_WWWC, slot_.wwwcList.c_str());
    SetDlgItemTextA(hwnd(), IDC_TAB_CHROMIUM, slot_.chromiumBookmark.c_str());
    SetDlgItemTextA(hwnd(), IDC_TAB_FIREFOX, slot_.firefoxBookmark.c_str());
    CheckDlgButton(hwnd(), IDC_TAB_MOZILLA, slot_.mozilla ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(hwnd(), IDC_TAB_OFFER_PROFILES, slot_.OffersProfiles() ? BST_CHECKED : BST_UNCHECKED);
}

bool TabEditDialog::TakeBack() {
    const struct {
        int id;
        std::string* field;
        size_t limit;
    } fields[] = {
        {IDC_TAB_NAME, &slot_.name, kTabNameLimit},         {IDC_TAB_ROOT, &slot_.root, kPathLimit},
        {IDC_TAB_BOOKMARK, &slot_.bookmark, kPathLimit},    {IDC_TAB_DONA, &slot_.donaBookmark, kPathLimit},
        {IDC_TAB_WWWC, &slot_.wwwcList, kPathLimit},        {IDC_TAB_CHROMIUM, &slot_.chromiumBookmark, kPathLimit},
        {IDC_TAB_FIREFOX, &slot_.firefoxBookmark, kPathLimit},
    };
    for (const auto& [id, field, limit] : fields)
        if (!TakeField(hwnd(), id, limit, field)) return false;
    slot_.mozilla = IsDlgButtonChecked(hwnd(), IDC_TAB_MOZILLA) == BST_CHECKED ? 1 : 0;
    slot_.SetOffersProfiles(IsDlgButtonChecked(hwnd(), IDC_TAB_OFFER_PROFILES) == BST_CHECKED);
    return true;
}

void TabEditDialog::OnOk() {
    if (!TakeBack()) return;
    const auto refuseName = [&](const char* text) {
        ui::ShowMessage(hwnd(), text, MB_OK | MB_ICONERROR);
        SetFocus(GetDlgItem(hwnd(), IDC_TAB_NAME));
    };
    if (slot_.name.empty()) return refuseName(kNameMissing);
    if (slot_.name.compare(0, sizeof kNewTabEntry - 1, kNewTabEntry) == 0) return refuseName(kNameReserved);
    if (!slot_.root.empty() && GetFileAttributesA(slot_.root.c_str()) == INVALID_FILE_ATTRIBUTES &&
        ui::ShowMessage(hwnd(), kRootMissing, "Tolvak", MB_YESNO) == IDYES)
        CreateFolderLevels(slot_.root);
    EndDialog(hwnd(), IDOK);
}

void TabEditDialog::ChooseRoot() {
    win::UniqueMenu menu(CreatePopupMenu());
    std::vector<std::string> roots;
    for (int k = 0; k < kMaxTabs && !tabs_[k].root.empty(); ++k) {
        roots.push_back(tabs_[k].root);
        AppendMenuA(menu.get(), MF_STRING, static_cast<UINT_PTR>(k + 1), tabs_[k].root.c_str());
    }
    AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu.get(), MF_STRING, kBrowseRoot, "フォルダ参照(&B)");
    AppendMenuA(menu.get(), MF_STRING, kStandardRoot, "標準のお気に入り(&D)");

    RECT button{};
    GetWindowRect(GetDlgItem(hwnd(), IDC_TAB_ROOT_MENU), &button);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                                                         TPM_LEFTBUTTON | TPM_RIGHTBUTTON,
                                                         button.left, button.bottom, 0, hwnd(), nullptr));
    if (chosen >= 1 && chosen <= roots.size()) {
        slot_.root = roots[chosen - 1];
    } else if (chosen == kBrowseRoot) {
        ChooseFolder(&slot_.root, kRootBrowseTitle);
    } else if (chosen == kStandardRoot) {
        LPITEMIDLIST favorites = nullptr;
        if (SUCCEEDED(SHGetSpecialFolderLocation(hwnd(), CSIDL_FAVORITES, &favorites))) {
            const std::string folder = FolderOfIdList(favorites);
            if (!folder.empty()) slot_.root = folder;
        }
    }
}

void TabEditDialog::ChooseFile(std::string* field, const char* filter, bool mustExist) {
    std::vector<char> file(kDialogPathCapacity, '\0');
    mbcs::CopyFitting(*field, file.data(), file.size());
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = filter;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | (mustExist ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    if (GetOpenFileNameA(&dialog)) *field = file.data();
}

void TabEditDialog::ChooseFolder(std::string* field, const char* title) {
    BROWSEINFOA browse{};
    browse.hwndOwner = hwnd();
    browse.lpszTitle = title;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = SelectInitialFolder;
    browse.lParam = reinterpret_cast<LPARAM>(field->c_str());
    const std::string folder = FolderOfIdList(SHBrowseForFolderA(&browse));
    if (!folder.empty()) *field = folder;
}

INT_PTR TabEditDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        Show();
        return TRUE;
    }
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED) return FALSE;
    const int id = LOWORD(wParam);
    if (id == IDOK) {
        OnOk();
        return TRUE;
    }
    if (id == IDCANCEL) {
        EndDialog(hwnd(), IDCANCEL);
        return TRUE;
    }
    // Each "..." works on the texts as typed and shows its result, so nothing typed is lost.
    const auto around = [&](auto action) {
        if (!TakeBack()) return;
        action();
        Show();
    };
    switch (id) {
    case IDC_TAB_ROOT_MENU:
        around([&] { ChooseRoot(); });
        return TRUE;
    case IDC_TAB_BOOKMARK_BROWSE:
        around([&] { ChooseFile(&slot_.bookmark, kHtmlFilter, false); });
        return TRUE;
    case IDC_TAB_DONA_BROWSE:
        around([&] { ChooseFile(&slot_.donaBookmark, kHtmlFilter, true); });
        return TRUE;
    case IDC_TAB_CHROMIUM_BROWSE:
        around([&] { ChooseFile(&slot_.chromiumBookmark, kChromiumFilter, true); });
        return TRUE;
    case IDC_TAB_FIREFOX_BROWSE:
        around([&] { ChooseFile(&slot_.firefoxBookmark, kFirefoxFilter, true); });
        return TRUE;
    case IDC_TAB_WWWC_BROWSE:
        around([&] { ChooseFolder(&slot_.wwwcList, kWwwcBrowseTitle); });
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace prop
