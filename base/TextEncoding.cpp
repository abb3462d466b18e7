#include "TextEncoding.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace text {
namespace {

// The conversion functions count in int; longer runs go through in pieces cut between
// characters, which also keeps the UTF-16 copy small.
constexpr size_t kPieceBytes = 1 << 20;
constexpr size_t kPieceUnits = kPieceBytes / 2;

bool IsAscii(char byte) { return static_cast<unsigned char>(byte) < 0x80; }
bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }
bool IsHighSurrogate(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLowSurrogate(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The end of the run of ASCII bytes at `at`, eight bytes at a time (files read whole are
// megabytes of mostly ASCII).
size_t AsciiEnd(std::string_view text, size_t at) {
    for (uint64_t eight; text.size() - at >= 8; at += 8) {
        std::memcpy(&eight, text.data() + at, 8);
        if (eight & 0x8080808080808080u) break;
    }
    while (at < text.size() && IsAscii(text[at])) ++at;
    return at;
}

// The end of the run of non-ASCII bytes at `start`: the next ASCII byte, which always begins a
// character, or the piece limit moved back to a character's start (a sequence is at most four
// bytes long, so at most three of its bytes lie behind the limit).
size_t RunEnd(std::string_view utf8, size_t start) {
    const size_t limit = std::min(utf8.size(), start + kPieceBytes);
    size_t end = start;
    while (end < limit && !IsAscii(utf8[end])) ++end;
    for (int back = 0; back < 3 && end == limit && end < utf8.size() && IsContinuationByte(utf8[end]); ++back) --end;
    return end;
}

// No ANSI code page has characters beyond U+FFFF: a surrogate pair gets one replacement, not two.
void MergeSurrogatePairs(std::wstring& wide) {
    size_t out = 0;
    for (size_t in = 0; in < wide.size(); ++in, ++out) {
        const bool pair = IsHighSurrogate(wide[in]) && in + 1 < wide.size() && IsLowSurrogate(wide[in + 1]);
        wide[out] = pair ? L'\xFFFD' : wide[in];
        if (pair) ++in;
    }
    wide.resize(out);
}

// A UTF-8 code page has every character (and takes no best-fit flag).
DWORD NoBestFitFlags() { return GetACP() == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS; }

void AppendWide(std::wstring& wide, std::string& ansi) {
    const DWORD flags = NoBestFitFlags();
    if (flags) {
        MergeSurrogatePairs(wide);
        // Page titles are full of no-break spaces; the code pages lack them, but a blank is the
        // same character to a reader, and no separator.
        std::replace(wide.begin(), wide.end(), L'\xA0', L' ');
    }
    const int wideSize = static_cast<int>(wide.size());
    const int size = WideCharToMultiByte(CP_ACP, flags, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    const size_t at = ansi.size();
    ansi.resize(at + static_cast<size_t>(size));
    WideCharToMultiByte(CP_ACP, flags, wide.data(), wideSize, ansi.data() + at, size, nullptr, nullptr);
}

void AppendAnsi(std::string_view utf8, std::string& ansi) {
    const int length = static_cast<int>(utf8.size());
    const int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
    if (wideLength <= 0) return;
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), wideLength);
    AppendWide(wide, ansi);
}

std::string EncodeUtf8(char32_t c) {
    std::string out;
    const auto add = [&out](unsigned value) { out += static_cast<char>(value); };
    if (c < 0x80) {
        add(c);
    } else if (c < 0x800) {
        add(0xC0 | (c >> 6));
        add(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        add(0xE0 | (c >> 12));
        add(0x80 | ((c >> 6) & 0x3F));
        add(0x80 | (c & 0x3F));
    } else {
        add(0xF0 | (c >> 18));
        add(0x80 | ((c >> 12) & 0x3F));
        add(0x80 | ((c >> 6) & 0x3F));
        add(0x80 | (c & 0x3F));
    }
    return out;
}

// The UTF-16 unit at `index` of `bytes`.
wchar_t UnitAt(std::string_view bytes, size_t index, ByteOrder order) {
    const unsigned first = static_cast<unsigned char>(bytes[2 * index]);
    const unsigned second = static_cast<unsigned char>(bytes[2 * index + 1]);
    return static_cast<wchar_t>(order == ByteOrder::kLittleEndian ? first | second << 8 : first << 8 | second);
}

}  // namespace

std::string Utf8ToAnsi(std::string_view utf8) {
    // A system whose ANSI code page is UTF-8 itself needs nothing done.
    if (GetACP() == CP_UTF8) return std::string(utf8);
    std::string ansi;
    ansi.reserve(utf8.size());
    for (size_t at = 0; at < utf8.size();) {
        // ASCII is the same in every ANSI code page and goes across as it is; only the runs of
        // other characters take the system's conversion, which is slow on long text.
        const size_t ascii = at;
        at = AsciiEnd(utf8, at);
        ansi.append(utf8.substr(ascii, at - ascii));
        if (at == utf8.size()) break;
        const size_t end = RunEnd(utf8, at);
        AppendAnsi(utf8.substr(at, end - at), ansi);
        at = end;
    }
    return ansi;
}

std::string Utf16ToAnsi(std::string_view bytes, ByteOrder order) {
    const size_t units = bytes.size() / 2;
    const auto unitAt = [bytes, order](size_t index) { return UnitAt(bytes, index, order); };
    std::string ansi;
    ansi.reserve(units);
    std::wstring wide;
    for (size_t at = 0; at < units;) {
        size_t end = std::min(units, at + kPieceUnits);
        // A pair stays in one piece.
        if (end < units && IsHighSurrogate(unitAt(end - 1))) --end;
        wide.resize(end - at);
        for (size_t i = at; i < end; ++i) wide[i - at] = unitAt(i);
        AppendWide(wide, ansi);
        at = end;
    }
    if (bytes.size() % 2 != 0) ansi += '?';
    return ansi;
}

std::optional<std::string> CodePointToAnsi(char32_t codePoint) {
    const std::optional<std::string> utf8 = CodePointToUtf8(codePoint);
    if (!utf8) return std::nullopt;
    return Utf8ToAnsi(*utf8);
}

std::optional<std::string> CodePointToUtf8(char32_t codePoint) {
    if (codePoint == 0 || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return std::nullopt;
    return EncodeUtf8(codePoint);
}

std::wstring AnsiToWide(std::string_view ansi) {
    // ASCII is the same in every code page (every label the tree inserts comes through here).
    if (AsciiEnd(ansi, 0) == ansi.size()) return std::wstring(ansi.begin(), ansi.end());
    return CodePageToWide(ansi, CP_ACP);
}

std::wstring CodePageToWide(std::string_view text, unsigned codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), size, wide.data(), length);
    return wide;
}

std::string WideToCodePage(std::wstring_view wide, unsigned codePage) {
    if (wide.empty()) return {};
    const int size = static_cast<int>(wide.size());
    const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int length = WideCharToMultiByte(codePage, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::string AnsiToUtf8(std::string_view ansi) { return WideToUtf8(AnsiToWide(ansi)); }

std::string WideToUtf8(std::wstring_view wide) { return WideToCodePage(wide, CP_UTF8); }

std::string WideToAnsi(std::wstring_view wide, bool* exact) {
    if (exact) *exact = true;
    if (wide.empty()) return {};
    // Most names are ASCII, the same in every code page; the system's conversion is slow per call.
    if (std::all_of(wide.begin(), wide.end(), [](wchar_t unit) { return unit < 0x80; }))
        return std::string(wide.begin(), wide.end());
    const int size = static_cast<int>(wide.size());
    const DWORD flags = NoBestFitFlags();
    const int length = WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) {
        if (exact) *exact = false;
        return {};
    }
    std::string ansi(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), length, nullptr, nullptr);
    // A literal "?" in the name is no loss; comparing the way back catches every replacement.
    if (exact) *exact = AnsiToWide(ansi) == wide;
    return ansi;
}

std::wstring Utf8ToWide(std::string_view utf8) { return CodePageToWide(utf8, CP_UTF8); }

void Utf8ToWide(std::string_view utf8, std::wstring& wide) {
    // Most names and nearly every address are ASCII, which widens unit for unit without a call
    // into the system.
    wide.resize(utf8.size());
    size_t ascii = 0;
    while (ascii < utf8.size() && static_cast<unsigned char>(utf8[ascii]) < 0x80) {
        wide[ascii] = static_cast<wchar_t>(utf8[ascii]);
        ++ascii;
    }
    if (ascii == utf8.size()) return;
    // The rest starts on a character. UTF-16 never takes more units than UTF-8 takes bytes (a
    // malformed byte gives one U+FFFD), so one call does without asking for the length first.
    const int rest = static_cast<int>(utf8.size() - ascii);
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data() + ascii, rest, wide.data() + ascii, rest);
    wide.resize(ascii + (length > 0 ? static_cast<size_t>(length) : 0));
}

std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order) {
    std::wstring wide(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < wide.size(); ++i) wide[i] = UnitAt(bytes, i, order);
    if (bytes.size() % 2 != 0) wide += L'\xFFFD';
    return WideToUtf8(wide);
}

}  // namespace text
