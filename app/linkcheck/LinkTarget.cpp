#include "LinkTarget.h"

#include <base/Format.h>
#include <base/Mbcs.h>

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
    if (mbcs::StartsWithNoCase(url, kHttpsPrefix)) {
        result.scheme = Scheme::kHttps;
        result.port = kHttpsPort;
        rest = url.substr(kHttpsPrefix.size());
    } else if (mbcs::StartsWithNoCase(url, kHttpPrefix)) {
        result.port = kHttpPort;
        rest = url.substr(kHttpPrefix.size());
    } else {
        return SplitResult::kInvalid;
    }

    const size_t slash = mbcs::Find(rest, '/');
    std::string_view host = rest.substr(0, slash);
    result.path = slash == mbcs::npos ? "/" : std::string(rest.substr(slash));

    const size_t colon = mbcs::Find(host, ':');
    if (colon != mbcs::npos) {
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

std::string HttpRequest(const LinkTarget& target) {
    return text::Format(kRequest, target.path.c_str(), target.host.c_str(), target.port);
}

Verdict VerdictFor(int status) {
    if (status >= 200 && status < 400) return Verdict::kAlive;
    if (status == 403 || status == 404 || status == 410) return Verdict::kDead;
    return Verdict::kUnsure;
}

bool StatusLineReader::Add(std::string_view bytes) {
    if (complete_) return true;
    const size_t end = bytes.find('\n');
    line_.append(bytes.substr(0, end));
    if (end != std::string_view::npos || line_.size() >= kMaxLineBytes) Judge(line_);
    return complete_;
}

std::optional<int> StatusLineReader::Finish() {
    if (!complete_) {
        if (line_.empty()) return std::nullopt;
        Judge(line_);
    }
    return status_;
}

void StatusLineReader::Judge(std::string_view line) {
    complete_ = true;
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

}  // namespace linkcheck
