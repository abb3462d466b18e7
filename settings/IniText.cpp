#include "IniText.h"

#include <base/Mbcs.h>

namespace settings {
namespace {

// Blanks, "=", quotes, brackets and ";" are all below 0x40, so no trail byte of a double-byte
// character is ever taken for one: the scans below go byte by byte.
constexpr std::string_view kBlanks = " \t\r";

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool IsBlank(std::string_view line) { return Trim(line).empty(); }

std::optional<std::string> HeaderName(std::string_view line) {
    const std::string_view text = Trim(line);
    const size_t close = text.rfind(']');
    if (text.empty() || text.front() != '[' || close == std::string_view::npos) return std::nullopt;
    return std::string(text.substr(1, close - 1));
}

bool IsQuote(char c) { return c == '"' || c == '\''; }

// What the reader takes off a value: its edge blanks, then one pair of enclosing quotes.
bool ReaderChanges(const std::string& value) {
    if (!value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                           kBlanks.find(value.back()) != std::string_view::npos))
        return true;
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

}  // namespace

std::optional<IniEntry> ParseIniLine(std::string_view line) {
    const std::string_view text = Trim(line);
    if (text.empty() || text.front() == ';' || HeaderName(text)) return std::nullopt;
    IniEntry entry;
    const size_t equals = text.find('=');
    entry.key = std::string(Trim(text.substr(0, equals)));
    if (equals == std::string_view::npos) return entry;
    std::string_view value = Trim(text.substr(equals + 1));
    if (value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
        entry.quoted = true;
    }
    entry.value = std::string(value);
    return entry;
}

std::string FormatIniLine(const std::string& key, const std::string& value, bool quote) {
    if (quote || ReaderChanges(value)) return key + "=\"" + value + "\"";
    return key + "=" + value;
}

IniText::IniText(std::string_view bytes) {
    size_t start = 0;
    while (start < bytes.size()) {
        const size_t newline = bytes.find('\n', start);
        const size_t stop = newline == std::string_view::npos ? bytes.size() : newline;
        const bool crlf = stop > start && bytes[stop - 1] == '\r';
        Line line;
        line.text = std::string(bytes.substr(start, stop - start - (crlf ? 1 : 0)));
        if (newline != std::string_view::npos) line.end = crlf ? "\r\n" : "\n";
        lines_.push_back(std::move(line));
        start = newline == std::string_view::npos ? bytes.size() : newline + 1;
    }
}

std::string IniText::Bytes() const {
    std::string bytes;
    for (const Line& line : lines_) bytes.append(line.text).append(line.end);
    return bytes;
}

std::optional<IniText::Range> IniText::Find(const std::string& name) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::optional<std::string> header = HeaderName(lines_[i].text);
        if (!header || !mbcs::EqualsNoCase(*header, name)) continue;
        Range range{i, i + 1, i + 1};
        while (range.end < lines_.size() && !HeaderName(lines_[range.end].text)) {
            if (!IsBlank(lines_[range.end].text)) range.contentEnd = range.end + 1;
            ++range.end;
        }
        return range;
    }
    return std::nullopt;
}

std::string IniText::LineEnd() const {
    for (const Line& line : lines_)
        if (!line.end.empty()) return line.end;
    return "\r\n";
}

std::optional<std::vector<std::string>> IniText::Section(const std::string& name) const {
    const std::optional<Range> range = Find(name);
    if (!range) return std::nullopt;
    std::vector<std::string> lines;
    for (size_t i = range->header + 1; i < range->contentEnd; ++i) lines.push_back(lines_[i].text);
    return lines;
}

void IniText::SetSection(const std::string& name, const std::vector<std::string>& lines) {
    const std::string end = LineEnd();
    std::optional<Range> range = Find(name);
    if (!range) {
        if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = end;
        lines_.push_back({"[" + name + "]", end});
        range = Range{lines_.size() - 1, lines_.size(), lines_.size()};
    }
    // A line that ended the file without a line end gets one when lines follow it now.
    if (lines_[range->contentEnd - 1].end.empty()) lines_[range->contentEnd - 1].end = end;
    std::vector<Line> replacement;
    for (const std::string& text : lines) replacement.push_back({text, end});
    const auto first = lines_.begin() + static_cast<ptrdiff_t>(range->header + 1);
    lines_.erase(first, lines_.begin() + static_cast<ptrdiff_t>(range->contentEnd));
    lines_.insert(lines_.begin() + static_cast<ptrdiff_t>(range->header + 1), replacement.begin(), replacement.end());
}

void IniText::RemoveSection(const std::string& name) {
    while (const std::optional<Range> range = Find(name))
        lines_.erase(lines_.begin() + static_cast<ptrdiff_t>(range->header),
                     lines_.begin() + static_cast<ptrdiff_t>(range->end));
}

}  // namespace settings
