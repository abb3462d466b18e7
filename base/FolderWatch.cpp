#include "FolderWatch.h"

namespace fsys {
namespace {

constexpr DWORD kBufferBytes = 64 * 1024;  // the most a watch over the network can hand over
constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_SIZE |
                          FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;

}  // namespace

FolderWatch::~FolderWatch() { Stop(); }

bool FolderWatch::Start(const std::wstring& folder) {
    Stop();
    folder_.reset(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr));
    event_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!folder_ || !event_) {
        Stop();
        return false;
    }
    buffer_ = std::make_unique<DWORD[]>(kBufferBytes / sizeof(DWORD));
    if (Issue()) return true;
    Stop();
    return false;
}

bool FolderWatch::Issue() {
    ResetEvent(event_.get());
    overlapped_ = {};
    overlapped_.hEvent = event_.get();
    return ReadDirectoryChangesW(folder_.get(), buffer_.get(), kBufferBytes, TRUE, kFilter, nullptr, &overlapped_,
                                 nullptr) != FALSE;
}

void FolderWatch::Stop() {
    if (active() && event_) {
        // The system writes into the buffer until the request has ended.
        CancelIo(folder_.get());
        DWORD ignored = 0;
        GetOverlappedResult(folder_.get(), &overlapped_, &ignored, TRUE);
    }
    folder_.reset();
    event_.reset();
    buffer_.reset();
}

bool FolderWatch::Collect(const std::function<void(std::wstring_view)>& changed) {
    if (!active()) return false;
    for (;;) {
        DWORD bytes = 0;
        if (!GetOverlappedResult(folder_.get(), &overlapped_, &bytes, FALSE)) {
            if (GetLastError() == ERROR_IO_INCOMPLETE) return true;  // nothing (more) changed
            Stop();
            return false;
        }
        const bool complete = bytes != 0;  // no bytes: more changed than the buffer held
        for (DWORD offset = 0; complete;) {
            const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(
                reinterpret_cast<const BYTE*>(buffer_.get()) + offset);
            changed(std::wstring_view(record->FileName, record->FileNameLength / sizeof(wchar_t)));
            if (!record->NextEntryOffset) break;
            offset += record->NextEntryOffset;
        }
        if (!Issue()) {
            Stop();
            return false;
        }
        if (!complete) return false;
    }
}

}  // namespace fsys
