// The two files the link list writes: a plain URL list (".lst") and a download list for the
// download manager Iria (".iri"). Both are ANSI text with CR LF line ends and no header.
#pragma once

#include <string>
#include <vector>

namespace linklist {

// The fields of the dialog an Iria list carries.
struct IriaFields {
    std::string folder;   // download folder, may be empty
    std::string referer;  // sent with the downloads unless the manager's defaults are used
    bool useDefaults = false;
};

// Addresses keep their bytes, but CR and LF, which become %0D and %0A.
// One line per link; no links give no bytes at all.
std::string UrlList(const std::vector<std::string>& links);
// One record per link, each ending with an empty line: "URL=", "Folder=" and "ID=0" with the
// manager's defaults, otherwise "ID=1" and the referrer lines as well.
std::string IriaList(const std::vector<std::string>& links, const IriaFields& fields);

}  // namespace linklist
