#include "CacheCleaner.h"

#include "BannerPatterns.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/MessageBox.h>
#include <base/Path.h>
#include <base/UrlCache.h>

#include <shellapi.h>

#include <functional>
#include <optional>
#include <set>
#include <vector>

namespace cachecleaner {
namespace {

constexpr char kCaption[] = "Cache Deleter";
constexpr char kNoPatterns[] = "[data\\banner.ini]が見つからないか、メモリが足りません。";
constexpr char kNoCache[] = "キャッシュがありません";
constexpr char kBannersDeleted[] = "%s個のキャッシュ ファイル・履歴を削除しました。\n%sバイト節約出来ました♪";
constexpr char kCgiDeleted[] = "%s個のcgiキャッシュを削除しました";
constexpr char kHistoryPrefix[] = "Visited";

// WinInet lists history entries only for their own search pattern, so the cleaner walks both.
constexpr const char* kWalkPatterns[] = {nullptr, "visited:"};

struct Candidate {
    std::string url;
    ULONGLONG size;
};

// Every cache entry the filter selects, collected before anything is deleted (deleting during a
// walk would disturb it). False when the cache has no entry at all.
bool Collect(const std::function<bool(const std::string& url)>& select, std::vector<Candidate>& selected) {
    std::set<std::string> seen;
    for (const char* pattern : kWalkPatterns) {
        urlcache::ForEach(pattern, [&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
            const std::string url = entry.lpszSourceUrlName ? entry.lpszSourceUrlName : "";
            if (seen.insert(url).second && select(url))
                selected.push_back({url, (static_cast<ULONGLONG>(entry.dwSizeHigh) << 32) | entry.dwSizeLow});
            return urlcache::Walk::kContinue;
        });
    }
    return !seen.empty();
}

std::optional<std::string> ReadFileBytes(const std::string& file) {
    win::UniqueFile handle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (ReadFile(handle.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    return bytes;
}

bool WriteFileBytes(const std::string& file, const void* data, DWORD size) {
    win::UniqueFile handle(
        CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return handle && WriteFile(handle.get(), data, size, &written, nullptr) && written == size;
}

}  // namespace

std::string PatternFilePath(const std::string& programDir) {
    return path::Join(path::Join(programDir, "data"), "banner.ini");
}

bool EnsurePatternFile(HMODULE resources, const std::string& programDir) {
    const std::string file = PatternFilePath(programDir);
    if (path::Exists(file)) return true;
    CreateDirectoryA(path::Join(programDir, "data").c_str(), nullptr);  // may exist already
    HRSRC found = FindResourceA(resources, kDefaultPatternsResource, MAKEINTRESOURCEA(kDefaultPatternsType));
    HGLOBAL loaded = found ? LoadResource(resources, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    return bytes && WriteFileBytes(file, bytes, SizeofResource(resources, found));
}

void DeleteBannerCache(HWND owner, HMODULE resources, const std::string& programDir) {
    EnsurePatternFile(resources, programDir);
    const std::optional<std::string> text = ReadFileBytes(PatternFilePath(programDir));
    const std::vector<std::string> patterns = text ? banner::ParsePatterns(*text) : std::vector<std::string>();
    if (patterns.empty()) {
        ui::ShowMessage(owner, kNoPatterns, MB_ICONWARNING);
        return;
    }
    std::vector<Candidate> banners;
    if (!Collect([&](const std::string& url) { return banner::MatchesAny(patterns, url); }, banners)) {
        ui::ShowMessage(owner, kNoCache, MB_OK);
        return;
    }
    // An entry in use stays in the cache: only what really went counts.
    ULONGLONG deleted = 0, saved = 0;
    for (const Candidate& entry : banners) {
        if (!urlcache::Delete(entry.url)) continue;
        ++deleted;
        saved += entry.size;
    }
    ui::ShowMessage(owner, text::Format(kBannersDeleted, std::to_string(deleted).c_str(), std::to_string(saved).c_str()), kCaption, MB_ICONINFORMATION);
}

void DeleteCgiCache(HWND owner) {
    std::vector<Candidate> outputs;
    const auto isCgiOutput = [](const std::string& url) {
        return url.compare(0, sizeof kHistoryPrefix - 1, kHistoryPrefix) != 0 && mbcs::Find(url, '?') != mbcs::npos;
    };
    if (!Collect(isCgiOutput, outputs)) {
        ui::ShowMessage(owner, kNoCache, MB_OK);
        return;
    }
    ULONGLONG deleted = 0;
    for (const Candidate& entry : outputs)
        if (urlcache::Delete(entry.url)) ++deleted;
    ui::ShowMessage(owner, text::Format(kCgiDeleted, std::to_string(deleted).c_str()), kCaption, MB_ICONINFORMATION);
}

void EditPatterns(HMODULE resources, const std::string& programDir) {
    EnsurePatternFile(resources, programDir);
    ShellExecuteA(nullptr, "open", PatternFilePath(programDir).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace cachecleaner
