#include "BookmarkHtml.h"

#include "HtmlEntities.h"
#include "TextLines.h"

#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <optional>

namespace importer {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

struct Dialect {
    std::string_view item;    // followed by the URL up to the next double quote
    std::string_view folder;  // followed by the name
    bool nameAfterTag;        // the name starts behind the next ">" rather than right after `folder`
    std::string_view close;
    bool emptyLineEnds;
    bool separators;          // "<HR>" may stand before the line's entry
};

constexpr Dialect kNetscape{"<DT><A HREF=\"", "<DT><H3", true, "</DL", false, true};
constexpr Dialect kDona{"<LI><A HREF=\"", "<LI>", false, "</UL", true, false};

// How the file's text is encoded. The markup is ASCII either way and is found with the same byte
// scans; only names and URLs are converted, once, into UTF-8.
enum class Encoding { kCodePage, kUtf8 };

// A name or URL as UTF-8, its character references decoded.
std::string FieldText(std::string_view text, Encoding encoding) {
    return encoding == Encoding::kUtf8 ? DecodeEntities(text) : DecodeEntities(text::AnsiToUtf8(text));
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// The length of the separator tag at the start of `line` ("<HR>", or "<HR NAME=...>" as older
// Firefox versions wrote it), ">" included; 0 when the line begins otherwise.
size_t SeparatorLength(std::string_view line) {
    if (!StartsWith(line, "<HR>") && !StartsWith(line, "<HR ")) return 0;
    const size_t end = mbcs::Find(line, '>');
    return end == mbcs::npos ? 0 : end + 1;
}

// The line behind the separators and blanks it begins with. Firefox writes what follows a
// separator on the separator's line: "<HR>    <DT><H3 ...>", "<HR>    <HR>    <DT><A ...>", and
// "<HR>    </DL><p>" when a folder ends with one.
std::string_view WithoutSeparators(std::string_view line) {
    for (size_t length; (length = SeparatorLength(line)) != 0;) line = WithoutIndent(line.substr(length));
    return line;
}

// Where the text starting at `from` ends: at the next "<" or the end of the line.
size_t TextEnd(std::string_view line, size_t from) {
    const size_t tag = mbcs::Find(line, '<', from);
    return tag == mbcs::npos ? line.size() : tag;
}

// The three checks of one line, in order, each on what the previous one left of the line.
void ParseLine(std::string_view line, const Dialect& dialect, Encoding encoding, BookmarkEvents& events) {
    if (StartsWith(line, dialect.item)) {
        const size_t urlStart = dialect.item.size();
        const size_t quote = mbcs::Find(line, '"', urlStart);
        if (quote == mbcs::npos) return;
        const size_t titleTag = mbcs::Find(line, '>', quote + 1);
        if (titleTag == mbcs::npos) return;
        const size_t end = TextEnd(line, titleTag + 1);
        events.AddItem(FieldText(line.substr(titleTag + 1, end - titleTag - 1), encoding),
                       FieldText(line.substr(urlStart, quote - urlStart), encoding));
        line.remove_prefix(end);
    }
    if (StartsWith(line, dialect.folder)) {
        size_t nameStart = dialect.folder.size();
        if (dialect.nameAfterTag) {
            const size_t tag = mbcs::Find(line, '>', nameStart);
            if (tag == mbcs::npos) return;
            nameStart = tag + 1;
        }
        const size_t end = TextEnd(line, nameStart);
        events.AddFolder(FieldText(line.substr(nameStart, end - nameStart), encoding));
        line.remove_prefix(end);
    }
    if (StartsWith(line, dialect.close)) events.AddClose();
}

BookmarkEvents Parse(std::string_view text, const Dialect& dialect, Encoding encoding) {
    BookmarkEvents events;
    Lines lines(text);
    for (std::string_view line; lines.Next(line);) {
        if (dialect.emptyLineEnds && line.empty()) break;
        const std::string_view trimmed = WithoutIndent(WithoutCarriageReturn(line));
        ParseLine(dialect.separators ? WithoutSeparators(trimmed) : trimmed, dialect, encoding, events);
    }
    return events;
}

// The part of a Netscape file before its list: where the charset is declared.
std::string_view Head(std::string_view file) {
    for (size_t tag = mbcs::Find(file, '<'); tag != mbcs::npos; tag = mbcs::Find(file, '<', tag + 1))
        if (StartsWith(file.substr(tag), "<DL")) return file.substr(0, tag);
    return file;
}

// `charset=UTF-8`, `charset="utf-8"`; the first declaration counts.
bool DeclaresUtf8(std::string_view head) {
    constexpr std::string_view kCharset = "charset=";
    for (size_t i = 0; i < head.size(); i = mbcs::NextCharOffset(head, i)) {
        if ((head[i] | 0x20) != 'c' || !mbcs::StartsWithNoCase(head.substr(i), kCharset)) continue;
        std::string_view value = head.substr(i + kCharset.size());
        if (!value.empty() && (value[0] == '"' || value[0] == '\'')) value.remove_prefix(1);
        return mbcs::StartsWithNoCase(value, "utf-8");
    }
    return false;
}

// A file that begins with a byte order mark is Unicode in that form, whatever its head declares
// (a Netscape file saved again as UTF-16 still says charset=UTF-8): its text as UTF-8.
// Nothing for a file without one. Text in a code page practically never begins with these bytes.
std::optional<std::string> FromMarkedUnicode(std::string_view file) {
    if (StartsWith(file, kUtf8Mark)) return std::string(file.substr(kUtf8Mark.size()));
    if (StartsWith(file, kUtf16LittleEndianMark))
        return text::Utf16ToUtf8(file.substr(kUtf16LittleEndianMark.size()), text::ByteOrder::kLittleEndian);
    if (StartsWith(file, kUtf16BigEndianMark))
        return text::Utf16ToUtf8(file.substr(kUtf16BigEndianMark.size()), text::ByteOrder::kBigEndian);
    return std::nullopt;
}

}  // namespace

BookmarkEvents ParseNetscape(std::string_view file) {
    if (const std::optional<std::string> text = FromMarkedUnicode(file)) return Parse(*text, kNetscape, Encoding::kUtf8);
    if (DeclaresUtf8(Head(file))) return Parse(file, kNetscape, Encoding::kUtf8);
    return Parse(file, kNetscape, Encoding::kCodePage);
}

BookmarkEvents ParseDona(std::string_view file) {
    if (const std::optional<std::string> text = FromMarkedUnicode(file)) return Parse(*text, kDona, Encoding::kUtf8);
    return Parse(file, kDona, Encoding::kCodePage);
}

}  // namespace importer
