// The XML form of an exported tree, byte for byte: Shift_JIS text, CR LF line ends, one tab of
// indentation per folder level (at most twelve), and no line break after the closing root tag.
#pragma once

#include "ExportNode.h"

#include <string>
#include <string_view>

namespace exporter {

// Attribute text: markup characters become references, so no name or URL can break the document.
std::string EscapeXml(std::string_view text);

// The whole document for `root`, whose label (the favorites folder's path) names the root element.
std::string XmlDocument(const ExportNode& root);

}  // namespace exporter
