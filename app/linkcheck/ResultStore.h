// The last link-check result of every checked shortcut, kept for the current user across
// sessions in "%APPDATA%\\Tolvak\\linkcheck.json" (never in the shortcut files, which other
// programs read). A result belongs to the file as it was when checked: once the file's time or
// size differ, or the file is gone, the result is dropped.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace linkcheck {

// The state of a shortcut file a result belongs to.
struct FileStamp {
    uint64_t written = 0;  // last write time (FILETIME)
    uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};
std::optional<FileStamp> StampOf(const std::wstring& file);

// Texts in UTF-8, as the file holds them (files of older versions hold the code-page forms,
// which read the same way).
struct CheckRecord {
    std::string url;      // the exact address checked
    int image = 0;        // the verdict's picture
    int status = 0;       // HTTP status; 0 when the check failed before one came
    std::string outcome;  // what the status bar says: "HTTP 404", a failure's text, "移動: ..."
    std::string movedTo;  // a permanent redirect's new address
    uint64_t checkedAt = 0;  // FILETIME, UTC
    FileStamp stamp;
};

class ResultStore {
public:
    // The process's store, read from the user's file on first use.
    static ResultStore& Instance();

    // Records a result for the shortcut file as it is now (nothing when the file is gone).
    void Record(const std::wstring& file, CheckRecord record);
    // The file's result while the file is unchanged; a stale one is dropped.
    std::optional<CheckRecord> Find(const std::wstring& file);
    void Forget(const std::wstring& file);
    bool empty() const { return records_.empty(); }
    // Changes since the process started; lets windows that show results know when to refresh.
    uint64_t generation() const { return generation_; }

    // Writes the user's file when something changed; false when it could not be written.
    bool Save();
    // Forgets everything in memory and reads the user's file again (a new session).
    void Reload();

private:
    ResultStore() = default;
    void Changed();

    std::map<std::wstring, CheckRecord> records_;  // by the file's path, upper-cased
    bool loaded_ = false;
    bool dirty_ = false;
    uint64_t generation_ = 0;
};

// The user's results file; tests give it a place of their own for their lifetime, and the store
// reads it again at both ends.
std::wstring ResultsFile();
class ScopedResultsFile {
public:
    explicit ScopedResultsFile(std::wstring path);
    ~ScopedResultsFile();
    ScopedResultsFile(const ScopedResultsFile&) = delete;
    ScopedResultsFile& operator=(const ScopedResultsFile&) = delete;

private:
    std::wstring previous_;
};

}  // namespace linkcheck
