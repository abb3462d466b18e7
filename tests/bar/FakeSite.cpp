#include "FakeSite.h"

#include <shlguid.h>

namespace bartest {

HRESULT STDMETHODCALLTYPE RecordingBrowser::Navigate2(VARIANT* url, VARIANT*, VARIANT*, VARIANT*, VARIANT* headers) {
    Navigation navigation;
    if (url && V_VT(url) == VT_BSTR) navigation.url = V_BSTR(url);
    if (headers && V_VT(headers) == VT_BSTR) navigation.headers = V_BSTR(headers);
    navigations.push_back(navigation);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE RecordingBrowser::put_StatusText(BSTR text) {
    statusTexts.emplace_back(text ? text : L"");
    return S_OK;
}

FakeSite::FakeSite(SiteShape shape) : shape_(shape) {
    parent_ = CreateWindowExA(0, "STATIC", "browser", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 400, 500, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
}

FakeSite::~FakeSite() { DestroyWindow(parent_); }

HRESULT STDMETHODCALLTYPE FakeSite::QueryInterface(REFIID iid, void** object) {
    *object = nullptr;
    if (IsEqualIID(iid, IID_IUnknown)) *object = unknown();
    else if (shape_.window && IsEqualIID(iid, IID_IOleWindow)) *object = static_cast<IOleWindow*>(this);
    else if (shape_.inputSite && IsEqualIID(iid, IID_IInputObjectSite)) *object = static_cast<IInputObjectSite*>(this);
    else if (shape_.services && IsEqualIID(iid, IID_IServiceProvider)) *object = static_cast<IServiceProvider*>(this);
    return *object ? S_OK : E_NOINTERFACE;
}

HRESULT STDMETHODCALLTYPE FakeSite::GetWindow(HWND* window) {
    *window = parent_;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeSite::OnFocusChangeIS(IUnknown*, BOOL focused) {
    focusChanges.push_back(focused);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE FakeSite::QueryService(REFGUID service, REFIID iid, void** object) {
    *object = nullptr;
    if (!IsEqualGUID(service, SID_SWebBrowserApp)) return E_NOINTERFACE;
    return browser.QueryInterface(iid, object);
}

}  // namespace bartest
