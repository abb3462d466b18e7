// The browser windows open at the moment: the shell's window collection (ShellWindows), whose
// members include every Internet Explorer and Explorer window.
#pragma once

#include <string>
#include <vector>

namespace browsers {

struct BrowserWindow {
    long index;        // position in the shell's collection
    std::wstring name;  // LocationName
    std::wstring url;   // LocationURL
};

// The members of the collection that are web browsers (offer IWebBrowser2), in collection order;
// none when the collection cannot be created or counted. Needs COM on the calling thread.
std::vector<BrowserWindow> OpenBrowserWindows();

}  // namespace browsers
