#include "Mbcs.h"

#include "Ascii.h"

#include <windows.h>

#include <mbctype.h>
#include <mbstring.h>

#include <algorithm>
#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace mbcs {
namespace {

// The C runtime's multi-byte functions follow their own code page setting, which is not the
// system's ANSI code page until somebody says so.
void UseAnsiCodePage() {
    static const bool done = [] {
        _setmbcp(_MB_CP_ANSI);
        return true;
    }();
    (void)done;
}

// The first `c` in `text` at or after `from`, sixteen bytes at a time: bookmark files and
// listings are megabytes long, and the runtime's memchr goes a byte at a time.
size_t FindByte(std::string_view text, char c, size_t from) {
    if (from >= text.size()) return npos;
    const char* at = text.data() + from;
    const char* const end = text.data() + text.size();
#ifdef __SSE2__
    const __m128i wanted = _mm_set1_epi8(c);
    for (; end - at >= 16; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        if (const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(bytes, wanted)))
            return static_cast<size_t>(at - text.data()) + static_cast<size_t>(__builtin_ctz(hits));
    }
#endif
    const void* found = std::memchr(at, c, static_cast<size_t>(end - at));
    return found ? static_cast<size_t>(static_cast<const char*>(found) - text.data()) : npos;
}

unsigned char AsciiLower(unsigned char c) { return static_cast<unsigned char>(ascii::Lower(static_cast<char>(c))); }

}  // namespace

bool IsLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }

size_t NextCharOffset(std::string_view text, size_t pos) {
    if (pos >= text.size()) return text.size();
    if (IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size()) return pos + 2;
    return pos + 1;
}

size_t Find(std::string_view text, char c, size_t from) {
    const unsigned char byte = static_cast<unsigned char>(c);
    if (byte < 0x40) return FindByte(text, c, from);
    if (IsLeadByte(byte)) return npos;
    for (size_t i = from; i < text.size(); i = NextCharOffset(text, i))
        if (text[i] == c) return i;
    return npos;
}

size_t FindFirstOf(std::string_view text, std::string_view chars) {
    for (size_t i = 0; i < text.size(); i = NextCharOffset(text, i)) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!IsLeadByte(c) && chars.find(text[i]) != std::string_view::npos) return i;
    }
    return npos;
}

size_t FindLastOf(std::string_view text, std::string_view chars) {
    size_t found = npos;
    for (size_t i = 0; i < text.size(); i = NextCharOffset(text, i)) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (!IsLeadByte(c) && chars.find(text[i]) != std::string_view::npos) found = i;
    }
    return found;
}

size_t FindText(std::string_view text, std::string_view needle) {
    for (size_t i = 0; i + needle.size() <= text.size(); i = NextCharOffset(text, i))
        if (text.compare(i, needle.size(), needle) == 0) return i;
    return npos;
}

size_t FitLength(std::string_view text, size_t maxBytes) {
    if (text.size() <= maxBytes) return text.size();
    size_t fit = 0;
    for (size_t i = 0; i <= maxBytes; i = NextCharOffset(text, i)) {
        fit = i;
        if (i == text.size()) break;
    }
    return fit;
}

bool CopyFitting(std::string_view text, char* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    const size_t length = FitLength(text, size - 1);
    text.copy(buffer, length);
    buffer[length] = '\0';
    return true;
}

std::vector<std::string> Split(std::string_view text, std::string_view separators) {
    std::vector<std::string> parts;
    while (!text.empty()) {
        const size_t cut = FindFirstOf(text, separators);
        const std::string_view piece = text.substr(0, cut);
        if (!piece.empty()) parts.emplace_back(piece);
        if (cut == npos) break;
        text.remove_prefix(cut + 1);
    }
    return parts;
}

int CompareNoCase(const std::string& a, const std::string& b) {
    // ASCII goes without the runtime, which is slow per character: its letters fold alone, and
    // an ASCII character (the end included) comes before any other in every code page, lower
    // case or not. Where both go on beyond ASCII, the runtime compares the rest.
    const auto* x = reinterpret_cast<const unsigned char*>(a.c_str());
    const auto* y = reinterpret_cast<const unsigned char*>(b.c_str());
    for (;; ++x, ++y) {
        if (*x >= 0x80 && *y >= 0x80) break;
        if (*x >= 0x80 || *y >= 0x80) return *x >= 0x80 ? 1 : -1;
        const unsigned char lowerX = AsciiLower(*x), lowerY = AsciiLower(*y);
        if (lowerX != lowerY) return lowerX < lowerY ? -1 : 1;
        if (*x == 0) return 0;
    }
    UseAnsiCodePage();
    return _mbsicmp(x, y);
}

bool EqualsNoCase(const std::string& a, const std::string& b) { return CompareNoCase(a, b) == 0; }

bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (prefix.size() > text.size()) return false;
    // The prefix must end on a character boundary of the text, or a lead byte would be split.
    size_t i = 0;
    while (i < prefix.size()) i = NextCharOffset(text, i);
    if (i != prefix.size()) return false;
    return CompareNoCase(std::string(text.substr(0, prefix.size())), std::string(prefix)) == 0;
}

bool EndsWithNoCase(std::string_view name, std::string_view extension) {
    if (name.size() < extension.size()) return false;
    const size_t start = name.size() - extension.size();
    // Walk to `start` so that a trail byte is never mistaken for the extension's first character.
    size_t i = 0;
    while (i < start) i = NextCharOffset(name, i);
    if (i != start) return false;
    for (size_t k = 0; k < extension.size(); ++k)
        if (AsciiLower(static_cast<unsigned char>(name[start + k])) != AsciiLower(static_cast<unsigned char>(extension[k])))
            return false;
    return true;
}

void SortNames(std::vector<std::string>& names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
}

}  // namespace mbcs
