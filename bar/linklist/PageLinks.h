// What the link list shows of the page in a browser, read through the page's document object
// model: the links' addresses, the frames' names, the page's own address and title.
#pragma once

#include <exdisp.h>

#include <optional>
#include <string>
#include <vector>

namespace linklist {

struct Page {
    std::vector<std::string> links;       // anchors in document order, duplicates included
    std::vector<std::string> frameNames;  // frames and inline frames
    std::string address;                  // the document's address, the downloads' referrer
    std::string title;
};

// Nothing when the browser shows no HTML document (none yet, still loading, another kind of file).
// Addresses come whole and exact: a character outside the code page is written as %XX of its
// UTF-8 bytes, as browsers send it; titles and names are for showing and may hold "?".
std::optional<Page> ReadPage(IWebBrowser2& browser);

}  // namespace linklist
