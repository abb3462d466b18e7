#include "Clipboard.h"

#include "DragDrop.h"
#include "TextEncoding.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <utility>

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

// Replaces the clipboard's content with each (format, memory) pair; the memory is the
// clipboard's once placed, and freed here otherwise.
bool Place(HWND owner, std::initializer_list<std::pair<UINT, HGLOBAL>> data) {
    bool complete = std::all_of(data.begin(), data.end(), [](const auto& entry) { return entry.second != nullptr; });
    OpenedClipboard clipboard(owner);
    complete = complete && clipboard.ok() && EmptyClipboard();
    for (const auto& [format, memory] : data) {
        if (complete && SetClipboardData(format, memory)) continue;
        complete = false;
        if (memory) GlobalFree(memory);
    }
    return complete;
}

}  // namespace

bool SetText(HWND owner, const std::string& text) {
    return Place(owner, {{CF_TEXT, dnd::GlobalCopy(text.c_str(), text.size() + 1)}});
}

bool SetText(HWND owner, const std::wstring& text) {
    const std::string ansi = text::WideToAnsi(text);
    return Place(owner, {{CF_UNICODETEXT, dnd::GlobalWideText(text)}, {CF_TEXT, dnd::GlobalCopy(ansi.c_str(), ansi.size() + 1)}});
}

namespace {

template <typename Char>
std::optional<std::basic_string<Char>> Get(HWND owner, UINT format, size_t limit) {
    OpenedClipboard clipboard(owner);
    if (!clipboard.ok()) return std::nullopt;
    HANDLE data = GetClipboardData(format);
    if (!data) return std::nullopt;
    const Char* chars = static_cast<const Char*>(GlobalLock(data));
    if (!chars) return std::nullopt;
    // The block may be larger than its text, and text from another program need not end in NUL.
    const Char* end = chars + std::min<size_t>(GlobalSize(data) / sizeof(Char), limit);
    const std::basic_string<Char> text(chars, std::find(chars, end, Char()));
    GlobalUnlock(data);
    return text;
}

}  // namespace

std::optional<std::string> GetText(HWND owner, UINT format, size_t limit) { return Get<char>(owner, format, limit); }

std::optional<std::wstring> GetWideText(HWND owner, size_t limit) { return Get<wchar_t>(owner, CF_UNICODETEXT, limit); }

}  // namespace clip
