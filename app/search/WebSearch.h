// Web search: the fixed table of search sites and the query URL for a word.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace search {

struct SearchSite {
    std::string name;    // as listed in the dialog
    std::string prefix;  // the query URL up to and including the key that takes the word
};

// The seven sites, in list order.
const std::vector<SearchSite>& SearchSites();

// A stored site number outside the table selects the first site.
size_t SiteIndexOrFirst(int stored);

// The word as a query value: letters, digits and "-._~" stay, a blank becomes "+", every other
// byte (each byte of a double-byte character too) becomes %XX, so the server gets exactly the
// code page's bytes and "&", "#", "+" or "%" in the word cannot change the query.
std::string EncodeQueryWord(std::string_view word);

// The site's prefix followed by the encoded word, whatever its length.
std::string QueryUrl(const SearchSite& site, std::string_view word);

}  // namespace search
