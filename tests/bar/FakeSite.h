// The browser's side of a band, played by the test: a site with a real parent window that
// records focus changes and hands out a browser object recording navigations and status texts.
#pragma once

#include "../support/WebBrowserStub.h"

#include <base/Handles.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace bartest {

class RecordingBrowser final : public testutil::WebBrowserStub {
public:
    struct Navigation {
        std::wstring url;
        std::wstring headers;
    };
    std::vector<Navigation> navigations;
    std::vector<std::wstring> statusTexts;

    HRESULT STDMETHODCALLTYPE Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT* headers) override;
    HRESULT STDMETHODCALLTYPE put_StatusText(BSTR text) override;
};

// Which of the site's interfaces a test leaves out.
struct SiteShape {
    bool window = true;
    bool inputSite = true;
    bool services = true;
};

// Lives on the test's stack; reference counts are not kept.
class FakeSite final : public IOleWindow, public IInputObjectSite, public IServiceProvider {
public:
    explicit FakeSite(SiteShape shape = {});
    ~FakeSite();
    FakeSite(const FakeSite&) = delete;
    FakeSite& operator=(const FakeSite&) = delete;

    HWND parent() const { return parent_; }
    RecordingBrowser browser;
    std::vector<BOOL> focusChanges;  // OnFocusChangeIS, in order

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnFocusChangeIS(IUnknown*, BOOL focused) override;
    HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** object) override;

    IUnknown* unknown() { return static_cast<IOleWindow*>(this); }

private:
    SiteShape shape_;
    HWND parent_ = nullptr;
};

}  // namespace bartest
