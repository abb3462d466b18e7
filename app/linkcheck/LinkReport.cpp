#include "LinkReport.h"

#include "ShortcutUpdate.h"

#include <base/FileSystem.h>
#include <base/Format.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>
#include <tree/TreeContextMenu.h>

#include <algorithm>

namespace linkcheck {
namespace {

constexpr const char* kHeader[ReportRow::kColumnCount] = {"タイトル", "URL", "判定", "状態", "移動先", "フォルダ"};
constexpr char kUpdateQuestion[] = "次の %d 個のショートカットを移動先のアドレスに更新しますか？";
constexpr char kUpdateCaption[] = "移動先に更新";
constexpr char kUpdateFailed[] = "次のショートカットを書き換えられませんでした：";
constexpr char kNothingMoved[] = "移動したリンクが選択されていません。";
constexpr char kChangedNotDeleted[] = "次のショートカットはチェックの後に変更されたため、削除しませんでした：";
constexpr char kChangedNotUpdated[] = "次のショートカットはチェックの後に変更されたため、更新しませんでした：";
constexpr char kMoreItems[] = "ほか %d 個";
// The question lists this many moves; the rest are counted.
constexpr size_t kListedMoves = 10;

// In the code page.
std::string Verdict(const ReportRow& row) {
    if (row.moved()) return row.move == MoveKind::kSuspicious ? "移動 (要確認)" : "移動";
    switch (row.record.image) {
    case fav::kImageLinkAlive: return "正常";
    case fav::kImageLinkDead: return "リンク切れ";
    default: return "不明";
    }
}

// In UTF-8.
std::string StatusText(const CheckRecord& record) {
    return record.status > 0 ? text::Format("HTTP %d", record.status) : record.outcome;
}

std::string CsvField(const std::string& utf8) {
    std::string field = "\"";
    for (const char c : utf8) {
        if (c == '"') field += '"';
        field += c;
    }
    return field + "\"";
}

// The file is as its check found it (a result is kept only for an unchanged file).
bool UnchangedSinceCheck(const ShortcutRef& shortcut) { return ResultStore::Instance().Find(shortcut.file).has_value(); }

std::vector<const ShortcutRef*> Shortcuts(const std::vector<const ReportRow*>& rows) {
    std::vector<const ShortcutRef*> shortcuts;
    for (const ReportRow* row : rows) shortcuts.push_back(&row->shortcut);
    return shortcuts;
}

// The exact address (UTF-8) as section "InternetShortcut.W" holds it.
std::string Utf7Of(const std::string& address) {
    if (std::optional<std::string> ascii = AsciiToUtf7(address)) return *ascii;
    const std::wstring wide = text::Utf8ToWide(address);
    const int size = WideCharToMultiByte(CP_UTF7, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string utf7(static_cast<size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF7, 0, wide.data(), static_cast<int>(wide.size()), utf7.data(), size, nullptr, nullptr);
    return utf7;
}

bool Rewrite(const ReportRow& row) {
    const std::optional<std::string> content = fsys::ReadAll(row.shortcut.file);
    if (!content) return false;
    const std::optional<std::string> updated = ReplaceUrlLines(*content, text::Utf8ToAnsi(row.record.movedTo), Utf7Of(row.record.movedTo));
    if (!updated || !fsys::ReplaceContent(row.shortcut.file, *updated)) return false;
    // The trees follow the shell's news: their kept addresses of this file go.
    fsys::NotifyShell(SHCNE_UPDATEITEM, row.shortcut.file);
    return true;
}

}  // namespace

std::string ReportRow::Column(int column) const {
    switch (column) {
    case 0: return text::AnsiToUtf8(shortcut.title);
    case 1: return record.url;
    case 2: return text::AnsiToUtf8(Verdict(*this));
    case 3: return StatusText(record);
    case 4: return record.movedTo;
    default: return text::AnsiToUtf8(folder);
    }
}

std::vector<ReportRow> CollectReport(CFavTreeView& tree) {
    std::vector<ReportRow> rows;
    ResultStore& store = ResultStore::Instance();
    VisitShortcuts(tree, [&](HTREEITEM node) {
        const std::optional<std::wstring> file = tree.NodeFile(node);
        std::optional<CheckRecord> record = file ? store.Find(*file) : std::nullopt;
        if (!record) return;
        ReportRow row{{&tree, *file, tree.Label(node)}, tree.NodePath(TreeView_GetParent(tree.hwnd(), node)).value_or(""),
                      std::move(*record)};
        if (row.moved()) {
            row.move = ClassifyMove(row.record.url, row.record.movedTo);
            row.preselected = row.move == MoveKind::kToHttps;
        }
        rows.push_back(std::move(row));
    });
    return rows;
}

bool Shows(const ReportRow& row, ReportFilter filter) {
    switch (filter) {
    case ReportFilter::kDead: return row.record.image == fav::kImageLinkDead;
    case ReportFilter::kMoved: return row.moved();
    case ReportFilter::kUnsure: return row.record.image == fav::kImageLinkUnsure;
    default: return true;
    }
}

std::string ReportCsv(const std::vector<const ReportRow*>& rows) {
    std::string csv = "\xEF\xBB\xBF";
    for (int column = 0; column < ReportRow::kColumnCount; ++column)
        csv += (column ? "," : "") + CsvField(text::AnsiToUtf8(kHeader[column]));
    csv += "\r\n";
    for (const ReportRow* row : rows) {
        for (int column = 0; column < ReportRow::kColumnCount; ++column)
            csv += (column ? "," : "") + CsvField(row->Column(column));
        csv += "\r\n";
    }
    return csv;
}

void CheckAgain(const std::vector<const ReportRow*>& rows) {
    for (const ReportRow* row : rows) {
        CFavTreeView& tree = *row->shortcut.tree;
        if (HTREEITEM node = tree.FindNodeByFile(row->shortcut.file)) tree.RunContextCommand(ctxmenu::kCheckLinks, node);
    }
}

bool DeleteRows(HWND owner, const std::vector<const ReportRow*>& rows) {
    const bool deleted = DeleteShortcuts(owner, Shortcuts(rows), UnchangedSinceCheck, kChangedNotDeleted);
    for (const ReportRow* row : rows)
        if (!fsys::Exists(row->shortcut.file)) ResultStore::Instance().Forget(row->shortcut.file);
    ResultStore::Instance().Save();
    return deleted;
}

bool UpdateMovedRows(HWND owner, const std::vector<const ReportRow*>& rows) {
    std::vector<const ReportRow*> moved;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(moved), [](const ReportRow* row) { return row->moved(); });
    if (moved.empty()) {
        ui::ShowMessage(owner, kNothingMoved, "", MB_ICONINFORMATION);
        return false;
    }
    // The addresses exactly as the shortcuts hold them and the servers sent them.
    std::wstring question = text::AnsiToWide(text::Format(kUpdateQuestion, static_cast<int>(moved.size()))) + L"\n";
    const std::wstring arrow = text::AnsiToWide("\n　→ ");
    for (size_t n = 0; n < std::min(moved.size(), kListedMoves); ++n)
        question += L"\n" + text::Utf8ToWide(moved[n]->record.url) + arrow + text::Utf8ToWide(moved[n]->record.movedTo);
    if (moved.size() > kListedMoves)
        question += L"\n" + text::AnsiToWide(text::Format(kMoreItems, static_cast<int>(moved.size() - kListedMoves)));
    if (ui::ShowMessage(owner, question, kUpdateCaption, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) return false;

    std::vector<const ShortcutRef*> refused, failed;
    std::vector<const ReportRow*> updated;
    for (const ReportRow* row : moved) {
        if (!UnchangedSinceCheck(row->shortcut)) {
            refused.push_back(&row->shortcut);
        } else if (!Rewrite(*row)) {
            failed.push_back(&row->shortcut);
        } else {
            ResultStore::Instance().Forget(row->shortcut.file);
            updated.push_back(row);
        }
    }
    ResultStore::Instance().Save();
    TellRefused(owner, kChangedNotUpdated, refused);
    TellRefused(owner, kUpdateFailed, failed);
    // The new address gets its own verdict.
    CheckAgain(updated);
    return !updated.empty();
}

}  // namespace linkcheck
