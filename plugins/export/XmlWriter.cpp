#include "XmlWriter.h"

#include <base/Mbcs.h>

#include <algorithm>

namespace exporter {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<?xml-stylesheet type=\"text/xsl\" href=\"fav.xsl\"?>\r\n";
// Deeper levels are written in full, only their indentation stops growing.
constexpr int kMaxIndent = 12;
// No double-byte code page uses trail bytes below this; such a byte after a lead byte is a
// character of its own (often markup), never the second half of the lead byte's character.
constexpr unsigned char kLowestTrailByte = 0x40;

void Indent(std::string& out, int depth) { out.append(static_cast<size_t>(std::min(depth, kMaxIndent)), '\t'); }

void WriteChildren(const ExportNode& folder, int depth, std::string& out) {
    for (const ExportNode& child : folder.children) {
        Indent(out, depth);
        if (child.kind == ExportNode::Kind::Folder) {
            out += "<フォルダ 名前=\"" + EscapeXml(child.label) + "\">" + kLineEnd;
            WriteChildren(child, depth + 1, out);
            Indent(out, depth);
            out += std::string("</フォルダ>") + kLineEnd;
        } else {
            out += "<アイテム 名前=\"" + EscapeXml(child.label) + "\" url=\"" + EscapeXml(child.url) + "\"/>" +
                   kLineEnd;
        }
    }
}

}  // namespace

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (mbcs::IsLeadByte(c)) {
            // A lead byte without its trail byte (text cut inside a character, or bytes of another
            // code page) cannot be written as Shift_JIS; dropping it keeps the byte after it, which
            // may be a quote or "&", from being swallowed unescaped.
            const bool whole = mbcs::NextCharOffset(text, i) == i + 2 &&
                               static_cast<unsigned char>(text[i + 1]) >= kLowestTrailByte;
            if (whole) out.append(text.substr(i, 2));
            i += whole ? 2 : 1;
            continue;
        }
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            // Written as references so that attribute normalisation keeps them.
            case '\t': out += "&#9;"; break;
            case '\n': out += "&#10;"; break;
            case '\r': out += "&#13;"; break;
            default:
                // Other control characters have no form at all in XML 1.0.
                if (c >= 0x20) out += static_cast<char>(c);
        }
        ++i;
    }
    return out;
}

std::string XmlDocument(const ExportNode& root) {
    std::string out = kHeader;
    out += "<ルート パス=\"" + EscapeXml(root.label) + "\">" + kLineEnd;
    WriteChildren(root, 1, out);
    out += "</ルート>";
    return out;
}

}  // namespace exporter
