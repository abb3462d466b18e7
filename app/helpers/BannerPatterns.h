// Banner patterns: the file "data\\banner.ini" of URL patterns that name advertising servers, and
// the wildcard match of a cache entry's URL against them. No Windows calls here.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace banner {

inline constexpr size_t kMaxPatterns = 50;
inline constexpr size_t kMaxLineBytes = 499;

// The patterns of a pattern file's text, in file order. Per line: leading blanks and tabs go, a
// ";" starts a comment, otherwise the line ends at its first CR; what is left (trailing blanks
// included) is a pattern. Reading stops after kMaxPatterns patterns or at a line that is empty
// before its LF (a bare LF; "\r\n" alone does not stop it).
std::vector<std::string> ParsePatterns(std::string_view text);

// True when the whole `url` matches `pattern`: "*" any run of characters, "?" one character
// ("?"s at the very end also match nothing), anything else itself ignoring ASCII case. Runs in
// time proportional to the product of both lengths at worst, however many stars.
bool Matches(std::string_view pattern, std::string_view url);

// True when `url` matches any of `patterns`.
bool MatchesAny(const std::vector<std::string>& patterns, std::string_view url);

}  // namespace banner
