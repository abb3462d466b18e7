#include "BannerPatterns.h"

#include <base/Mbcs.h>

namespace banner {
namespace {

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Wildcards at the end of a pattern may all stand for nothing once the URL is used up.
bool OnlyWildcards(std::string_view rest) { return rest.find_first_not_of("*?") == std::string_view::npos; }

}  // namespace

std::vector<std::string> ParsePatterns(std::string_view text) {
    std::vector<std::string> patterns;
    size_t at = 0;
    while (at < text.size() && patterns.size() < kMaxPatterns) {
        const size_t lf = mbcs::Find(text, '\n', at);
        std::string_view line = text.substr(at, lf == mbcs::npos ? mbcs::npos : lf - at);
        if (lf != mbcs::npos && line.empty()) break;  // a bare LF ends the file for the reader
        at = lf == mbcs::npos ? text.size() : lf + 1;

        line = line.substr(0, mbcs::FitLength(line, kMaxLineBytes));
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string_view::npos) continue;
        line.remove_prefix(first);
        const size_t comment = mbcs::Find(line, ';');
        line = line.substr(0, comment != mbcs::npos ? comment : mbcs::Find(line, '\r'));
        if (!line.empty()) patterns.emplace_back(line);
    }
    return patterns;
}

bool Matches(std::string_view pattern, std::string_view url) {
    // One backtrack point: after a mismatch only the latest "*" takes one more character, as
    // every earlier star's choice is covered by the later one's. No recursion, no blow-up.
    size_t p = 0, u = 0;
    size_t star = std::string_view::npos, starUrl = 0;
    while (u < url.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            starUrl = u;
        } else if (p < pattern.size() && (pattern[p] == '?' || Upper(pattern[p]) == Upper(url[u]))) {
            ++p;
            ++u;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            u = ++starUrl;
        } else {
            return false;
        }
    }
    return OnlyWildcards(pattern.substr(p));
}

bool MatchesAny(const std::vector<std::string>& patterns, std::string_view url) {
    for (const std::string& pattern : patterns)
        if (Matches(pattern, url)) return true;
    return false;
}

}  // namespace banner
