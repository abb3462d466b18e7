#include "TextMatch.h"

#include <base/Mbcs.h>

namespace search {

bool Contains(std::string_view text, std::string_view wanted) {
    if (wanted.empty()) return false;
    // The byte search finds candidates fast; the boundary walk only runs up to each candidate and
    // never goes back, so the whole test stays linear in the text.
    size_t boundary = 0;
    for (size_t hit = text.find(wanted); hit != std::string_view::npos; hit = text.find(wanted, hit + 1)) {
        while (boundary < hit) boundary = mbcs::NextCharOffset(text, boundary);
        if (boundary == hit) return true;
    }
    return false;
}

}  // namespace search
