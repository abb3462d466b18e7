#include "XmlWriter.h"

#include "ShiftJis.h"

#include <base/Format.h>

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

// The Shift_JIS bytes of one character (one UTF-16 unit or a surrogate pair); nothing when
// code page 932 lacks it.
std::optional<std::string> ShiftJisBytes(std::wstring_view character) {
    char bytes[4];
    BOOL lacking = FALSE;
    const int length = WideCharToMultiByte(kShiftJisCodePage, WC_NO_BEST_FIT_CHARS, character.data(),
                                           static_cast<int>(character.size()), bytes, sizeof bytes, nullptr, &lacking);
    if (length <= 0 || lacking) return std::nullopt;
    return std::string(bytes, static_cast<size_t>(length));
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

std::string EscapeXml(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const wchar_t unit = text[i];
        if (unit < 0x80) {
            AppendAscii(static_cast<unsigned char>(unit), out);
            ++i;
            continue;
        }
        const bool pair = IS_HIGH_SURROGATE(unit) && i + 1 < text.size() && IS_LOW_SURROGATE(text[i + 1]);
        const size_t length = pair ? 2 : 1;
        if (!pair && (IS_HIGH_SURROGATE(unit) || IS_LOW_SURROGATE(unit))) {
            out += '?';
        } else if (const std::optional<std::string> bytes = ShiftJisBytes(text.substr(i, length));
                   bytes && IsShiftJisCharacter(*bytes)) {
            out += *bytes;
        } else {
            const char32_t codePoint = pair ? 0x10000 + ((unit - 0xD800u) << 10) + (text[i + 1] - 0xDC00u) : unit;
            out += text::Format("&#x%X;", static_cast<unsigned>(codePoint));
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
