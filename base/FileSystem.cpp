#include "FileSystem.h"

#include "Handles.h"

#include <shlobj.h>

namespace fsys {
namespace {

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

bool ReplaceContent(const std::wstring& path, std::string_view bytes) {
    // A read-only file stays as it is: replacing it by a move would get round its protection.
    const DWORD attributes = Attributes(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    std::wstring folder, name;
    if (!SplitLast(path, &folder, &name) || bytes.size() > MAXDWORD) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    const std::wstring temporary = Join(folder, L"~" + name + L".tmp");
    // The caller learns why from GetLastError, so the clean-up must not overwrite it.
    const auto fail = [&](DWORD error) {
        DeleteFileW(temporary.c_str());
        SetLastError(error);
        return false;
    };
    {
        win::UniqueFile file(
            CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        DWORD written = 0;
        const bool complete = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                              FlushFileBuffers(file.get());
        if (!complete || written != bytes.size()) {
            const DWORD error = complete ? ERROR_DISK_FULL : GetLastError();
            file.reset();
            return fail(error);
        }
    }
    if (MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    return fail(GetLastError());
}

}  // namespace fsys
