#include "NetscapeReply.h"

#include <base/Mbcs.h>

namespace netscape {
namespace {

constexpr char kQuote = '"';
constexpr char kComma = ',';
constexpr char kEscape = '\\';

// Copies the field text that starts at `pos` into `out` up to its closing quote (or the end of
// the reply) and returns the position of that quote.
size_t CopyField(std::string_view reply, size_t pos, std::string& out) {
    while (pos < reply.size() && reply[pos] != kQuote) {
        const size_t next = mbcs::NextCharOffset(reply, pos);
        if (mbcs::IsLeadByte(static_cast<unsigned char>(reply[pos]))) {
            // A lead byte cut off by the end of the reply is half a character: dropped.
            if (next - pos == 2) out.append(reply.substr(pos, 2));
        } else if (reply[pos] == kEscape) {
            if (next < reply.size()) out += reply[next];
            pos = next + 1;
            continue;
        } else {
            out += reply[pos];
        }
        pos = next;
    }
    return pos;
}

// Steps over one field boundary: the closing quote, the comma and the next opening quote. Taking
// exactly one of each keeps an empty field ("") from swallowing the field after it.
size_t SkipBoundary(std::string_view reply, size_t pos) {
    for (const char expected : {kQuote, kComma, kQuote})
        if (pos < reply.size() && reply[pos] == expected) ++pos;
    return pos;
}

}  // namespace

WindowInfo ParseWindowInfo(std::string_view reply) {
    WindowInfo info;
    size_t pos = (!reply.empty() && reply.front() == kQuote) ? 1 : 0;
    pos = CopyField(reply, pos, info.url);
    pos = CopyField(reply, SkipBoundary(reply, pos), info.title);
    CopyField(reply, SkipBoundary(reply, pos), info.frame);
    return info;
}

}  // namespace netscape
