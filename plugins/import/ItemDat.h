// WWWC's item list "Item.dat": one item per line, fields separated by tabs, in Shift_JIS.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace importer {

struct WwwcItem {
    std::string title;
    std::string url;
};

// The items of an Item.dat: the title is field 1, the URL field 9 or, when that is missing or
// empty, field 2. An empty line, or a line without a tab, ends the list; a line's indent is
// skipped.
std::vector<WwwcItem> ParseItemDat(std::string_view file);

}  // namespace importer
