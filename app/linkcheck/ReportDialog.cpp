#include "ReportDialog.h"

#include <resources/LinkCheckIds.h>

#include <base/FileSystem.h>
#include <base/MessageBox.h>

#include <commdlg.h>

#include <iterator>
#include <unordered_set>

namespace linkcheck {
namespace {

constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshPeriod = 500;
constexpr const char* kFilters[] = {"リンク切れ", "移動", "不明", "すべて"};
constexpr char kSaveFailed[] = "ファイルに保存できませんでした。";
constexpr wchar_t kCsvFilter[] = L"CSV (*.csv)\0*.csv\0\0";
constexpr wchar_t kDefaultCsvName[] = L"linkcheck.csv";

bool g_open = false;

}  // namespace

ReportDialog::ReportDialog(CFavTreeView& tree)
    : RowListDialog({{"タイトル", 110}, {"URL", 170}, {"判定", 60}, {"状態", 80}, {"移動先", 170}, {"フォルダ", 120}}), tree_(tree) {}

void ReportDialog::Show(HINSTANCE module, HWND owner, CFavTreeView& tree) {
    if (g_open) return;
    ReportDialog dialog(tree);
    dialog.Run(module, owner);
}

INT_PTR ReportDialog::Run(HINSTANCE module, HWND owner) {
    g_open = true;
    const INT_PTR result = RunModal(module, IDD_LINK_REPORT, owner);
    g_open = false;
    return result;
}

std::string ReportDialog::Text(size_t row, int column) const { return rows_.at(row).Column(column); }

void ReportDialog::OnInit() {
    HWND filter = GetDlgItem(hwnd(), IDC_REPORT_FILTER);
    for (const char* name : kFilters) SendMessageA(filter, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(filter, CB_SETCURSEL, static_cast<WPARAM>(ReportFilter::kAll), 0);
    Refresh(true);
    SetTimer(hwnd(), kRefreshTimer, kRefreshPeriod, nullptr);
}

void ReportDialog::Refresh(bool first) {
    std::unordered_set<std::wstring> keep;
    for (const ReportRow* row : SelectedRows()) keep.insert(row->shortcut.file);
    rows_ = CollectReport(tree_);
    generation_ = ResultStore::Instance().generation();
    if (first) {
        ShowFiltered([this](size_t row) { return rows_[row].preselected; });
    } else {
        ShowFiltered([&](size_t row) { return keep.count(rows_[row].shortcut.file) > 0; });
    }
}

void ReportDialog::ShowFiltered(const std::function<bool(size_t)>& selected) {
    const auto filter = static_cast<ReportFilter>(SendDlgItemMessageA(hwnd(), IDC_REPORT_FILTER, CB_GETCURSEL, 0, 0));
    std::vector<size_t> shown;
    for (size_t n = 0; n < rows_.size(); ++n)
        if (Shows(rows_[n], filter)) shown.push_back(n);
    Fill(std::move(shown), selected);
}

std::vector<const ReportRow*> ReportDialog::SelectedRows() const {
    std::vector<const ReportRow*> rows;
    for (size_t row : Selected()) rows.push_back(&rows_.at(row));
    return rows;
}

void ReportDialog::OnTimer() {
    if (ResultStore::Instance().generation() != generation_) Refresh(false);
}

void ReportDialog::OnCommand(UINT id, UINT code) {
    switch (id) {
    case IDC_REPORT_FILTER:
        if (code == CBN_SELCHANGE) ShowFiltered([this](size_t row) { return rows_[row].preselected; });
        break;
    case IDC_REPORT_RECHECK:
        CheckAgain(SelectedRows());
        break;
    case IDC_REPORT_DELETE:
        if (DeleteRows(hwnd(), SelectedRows())) Refresh(false);
        break;
    case IDC_REPORT_UPDATE:
        if (UpdateMovedRows(hwnd(), SelectedRows())) Refresh(false);
        break;
    case IDC_REPORT_SHOW: {
        const std::vector<const ReportRow*> rows = SelectedRows();
        if (!rows.empty() && ShowInTree(hwnd(), rows.front()->shortcut)) EndDialog(hwnd(), IDOK);
        break;
    }
    case IDC_REPORT_SAVE:
        AskWhereToSave();
        break;
    default:
        break;
    }
}

bool ReportDialog::SaveCsv(const std::wstring& path) {
    std::vector<const ReportRow*> shown;
    for (size_t row : Shown()) shown.push_back(&rows_.at(row));
    if (fsys::ReplaceContent(path, ReportCsv(shown))) return true;
    ui::ShowMessage(hwnd(), kSaveFailed, "", MB_ICONWARNING);
    return false;
}

void ReportDialog::AskWhereToSave() {
    wchar_t file[MAX_PATH * 4] = L"";
    std::copy(std::begin(kDefaultCsvName), std::end(kDefaultCsvName), file);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = hwnd();
    dialog.lpstrFilter = kCsvFilter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = static_cast<DWORD>(std::size(file));
    dialog.lpstrDefExt = L"csv";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (GetSaveFileNameW(&dialog)) SaveCsv(file);
}

}  // namespace linkcheck
