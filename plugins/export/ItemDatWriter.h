// WWWC's Item.dat: one line per item, 16 fields separated by tabs, CR LF at the end. Field 1 is
// the title and field 2 the URL; fields 5 and 13 hold "0", the others stay empty. WWWC reads it
// as Shift_JIS: what that lacks becomes "?".
#pragma once

#include "ExportNode.h"

#include <string>
#include <string_view>

namespace exporter {

std::string ItemDatLine(std::wstring_view label, std::wstring_view url);

// The Item.dat of `folder` in `tree`: a line for each item directly in it, in tree order.
std::string ItemDatContent(const ExportTree& tree, const ExportNode& folder);

}  // namespace exporter
