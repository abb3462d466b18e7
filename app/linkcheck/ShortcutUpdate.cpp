#include "ShortcutUpdate.h"

#include <base/Mbcs.h>

namespace linkcheck {
namespace {

enum class Section { kOther, kAnsi, kWide };

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    return text;
}

Section SectionOf(std::string_view header) {
    const size_t end = mbcs::Find(header, ']');
    const std::string name(header.substr(1, end == mbcs::npos ? std::string_view::npos : end - 1));
    if (mbcs::EqualsNoCase(name, "InternetShortcut") || mbcs::EqualsNoCase(name, "InternetShortcut.A")) return Section::kAnsi;
    if (mbcs::EqualsNoCase(name, "InternetShortcut.W")) return Section::kWide;
    return Section::kOther;
}

// The length of " URL = " at the start of `line` (the blanks around key and "=" kept), or 0.
size_t UrlKeyLength(std::string_view line) {
    const std::string_view key = TrimLeft(line);
    if (!mbcs::StartsWithNoCase(key, "URL")) return 0;
    const std::string_view rest = TrimLeft(key.substr(3));
    if (rest.empty() || rest.front() != '=') return 0;
    return line.size() - TrimLeft(rest.substr(1)).size();
}

}  // namespace

std::optional<std::string> ReplaceUrlLines(std::string_view content, std::string_view address,
                                           std::string_view utf7Address) {
    std::string result;
    result.reserve(content.size() + address.size());
    Section section = Section::kOther;
    bool mainSection = false;  // "InternetShortcut" itself, without a suffix
    bool replacedMain = false;
    for (size_t start = 0; start < content.size();) {
        const size_t newline = mbcs::Find(content, '\n', start);
        const size_t end = newline == mbcs::npos ? content.size() : newline + 1;
        const std::string_view whole = content.substr(start, end - start);
        start = end;
        // The line without its end ("\r\n", "\n" or nothing), which stays as it was.
        size_t bodyLength = whole.size();
        if (bodyLength && whole[bodyLength - 1] == '\n') --bodyLength;
        if (bodyLength && whole[bodyLength - 1] == '\r') --bodyLength;
        const std::string_view body = whole.substr(0, bodyLength);
        const std::string_view trimmed = TrimLeft(body);
        if (!trimmed.empty() && trimmed.front() == '[') {
            section = SectionOf(trimmed);
            mainSection = mbcs::Find(trimmed, '.') == mbcs::npos && section == Section::kAnsi;
        } else if (const size_t key = section == Section::kOther ? 0 : UrlKeyLength(body); key > 0) {
            result.append(body.substr(0, key)).append(section == Section::kWide ? utf7Address : address);
            result.append(whole.substr(bodyLength));
            replacedMain = replacedMain || mainSection;
            continue;
        }
        result.append(whole);
    }
    if (!replacedMain) return std::nullopt;
    return result;
}

std::optional<std::string> AsciiToUtf7(std::string_view address) {
    std::string utf7;
    for (const char c : address) {
        if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
        utf7 += c;
        if (c == '+') utf7 += '-';
    }
    return utf7;
}

}  // namespace linkcheck
