#include "WebSearch.h"

namespace search {
namespace {

// Each entry is the listed name, a tab, and the query prefix.
constexpr const char* kSiteTexts[] = {
    "google\thttp://www.google.co.jp/search?lr=lang_ja&q=",
    "goo\thttp://search.goo.ne.jp/search/search.jsp?MT=",
    "goo 英和辞典\thttp://dictionary.goo.ne.jp/cgi-bin/dict_search.cgi?sw=0&MT=",
    "goo 和英辞書\thttp://dictionary.goo.ne.jp/cgi-bin/dict_search.cgi?sw=1&MT=",
    "goo 国語辞書\thttp://dictionary.goo.ne.jp/cgi-bin/dict_search.cgi?sw=2&MT=",
    "vector ソフトウェア検索\thttp://search.vector.co.jp/bin/v_searchf?p=",
    "yahoo! オークション\thttp://auctions.search.yahoo.co.jp/search/auc?alocale=0jp&acc=jp&p=",
};

bool Unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

}  // namespace

const std::vector<SearchSite>& SearchSites() {
    static const std::vector<SearchSite> sites = [] {
        std::vector<SearchSite> table;
        for (std::string_view text : kSiteTexts) {
            // The tab is found with a byte search: no trail byte is below 0x40.
            const size_t tab = text.find('\t');
            table.push_back({std::string(text.substr(0, tab)), std::string(text.substr(tab + 1))});
        }
        return table;
    }();
    return sites;
}

size_t SiteIndexOrFirst(int stored) {
    return stored >= 0 && static_cast<size_t>(stored) < SearchSites().size() ? static_cast<size_t>(stored) : 0;
}

std::string EncodeQueryWord(std::string_view word) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(word.size() * 3);
    for (const char byte : word) {
        const auto c = static_cast<unsigned char>(byte);
        if (Unreserved(c)) {
            encoded += byte;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += kHex[c >> 4];
            encoded += kHex[c & 0x0F];
        }
    }
    return encoded;
}

std::string QueryUrl(const SearchSite& site, std::string_view word) { return site.prefix + EncodeQueryWord(word); }

}  // namespace search
