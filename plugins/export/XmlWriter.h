// The XML form of an exported tree, byte for byte: Shift_JIS text, CR LF line ends, one tab of
// indentation per folder level (at most twelve), and no line break after the closing root tag.
#pragma once

#include "ExportNode.h"

#include <string>
#include <string_view>

namespace exporter {

// Attribute text in Shift_JIS: markup characters become references, so no name or URL can break
// the document. Every character Shift_JIS lacks (the extension rows of code page 932, emoji,
// Hangul, most accented letters) becomes a numeric reference; half a surrogate pair, which is no
// character at all, becomes "?".
std::string EscapeXml(std::wstring_view text);

// The whole document for `tree`, whose root label (the favorites folder's path) names the root
// element.
std::string XmlDocument(const ExportTree& tree);

}  // namespace exporter
