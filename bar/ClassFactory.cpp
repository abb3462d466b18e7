#include "ClassFactory.h"

#include "BarGuids.h"
#include "Module.h"
#include "TolvakEx.h"

namespace bar {
namespace {

// One factory for the process, never deleted; a client holding it keeps the library loaded.
class ClassFactory final : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        LockModule();
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        UnlockModule();
        return static_cast<ULONG>(InterlockedDecrement(&references_));
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        return TolvakEx::Create(outer, iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock) LockModule();
        else UnlockModule();
        return S_OK;
    }

private:
    LONG references_ = 0;
};

}  // namespace

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(clsid, CLSID_TolvakEx)) return CLASS_E_CLASSNOTAVAILABLE;
    static ClassFactory factory;  // made once, also when several threads ask at once
    return factory.QueryInterface(iid, object);
}

HRESULT CanUnloadNow() { return ModuleLocks() == 0 ? S_OK : S_FALSE; }

}  // namespace bar
