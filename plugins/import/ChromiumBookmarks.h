// The "Bookmarks" file of Chromium-based browsers (Edge, Chrome, Brave, Vivaldi): JSON in UTF-8.
// Its "roots" object holds the bookmark bar ("bookmark_bar"), the other bookmarks ("other") and
// the mobile ones ("synced"), each a folder node. A node is {"type": "folder", "name": ...,
// "children": [nodes]} or {"type": "url", "name": ..., "url": ...}; every other member (dates,
// ids, meta_info) is passed over.
#pragma once

#include "BookmarkEvent.h"

#include <optional>
#include <string_view>

namespace importer {

// The roots that hold anything, as folders in the order the browsers show them (bar, other,
// mobile, then any further root), each with its content in file order, names and URLs in UTF-8
// as the file has them. Nothing at all for a file that is not whole and of this
// shape: a browser may be writing it, and half a tree must never pass for the whole one.
// `text` must be followed by a NUL byte that is not part of it (a std::string's, a SourceText's).
std::optional<BookmarkEvents> ParseChromium(std::string_view text);

}  // namespace importer
