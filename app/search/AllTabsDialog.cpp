#include "AllTabsDialog.h"

#include "TreeFind.h"

#include <resources/SearchIds.h>

#include <base/MessageBox.h>
#include <tree/TreeContextMenu.h>

#include <iterator>
#include <utility>

namespace search {
namespace {

constexpr size_t kTextCapacity = 199;
constexpr int kDialogWidth = 680, kDialogHeight = 280;
constexpr int kTabListLeft = 340, kTabListTop = 10, kTabListWidth = 320, kTabListHeight = 60;
constexpr int kListTop = 80;
constexpr DWORD kListStyles = LVS_EX_FULLROWSELECT | LVS_EX_FLATSB | LVS_EX_INFOTIP;

struct Column {
    const char* title;
    int width;
};
constexpr Column kColumns[] = {{"タイトル", 100}, {"URL", 300}, {"パス", 200}, {"タブ", 50}};

const std::wstring& ColumnText(const FindResult& row, int column) {
    switch (column) {
    case 0: return row.title;
    case 1: return row.url;
    case 2: return row.file;
    default: return row.tabs;
    }
}

// By UTF-16 units, ASCII letters without regard to case.
int CompareNoCase(const std::wstring& left, const std::wstring& right) {
    const auto fold = [](wchar_t unit) { return unit >= L'A' && unit <= L'Z' ? unit + (L'a' - L'A') : unit; };
    for (size_t n = 0; n < left.size() && n < right.size(); ++n)
        if (fold(left[n]) != fold(right[n])) return fold(left[n]) < fold(right[n]) ? -1 : 1;
    return left.size() == right.size() ? 0 : left.size() < right.size() ? -1 : 1;
}

}  // namespace

AllTabsDialog::AllTabsDialog(const settings::IniFile& ini, TabSet tabs) : tabs_(std::move(tabs)), history_(ini) {
    history_.Load();
}

INT_PTR AllTabsDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_FIND, owner); }

HWND AllTabsDialog::List() const { return GetDlgItem(hwnd(), IDC_FIND_RESULTS); }

void AllTabsDialog::OnInit() {
    RECT frame{};
    GetWindowRect(hwnd(), &frame);
    MoveWindow(hwnd(), frame.left, frame.top, kDialogWidth, kDialogHeight, TRUE);
    HWND tabList = GetDlgItem(hwnd(), IDC_FIND_TABS);
    MoveWindow(tabList, kTabListLeft, kTabListTop, kTabListWidth, kTabListHeight, TRUE);
    ShowWindow(tabList, SW_SHOW);

    HWND list = List();
    if (!tabs_.tabs.empty()) {
        // Shared, not owned: the list view leaves the tree's image list alive.
        HIMAGELIST images = TreeView_GetImageList(tabs_.tabs.front().tree->hwnd(), TVSIL_NORMAL);
        ListView_SetImageList(list, images, LVSIL_SMALL);
    }
    ListView_SetExtendedListViewStyle(list, kListStyles);
    // Texts are asked for in UTF-16, so the rows show names and addresses exactly.
    SendMessageA(list, CCM_SETUNICODEFORMAT, TRUE, 0);
    for (int n = 0; n < static_cast<int>(std::size(kColumns)); ++n) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<char*>(kColumns[n].title);
        column.cx = kColumns[n].width;
        SendMessageA(list, LVM_INSERTCOLUMNA, n, reinterpret_cast<LPARAM>(&column));
    }
    history_.FillCombo(GetDlgItem(hwnd(), IDC_FIND_TEXT));
    for (const SearchTab& tab : tabs_.tabs)
        SendMessageA(tabList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(tab.name.c_str()));
    SendMessageA(tabList, LB_SETSEL, TRUE, -1);

    RECT client{};
    GetClientRect(hwnd(), &client);
    PlaceList(client.right, client.bottom);
}

void AllTabsDialog::PlaceList(int width, int height) {
    MoveWindow(List(), 0, kListTop, width, height - kListTop, TRUE);
    ShowWindow(List(), SW_SHOW);
}

void AllTabsDialog::OnSearch() {
    const std::wstring wanted = WideComboText(hwnd(), IDC_FIND_TEXT, kTextCapacity);
    if (wanted.empty()) {
        ui::ShowMessage(hwnd(), kNoSearchText, MB_ICONWARNING);
        return;
    }
    // Every selected tab, however many there are.
    HWND tabList = GetDlgItem(hwnd(), IDC_FIND_TABS);
    std::vector<const SearchTab*> searched;
    std::vector<CFavTreeView*> trees;
    for (size_t n = 0; n < tabs_.tabs.size(); ++n) {
        if (SendMessageA(tabList, LB_GETSEL, n, 0) <= 0) continue;
        current_ = tabs_.tabs[n].tree;
        if (!current_->Root()) current_->LoadRoot();
        searched.push_back(&tabs_.tabs[n]);
        trees.push_back(current_);
    }
    NotifyTabChange();  // trees loaded meanwhile may have shown themselves
    // Stopped: the list keeps the last search's rows.
    if (!ReadAddresses(trees)) return;

    HWND list = List();
    ListView_DeleteAllItems(list);
    results_.Clear();
    sortColumn_ = -1;
    for (const SearchTab* tab : searched) results_.Collect(*tab->tree, tab->name, wanted);

    const auto& rows = results_.rows();
    ListView_SetItemCount(list, rows.size());
    for (size_t n = 0; n < rows.size(); ++n) {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = static_cast<int>(n);
        item.pszText = LPSTR_TEXTCALLBACKA;
        item.iImage = I_IMAGECALLBACK;
        item.lParam = static_cast<LPARAM>(n);
        SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }

    history_.Add(wanted);
    HWND combo = GetDlgItem(hwnd(), IDC_FIND_TEXT);
    history_.FillCombo(combo);
    SetWindowTextW(combo, wanted.c_str());
}

void AllTabsDialog::NotifyTabChange() {
    if (!tabs_.tabBar || !tabs_.mainWindow) return;
    NMHDR header{tabs_.tabBar, static_cast<UINT_PTR>(GetDlgCtrlID(tabs_.tabBar)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(tabs_.mainWindow, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void AllTabsDialog::SortBy(int column) {
    ascending_ = column == sortColumn_ ? !ascending_ : true;
    sortColumn_ = column;
    ListView_SortItems(List(), CompareRows, reinterpret_cast<LPARAM>(this));
}

int CALLBACK AllTabsDialog::CompareRows(LPARAM left, LPARAM right, LPARAM self) {
    const auto& dialog = *reinterpret_cast<const AllTabsDialog*>(self);
    const auto& rows = dialog.results_.rows();
    if (!dialog.ascending_) std::swap(left, right);
    return CompareNoCase(ColumnText(rows[left], dialog.sortColumn_), ColumnText(rows[right], dialog.sortColumn_));
}

HTREEITEM AllTabsDialog::FindAgain(const FindResult& row) {
    HTREEITEM node = row.tree->FindNodeByFile(row.file);
    if (!node) ui::ShowMessage(hwnd(), kNotFound, kNotFoundCaption, MB_ICONWARNING);
    return node;
}

void AllTabsDialog::ReturnToTree(const FindResult& row, HTREEITEM node) {
    TreeView_SelectItem(row.tree->hwnd(), node);
    for (size_t n = 0; n < tabs_.tabs.size(); ++n) {
        if (tabs_.tabs[n].tree != row.tree) continue;
        if (tabs_.tabBar) TabCtrl_SetCurSel(tabs_.tabBar, static_cast<int>(n));
        NotifyTabChange();
        break;
    }
    EndDialog(hwnd(), kBackedToTree);
}

void AllTabsDialog::RunRowCommand(UINT id, int item) {
    LVITEMA wanted{};
    wanted.mask = LVIF_PARAM;
    wanted.iItem = item;
    if (item < 0 || !SendMessageA(List(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&wanted))) return;
    const FindResult& row = results_.rows().at(static_cast<size_t>(wanted.lParam));
    current_ = row.tree;
    HTREEITEM node = FindAgain(row);
    if (!node) return;
    const bool openable = (row.tree->KindOf(node) & fav::kOpenable) != 0;
    switch (id) {
    case kOpen:
        if (openable) row.tree->Open(node);
        break;
    case kOpenInNewWindow:
        if (openable) row.tree->OpenInNewWindow(node);
        break;
    case kBackToTree:
        ReturnToTree(row, node);
        break;
    case kProperties:
        if (openable) row.tree->RunContextCommand(ctxmenu::kProperties, node);
        break;
    default:
        break;
    }
}

void AllTabsDialog::ShowRowMenu(int item) {
    if (item < 0 || !current_) return;
    ctxmenu::ContextMenu menu(hwnd(), TreeView_GetImageList(current_->hwnd(), TVSIL_NORMAL));
    menu.Add(kOpen, "ブラウザで開く(&O)");
    menu.Add(kOpenInNewWindow, "新しいウィンドウで開く(&N)");
    menu.Add(kBackToTree, "ツリーに戻る(&B)");
    menu.AddSeparator();
    menu.Add(kProperties, "プロパティ(&R)");
    POINT cursor{};
    GetCursorPos(&cursor);
    if (const UINT chosen = menu.Choose(cursor)) RunRowCommand(chosen, item);
}

LRESULT AllTabsDialog::OnListNotify(NMHDR& header) {
    switch (header.code) {
    case LVN_GETDISPINFOW: {
        LVITEMW& item = reinterpret_cast<NMLVDISPINFOW&>(header).item;
        const auto& rows = results_.rows();
        if (item.lParam < 0 || static_cast<size_t>(item.lParam) >= rows.size()) return 0;
        const FindResult& row = rows[item.lParam];
        if (item.mask & LVIF_IMAGE) item.iImage = row.kind;
        if (item.mask & LVIF_TEXT) item.pszText = const_cast<wchar_t*>(ColumnText(row, item.iSubItem).c_str());
        return 0;
    }
    case LVN_COLUMNCLICK:
        SortBy(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
        return 0;
    case NM_DBLCLK:
        RunRowCommand(kOpen, reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return 0;
    case NM_RCLICK:
        ShowRowMenu(reinterpret_cast<NMITEMACTIVATE&>(header).iItem);
        return 0;
    default:
        return 0;
    }
}

INT_PTR AllTabsDialog::OnOtherMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        history_.Save();  // however the dialog ends
        return FALSE;
    case WM_SIZE:
        PlaceList(LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_NOTIFY: {
        auto& header = *reinterpret_cast<NMHDR*>(lParam);
        if (header.idFrom != IDC_FIND_RESULTS) return FALSE;
        return Answer(OnListNotify(header));
    }
    case WM_MEASUREITEM: {
        HFONT font = current_ ? reinterpret_cast<HFONT>(SendMessageA(current_->hwnd(), WM_GETFONT, 0, 0)) : nullptr;
        return ctxmenu::Measure(hwnd(), font, *reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
    }
    case WM_DRAWITEM:
        return ctxmenu::Draw(current_ ? current_->menuPen() : nullptr, *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
    default:
        return FALSE;
    }
}

}  // namespace search
