// Line-by-line reading of a source file held in memory.
#pragma once

#include <base/Mbcs.h>

#include <string_view>

namespace importer {

// The lines of a text, each without its line feed. A last line without a line feed still
// counts; nothing follows a final line feed.
class Lines {
public:
    explicit Lines(std::string_view text) : rest_(text) {}

    // The next line; false at the end of the text.
    bool Next(std::string_view& line) {
        if (rest_.empty()) return false;
        const size_t feed = mbcs::Find(rest_, '\n');
        line = rest_.substr(0, feed);
        rest_ = feed == mbcs::npos ? std::string_view() : rest_.substr(feed + 1);
        return true;
    }

private:
    std::string_view rest_;
};

// Windows files end their lines with CR LF; the CR belongs to no name or URL.
inline std::string_view WithoutCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// The line from its first byte that is neither space nor tab (no trail byte comes before its
// lead byte, so this needs no double-byte care).
inline std::string_view WithoutIndent(std::string_view line) {
    size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    return line.substr(start);
}

}  // namespace importer
