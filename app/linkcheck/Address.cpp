#include "Address.h"

#include "LinkTarget.h"

#include <base/Ascii.h>

#include <algorithm>

namespace linkcheck {
namespace {

constexpr std::string_view kHttp = "http://";
constexpr std::string_view kHttps = "https://";
// Path words of sign-in pages: a redirect there asks for a login, it does not move the page.
constexpr std::string_view kSignInWords[] = {"login", "log-in", "log_in", "logon", "signin", "sign-in", "sign_in", "/auth"};

struct Parts {
    Scheme scheme;
    std::string host;  // lower case
    int port;
    std::string path;  // "/" at least; query and fragment kept
};

bool Split(std::string_view address, Parts* parts) {
    LinkTarget target;
    if (SplitUrl(address, &target) != SplitResult::kValid) return false;
    *parts = {target.scheme, ascii::Lower(target.host), target.port, target.path};
    return true;
}

std::string Join(const Parts& parts) {
    const bool https = parts.scheme == Scheme::kHttps;
    std::string address(https ? kHttps : kHttp);
    address += parts.host;
    if (parts.port != (https ? 443 : 80)) address.append(":").append(std::to_string(parts.port));
    return address.append(parts.path);
}

// The path without its query and fragment.
std::string_view PathOnly(std::string_view path) { return path.substr(0, std::min(path.find_first_of("?#"), path.size())); }

bool LooksLikeSignIn(std::string_view path) {
    const std::string lower = ascii::Lower(PathOnly(path));
    for (const std::string_view word : kSignInWords)
        if (lower.find(word) != std::string::npos) return true;
    return false;
}

}  // namespace

std::string NormalizeAddress(std::string_view address) {
    Parts parts;
    if (!Split(address, &parts)) return std::string(address);
    if (parts.path.size() > 1 && parts.path.back() == '#') parts.path.pop_back();
    return Join(parts);
}

MoveKind ClassifyMove(std::string_view from, std::string_view to) {
    Parts old, moved;
    if (!Split(from, &old) || !Split(to, &moved)) return MoveKind::kOrdinary;
    const bool otherHost = old.host != moved.host;
    if ((otherHost && PathOnly(moved.path) == "/") || LooksLikeSignIn(moved.path))
        return MoveKind::kSuspicious;
    if (old.scheme == Scheme::kHttp && moved.scheme == Scheme::kHttps) {
        old.scheme = Scheme::kHttps;
        if (old.port == 80) old.port = 443;
        if (NormalizeAddress(Join(old)) == NormalizeAddress(to)) return MoveKind::kToHttps;
    }
    return MoveKind::kOrdinary;
}

}  // namespace linkcheck
