// The COM side of test doubles: IUnknown, IDispatch and one interface of their own, nothing else
// (IMarshal neither, so COM keeps to them), no reference count (the test owns the object).
// Doubles derive from Uncounted<Interface> and answer the calls they play; the rest give
// E_NOTIMPL through TOLVAK_NOT_USED, which stays defined for the doubles' headers.
#pragma once

#include <oaidl.h>

#include <string>

#define TOLVAK_NOT_USED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

namespace testutil {

template <typename Interface>
class Uncounted : public Interface {
public:
    explicit Uncounted(REFIID own) : own_(own) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, own_);
        *object = known ? static_cast<Interface*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    TOLVAK_NOT_USED(GetTypeInfoCount, UINT*) TOLVAK_NOT_USED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    TOLVAK_NOT_USED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    TOLVAK_NOT_USED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)

protected:
    // A text property's answer: a new BSTR the caller frees.
    static HRESULT Give(const std::wstring& text, BSTR* out) {
        *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return *out ? S_OK : E_OUTOFMEMORY;
    }

private:
    const IID& own_;
};

}  // namespace testutil
