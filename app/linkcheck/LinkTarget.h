// What a link check asks for, taken from a favorite's URL, and what its answer means. No Windows
// calls here: the rules are tested on their own.
//
// Addresses are the favorites' exact ones in UTF-8: every byte of a character beyond ASCII is
// 0x80 or above, so plain byte searches find the ASCII separators (no double-byte scan needed).
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace linkcheck {

enum class Scheme { kHttp, kHttps };

// Where a check connects and what it requests. Nothing is cut: host and path are as long as the
// URL makes them.
struct LinkTarget {
    Scheme scheme = Scheme::kHttp;
    std::string host;  // as written; HostLookup gives a name beyond ASCII its ASCII form
    int port = 0;
    std::string path;  // from the first "/" after the host, query and fragment as written
};

enum class SplitResult {
    kValid,
    kInvalid,  // not an http or https URL, or its host or port cannot be used
    kSkipped,  // a port that reads as 0 ("http://host:/"): left alone without a word
};

// Splits an "http://" or "https://" URL (the scheme in any letter case). The host runs to the first
// "/"; a ":" in it starts the port, which must be decimal digits only, 1 to 65535.
SplitResult SplitUrl(std::string_view url, LinkTarget* target);

// The path as requested, what browsers send: each byte of a character beyond ASCII, a blank and a
// control character as "%XX"; every other byte, a "%XX" already written included, as it is.
std::string RequestPath(std::string_view path);

// The exact bytes of the request sent for an http check (the host already in ASCII).
std::string HttpRequest(const LinkTarget& target);

// How a status code is shown.
enum class Verdict {
    kAlive,   // 2xx and 3xx (redirects are not followed)
    kDead,    // 403, 404, 410
    kUnsure,  // every other status, and a status line that is no status line
};
Verdict VerdictFor(int status);

// A permanent redirect: the favorite's page has a new address for good.
bool IsPermanentRedirect(int status);

// Collects the first bytes of a response, however they are split into packets, until the status
// line is complete, and reads the status from it once. For a permanent redirect it reads on to
// the "Location" header (or the end of the head), since the new address is the answer wanted.
class StatusLineReader {
public:
    // A status line longer than this is no status line.
    static constexpr size_t kMaxLineBytes = 4096;
    // Headers beyond this are not looked at for a redirect's address.
    static constexpr size_t kMaxHeadBytes = 16384;

    // Adds received bytes; true once the answer is complete (status() then holds it).
    bool Add(std::string_view bytes);
    // At the end of the response: judges what arrived if the line never ended. Nothing when no
    // byte arrived at all.
    std::optional<int> Finish();
    bool complete() const { return complete_; }
    // The status code; -1 when the line is not "HTTP/<version> <three digits>".
    int status() const { return status_; }
    // The "Location" header's value as sent ("" when none came).
    const std::string& location() const { return location_; }

private:
    void Judge(std::string_view line);
    // Reads the complete header lines after the status line; `atEnd`: the last one need not end.
    void ReadHeaders(bool atEnd);

    std::string head_;
    size_t scanned_ = 0;  // offset of the first header line not read yet
    bool judged_ = false;
    bool complete_ = false;
    int status_ = 0;
    std::string location_;
};

// The absolute address a "Location" value names, resolved against the address that was asked
// for: absolute ("https://..."), scheme-relative ("//host/..."), host-relative ("/..."), or
// relative to the request's folder, with "." and ".." segments resolved. "" for an empty value.
std::string ResolveLocation(std::string_view requested, std::string_view location);

}  // namespace linkcheck
