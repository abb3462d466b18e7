// Opening entries: with the system's handler for the URL, or in a new browser window, which is
// either an Internet Explorer instance driven through its automation object or the program that
// "Browser" in section "General" names.
#include "CFavTreeView.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/Path.h>
#include <base/TextEncoding.h>

#include <exdisp.h>
#include <oleauto.h>
#include <shellapi.h>

#include <cstring>

namespace {

constexpr char kBrowserSection[] = "General";
constexpr char kBrowserKey[] = "Browser";
constexpr char kDefaultBrowser[] = "IEXPLORE.EXE";
constexpr char kAppPathsKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
constexpr DWORD kAppPathCapacity = 500;
constexpr wchar_t kUserAgentHeader[] = L"User-Agent: Tolvak Favorites Manager\r\n";
constexpr char kBrowserNotFound[] = "%sが見つかりません";
constexpr char kNoBrowserInstance[] = "IEのインスタンス作成に失敗しました。";

win::UniqueBstr ToBstr(const std::wstring& text) {
    return win::UniqueBstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

// The window that owns what the tree starts: the main window (or whatever holds the tree).
HWND OwnerOf(HWND tree) { return tree ? GetAncestor(tree, GA_ROOT) : nullptr; }

// A name that begins with a drive letter is a full path and needs no registry lookup.
bool IsFullPath(std::string_view program) {
    if (program.empty()) return false;
    const size_t second = mbcs::NextCharOffset(program, 0);
    return second < program.size() && program[second] == ':';
}

// The program registered under "App Paths" for `program`; nothing when the key or its default
// value is missing.
std::optional<std::string> RegisteredAppPath(const std::string& program) {
    HKEY opened = nullptr;
    // Read access is all the default value needs; full access is refused to users without
    // administrator rights.
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (kAppPathsKey + program).c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return std::nullopt;
    const win::UniqueKey key(opened);
    std::string value(kAppPathCapacity, '\0');
    DWORD type = 0;
    DWORD size = kAppPathCapacity;
    if (RegQueryValueExA(key.get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    value.resize(std::strlen(value.c_str()));  // the stored terminator, if any, and what follows it
    if (value.empty()) return std::nullopt;
    return value;
}

// A new, visible Internet Explorer window navigated to `url`; false when no instance could be made.
bool NavigateNewExplorer(const std::wstring& url) {
    const win::UniqueBstr target = ToBstr(url);
    const win::UniqueBstr header(SysAllocString(kUserAgentHeader));
    if (!target || !header) return false;

    win::ComPtr<IWebBrowserApp> browser;
    if (FAILED(CoCreateInstance(CLSID_InternetExplorer, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IWebBrowserApp, reinterpret_cast<void**>(browser.put()))) ||
        !browser)
        return false;

    VARIANT empty;
    VariantInit(&empty);
    VARIANT headers;
    VariantInit(&headers);
    V_VT(&headers) = VT_BSTR;
    V_BSTR(&headers) = header.get();  // borrowed: `header` frees it
    // The window is shown even when the navigation fails, so that the instance is not left
    // running unseen; from here on the window is the user's.
    browser->Navigate(target.get(), &empty, &empty, &empty, &headers);
    browser->put_Visible(VARIANT_TRUE);
    return true;
}

// The browser that hosts the tree goes to `url` itself, with the same extra header.
void NavigateHost(IWebBrowser2& browser, const std::wstring& url) {
    const win::UniqueBstr target = ToBstr(url);
    const win::UniqueBstr header(SysAllocString(kUserAgentHeader));
    if (!target || !header) return;
    VARIANT address;
    VariantInit(&address);
    V_VT(&address) = VT_BSTR;
    V_BSTR(&address) = target.get();  // borrowed, as below
    VARIANT headers;
    VariantInit(&headers);
    V_VT(&headers) = VT_BSTR;
    V_BSTR(&headers) = header.get();
    VARIANT empty;
    VariantInit(&empty);
    browser.Navigate2(&address, &empty, &empty, &empty, &headers);
}

}  // namespace

void CFavTreeView::Open(HTREEITEM node) {
    if (!node) node = TreeView_GetSelection(hwnd());
    if (!node) return;
    if (GetKeyState(VK_SHIFT) < 0) {
        OpenInNewWindow(node);
        return;
    }
    const std::optional<std::wstring> url = NodeAddress(node);
    if (!url) return;
    if (browser_) {
        NavigateHost(*browser_, *url);
        return;
    }
    // The URL's handler is the system's choice; when it cannot open the URL nothing is reported.
    ShellExecuteW(OwnerOf(hwnd()), L"open", url->c_str(), nullptr, nullptr, SW_SHOW);
}

void CFavTreeView::OpenInNewWindow(HTREEITEM node) {
    if (const std::optional<std::wstring> url = NodeAddress(node)) OpenUrlInNewWindow(*url);
}

void CFavTreeView::OpenUrlInNewWindow(const std::string& url) { OpenUrlInNewWindow(text::AnsiToWide(url)); }

void CFavTreeView::OpenUrlInNewWindow(const std::wstring& url) {
    const std::string browser = config_.ini.ReadString(kBrowserSection, kBrowserKey, kDefaultBrowser, MAX_PATH);
    if (mbcs::EqualsNoCase(browser, kDefaultBrowser)) {
        if (!NavigateNewExplorer(url)) Message(kNoBrowserInstance, "", MB_ICONWARNING);
        return;
    }
    const std::optional<std::string> program = IsFullPath(browser) ? browser : RegisteredAppPath(browser);
    if (program && path::Exists(*program)) {
        ShellExecuteW(OwnerOf(hwnd()), L"open", text::AnsiToWide(*program).c_str(), url.c_str(), nullptr, SW_SHOW);
        return;
    }
    Message(text::Format(kBrowserNotFound, program.value_or(browser).c_str()), "", MB_ICONWARNING);
}

void CFavTreeView::OpenAll(HTREEITEM folder) {
    if (!folder) return;
    HWND window = hwnd();
    for (HTREEITEM child = TreeView_GetChild(window, folder); child;) {
        // Taken first: a child whose file has gone is removed while it is being opened.
        HTREEITEM next = TreeView_GetNextSibling(window, child);
        if (KindOf(child) & fav::kOpenable) OpenInNewWindow(child);
        child = next;
    }
}
