// Netscape and Dona Browser bookmark files read into events. Tags are matched the way the
// browsers write them: exact bytes at the start of a line (after its indent and any separators),
// upper case, nothing parsed beyond the URL. Titles, folder names and URLs have their character references decoded.
#pragma once

#include "BookmarkEvent.h"

#include <string_view>

namespace importer {

// Both kinds of file are code-page text unless they begin with a byte order mark: UTF-8 (as
// Internet Explorer writes it) or UTF-16 in either byte order (as editors save "Unicode").
// Whatever the file's encoding, the events' names and URLs are UTF-8.

// A Netscape bookmark file: items "<DT><A HREF=\"", folders "<DT><H3", nesting closed by "</DL";
// separators ("<HR>") before any of these on a line are passed over. A file without a byte order
// mark whose head, before the first "<DL", declares charset=UTF-8 in any letter case is UTF-8.
// Only the head counts, so a URL that mentions a charset changes nothing.
BookmarkEvents ParseNetscape(std::string_view file);

// A Dona Browser bookmark file: items "<LI><A HREF=\"", folders "<LI>", nesting closed by "</UL".
// An empty line (not even a carriage return) ends it.
BookmarkEvents ParseDona(std::string_view file);

}  // namespace importer
