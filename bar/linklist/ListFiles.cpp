#include "ListFiles.h"

namespace linklist {
namespace {

constexpr char kLineEnd[] = "\r\n";

// An address as one line: a CR or LF in it would start lines of their own, records even. Both
// are below any trail byte of the code page, so a plain byte scan finds them.
std::string OneLine(const std::string& address) {
    std::string line;
    line.reserve(address.size());
    for (const char c : address) {
        if (c == '\r')
            line += "%0D";
        else if (c == '\n')
            line += "%0A";
        else
            line += c;
    }
    return line;
}

}  // namespace

std::string UrlList(const std::vector<std::string>& links) {
    std::string list;
    for (const std::string& link : links) list += OneLine(link) + kLineEnd;
    return list;
}

std::string IriaList(const std::vector<std::string>& links, const IriaFields& fields) {
    // Everything after the address is the same for every record.
    std::string tail = kLineEnd + ("Folder=" + fields.folder) + kLineEnd;
    if (fields.useDefaults)
        tail += std::string("ID=0") + kLineEnd;
    else
        tail += std::string("ID=1") + kLineEnd + "HttpRefererType=4" + kLineEnd + "HttpRefererStr=" + OneLine(fields.referer) +
                kLineEnd;
    tail += kLineEnd;

    std::string list;
    for (const std::string& link : links) list += "URL=" + OneLine(link) + tail;
    return list;
}

}  // namespace linklist
