// The band object the browser creates for the bar: a vertical Explorer bar that shows the first
// tab's tree in its own "Tolvak_Wnd" window, attached to the hosting browser. It can be
// aggregated: every face's IUnknown goes to the controlling unknown, `inner_` is the object's own.
#pragma once

#include "BandWindow.h"
#include "BarGuids.h"

#include <base/Handles.h>

#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace bar {

class TolvakEx final : public ITolvakEx,
                       public IDeskBand,
                       public IInputObject,
                       public IObjectWithSite,
                       public IPersistStream,
                       public IContextMenu,
                       private BandWindow::FocusListener {
public:
    // Creates a band (aggregated when `outer` is given) and asks it for `iid`. The settings file
    // is the one beside the library unless a path is given.
    static HRESULT Create(IUnknown* outer, REFIID iid, void** object, std::string settingsPath = {});

    // IUnknown (to the controlling unknown).
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDispatch, answered from the registered type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID locale, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT* argumentError) override;

    // IOleWindow, IDockingWindow, IDeskBand.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowDW(BOOL show) override;
    HRESULT STDMETHODCALLTYPE CloseDW(DWORD) override;
    HRESULT STDMETHODCALLTYPE ResizeBorderDW(LPCRECT, IUnknown*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBandInfo(DWORD bandId, DWORD viewMode, DESKBANDINFO* info) override;

    // IInputObject.
    HRESULT STDMETHODCALLTYPE UIActivateIO(BOOL activate, MSG*) override;
    HRESULT STDMETHODCALLTYPE HasFocusIO() override { return focused_ ? S_OK : S_FALSE; }
    // The band translates no keys: the program's accelerators do not exist in the bar.
    HRESULT STDMETHODCALLTYPE TranslateAcceleratorIO(MSG*) override { return S_FALSE; }

    // IObjectWithSite.
    HRESULT STDMETHODCALLTYPE SetSite(IUnknown* site) override;
    HRESULT STDMETHODCALLTYPE GetSite(REFIID iid, void** object) override;

    // IPersist, IPersistStream: the band keeps nothing.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* id) override;
    HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }

    // IContextMenu: the menu the browser shows for the bar (BandMenu.cpp).
    HRESULT STDMETHODCALLTYPE QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT lastId, UINT flags) override;
    HRESULT STDMETHODCALLTYPE InvokeCommand(CMINVOKECOMMANDINFO* info) override;
    HRESULT STDMETHODCALLTYPE GetCommandString(UINT_PTR command, UINT type, UINT*, LPSTR, UINT) override;

    // The band's window (null until a site gives it a parent, and after CloseDW) and its tree.
    HWND BandHwnd() const { return window_.hwnd(); }
    CFavTreeView* Tree() const { return window_.FirstTree(); }

private:
    // The object's own IUnknown, which an aggregating object holds.
    struct InnerUnknown final : IUnknown {
        explicit InnerUnknown(TolvakEx& owner) : owner_(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        TolvakEx& owner_;
    };

    TolvakEx(IUnknown* outer, std::string settingsPath);
    ~TolvakEx();

    void OnBandFocus(bool focused) override;
    ITypeInfo* TypeInfo(LCID locale);
    void StartProgram(HWND owner);

    InnerUnknown inner_{*this};
    IUnknown* controlling_;  // the outer object, or `inner_`
    LONG references_ = 1;
    BandWindow window_;
    win::ComPtr<ITypeInfo> typeInfo_;
    HWND parent_ = nullptr;
    DWORD viewMode_ = 0;
    DWORD bandId_ = 0;
    bool focused_ = false;
    win::ComPtr<IInputObjectSite> site_;  // released before the window and its tree go
};

}  // namespace bar
