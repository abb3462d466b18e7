// A browser object that answers every IWebBrowser2 call with E_NOTIMPL and keeps no reference
// count (the test owns it); fakes derive from it and override what they record.
#pragma once

#include "UncountedStub.h"

#include <exdisp.h>

namespace testutil {

class WebBrowserStub : public Uncounted<IWebBrowser2> {
public:
    WebBrowserStub() : Uncounted(IID_IWebBrowser2) {}
    virtual ~WebBrowserStub() = default;

    TOLVAK_NOT_USED(GoBack) TOLVAK_NOT_USED(GoForward) TOLVAK_NOT_USED(GoHome) TOLVAK_NOT_USED(GoSearch)
    TOLVAK_NOT_USED(Refresh) TOLVAK_NOT_USED(Refresh2, VARIANT*) TOLVAK_NOT_USED(Stop)
    TOLVAK_NOT_USED(Navigate, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*) TOLVAK_NOT_USED(get_Type, BSTR*)
    TOLVAK_NOT_USED(get_Application, IDispatch**) TOLVAK_NOT_USED(get_Parent, IDispatch**)
    TOLVAK_NOT_USED(get_Container, IDispatch**) TOLVAK_NOT_USED(get_Document, IDispatch**)
    TOLVAK_NOT_USED(get_TopLevelContainer, VARIANT_BOOL*) TOLVAK_NOT_USED(get_Left, LONG*)
    TOLVAK_NOT_USED(put_Left, LONG) TOLVAK_NOT_USED(get_Top, LONG*) TOLVAK_NOT_USED(put_Top, LONG)
    TOLVAK_NOT_USED(get_Width, LONG*) TOLVAK_NOT_USED(put_Width, LONG) TOLVAK_NOT_USED(get_Height, LONG*)
    TOLVAK_NOT_USED(put_Height, LONG) TOLVAK_NOT_USED(get_LocationName, BSTR*)
    TOLVAK_NOT_USED(get_LocationURL, BSTR*) TOLVAK_NOT_USED(get_Busy, VARIANT_BOOL*) TOLVAK_NOT_USED(Quit)
    TOLVAK_NOT_USED(ClientToWindow, int*, int*) TOLVAK_NOT_USED(PutProperty, BSTR, VARIANT)
    TOLVAK_NOT_USED(GetProperty, BSTR, VARIANT*) TOLVAK_NOT_USED(get_Name, BSTR*)
    TOLVAK_NOT_USED(get_HWND, SHANDLE_PTR*) TOLVAK_NOT_USED(get_FullName, BSTR*) TOLVAK_NOT_USED(get_Path, BSTR*)
    TOLVAK_NOT_USED(get_Visible, VARIANT_BOOL*) TOLVAK_NOT_USED(put_Visible, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_StatusBar, VARIANT_BOOL*) TOLVAK_NOT_USED(put_StatusBar, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_StatusText, BSTR*) TOLVAK_NOT_USED(put_StatusText, BSTR) TOLVAK_NOT_USED(get_ToolBar, int*)
    TOLVAK_NOT_USED(put_ToolBar, int) TOLVAK_NOT_USED(get_MenuBar, VARIANT_BOOL*)
    TOLVAK_NOT_USED(put_MenuBar, VARIANT_BOOL) TOLVAK_NOT_USED(get_FullScreen, VARIANT_BOOL*)
    TOLVAK_NOT_USED(put_FullScreen, VARIANT_BOOL)
    TOLVAK_NOT_USED(Navigate2, VARIANT*, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    TOLVAK_NOT_USED(QueryStatusWB, OLECMDID, OLECMDF*)
    TOLVAK_NOT_USED(ExecWB, OLECMDID, OLECMDEXECOPT, VARIANT*, VARIANT*)
    TOLVAK_NOT_USED(ShowBrowserBar, VARIANT*, VARIANT*, VARIANT*) TOLVAK_NOT_USED(get_ReadyState, READYSTATE*)
    TOLVAK_NOT_USED(get_Offline, VARIANT_BOOL*) TOLVAK_NOT_USED(put_Offline, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_Silent, VARIANT_BOOL*) TOLVAK_NOT_USED(put_Silent, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_RegisterAsBrowser, VARIANT_BOOL*) TOLVAK_NOT_USED(put_RegisterAsBrowser, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_RegisterAsDropTarget, VARIANT_BOOL*) TOLVAK_NOT_USED(put_RegisterAsDropTarget, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_TheaterMode, VARIANT_BOOL*) TOLVAK_NOT_USED(put_TheaterMode, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_AddressBar, VARIANT_BOOL*) TOLVAK_NOT_USED(put_AddressBar, VARIANT_BOOL)
    TOLVAK_NOT_USED(get_Resizable, VARIANT_BOOL*) TOLVAK_NOT_USED(put_Resizable, VARIANT_BOOL)
};

}  // namespace testutil
