// The search text's match: a plain substring test in the code page, case sensitive, that only
// counts hits starting on a character boundary, so an ASCII text never matches the second byte
// of a double-byte character ("A" is not found in "アニメ", whose first character is 83 41).
#pragma once

#include <string_view>

namespace search {

bool Contains(std::string_view text, std::string_view wanted);

}  // namespace search
