#include "BrowserList.h"

#include <base/Handles.h>

#include <exdisp.h>
#include <shldisp.h>

#include <optional>

namespace browsers {
namespace {

std::optional<BrowserWindow> BrowserAt(IShellWindows& windows, long index) {
    VARIANT position;
    VariantInit(&position);
    V_VT(&position) = VT_I4;
    V_I4(&position) = index;
    win::ComPtr<IDispatch> member;
    // S_FALSE with no object: the window closed meanwhile.
    if (windows.Item(position, member.put()) != S_OK || !member) return std::nullopt;
    win::ComPtr<IWebBrowser2> browser;
    if (FAILED(member->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(browser.put()))) || !browser)
        return std::nullopt;
    // Kept as the browser gives them: a title or address outside the code page stays exact.
    return BrowserWindow{index, win::BstrProperty<IWebBrowser2>(*browser, &IWebBrowser2::get_LocationName),
                         win::BstrProperty<IWebBrowser2>(*browser, &IWebBrowser2::get_LocationURL)};
}

}  // namespace

std::vector<BrowserWindow> OpenBrowserWindows() {
    win::ComPtr<IShellWindows> windows;
    if (FAILED(CoCreateInstance(CLSID_ShellWindows, nullptr, CLSCTX_ALL, IID_IShellWindows,
                                reinterpret_cast<void**>(windows.put()))) ||
        !windows)
        return {};
    long count = 0;
    if (FAILED(windows->get_Count(&count))) return {};
    std::vector<BrowserWindow> result;
    for (long index = 0; index < count; ++index)
        if (std::optional<BrowserWindow> browser = BrowserAt(*windows, index)) result.push_back(std::move(*browser));
    return result;
}

}  // namespace browsers
