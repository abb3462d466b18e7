#include "PlacesSnapshot.h"

#include "SourceFile.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/TextEncoding.h>

#include <sqlite3.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace importer {
namespace {

// The files SQLite keeps beside a database: the write-ahead log, the rollback journal, and the
// log's index, which only a connection of our own makes.
constexpr const wchar_t* kCompanions[] = {L"-wal", L"-journal"};
constexpr wchar_t kLogIndex[] = L"-shm";

constexpr size_t kHeaderSize = 100;
constexpr char kMagic[] = "SQLite format 3";  // with its NUL, the first 16 bytes
// Header bytes 18 and 19: the file format versions for writing and reading; 2 means a log.
constexpr size_t kWriteVersion = 18, kReadVersion = 19;

// A value longer than this is no bookmark's; it ends the read instead of taking the memory.
constexpr int kLongestValue = 32 << 20;
// Tries at a copy whose source does not change while it is taken.
constexpr int kCopyTries = 3;

struct CloseConnection {
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

win::UniqueFile OpenShared(const std::wstring& path) {
    // Whoever has the database open goes on reading and writing it, and may delete its log.
    return win::UniqueFile(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool IsFile(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// What changes when the owner writes a file: its size and its last write.
struct FileStamp {
    bool exists = false;
    ULARGE_INTEGER size{};
    FILETIME written{};
    bool operator==(const FileStamp& other) const {
        return exists == other.exists && size.QuadPart == other.size.QuadPart &&
               CompareFileTime(&written, &other.written) == 0;
    }
};

FileStamp StampOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return {};
    FileStamp stamp{true, {}, data.ftLastWriteTime};
    stamp.size.LowPart = data.nFileSizeLow;
    stamp.size.HighPart = data.nFileSizeHigh;
    return stamp;
}

// Reads `size` bytes at `offset`; false when the system refuses.
bool ReadAt(HANDLE file, ULONGLONG offset, char* buffer, DWORD size, DWORD& read) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return ReadFile(file, buffer, size, &read, &at) != FALSE;
}

// Copies `from` into a new `to` while its owner may be writing it. Windows enforces the byte
// ranges SQLite locks (at 1 GiB, in a page that never holds data): those read as zeros.
bool CopyShared(const std::wstring& from, const std::wstring& to) {
    const win::UniqueFile source = OpenShared(from);
    if (!source) return false;
    const win::UniqueFile target(
        CreateFileW(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!target) return false;
    constexpr DWORD kChunk = 1 << 20, kSector = 512;
    std::vector<char> buffer(kChunk);
    for (ULONGLONG offset = 0;;) {
        DWORD read = 0;
        if (!ReadAt(source.get(), offset, buffer.data(), kChunk, read)) {
            if (GetLastError() == ERROR_HANDLE_EOF) break;
            if (GetLastError() != ERROR_LOCK_VIOLATION) return false;
            // Sector by sector around the locked range.
            read = 0;
            for (DWORD at = 0; at < kChunk; at += kSector) {
                DWORD got = 0;
                if (ReadAt(source.get(), offset + at, buffer.data() + at, kSector, got)) {
                    read = at + got;
                    if (got < kSector) break;
                } else if (GetLastError() == ERROR_LOCK_VIOLATION) {
                    std::memset(buffer.data() + at, 0, kSector);
                    read = at + kSector;
                } else if (GetLastError() == ERROR_HANDLE_EOF) {
                    break;
                } else {
                    return false;
                }
            }
        }
        if (read == 0) break;
        DWORD written = 0;
        if (!WriteFile(target.get(), buffer.data(), read, &written, nullptr) || written != read) return false;
        offset += read;
    }
    return true;
}

// A copy of a database and the companions it has, under a unique name in the temporary folder;
// every file of it, and whatever SQLite adds beside it, goes with the object.
class PrivateCopy {
public:
    explicit PrivateCopy(const std::wstring& database) {
        wchar_t folder[MAX_PATH + 1] = L"", name[MAX_PATH] = L"";
        const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
        if (length == 0 || length > MAX_PATH || !GetTempFileNameW(folder, L"tlf", 0, name)) return;
        path_ = name;  // created empty: the name is ours
        // Another try at the copy when the owner wrote while it was taken: the database and its
        // log must be of the same moment.
        // A copy taken while the owner kept writing stays the last resort: SQLite checks the log.
        for (int attempt = 0; attempt < kCopyTries; ++attempt) {
            const std::vector<FileStamp> before = Stamps(database);
            copied_ = CopyAll(database);
            if (!copied_ || Stamps(database) == before) break;
        }
    }
    ~PrivateCopy() {
        if (path_.empty()) return;
        for (const wchar_t* companion : kCompanions) DeleteFileW((path_ + companion).c_str());
        DeleteFileW((path_ + kLogIndex).c_str());
        DeleteFileW(path_.c_str());
    }
    PrivateCopy(const PrivateCopy&) = delete;
    PrivateCopy& operator=(const PrivateCopy&) = delete;

    explicit operator bool() const { return copied_; }
    const std::wstring& path() const { return path_; }

private:
    static std::vector<FileStamp> Stamps(const std::wstring& database) {
        std::vector<FileStamp> stamps{StampOf(database)};
        for (const wchar_t* companion : kCompanions) stamps.push_back(StampOf(database + companion));
        return stamps;
    }
    bool CopyAll(const std::wstring& database) const {
        if (!CopyShared(database, path_)) return false;
        for (const wchar_t* companion : kCompanions) {
            // A companion left from an earlier copy of this name must not meet this one.
            DeleteFileW((path_ + companion).c_str());
            if (IsFile(database + companion) && !CopyShared(database + companion, path_ + companion)) return false;
        }
        DeleteFileW((path_ + kLogIndex).c_str());
        return true;
    }

    std::wstring path_;
    bool copied_ = false;
};

// The "file:" URI SQLite opens `path` by, with `parameters`.
std::string FileUri(const std::wstring& path, const char* parameters) {
    const std::string utf8 = text::WideToUtf8(path);
    // "file:///C:/x" for a drive, "file:////server/share/x" for a network path.
    std::string uri = !utf8.empty() && (utf8[0] == '\\' || utf8[0] == '/') ? "file://" : "file:///";
    for (const char c : utf8) {
        if (c == '\\')
            uri += '/';
        else if (c == '%' || c == '?' || c == '#')
            uri += text::Format("%%%02X", static_cast<unsigned char>(c));
        else
            uri += c;
    }
    return uri + "?" + parameters;
}

// Opens `name` and runs `read` over it; SQLite's result code.
int RunOver(const std::string& name, int flags, const std::function<int(sqlite3*)>& read) {
    sqlite3* opened = nullptr;
    const int result = sqlite3_open_v2(name.c_str(), &opened, flags, nullptr);
    const Connection db(opened);  // a failed open leaves a handle to close too
    if (result != SQLITE_OK) return result;
    // The file may come from anybody: its schema calls nothing, views and triggers stay off,
    // damage is looked for on every page, and closing the private copy writes nothing back.
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
    sqlite3_limit(db.get(), SQLITE_LIMIT_LENGTH, kLongestValue);
    const int checked = sqlite3_exec(db.get(), "PRAGMA cell_size_check = ON", nullptr, nullptr, nullptr);
    return checked == SQLITE_OK ? read(db.get()) : checked;
}

// Whether another connection holds the file: then a copy can still be read.
bool IsHeld(int result) {
    const int primary = result & 0xFF;
    return primary == SQLITE_BUSY || primary == SQLITE_LOCKED || primary == SQLITE_CANTOPEN;
}

}  // namespace

DatabaseRead ReadDatabase(const std::wstring& file, const std::function<int(sqlite3*)>& read) {
    // Relative paths would not survive the way into a URI.
    wchar_t full[MAX_PATH] = L"";
    const DWORD fullLength = GetFullPathNameW(file.c_str(), MAX_PATH, full, nullptr);
    const std::wstring database = fullLength > 0 && fullLength < MAX_PATH ? std::wstring(full) : file;

    std::array<char, kHeaderSize> header{};
    {
        const win::UniqueFile opened = OpenShared(database);
        if (!opened)
            return OpenFailure(database, GetLastError()) == ReadFailure::kNotFound ? DatabaseRead::kNotFound
                                                                                   : DatabaseRead::kUnreadable;
        DWORD got = 0;
        if (!ReadFile(opened.get(), header.data(), kHeaderSize, &got, nullptr)) return DatabaseRead::kUnreadable;
        if (got < kHeaderSize || std::memcmp(header.data(), kMagic, sizeof kMagic) != 0) return DatabaseRead::kFailed;
    }
    bool companion = false;
    for (const wchar_t* suffix : kCompanions) companion |= IsFile(database + suffix);
    if (!companion) {
        // A database that keeps a log has none beside it only while nobody has it open; reading
        // it as unchanging takes no lock and makes no file.
        const bool logged = header[kWriteVersion] == 2 || header[kReadVersion] == 2;
        const int result = RunOver(FileUri(database, logged ? "mode=ro&immutable=1" : "mode=ro"),
                                   SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, read);
        if (!IsHeld(result)) return result == SQLITE_OK ? DatabaseRead::kRead : DatabaseRead::kFailed;
    }
    const PrivateCopy copy(database);
    if (!copy) return DatabaseRead::kUnreadable;
    const int result = RunOver(text::WideToUtf8(copy.path()), SQLITE_OPEN_READWRITE, read);
    return result == SQLITE_OK ? DatabaseRead::kRead : DatabaseRead::kFailed;
}

void ReleaseDatabaseEngine() { sqlite3_shutdown(); }

}  // namespace importer
