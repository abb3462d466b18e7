// What the bookmark-file parsers find, in file order; EventFeed.h turns it into the tree.
#pragma once

#include <string>
#include <vector>

namespace importer {

struct BookmarkEvent {
    enum Kind { kItem, kFolder, kClose };
    Kind kind;
    // UTF-8, exactly as the source has it (references decoded), whatever the source's encoding.
    std::string name;  // items and folders
    std::string url;   // items only
};

using BookmarkEvents = std::vector<BookmarkEvent>;

}  // namespace importer
