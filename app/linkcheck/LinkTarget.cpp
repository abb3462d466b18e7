#include "LinkTarget.h"

#include <base/Ascii.h>
#include <base/Format.h>

#include <algorithm>
#include <vector>

namespace linkcheck {

namespace {

constexpr std::string_view kHttpPrefix = "http://";
constexpr std::string_view kHttpsPrefix = "https://";
constexpr int kHttpPort = 80;
constexpr int kHttpsPort = 443;
constexpr int kMaxPort = 65535;
constexpr char kRequest[] = "GET %s HTTP/1.0\r\nHost: %s:%d\r\nUser-Agent: Tolvak Favorites Manager - LinkCheck\r\n\r\n";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The digits of a port, or nothing when anything else is there or the number is too large.
// An empty text reads as 0.
std::optional<int> ReadPort(std::string_view text) {
    int port = 0;
    for (char c : text) {
        if (!IsDigit(c)) return std::nullopt;
        port = port * 10 + (c - '0');
        if (port > kMaxPort) return std::nullopt;
    }
    return port;
}

}  // namespace

SplitResult SplitUrl(std::string_view url, LinkTarget* target) {
    LinkTarget result;
    std::string_view rest;
    if (ascii::StartsWithNoCase(url, kHttpsPrefix)) {
        result.scheme = Scheme::kHttps;
        result.port = kHttpsPort;
        rest = url.substr(kHttpsPrefix.size());
    } else if (ascii::StartsWithNoCase(url, kHttpPrefix)) {
        result.port = kHttpPort;
        rest = url.substr(kHttpPrefix.size());
    } else {
        return SplitResult::kInvalid;
    }

    const size_t slash = rest.find('/');
    std::string_view host = rest.substr(0, slash);
    result.path = slash == std::string_view::npos ? "/" : std::string(rest.substr(slash));

    const size_t colon = host.find(':');
    if (colon != std::string_view::npos) {
        const std::optional<int> port = ReadPort(host.substr(colon + 1));
        if (!port) return SplitResult::kInvalid;
        if (*port == 0) return SplitResult::kSkipped;
        result.port = *port;
        host = host.substr(0, colon);
    }
    if (host.empty()) return SplitResult::kInvalid;
    result.host = std::string(host);
    *target = std::move(result);
    return SplitResult::kValid;
}

std::string RequestPath(std::string_view path) {
    constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    escaped.reserve(path.size());
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte > 0x20 && byte < 0x7F) {
            escaped += c;
        } else {
            escaped += '%';
            escaped += kHex[byte >> 4];
            escaped += kHex[byte & 0xF];
        }
    }
    return escaped;
}

std::string HttpRequest(const LinkTarget& target) {
    return text::Format(kRequest, RequestPath(target.path).c_str(), target.host.c_str(), target.port);
}

Verdict VerdictFor(int status) {
    if (status >= 200 && status < 400) return Verdict::kAlive;
    if (status == 403 || status == 404 || status == 410) return Verdict::kDead;
    return Verdict::kUnsure;
}

bool IsPermanentRedirect(int status) { return status == 301 || status == 308; }

bool StatusLineReader::Add(std::string_view bytes) {
    if (complete_) return true;
    head_.append(bytes.substr(0, kMaxHeadBytes - std::min(head_.size(), kMaxHeadBytes)));
    if (!judged_) {
        const size_t end = head_.find('\n');
        if (end == std::string::npos && head_.size() < kMaxLineBytes) return false;
        Judge(std::string_view(head_).substr(0, std::min(end, kMaxLineBytes)));
        scanned_ = end == std::string::npos ? head_.size() : end + 1;
    }
    ReadHeaders(head_.size() >= kMaxHeadBytes);
    return complete_;
}

std::optional<int> StatusLineReader::Finish() {
    if (!complete_) {
        if (head_.empty()) return std::nullopt;
        if (!judged_) {
            Judge(std::string_view(head_).substr(0, std::min(head_.find('\n'), kMaxLineBytes)));
            scanned_ = head_.size();
        }
        ReadHeaders(true);
    }
    return status_;
}

void StatusLineReader::ReadHeaders(bool atEnd) {
    if (!IsPermanentRedirect(status_)) {
        complete_ = true;
        return;
    }
    constexpr std::string_view kLocation = "location:";
    while (!complete_ && scanned_ < head_.size()) {
        size_t end = head_.find('\n', scanned_);
        if (end == std::string::npos) {
            if (!atEnd) return;
            end = head_.size();
        }
        std::string_view line = std::string_view(head_).substr(scanned_, end - scanned_);
        scanned_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) {
            complete_ = true;  // the end of the head: no address came
        } else if (ascii::StartsWithNoCase(line, kLocation)) {
            line.remove_prefix(kLocation.size());
            while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
            while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
            location_ = std::string(line);
            complete_ = true;
        }
    }
    if (atEnd) complete_ = true;
}

void StatusLineReader::Judge(std::string_view line) {
    judged_ = true;
    status_ = -1;
    // "HTTP/1.0 200 OK": the version up to the first blank, then exactly three digits.
    if (line.substr(0, 5) != "HTTP/") return;
    const size_t blank = line.find(' ');
    if (blank == std::string_view::npos || line.size() < blank + 4) return;
    const std::string_view code = line.substr(blank + 1, 3);
    if (!IsDigit(code[0]) || !IsDigit(code[1]) || !IsDigit(code[2])) return;
    if (line.size() > blank + 4 && line[blank + 4] != ' ' && line[blank + 4] != '\r') return;
    status_ = (code[0] - '0') * 100 + (code[1] - '0') * 10 + (code[2] - '0');
}

namespace {

// "a/./b/../c" as "a/c"; the path keeps its leading "/" and a trailing one.
std::string RemoveDotSegments(std::string_view path) {
    std::vector<std::string_view> kept;
    size_t start = 1;  // after the leading "/"
    bool trailingSlash = false;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        const std::string_view segment = path.substr(start, end - start);
        trailingSlash = segment == "." || segment == "..";
        if (segment == "..") {
            if (!kept.empty()) kept.pop_back();
        } else if (segment != ".") {
            kept.push_back(segment);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string_view segment : kept) result.append("/").append(segment);
    if (trailingSlash || result.empty()) result += '/';
    return result;
}

bool HasScheme(std::string_view text) {
    const size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    for (size_t i = 0; i < colon; ++i) {
        const char c = text[i];
        const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!letter && (i == 0 || (!IsDigit(c) && c != '+' && c != '-' && c != '.'))) return false;
    }
    return true;
}

}  // namespace

std::string ResolveLocation(std::string_view requested, std::string_view location) {
    if (location.empty() || HasScheme(location)) return std::string(location);
    const size_t schemeEnd = requested.find("://");
    if (schemeEnd == std::string_view::npos) return std::string(location);
    if (location.substr(0, 2) == "//") return std::string(requested.substr(0, schemeEnd + 1)).append(location);
    // The request's parts: "scheme://host" + path + "?query" + "#fragment".
    const size_t hostStart = schemeEnd + 3;
    size_t pathStart = requested.find_first_of("/?#", hostStart);
    if (pathStart == std::string_view::npos) pathStart = requested.size();
    const std::string_view origin = requested.substr(0, pathStart);
    const std::string_view rest = requested.substr(pathStart);
    const size_t queryStart = std::min(rest.find_first_of("?#"), rest.size());
    const size_t fragmentStart = std::min(rest.find('#'), rest.size());
    std::string_view path = rest.substr(0, queryStart);
    if (path.empty()) path = "/";

    if (location.front() == '#') return std::string(requested.substr(0, pathStart + fragmentStart)).append(location);
    if (location.front() == '?') return std::string(origin).append(path).append(location);
    const size_t tailStart = std::min(location.find_first_of("?#"), location.size());
    std::string merged;
    if (location.front() == '/') {
        merged = location.substr(0, tailStart);
    } else {
        const size_t lastSlash = path.rfind('/');
        merged = std::string(path.substr(0, lastSlash + 1)).append(location.substr(0, tailStart));
    }
    return std::string(origin).append(RemoveDotSegments(merged)).append(location.substr(tailStart));
}

}  // namespace linkcheck
