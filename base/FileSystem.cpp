#include "FileSystem.h"

#include "Handles.h"

#include <shlobj.h>

#include <algorithm>

namespace fsys {
namespace {

constexpr wchar_t kTemporaryPrefix[] = L"~tl";

std::optional<size_t>& WriteLimit() {
    static std::optional<size_t> limit;
    return limit;
}

// Writes all of `bytes` (WriteFile counts in 32 bits); false on the first failing write.
bool WriteWhole(HANDLE file, std::string_view bytes) {
    constexpr size_t kLargestWrite = 1u << 30;
    std::optional<size_t>& limit = WriteLimit();
    while (!bytes.empty()) {
        size_t chunk = std::min(bytes.size(), kLargestWrite);
        if (limit) {
            if (*limit == 0) {
                SetLastError(ERROR_DISK_FULL);
                return false;
            }
            chunk = std::min(chunk, *limit);
            *limit -= chunk;
        }
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), static_cast<DWORD>(chunk), &written, nullptr) || written == 0) return false;
        bytes.remove_prefix(written);
    }
    return true;
}

// Paths for SHFileOperationW end with two NULs.
std::wstring DoubleNulTerminated(const std::wstring& path) { return path + L'\0'; }

bool RunShellOperation(HWND owner, UINT function, const std::wstring& from, const std::wstring* to,
                       FILEOP_FLAGS flags) {
    const std::wstring source = DoubleNulTerminated(from);
    const std::wstring target = to ? DoubleNulTerminated(*to) : std::wstring();
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
    operation.wFunc = function;
    operation.pFrom = source.c_str();
    operation.pTo = to ? target.c_str() : nullptr;
    operation.fFlags = flags;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

}  // namespace

std::wstring Join(std::wstring_view folder, std::wstring_view name) {
    std::wstring joined(folder);
    joined += L'\\';
    joined += name;
    return joined;
}

bool SplitLast(std::wstring_view path, std::wstring* folder, std::wstring* name) {
    const size_t cut = path.rfind(L'\\');
    if (cut == std::wstring_view::npos) return false;
    if (folder) folder->assign(path.substr(0, cut));
    if (name) name->assign(path.substr(cut + 1));
    return true;
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::optional<std::wstring> WithoutExtension(std::wstring_view name, std::wstring_view extension) {
    if (name.size() <= extension.size() || !EqualsNoCase(name.substr(name.size() - extension.size()), extension))
        return std::nullopt;
    return std::wstring(name.substr(0, name.size() - extension.size()));
}

DWORD Attributes(const std::wstring& path) { return GetFileAttributesW(path.c_str()); }

bool Exists(const std::wstring& path) { return Attributes(path) != INVALID_FILE_ATTRIBUTES; }

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = Attributes(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<FolderId> IdentityOf(const std::wstring& folder) {
    // No access rights are needed to read the identity; backup semantics opens folders.
    win::UniqueFile handle(CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION information{};
    if (!handle || !GetFileInformationByHandle(handle.get(), &information)) return std::nullopt;
    return FolderId{information.dwVolumeSerialNumber,
                    (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

bool ShellMove(HWND owner, const std::wstring& from, const std::wstring& to, FILEOP_FLAGS flags) {
    return RunShellOperation(owner, FO_MOVE, from, &to, flags);
}

bool ShellDelete(HWND owner, const std::wstring& path, FILEOP_FLAGS flags) {
    return RunShellOperation(owner, FO_DELETE, path, nullptr, flags);
}

void NotifyShell(LONG event, const std::wstring& path) { SHChangeNotify(event, SHCNF_PATHW, path.c_str(), nullptr); }

std::optional<std::string> ReadAll(const std::wstring& path) {
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size) || size.QuadPart > MAXDWORD) return std::nullopt;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!content.empty() && !ReadFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &read, nullptr))
        return std::nullopt;
    content.resize(read);
    return content;
}

ScopedWriteLimit::ScopedWriteLimit(size_t bytes) { WriteLimit() = bytes; }
ScopedWriteLimit::~ScopedWriteLimit() { WriteLimit().reset(); }

bool ReplaceContent(const std::wstring& path, std::string_view bytes, ReplaceFailure* failure) {
    const auto fail = [failure](ReplaceFailure why) {
        if (failure) *failure = why;
        return false;
    };
    // A read-only file stays as it is: replacing it would get round its protection.
    const DWORD attributes = Attributes(path);
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    if (exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return fail(ReplaceFailure::kNotCreated);
    }
    std::wstring folder;
    if (!SplitLast(path, &folder, nullptr)) {
        SetLastError(ERROR_INVALID_NAME);
        return fail(ReplaceFailure::kNotCreated);
    }
    // Names the system makes unique in the same folder (same volume, so the replace is a rename),
    // never a file of the user's. The old file waits under the backup name until the new one is
    // in place, so that a replace failing half way can put it back.
    wchar_t temporary[MAX_PATH] = L"", backup[MAX_PATH] = L"";
    if (!GetTempFileNameW(folder.c_str(), kTemporaryPrefix, 0, temporary)) return fail(ReplaceFailure::kNotCreated);
    // Callers tell the user the system's reason (GetLastError): every clean-up after a failure runs
    // while a KeptError holds it.
    struct KeptError {
        DWORD error = GetLastError();
        ~KeptError() { SetLastError(error); }
    };
    const auto removeTemporaries = [&] {
        DeleteFileW(temporary);
        if (*backup) DeleteFileW(backup);
    };
    {
        win::UniqueFile file(
            CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        const bool created = file && (!exists || GetTempFileNameW(folder.c_str(), kTemporaryPrefix, 0, backup));
        const bool written = created && WriteWhole(file.get(), bytes) && FlushFileBuffers(file.get());
        if (!written) {
            const KeptError kept;
            file.reset();
            removeTemporaries();
            return fail(created ? ReplaceFailure::kNotWritten : ReplaceFailure::kNotCreated);
        }
    }
    // ReplaceFileW keeps the target's attributes, security and creation time; a new file is
    // simply renamed, and one that appeared meanwhile is not overwritten.
    if (!exists) {
        if (MoveFileExW(temporary, path.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        const KeptError kept;
        DeleteFileW(temporary);
        return fail(ReplaceFailure::kNotWritten);
    }
    if (!ReplaceFileW(path.c_str(), temporary, backup, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)) {
        const KeptError kept;
        if (kept.error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(backup, path.c_str(), 0);
        // Should even that fail, the backup is the old file: it stays.
        if (Exists(path)) DeleteFileW(backup);
        DeleteFileW(temporary);
        return fail(ReplaceFailure::kNotWritten);
    }
    DeleteFileW(backup);
    // Where the system's replace does not carry them over, they are put back.
    if (Attributes(path) != attributes) SetFileAttributesW(path.c_str(), attributes);
    return true;
}

}  // namespace fsys
