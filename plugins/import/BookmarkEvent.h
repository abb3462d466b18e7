// What the bookmark-file parsers find, in file order; EventFeed.h turns it into the tree.
#pragma once

#include <string>
#include <vector>

namespace importer {

struct BookmarkEvent {
    enum Kind { kItem, kFolder, kClose };
    Kind kind;
    std::string name;  // items and folders, in the code page
    std::string url;   // items only
};

using BookmarkEvents = std::vector<BookmarkEvent>;

}  // namespace importer
