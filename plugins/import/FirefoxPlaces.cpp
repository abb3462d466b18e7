#include "FirefoxPlaces.h"

#include <base/TextEncoding.h>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>
#include <tuple>
#include <unordered_set>
#include <utility>
#include <vector>

namespace importer {
namespace {

// The events carry UTF-8, which is what SQLite gives.
std::string_view Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

struct ShownRoot {
    const char* guid;
    const char* oldName;  // in moz_bookmarks_roots
    const char8_t* name;
};
constexpr ShownRoot kShownRoots[] = {
    {"menu________", "menu", u8"ブックマークメニュー"},
    {"toolbar_____", "toolbar", u8"ブックマークツールバー"},
    {"unfiled_____", "unfiled", u8"他のブックマーク"},
    {"mobile______", "mobile", u8"モバイルのブックマーク"},
};
constexpr size_t kRootCount = std::size(kShownRoots);

constexpr int kBookmark = 1;
constexpr int kFolder = 2;

constexpr char kEntriesQuery[] =
    "SELECT b.id, b.type, b.parent, b.position, b.title, p.url FROM moz_bookmarks b "
    "LEFT JOIN moz_places p ON p.id = b.fk WHERE b.type IN (1, 2)";
constexpr char kRootsByGuid[] =
    "SELECT guid, id FROM moz_bookmarks WHERE guid IN ('menu________', 'toolbar_____', 'unfiled_____', 'mobile______')";
constexpr char kRootsByName[] = "SELECT root_name, folder_id FROM moz_bookmarks_roots";

// Saved queries ("Most Visited" and the like) are addresses of this scheme.
constexpr std::string_view kQueryScheme = "place:";

// A folder or a bookmark, text in UTF-8.
struct Entry {
    int64_t parent, position, id;
    int type;
    bool hasUrl;
    std::string title, url;
};

bool InFirefoxOrder(const Entry& a, const Entry& b) {
    return std::tie(a.parent, a.position, a.id) < std::tie(b.parent, b.position, b.id);
}

struct FinishStatement {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, FinishStatement>;

int Prepare(sqlite3* db, const char* sql, Statement& statement) {
    sqlite3_stmt* prepared = nullptr;
    const int result = sqlite3_prepare_v2(db, sql, -1, &prepared, nullptr);
    statement.reset(prepared);
    return result;
}

std::string ColumnText(sqlite3_stmt* statement, int column) {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
    return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(statement, column))) : std::string();
}

// Steps through every row, handing each to `row`; SQLITE_OK once all came.
template <typename RowFunction>
int EachRow(sqlite3_stmt* statement, RowFunction row) {
    int result;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) row(statement);
    return result == SQLITE_DONE ? SQLITE_OK : result;
}

int ReadEntries(sqlite3* db, std::vector<Entry>& entries) {
    Statement statement;
    if (const int result = Prepare(db, kEntriesQuery, statement); result != SQLITE_OK) return result;
    return EachRow(statement.get(), [&](sqlite3_stmt* row) {
        entries.push_back({sqlite3_column_int64(row, 2), sqlite3_column_int64(row, 3), sqlite3_column_int64(row, 0),
                           sqlite3_column_int(row, 1), sqlite3_column_type(row, 5) != SQLITE_NULL, ColumnText(row, 4),
                           ColumnText(row, 5)});
    });
}

// The ids of the shown roots by guid, or else by name in the older table; 0 for a root the
// database lacks. SQLITE_NOTFOUND when it names none of them: no places database this reader knows.
int ReadRoots(sqlite3* db, std::array<int64_t, kRootCount>& roots) {
    roots.fill(0);
    bool found = false;
    const auto take = [&](sqlite3_stmt* row, const char* ShownRoot::*key) {
        const std::string name = ColumnText(row, 0);
        for (size_t i = 0; i < kRootCount; ++i)
            if (name == kShownRoots[i].*key) {
                roots[i] = sqlite3_column_int64(row, 1);
                found = true;
            }
    };
    for (const auto& [sql, key] : {std::pair{kRootsByGuid, &ShownRoot::guid}, std::pair{kRootsByName, &ShownRoot::oldName}}) {
        Statement statement;
        const int prepared = Prepare(db, sql, statement);
        // A schema without the column or the table is one of the other kind; a lock is a lock.
        if (prepared == SQLITE_ERROR) continue;
        if (prepared != SQLITE_OK) return prepared;
        if (const int result = EachRow(statement.get(), [&](sqlite3_stmt* row) { take(row, key); }); result != SQLITE_OK)
            return result;
        if (found) return SQLITE_OK;
    }
    return SQLITE_NOTFOUND;
}

// The entries in Firefox's order, and the children of a folder among them.
class PlacesTree {
public:
    explicit PlacesTree(std::vector<Entry> entries) : entries_(std::move(entries)) {
        std::sort(entries_.begin(), entries_.end(), InFirefoxOrder);
    }

    // Adds the root `id` as a folder named `name` with everything below it; nothing when nothing
    // in it is shown. `entered` holds the folders already shown, so that a damaged database whose
    // folders form a cycle ends all the same.
    void AddRoot(int64_t id, std::string_view name, std::unordered_set<int64_t>& entered, BookmarkEvents& events) const {
        const size_t start = events.size();
        events.AddFolder(name);
        std::vector<Range> open{ChildrenOf(id)};  // per open folder: the children still to come
        while (!open.empty()) {
            Range& children = open.back();
            if (children.first == children.second) {
                open.pop_back();
                events.AddClose();
                continue;
            }
            const Entry& entry = *children.first++;
            if (entry.type == kFolder) {
                if (!entered.insert(entry.id).second) continue;
                events.AddFolder(entry.title);
                open.push_back(ChildrenOf(entry.id));
            } else if (IsShown(entry)) {
                events.AddItem(entry.title.empty() ? entry.url : entry.title, entry.url);
            }
        }
        // The root's folder and its end alone: an empty root is not shown, as in Firefox's menus.
        if (events.size() == start + 2) events.truncate(start);
    }

private:
    using Range = std::pair<std::vector<Entry>::const_iterator, std::vector<Entry>::const_iterator>;

    static bool IsShown(const Entry& entry) {
        if (entry.type != kBookmark || !entry.hasUrl || entry.url.empty()) return false;
        const std::string_view scheme = std::string_view(entry.url).substr(0, kQueryScheme.size());
        return !std::equal(scheme.begin(), scheme.end(), kQueryScheme.begin(), kQueryScheme.end(),
                           [](char a, char b) { return (a | 0x20) == b; });
    }

    Range ChildrenOf(int64_t folder) const {
        const auto first = std::partition_point(entries_.begin(), entries_.end(),
                                                [&](const Entry& entry) { return entry.parent < folder; });
        return {first, std::partition_point(first, entries_.end(), [&](const Entry& entry) { return entry.parent == folder; })};
    }

    std::vector<Entry> entries_;
};

}  // namespace

DatabaseRead ReadFirefoxPlaces(const std::wstring& file, BookmarkEvents& events) {
    // Everything is read before anything is shown: a failure half way leaves no half a tree.
    std::vector<Entry> entries;
    std::array<int64_t, kRootCount> roots{};
    const DatabaseRead read = ReadDatabase(file, [&](sqlite3* db) {
        entries.clear();
        const int result = ReadEntries(db, entries);
        return result == SQLITE_OK ? ReadRoots(db, roots) : result;
    });
    if (read != DatabaseRead::kRead) return read;

    const PlacesTree tree(std::move(entries));
    events = BookmarkEvents();
    std::unordered_set<int64_t> entered(roots.begin(), roots.end());
    for (size_t i = 0; i < kRootCount; ++i)
        if (roots[i]) tree.AddRoot(roots[i], Utf8(kShownRoots[i].name), entered, events);
    return read;
}

}  // namespace importer
