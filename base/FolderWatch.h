// Which names below a folder changed, as the file system reports them (ReadDirectoryChangesW over
// the whole hierarchy). Polled, never waited for: a caller asks before it trusts what it read
// earlier, and learns only the names that changed, however many files lie below the folder.
#pragma once

#include "Handles.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace fsys {

class FolderWatch {
public:
    FolderWatch() = default;
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Follows `folder` and everything below it from now on; false when the file system cannot
    // report changes there (then nothing is followed).
    bool Start(const std::wstring& folder);
    void Stop();
    bool active() const { return folder_.get() != INVALID_HANDLE_VALUE; }

    // Hands each path (relative to the folder) that changed since the last call to `changed`.
    // False when changes were lost (too many at once, or the watch broke): then anything may
    // have changed, and the watch goes on (or, broken, stops).
    bool Collect(const std::function<void(std::wstring_view)>& changed);

private:
    bool Issue();

    win::UniqueFile folder_;
    win::UniqueHandle event_;
    OVERLAPPED overlapped_{};
    std::unique_ptr<DWORD[]> buffer_;  // DWORD-aligned, as the records require
};

}  // namespace fsys
