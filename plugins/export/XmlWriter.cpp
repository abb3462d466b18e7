#include "XmlWriter.h"

#include "ShiftJis.h"

#include <base/Format.h>
#include <base/Mbcs.h>

#include <windows.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace exporter {
namespace {

constexpr char kLineEnd[] = "\r\n";
constexpr char kHeader[] =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\r\n"
    "<?xml-stylesheet type=\"text/xsl\" href=\"fav.xsl\"?>\r\n";
// Deeper levels are written in full, only their indentation stops growing.
constexpr int kMaxIndent = 12;
constexpr unsigned char kLowestTrailByte = 0x40;
constexpr UINT kShiftJisCodePage = 932;

void AppendAscii(unsigned char c, std::string& out) {
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
}

// The Unicode value of one character (one or two bytes) of the ANSI code page; nothing for bytes
// that are none. A character of a double-byte code page is always one UTF-16 unit.
std::optional<char32_t> DecodeAnsi(std::string_view character) {
    wchar_t unit = 0;
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, character.data(), static_cast<int>(character.size()),
                            &unit, 1) != 1)
        return std::nullopt;
    return unit;
}

void Indent(std::string& out, int depth) { out.append(static_cast<size_t>(std::min(depth, kMaxIndent)), '\t'); }

std::string FolderStart(const ExportNode& folder) { return "<フォルダ 名前=\"" + EscapeXml(folder.label) + "\">" + kLineEnd; }
std::string FolderEnd() { return std::string("</フォルダ>") + kLineEnd; }
std::string ItemLine(const ExportNode& item) {
    return "<アイテム 名前=\"" + EscapeXml(item.label) + "\" url=\"" + EscapeXml(item.url) + "\"/>" + kLineEnd;
}

// Everything below the root, each line indented by its depth (1 for the root's children).
void WriteBelowRoot(const ExportTree& tree, std::string& out) {
    WalkBelowRoot(
        tree,
        [&](const ExportNode& folder, int depth) {
            Indent(out, depth);
            out += FolderStart(folder);
        },
        [&](const ExportNode& item, int depth) {
            Indent(out, depth);
            out += ItemLine(item);
        },
        [&](const ExportNode&, int depth) {
            Indent(out, depth);
            out += FolderEnd();
        });
}

}  // namespace

std::string EscapeXml(std::string_view text) {
    // The bytes of a character stay as they are only where the ANSI code page is the one whose
    // plain part the document's encoding is; anything else is named by its Unicode value.
    const bool shiftJisCodePage = GetACP() == kShiftJisCodePage;
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            AppendAscii(c, out);
            ++i;
            continue;
        }
        size_t length = mbcs::NextCharOffset(text, i) - i;
        // No double-byte code page uses trail bytes below this; such a byte after a lead byte is
        // a character of its own (often markup), never the second half of the lead byte's one.
        if (length == 2 && static_cast<unsigned char>(text[i + 1]) < kLowestTrailByte) length = 1;
        const std::string_view character = text.substr(i, length);
        if (shiftJisCodePage && IsShiftJisCharacter(character)) {
            out.append(character);
        } else if (const std::optional<char32_t> codePoint = DecodeAnsi(character)) {
            out += text::Format("&#x%X;", static_cast<unsigned>(*codePoint));
        } else {
            // A byte that is no character of the code page (text cut inside a character, bytes of
            // another encoding): its lead byte is given up, whatever follows is read afresh.
            out += '?';
            length = 1;
        }
        i += length;
    }
    return out;
}

std::string XmlDocument(const ExportTree& tree) {
    std::string out = kHeader;
    out += "<ルート パス=\"" + EscapeXml(tree.root().label) + "\">" + kLineEnd;
    WriteBelowRoot(tree, out);
    out += "</ルート>";
    return out;
}

}  // namespace exporter
