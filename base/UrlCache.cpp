#include "UrlCache.h"

#include "Handles.h"

namespace urlcache {
namespace {

// Start size of entry buffers; entries larger than this grow the buffer to their own size.
constexpr DWORD kFirstBufferSize = 4096;

struct CacheFindTraits {
    using Type = HANDLE;
    static Type Invalid() { return nullptr; }
    static void Close(Type h) { FindCloseUrlCache(h); }
};

std::string Text(const char* text) { return text ? std::string(text) : std::string(); }

}  // namespace

std::string EntryInfo::Url() const { return Text(Info().lpszSourceUrlName); }
std::string EntryInfo::LocalFile() const { return Text(Info().lpszLocalFileName); }

std::string EntryInfo::Headers() const {
    const auto& info = Info();
    if (!info.lpHeaderInfo || info.dwHeaderInfoSize == 0) return {};
    std::string headers(reinterpret_cast<const char*>(info.lpHeaderInfo), info.dwHeaderInfoSize);
    while (!headers.empty() && headers.back() == '\0') headers.pop_back();
    return headers;
}

ULONGLONG EntryInfo::Size() const {
    return (static_cast<ULONGLONG>(Info().dwSizeHigh) << 32) | Info().dwSizeLow;
}

bool ForEach(const char* pattern, const std::function<Walk(const INTERNET_CACHE_ENTRY_INFOA&)>& visit) {
    std::vector<BYTE> buffer(kFirstBufferSize);
    auto entry = [&] { return reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data()); };

    DWORD size = static_cast<DWORD>(buffer.size());
    HANDLE find = FindFirstUrlCacheEntryA(pattern, entry(), &size);
    if (!find && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        buffer.resize(size);
        find = FindFirstUrlCacheEntryA(pattern, entry(), &size);
    }
    if (!find) return GetLastError() == ERROR_NO_MORE_ITEMS;
    win::Unique<CacheFindTraits> owner(find);

    for (;;) {
        if (visit(*entry()) == Walk::kStop) return true;
        size = static_cast<DWORD>(buffer.size());
        if (FindNextUrlCacheEntryA(find, entry(), &size)) continue;
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
            buffer.resize(size);
            if (FindNextUrlCacheEntryA(find, entry(), &size)) continue;
        }
        return GetLastError() == ERROR_NO_MORE_ITEMS;
    }
}

std::optional<EntryInfo> Lookup(const std::string& url) {
    std::vector<BYTE> buffer(kFirstBufferSize);
    for (int attempt = 0; attempt < 2; ++attempt) {
        DWORD size = static_cast<DWORD>(buffer.size());
        auto* info = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOA*>(buffer.data());
        if (GetUrlCacheEntryInfoA(url.c_str(), info, &size)) return EntryInfo(std::move(buffer));
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
        buffer.resize(size);
    }
    return std::nullopt;
}

bool Delete(const std::string& url) { return DeleteUrlCacheEntryA(url.c_str()) != FALSE; }

}  // namespace urlcache
