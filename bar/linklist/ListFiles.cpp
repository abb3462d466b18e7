#include "ListFiles.h"

namespace linklist {
namespace {

constexpr char kLineEnd[] = "\r\n";

}  // namespace

std::string UrlList(const std::vector<std::string>& links) {
    std::string list;
    for (const std::string& link : links) list += link + kLineEnd;
    return list;
}

std::string IriaList(const std::vector<std::string>& links, const IriaFields& fields) {
    // Everything after the address is the same for every record.
    std::string tail = kLineEnd + ("Folder=" + fields.folder) + kLineEnd;
    if (fields.useDefaults)
        tail += std::string("ID=0") + kLineEnd;
    else
        tail += std::string("ID=1") + kLineEnd + "HttpRefererType=4" + kLineEnd + "HttpRefererStr=" + fields.referer +
                kLineEnd;
    tail += kLineEnd;

    std::string list;
    for (const std::string& link : links) list += "URL=" + link + tail;
    return list;
}

}  // namespace linklist
