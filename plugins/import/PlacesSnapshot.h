// Reading an SQLite database that a running program (a browser) owns, without changing its files
// and without holding the program up.
#pragma once

#include <functional>
#include <string>

struct sqlite3;

namespace importer {

enum class DatabaseRead {
    kRead,        // the reader ran to its end
    kNotFound,    // no file at the path (a folder there counts too)
    kUnreadable,  // the file is there but cannot be read, or no private copy could be made
    kFailed,      // not an SQLite database, damaged, or not what the reader expects
};

// Runs `read` (which returns an SQLite result code and may be called a second time, afresh) over
// a read-only connection to `file` as it is now.
// The file itself is read only while nothing else has it in use and only in ways that leave no
// trace: read-only, and for a database with a write-ahead log neither locks nor files of its own
// (SQLite would create "-wal" and "-shm" files beside it). When a log or a journal lies beside the
// file, or the file is locked, `read` gets a private copy of the database with its log or journal,
// taken at that moment in the temporary folder and removed again before this returns.
DatabaseRead ReadDatabase(const std::wstring& file, const std::function<int(sqlite3*)>& read);

// Frees SQLite's process-wide state; only while no connection is open and no read runs (the
// library is being unloaded). A later read sets it up again.
void ReleaseDatabaseEngine();

}  // namespace importer
