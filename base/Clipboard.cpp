#include "Clipboard.h"

#include <algorithm>
#include <cstring>

namespace clip {
namespace {

class OpenedClipboard {
public:
    explicit OpenedClipboard(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool ok() const { return open_; }

private:
    bool open_;
};

}  // namespace

bool SetText(HWND owner, const std::string& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    if (!memory) return false;
    void* bytes = GlobalLock(memory);
    if (!bytes) {
        GlobalFree(memory);
        return false;
    }
    std::memcpy(bytes, text.data(), text.size());
    GlobalUnlock(memory);
    OpenedClipboard clipboard(owner);
    if (!clipboard.ok() || !EmptyClipboard() || !SetClipboardData(CF_TEXT, memory)) {
        GlobalFree(memory);
        return false;
    }
    return true;  // the clipboard owns the memory now
}

std::optional<std::string> GetText(HWND owner, UINT format, size_t limit) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.ok()) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    const char* bytes = static_cast<const char*>(GlobalLock(data));
    if (!bytes) return std::nullopt;
    // The block may be larger than its text, and text from another program need not end in NUL.
    const std::string text(bytes, strnlen(bytes, std::min<size_t>(GlobalSize(data), limit)));
    GlobalUnlock(data);
    return text;
}

}  // namespace clip
