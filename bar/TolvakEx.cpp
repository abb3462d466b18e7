#include "TolvakEx.h"

#include "Module.h"

#include <exdisp.h>
#include <shlguid.h>
#include <shlwapi.h>

#include <new>

namespace bar {
namespace {

constexpr wchar_t kTitle[] = L"Tolvak Bar";
constexpr POINTL kMinSize{10, 10};
constexpr POINTL kMaxSize{-1, -1};  // unlimited
constexpr POINTL kSizingStep{1, 1};
constexpr POINTL kIdealSize{0, 0};

}  // namespace

TolvakEx::TolvakEx(IUnknown* outer, std::string settingsPath)
    : controlling_(outer ? outer : &inner_), window_(settingsPath.empty() ? SettingsPath() : std::move(settingsPath), *this) {
    LockModule();
}

TolvakEx::~TolvakEx() {
    site_.reset();
    if (HWND band = window_.hwnd()) DestroyWindow(band);
    UnlockModule();
}

HRESULT TolvakEx::Create(IUnknown* outer, REFIID iid, void** object, std::string settingsPath) {
    if (!object) return E_POINTER;
    *object = nullptr;
    // An aggregated object hands out its own IUnknown only.
    if (outer && !IsEqualIID(iid, IID_IUnknown)) return CLASS_E_NOAGGREGATION;
    auto* band = new (std::nothrow) TolvakEx(outer, std::move(settingsPath));
    if (!band) return E_OUTOFMEMORY;
    const HRESULT result = band->inner_.QueryInterface(iid, object);
    band->inner_.Release();  // the creation reference; on failure this destroys the band
    return result;
}

HRESULT STDMETHODCALLTYPE TolvakEx::InnerUnknown::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown)) {
        *object = static_cast<IUnknown*>(this);
        AddRef();
        return S_OK;
    }
    // IOleWindow, IDockingWindow and IPersist are reached only through the interfaces below.
    static const QITAB kInterfaces[] = {
        {&IID_ITolvakEx, OFFSETOFCLASS(ITolvakEx, TolvakEx)},
        {&IID_IDispatch, OFFSETOFCLASS(ITolvakEx, TolvakEx)},
        {&IID_IDeskBand, OFFSETOFCLASS(IDeskBand, TolvakEx)},
        {&IID_IInputObject, OFFSETOFCLASS(IInputObject, TolvakEx)},
        {&IID_IObjectWithSite, OFFSETOFCLASS(IObjectWithSite, TolvakEx)},
        {&IID_IPersistStream, OFFSETOFCLASS(IPersistStream, TolvakEx)},
        {&IID_IContextMenu, OFFSETOFCLASS(IContextMenu, TolvakEx)},
        {nullptr, 0},
    };
    return QISearch(&owner_, kInterfaces, iid, object);
}

ULONG STDMETHODCALLTYPE TolvakEx::InnerUnknown::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&owner_.references_));
}

ULONG STDMETHODCALLTYPE TolvakEx::InnerUnknown::Release() {
    const LONG left = InterlockedDecrement(&owner_.references_);
    if (left == 0) delete &owner_;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE TolvakEx::QueryInterface(REFIID iid, void** object) {
    return controlling_->QueryInterface(iid, object);
}

ULONG STDMETHODCALLTYPE TolvakEx::AddRef() { return controlling_->AddRef(); }

ULONG STDMETHODCALLTYPE TolvakEx::Release() { return controlling_->Release(); }

ITypeInfo* TolvakEx::TypeInfo(LCID locale) {
    if (typeInfo_) return typeInfo_.get();
    win::ComPtr<ITypeLib> library;
    if (FAILED(LoadRegTypeLib(LIBID_TOLVAKBARLib, kTypeLibMajor, kTypeLibMinor, locale, library.put())) || !library)
        return nullptr;
    library->GetTypeInfoOfGuid(IID_ITolvakEx, typeInfo_.put());
    return typeInfo_.get();
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    ITypeInfo* type = TypeInfo(locale);
    if (!type) return TYPE_E_CANTLOADLIBRARY;
    type->AddRef();
    *info = type;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) {
    ITypeInfo* type = TypeInfo(locale);
    return type ? type->GetIDsOfNames(names, count, ids) : TYPE_E_CANTLOADLIBRARY;
}

HRESULT STDMETHODCALLTYPE TolvakEx::Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params,
                                           VARIANT* result, EXCEPINFO* exception, UINT* argumentError) {
    ITypeInfo* type = TypeInfo(locale);
    if (!type) return TYPE_E_CANTLOADLIBRARY;
    return type->Invoke(static_cast<ITolvakEx*>(this), id, flags, params, result, exception, argumentError);
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = window_.hwnd();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TolvakEx::ShowDW(BOOL show) {
    if (HWND band = window_.hwnd()) ShowWindow(band, show ? SW_SHOW : SW_HIDE);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TolvakEx::CloseDW(DWORD) {
    ShowDW(FALSE);
    if (HWND band = window_.hwnd(); band && IsWindow(band)) DestroyWindow(band);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) {
    if (!info) return E_INVALIDARG;
    bandId_ = bandId;
    viewMode_ = viewMode;
    if (info->dwMask & DBIM_MINSIZE) info->ptMinSize = kMinSize;
    if (info->dwMask & DBIM_MAXSIZE) info->ptMaxSize = kMaxSize;
    if (info->dwMask & DBIM_INTEGRAL) info->ptIntegral = kSizingStep;
    if (info->dwMask & DBIM_ACTUAL) info->ptActual = kIdealSize;
    if (info->dwMask & DBIM_TITLE) lstrcpynW(info->wszTitle, kTitle, ARRAYSIZE(info->wszTitle));
    if (info->dwMask & DBIM_MODEFLAGS) info->dwModeFlags = DBIMF_VARIABLEHEIGHT;
    info->dwMask &= ~DWORD(DBIM_BKCOLOR);  // the host's own background
    return S_OK;
}

HRESULT STDMETHODCALLTYPE TolvakEx::UIActivateIO(BOOL activate, MSG*) {
    if (activate && window_.hwnd()) SetFocus(window_.hwnd());
    return S_OK;
}

void TolvakEx::OnBandFocus(bool focused) {
    focused_ = focused;
    if (site_) site_->OnFocusChangeIS(static_cast<IDeskBand*>(this), focused ? TRUE : FALSE);
}

HRESULT STDMETHODCALLTYPE TolvakEx::SetSite(IUnknown* site) {
    site_.reset();
    if (!site) return S_OK;  // the window and the browser stay until CloseDW and the last Release

    parent_ = nullptr;
    win::ComPtr<IOleWindow> siteWindow;
    if (SUCCEEDED(site->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(siteWindow.put()))) && siteWindow)
        siteWindow->GetWindow(&parent_);
    if (!parent_) return E_FAIL;
    if (!window_.Create(parent_)) return E_FAIL;

    win::ComPtr<IServiceProvider> services;
    if (SUCCEEDED(site->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(services.put()))) && services) {
        CFavTreeView* tree = Tree();
        win::ComPtr<IWebBrowser2> browser;
        if (FAILED(services->QueryService(SID_SWebBrowserApp, IID_IWebBrowser2, reinterpret_cast<void**>(browser.put()))))
            browser.reset();
        if (tree) tree->AttachBrowser(std::move(browser));
    }
    if (FAILED(site->QueryInterface(IID_IInputObjectSite, reinterpret_cast<void**>(site_.put())))) site_.reset();
    return site_ ? S_OK : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetSite(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    return site_ ? site_->QueryInterface(iid, object) : E_FAIL;
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetClassID(CLSID* id) {
    if (!id) return E_POINTER;
    *id = CLSID_TolvakEx;
    return S_OK;
}

}  // namespace bar
