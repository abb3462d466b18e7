#include "BrowserList.h"

#include <base/Handles.h>

#include <exdisp.h>
#include <shldisp.h>

#include <optional>

namespace browsers {
namespace {

std::string Narrow(std::wstring_view text) {
    const int length = static_cast<int>(text.size());
    if (length == 0) return {};
    const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size <= 0 || WideCharToMultiByte(CP_ACP, 0, text.data(), length, result.data(), size, nullptr, nullptr) != size)
        return {};
    return result;
}

// A property read through a BSTR out-parameter; "" when the browser does not answer.
std::string ReadText(IWebBrowser2& browser, HRESULT (STDMETHODCALLTYPE IWebBrowser2::*getter)(BSTR*)) {
    return Narrow(win::BstrProperty(browser, getter));
}

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
    return BrowserWindow{index, ReadText(*browser, &IWebBrowser2::get_LocationName),
                         ReadText(*browser, &IWebBrowser2::get_LocationURL)};
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
