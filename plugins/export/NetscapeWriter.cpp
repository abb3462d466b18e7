#include "NetscapeWriter.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <algorithm>

namespace exporter {
namespace {

// The head the browsers write and read: the doctype names the format, the META line the charset.
constexpr char kHeader[] =
    "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n"
    "<!-- This is an automatically generated file.\n"
    "     It will be read and overwritten.\n"
    "     DO NOT EDIT! -->\n"
    "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=UTF-8\">\n"
    "<TITLE>Bookmarks</TITLE>\n"
    "<H1>Bookmarks</H1>\n"
    "<DL><p>\n";
constexpr char kListEnd[] = "</DL><p>\n";
// Indentation stops growing here; deeper levels are written in full.
constexpr int kMaxIndent = 32;

void Indent(std::string& out, int depth) { out.append(4 * static_cast<size_t>(std::min(depth, kMaxIndent)), ' '); }

// One ASCII character as element text or attribute value.
void AppendEscaped(char c, std::string& out) {
    switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20)
                out += text::Format("&#%d;", c);
            else
                out += c;
    }
}

// Everything below the root; each folder's heading is followed by its own list.
void WriteBelowRoot(const ExportTree& tree, std::string& out) {
    WalkBelowRoot(
        tree,
        [&](const ExportNode& folder, int depth) {
            Indent(out, depth);
            out += "<DT><H3>" + EscapeHtml(folder.label) + "</H3>\n";
            Indent(out, depth);
            out += "<DL><p>\n";
        },
        [&](const ExportNode& item, int depth) {
            Indent(out, depth);
            out += "<DT><A HREF=\"" + EscapeHtmlUrl(item.url) + "\">" + EscapeHtml(item.label) + "</A>\n";
        },
        [&](const ExportNode&, int depth) {
            Indent(out, depth);
            out += kListEnd;
        });
    out += kListEnd;
}

}  // namespace

std::string EscapeHtml(std::wstring_view text) {
    // Converted first: no byte of a UTF-8 sequence beyond ASCII is an ASCII byte, so the scan
    // below needs no double-byte care.
    const std::string utf8 = text::WideToUtf8(text);
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) AppendEscaped(c, out);
    return out;
}

std::string EscapeHtmlUrl(std::wstring_view address) {
    bool exact = false;
    const std::string url = text::WideToAnsi(address, &exact);
    if (!exact) return EscapeHtml(address);
    std::string out;
    out.reserve(url.size());
    for (size_t at = 0; at < url.size();) {
        const size_t next = mbcs::NextCharOffset(url, at);
        // A double-byte character goes whole, its trail byte too, even where that looks like "\".
        if (next - at > 1 || static_cast<unsigned char>(url[at]) >= 0x80) {
            for (; at < next; ++at) out += text::Format("%%%02X", static_cast<unsigned char>(url[at]));
            continue;
        }
        AppendEscaped(url[at++], out);
    }
    return out;
}

std::string NetscapeDocument(const ExportTree& tree) {
    std::string out = kHeader;
    WriteBelowRoot(tree, out);
    return out;
}

}  // namespace exporter
