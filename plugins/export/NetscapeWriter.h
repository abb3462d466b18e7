// The Netscape bookmark file of an exported tree, the form every browser imports: UTF-8 with its
// charset declared, folders as H3 headings each followed by its own list, entries as links.
#pragma once

#include "ExportNode.h"

#include <string>
#include <string_view>

namespace exporter {

// Text as UTF-8 element text or attribute value: markup characters and control characters
// become references, so no name or URL can break the document.
std::string EscapeHtml(std::wstring_view text);
// An address as an attribute value. One the code page can hold (a shortcut file's, say) is
// written as EscapeHtml writes ASCII, but every byte of a character beyond ASCII as %XX, so the
// address asks for the very bytes the shortcut holds (a legacy Japanese address in Shift-JIS
// stays that, not the same text in UTF-8). One with characters the code page lacks never was
// such an address: it is written exactly, as EscapeHtml writes it.
std::string EscapeHtmlUrl(std::wstring_view url);

// The whole file for `tree`: the root's children at the top of the list, nested to any depth.
std::string NetscapeDocument(const ExportTree& tree);

}  // namespace exporter
