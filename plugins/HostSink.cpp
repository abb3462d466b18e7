#include "HostSink.h"

#include <base/TextEncoding.h>

#include <algorithm>
#include <cstring>
#include <cwchar>

namespace plugin {
namespace {

// Beyond this a sink that keeps filling every buffer is not asked again.
constexpr int kLargestBuffer = 1 << 20;

// The sink cuts text to the buffer it is given, between characters. A result that fills the
// buffer to its last unit or two may have been cut, so the sink is asked again with twice the
// room until the text ends short of the buffer's end.
template <typename Char, typename Read>
std::optional<std::basic_string<Char>> ReadText(Read read, int size) {
    for (;; size *= 2) {
        std::basic_string<Char> buffer(static_cast<size_t>(size), Char());
        if (!read(buffer.data(), size)) return std::nullopt;
        buffer.resize(std::char_traits<Char>::find(buffer.data(), buffer.size(), Char()) - buffer.data());
        if (buffer.size() + 2 < static_cast<size_t>(size) || size >= kLargestBuffer) return buffer;
    }
}

// The form an older host takes: what the code page lacks becomes "?", one per character.
std::string ToAnsi(const std::wstring& text) { return text::Utf8ToAnsi(text::WideToUtf8(text)); }

}  // namespace

HostSink::HostSink(ImportSink& sink) : sink_(sink) {
    void* object = nullptr;
    if (SUCCEEDED(sink.QueryInterface(IID_WideImportSink, &object)) && object)
        wide_ = static_cast<WideImportSink*>(object);
}

std::wstring HostSink::Text(ItemHandle item, int units) const {
    if (wide_)
        return ReadText<wchar_t>([&](wchar_t* buffer, int size) { return wide_->GetTextW(item, buffer, size); }, units)
            .value_or(std::wstring());
    const std::optional<std::string> text =
        ReadText<char>([&](char* buffer, int size) { return sink_.GetText(item, buffer, size); }, units);
    return text ? text::AnsiToWide(*text) : std::wstring();
}

std::optional<std::wstring> HostSink::Url(ItemHandle item, int units) const {
    if (wide_) return ReadText<wchar_t>([&](wchar_t* buffer, int size) { return wide_->GetURLW(item, buffer, size); }, units);
    const std::optional<std::string> url =
        ReadText<char>([&](char* buffer, int size) { return sink_.GetURL(item, buffer, size); }, units);
    if (!url) return std::nullopt;
    return text::AnsiToWide(*url);
}

ItemHandle HostSink::AddFolder(ItemHandle parent, const std::wstring& name) const {
    if (wide_) return wide_->AddNodeW(parent, name.c_str(), nullptr, kAddFolder);
    return sink_.AddNode(parent, ToAnsi(name).c_str(), nullptr, kAddFolder);
}

ItemHandle HostSink::AddItem(ItemHandle parent, const std::wstring& name, const std::wstring& url) const {
    if (wide_) return wide_->AddNodeW(parent, name.c_str(), url.c_str(), kAddItem);
    return sink_.AddNode(parent, ToAnsi(name).c_str(), ToAnsi(url).c_str(), kAddItem);
}

ItemHandle HostSink::AddMessage(ItemHandle parent, const char* text) const {
    return sink_.AddNode(parent, text, NoURL, kAddItem);
}

}  // namespace plugin
