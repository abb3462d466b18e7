// The search text's match: a plain substring test on the exact (UTF-16) text, case sensitive,
// that counts only hits made of whole characters: neither end of a hit may fall between the two
// halves of a surrogate pair, so half an emoji never matches.
#pragma once

#include <string_view>

namespace search {

bool Contains(std::wstring_view text, std::wstring_view wanted);

// The longest start of `text` of at most `units` UTF-16 units that does not split a pair.
std::wstring_view Fit(std::wstring_view text, size_t units);

}  // namespace search
