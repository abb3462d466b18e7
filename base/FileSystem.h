// The file-system boundary in UTF-16. The program's text is ANSI, but file names need not fit the
// code page ("café", "한국"): whatever reaches a file or folder goes through these calls with the
// exact name, so an operation meets the entry that is shown and no other.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fsys {

// "folder\\name"
std::wstring Join(std::wstring_view folder, std::wstring_view name);
// Splits "a\\b\\c" into "a\\b" and "c"; false when there is no backslash.
bool SplitLast(std::wstring_view path, std::wstring* folder, std::wstring* name);

// Ordinal comparison without regard to case, as the file system compares names.
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);
bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix);
// "x.url" (any letter case, longer than the extension alone) gives "x"; other names nothing.
std::optional<std::wstring> WithoutExtension(std::wstring_view name, std::wstring_view extension);

// INVALID_FILE_ATTRIBUTES when nothing of that name can be seen.
DWORD Attributes(const std::wstring& path);
bool Exists(const std::wstring& path);
bool IsDirectory(const std::wstring& path);

// What makes a folder itself whatever the path that reaches it: a junction or symbolic link
// leads to the same identity as its target.
struct FolderId {
    DWORD volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};
std::optional<FolderId> IdentityOf(const std::wstring& folder);

// The shell's move or rename (FO_MOVE) and delete (FO_DELETE) of one object. True only when the
// shell reports no error of any kind.
bool ShellMove(HWND owner, const std::wstring& from, const std::wstring& to, FILEOP_FLAGS flags);
bool ShellDelete(HWND owner, const std::wstring& path, FILEOP_FLAGS flags);

// Tells the shell (and so every tree watching) about a change at `path`.
void NotifyShell(LONG event, const std::wstring& path);

// The whole content of a file, whatever its size; nothing when it cannot be read.
std::optional<std::string> ReadAll(const std::wstring& path);
// Why a replace failed: no temporary file could be made beside the target (a read-only target,
// a folder that cannot be written), or the bytes or the replace itself failed.
enum class ReplaceFailure { kNotCreated, kNotWritten };
// Replaces a file's content, or makes the file: the bytes go to a temporary file of a name of its
// own beside it, which takes the file's place only once it is complete; the target keeps its
// attributes. False (with the reason in `failure` and the system's in GetLastError, and the file
// as it was) when any step fails, a read-only file included.
bool ReplaceContent(const std::wstring& path, std::string_view bytes, ReplaceFailure* failure = nullptr);

// Tests play a disk that fills up: while one lives, ReplaceContent writes at most `bytes` bytes
// in all into its temporary files, and then fails as a full disk does.
class ScopedWriteLimit {
public:
    explicit ScopedWriteLimit(size_t bytes);
    ~ScopedWriteLimit();
    ScopedWriteLimit(const ScopedWriteLimit&) = delete;
    ScopedWriteLimit& operator=(const ScopedWriteLimit&) = delete;
};

}  // namespace fsys
