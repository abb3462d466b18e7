// The reply of Netscape's DDE topic "WWW_GetWindowInfo": three quoted fields separated by commas
// (URL, title, frame name). Inside a field a backslash makes the byte after it plain text; the
// second byte of a double-byte character is never an escape or a quote.
#pragma once

#include <string>
#include <string_view>

namespace netscape {

struct WindowInfo {
    std::string url;
    std::string title;
    std::string frame;
};

// Missing fields come back empty; an unterminated field runs to the end of the reply.
WindowInfo ParseWindowInfo(std::string_view reply);

}  // namespace netscape
