// Letter case of ASCII alone: protocol words, file extensions and the ASCII parts of names,
// whatever the encoding around them (the bytes of other characters, in UTF-8 or a code page's
// double bytes, are left as they are).
#pragma once

#include <string>
#include <string_view>

namespace ascii {

constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

inline std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = Lower(c);
    return lower;
}

// Byte by byte: right for an ASCII `prefix` only where a character of `text` cannot end inside
// it (UTF-8, or a prefix checked at a character boundary).
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (Lower(text[i]) != Lower(prefix[i])) return false;
    return true;
}

}  // namespace ascii
