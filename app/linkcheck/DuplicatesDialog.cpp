#include "DuplicatesDialog.h"

#include <resources/LinkCheckIds.h>

#include <base/Format.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>

namespace linkcheck {
namespace {

constexpr char kNoDuplicates[] = "重複したアドレスはありません。";
// Deleting from this list asks nothing more than the one question.
bool AnyShortcut(const ShortcutRef&) { return true; }

}  // namespace

DuplicatesDialog::DuplicatesDialog(std::vector<DuplicateTab> tabs, std::function<void(CFavTreeView&)> showTab)
    : RowListDialog({{"グループ", 50}, {"アドレス", 200}, {"タイトル", 130}, {"タブ", 70}, {"フォルダ", 170}}),
      tabs_(std::move(tabs)),
      showTab_(std::move(showTab)) {}

INT_PTR DuplicatesDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_DUPLICATES, owner); }

std::string DuplicatesDialog::Text(size_t row, int column) const {
    const Row& shown = rows_.at(row);
    switch (column) {
    case 0: return text::Format("%04lu", static_cast<unsigned long>(shown.group + 1));  // sorts as numbers do
    case 1: return groups_[shown.group].address;
    case 2: return text::AnsiToUtf8(shown.entry.shortcut.title);
    case 3: return text::AnsiToUtf8(shown.entry.tab);
    default: return text::AnsiToUtf8(shown.entry.folder);
    }
}

void DuplicatesDialog::Collect() {
    groups_ = FindDuplicates(tabs_);
    rows_.clear();
    for (size_t group = 0; group < groups_.size(); ++group)
        for (const Duplicate& entry : groups_[group].entries) rows_.push_back({group, entry});
    std::vector<size_t> shown(rows_.size());
    for (size_t n = 0; n < shown.size(); ++n) shown[n] = n;
    Fill(std::move(shown), [](size_t) { return false; });
}

void DuplicatesDialog::OnInit() {
    Collect();
    if (rows_.empty()) ui::ShowMessage(hwnd(), kNoDuplicates, "", MB_ICONINFORMATION);
}

void DuplicatesDialog::OnCommand(UINT id, UINT) {
    std::vector<const ShortcutRef*> selected;
    for (size_t row : Selected()) selected.push_back(&rows_.at(row).entry.shortcut);
    if (id == IDC_REPORT_DELETE) {
        if (DeleteShortcuts(hwnd(), selected, AnyShortcut, "")) Collect();
    } else if (id == IDC_REPORT_SHOW && !selected.empty()) {
        if (showTab_) showTab_(*selected.front()->tree);
        if (ShowInTree(hwnd(), *selected.front())) EndDialog(hwnd(), IDOK);
    }
}

}  // namespace linkcheck
