// The XML form of an exported tree, byte for byte: Shift_JIS text, CR LF line ends, one tab of
// indentation per folder level (at most twelve), and no line break after the closing root tag.
#pragma once

#include "ExportNode.h"

#include <string>
#include <string_view>

namespace exporter {

// Attribute text: markup characters become references, so no name or URL can break the document.
// Characters of the ANSI code page that Shift_JIS lacks (the extension rows of code page 932)
// become numeric references; bytes that are no character at all become "?".
std::string EscapeXml(std::string_view text);

// The whole document for `tree`, whose root label (the favorites folder's path) names the root
// element.
std::string XmlDocument(const ExportTree& tree);

}  // namespace exporter
