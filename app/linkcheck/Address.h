// Comparing favorites' addresses: the form two addresses of one page share, and how a permanent
// redirect's new address relates to the old one. No Windows calls: the rules are tested alone.
// Addresses are exact, in UTF-8 (LinkTarget.h).
#pragma once

#include <string>
#include <string_view>

namespace linkcheck {

// The address with scheme and host in lower case, the scheme's default port dropped, an empty
// path written "/" and a trailing "#" dropped; anything that is no http or https address stays
// as it is.
std::string NormalizeAddress(std::string_view address);

// What kind of move a permanent redirect is, for what the report offers to update.
enum class MoveKind {
    kToHttps,     // the same address, only over https: updated without a second thought
    kOrdinary,    // somewhere else on the same site, or another site's page
    kSuspicious,  // another host's front page, or a page that looks like a sign-in: a site that
                  // lost the page or wants a login, not a real move
};
MoveKind ClassifyMove(std::string_view from, std::string_view to);

}  // namespace linkcheck
