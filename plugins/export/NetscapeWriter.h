// The Netscape bookmark file of an exported tree, the form every browser imports: UTF-8 with its
// charset declared, folders as H3 headings each followed by its own list, entries as links.
#pragma once

#include "ExportNode.h"

#include <string>
#include <string_view>

namespace exporter {

// Code-page text as UTF-8 element text or attribute value: markup characters and control
// characters become references, so no name or URL can break the document.
std::string EscapeHtml(std::string_view text);
// A code-page address as an attribute value: as EscapeHtml for ASCII, but every byte of a
// character beyond ASCII as %XX, so the address asks for the very bytes the shortcut holds
// (a legacy Japanese address in Shift-JIS stays that, not the same text in UTF-8).
std::string EscapeHtmlUrl(std::string_view url);

// The whole file for `tree`: the root's children at the top of the list, nested to any depth.
std::string NetscapeDocument(const ExportTree& tree);

}  // namespace exporter
