// The browser's URL cache (WinInet): the one walk over its entries and the one lookup of an entry,
// shared by the cache cleaner, the cookie editor and the properties page. Entry information has no
// fixed size (long URLs, many header lines), so every buffer grows until the entry fits and the walk
// never stops early at a large entry.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace urlcache {

// One entry's information in a buffer of its own size; the strings it points to live in the buffer.
class EntryInfo {
public:
    explicit EntryInfo(std::vector<BYTE> buffer) : buffer_(std::move(buffer)) {}
    const INTERNET_CACHE_ENTRY_INFOA& Info() const {
        return *reinterpret_cast<const INTERNET_CACHE_ENTRY_INFOA*>(buffer_.data());
    }
    std::string Url() const;
    std::string LocalFile() const;
    std::string Headers() const;
    ULONGLONG Size() const;

private:
    std::vector<BYTE> buffer_;
};

// What the visitor of a walk wants next.
enum class Walk { kContinue, kStop };

// Visits every cache entry whose URL the search pattern selects (WinInet's own pattern: nullptr for
// http entries and cookies, "cookie:" for cookies, "visited:" for history; case as the cache stores
// it). The visitor must not delete entries while the walk runs: collect URLs, then delete.
// Returns false when the cache could not be read at all (no entry at all is success).
bool ForEach(const char* pattern, const std::function<Walk(const INTERNET_CACHE_ENTRY_INFOA&)>& visit);

// The cache's entry for one URL, or nothing when the cache holds none.
std::optional<EntryInfo> Lookup(const std::string& url);

// Removes one entry. False when it stays (in use, already gone); callers count only true results.
bool Delete(const std::string& url);

}  // namespace urlcache
