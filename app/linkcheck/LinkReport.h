// The check report's content and actions, apart from its window: the checked shortcuts of one
// tree with their kept results, and what the user may do with the rows chosen. Rows find their
// node again by the exact file path, since checks and the file system change the tree meanwhile.
#pragma once

#include "Address.h"
#include "ResultStore.h"
#include "ShortcutActions.h"

#include <tree/CFavTreeView.h>

#include <string>
#include <vector>

namespace linkcheck {

enum class ReportFilter { kDead, kMoved, kUnsure, kAll };

struct ReportRow {
    ShortcutRef shortcut;
    std::string folder;
    CheckRecord record;
    MoveKind move = MoveKind::kOrdinary;  // for a moved row
    bool preselected = false;             // offered for the update without asking

    bool moved() const { return !record.movedTo.empty(); }
    // The texts of the report's columns (title, address, verdict, status, new address, folder), in
    // UTF-8: the addresses exactly.
    static constexpr int kColumnCount = 6;
    std::string Column(int column) const;
};

// Every shortcut of the tree with a kept result, in tree order.
std::vector<ReportRow> CollectReport(CFavTreeView& tree);
bool Shows(const ReportRow& row, ReportFilter filter);

// The rows as CSV in UTF-8 with a byte order mark (spreadsheet programs then read Japanese
// text), a header line first, every field quoted, lines ending in CR LF.
std::string ReportCsv(const std::vector<const ReportRow*>& rows);

// The actions. Each asks at most once and says in one message what it refused: a shortcut whose
// file changed since its check is neither deleted nor rewritten.
void CheckAgain(const std::vector<const ReportRow*>& rows);
// Sends the rows' files to the recycle bin; true when anything was deleted.
bool DeleteRows(HWND owner, const std::vector<const ReportRow*>& rows);
// Points the moved rows' shortcuts at their new addresses (then checks them again); true when
// anything was updated.
bool UpdateMovedRows(HWND owner, const std::vector<const ReportRow*>& rows);

}  // namespace linkcheck
