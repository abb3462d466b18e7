#include "HtmlEntities.h"

#include <base/TextEncoding.h>

#include <algorithm>

namespace importer {
namespace {

struct NamedEntity {
    std::string_view name;
    char value;
};
// A no-break space becomes a plain one: code page 932 has none, and a "?" in its place would
// change what the name says where the host takes code-page text.
constexpr NamedEntity kNamedEntities[] = {{"amp", '&'}, {"lt", '<'},   {"gt", '>'},
                                          {"quot", '"'}, {"apos", '\''}, {"nbsp", ' '}};

int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "&#...;" at the start of `text`: appends its character and returns its length, or 0.
size_t AppendNumeric(std::string_view text, std::string& out) {
    const bool hex = text.size() > 2 && (text[2] == 'x' || text[2] == 'X');
    const size_t digits = hex ? 3 : 2;
    size_t end = digits;
    char32_t value = 0;
    for (; end < text.size(); ++end) {
        const int digit = DigitValue(text[end], hex);
        if (digit < 0) break;
        // Anything above U+10FFFF is no character; stopping there keeps long digit runs from overflowing.
        value = std::min<char32_t>(value * (hex ? 16 : 10) + static_cast<char32_t>(digit), 0x110000);
    }
    if (end == digits || end == text.size() || text[end] != ';') return 0;
    constexpr char32_t kNoBreakSpace = 0xA0;
    const std::optional<std::string> character = text::CodePointToUtf8(value == kNoBreakSpace ? U' ' : value);
    if (!character) return 0;
    out += *character;
    return end + 1;
}

// The reference at the start of `text` (which begins with "&"): appends what it stands for and
// returns its length, or 0 when it is none this decoder knows.
size_t AppendReference(std::string_view text, std::string& out) {
    if (text.size() > 1 && text[1] == '#') return AppendNumeric(text, out);
    for (const NamedEntity& entity : kNamedEntities) {
        const size_t length = entity.name.size() + 2;
        if (text.size() >= length && text.substr(1, entity.name.size()) == entity.name && text[length - 1] == ';') {
            out += entity.value;
            return length;
        }
    }
    return 0;
}

}  // namespace

std::string DecodeEntities(std::string_view text) {
    size_t amp = text.find('&');
    if (amp == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    size_t done = 0;
    for (; amp != std::string_view::npos; amp = text.find('&', done)) {
        out.append(text.substr(done, amp - done));
        const size_t used = AppendReference(text.substr(amp), out);
        if (used == 0) out += '&';
        done = amp + std::max<size_t>(used, 1);
    }
    out.append(text.substr(done));
    return out;
}

}  // namespace importer
