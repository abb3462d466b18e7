#include "LinkListDialog.h"

#include "LinkListIds.h"
#include "ListFiles.h"
#include "PageLinks.h"

#include <bar/Module.h>
#include <base/ControlText.h>
#include <base/Dialog.h>
#include <base/FileSystem.h>
#include <base/Handles.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

namespace linklist {
namespace {

constexpr char kNoPage[] = "表示中のページからリンクを取得できませんでした。";
constexpr char kWriteFailed[] = "ファイルに書き込めませんでした。";
constexpr char kCaptionSuffix[] = "のリンク";
constexpr char kFolderTitle[] = "保存先のフォルダの指定";
constexpr int kColumnWidth = 500;
constexpr UINT kTicked = INDEXTOSTATEIMAGEMASK(2);

struct ListKind {
    const char* filter;  // display text and pattern, each NUL-terminated, and a closing NUL
    const char* extension;
    bool iria;
};
constexpr ListKind kUrlList{"リストファイル(*.lst)\0*.lst\0", "lst", false};
constexpr ListKind kIriaList{"Iria URL List(*.iri)\0*.iri\0", "iri", true};

int CALLBACK SelectStartFolder(HWND browser, UINT message, LPARAM, LPARAM folder) {
    const char* start = reinterpret_cast<const char*>(folder);
    if (message == BFFM_INITIALIZED && *start) SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, folder);
    return 0;
}

class LinkListDialog final : public ui::Dialog {
public:
    explicit LinkListDialog(Page page) : page_(std::move(page)) {}

private:
    struct Command {
        int id;
        void (LinkListDialog::*run)();
    };

    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Fill();
    void Close() { EndDialog(hwnd(), IDCANCEL); }
    void ChooseFolder();
    void SaveUrlList() { Save(kUrlList); }
    void SaveIriaList() { Save(kIriaList); }
    void Save(const ListKind& kind);
    // The Referer field counts only when the manager's own settings are not used.
    void SyncReferer() { EnableWindow(GetDlgItem(hwnd(), IDC_LINK_REFERER), !UsesDefaults()); }
    bool UsesDefaults() const { return IsDlgButtonChecked(hwnd(), IDC_LINK_DEFAULTS) != BST_UNCHECKED; }
    std::vector<std::string> TickedLinks() const;

    Page page_;
};

INT_PTR LinkListDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    static constexpr Command kCommands[] = {
        {IDCANCEL, &LinkListDialog::Close},
        {IDC_LINK_BROWSE, &LinkListDialog::ChooseFolder},
        {IDC_LINK_SAVE_URLS, &LinkListDialog::SaveUrlList},
        {IDC_LINK_SAVE_IRIA, &LinkListDialog::SaveIriaList},
        {IDC_LINK_DEFAULTS, &LinkListDialog::SyncReferer},
    };
    if (message == WM_INITDIALOG) {
        Fill();
        return TRUE;
    }
    if (message != WM_COMMAND) return FALSE;
    for (const Command& command : kCommands) {
        if (command.id == LOWORD(wParam)) {
            (this->*command.run)();
            return TRUE;
        }
    }
    return FALSE;
}

void LinkListDialog::Fill() {
    HWND list = GetDlgItem(hwnd(), IDC_LINK_LINKS);
    ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES);
    LVCOLUMNA column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.fmt = LVCFMT_LEFT;
    column.cx = kColumnWidth;
    column.pszText = const_cast<char*>("URL");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    // Each line knows its link by index: the list view's text is for showing only.
    for (size_t i = 0; i < page_.links.size(); ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(i);
        item.pszText = const_cast<char*>(page_.links[i].c_str());
        item.lParam = static_cast<LPARAM>(i);
        const int line = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        if (line >= 0) ListView_SetItemState(list, line, kTicked, LVIS_STATEIMAGEMASK);
    }

    HWND frames = GetDlgItem(hwnd(), IDC_LINK_FRAMES);
    for (const std::string& name : page_.frameNames)
        SendMessageA(frames, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));

    // Addresses of any length are read back whole.
    SendDlgItemMessageA(hwnd(), IDC_LINK_REFERER, EM_SETLIMITTEXT, 0, 0);
    SendDlgItemMessageA(hwnd(), IDC_LINK_FOLDER, EM_SETLIMITTEXT, 0, 0);
    SetDlgItemTextA(hwnd(), IDC_LINK_REFERER, page_.address.c_str());
    SetWindowTextA(hwnd(), (page_.title + kCaptionSuffix).c_str());
}

void LinkListDialog::ChooseFolder() {
    const std::string start = ui::ControlText(hwnd(), IDC_LINK_FOLDER);
    BROWSEINFOA browse{};
    browse.hwndOwner = hwnd();
    browse.lpszTitle = kFolderTitle;
    browse.ulFlags = BIF_RETURNONLYFSDIRS;
    browse.lpfn = SelectStartFolder;
    browse.lParam = reinterpret_cast<LPARAM>(start.c_str());
    const win::UniqueIdList chosen(SHBrowseForFolderA(&browse));
    char folder[MAX_PATH] = "";  // the size SHGetPathFromIDListA writes into
    if (chosen && SHGetPathFromIDListA(chosen.get(), folder)) SetDlgItemTextA(hwnd(), IDC_LINK_FOLDER, folder);
}

void LinkListDialog::Save(const ListKind& kind) {
    const std::vector<std::string> links = TickedLinks();
    const IriaFields fields{ui::ControlText(hwnd(), IDC_LINK_FOLDER), ui::ControlText(hwnd(), IDC_LINK_REFERER), UsesDefaults()};

    char file[MAX_PATH] = "";  // files are named by ANSI paths, which MAX_PATH bounds
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = kind.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrDefExt = kind.extension;
    dialog.Flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&dialog)) return;

    // The whole list replaces the file in one step, so a failure leaves the old file as it was.
    const std::string content = kind.iria ? IriaList(links, fields) : UrlList(links);
    if (!fsys::ReplaceContent(text::AnsiToWide(file), content)) ui::ShowMessage(hwnd(), kWriteFailed, "", MB_ICONWARNING);
}

std::vector<std::string> LinkListDialog::TickedLinks() const {
    HWND list = GetDlgItem(hwnd(), IDC_LINK_LINKS);
    std::vector<std::string> ticked;
    const int count = ListView_GetItemCount(list);
    for (int line = 0; line < count; ++line) {
        if (ListView_GetItemState(list, line, LVIS_STATEIMAGEMASK) != kTicked) continue;
        LVITEMA item{};
        item.mask = LVIF_PARAM;
        item.iItem = line;
        if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) continue;
        const auto index = static_cast<size_t>(item.lParam);
        if (index < page_.links.size()) ticked.push_back(page_.links[index]);
    }
    return ticked;
}

}  // namespace

void ShowLinkList(HWND owner, IWebBrowser2* browser) {
    std::optional<Page> page = browser ? ReadPage(*browser) : std::nullopt;
    if (!page) {
        ui::ShowMessage(owner, kNoPage, "", MB_ICONWARNING);
        return;
    }
    LinkListDialog dialog(std::move(*page));
    dialog.RunModal(bar::Module(), IDD_LINK_LIST, owner);
}

}  // namespace linklist
