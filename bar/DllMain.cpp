// Entry point and exports of TolvakBar.dll (ordinals fixed in TolvakBar.def: the program binds
// 5 and 6 by number).
#include "ClassFactory.h"
#include "Module.h"
#include "Registration.h"

#include <app/treehost/TreeHost.h>
#include <tree/CFavTreeView.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) DisableThreadLibraryCalls(instance);
    // Unloaded while the process goes on: the window classes point into this library, and a
    // later load at another address must be able to register them again.
    if (reason == DLL_PROCESS_DETACH && !reserved) {
        UnregisterClassA(treehost::kWindowClass, instance);
        UnregisterClassA(CFavTreeView::kClassName, instance);
    }
    return TRUE;
}

extern "C" {

HRESULT STDAPICALLTYPE DllCanUnloadNow() { return bar::CanUnloadNow(); }

HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return bar::GetClassObject(clsid, iid, object);
}

HRESULT STDAPICALLTYPE DllRegisterServer() { return bar::RegisterServer(); }

HRESULT STDAPICALLTYPE DllUnregisterServer() { return bar::UnregisterServer(); }

HRESULT STDAPICALLTYPE DllInstall(BOOL install, PCWSTR commandLine) {
    return bar::InstallCommand(install != FALSE, commandLine);
}

int WINAPI TLInstallDll() { return bar::Install(); }

int WINAPI TLUnInstallDll() { return bar::Uninstall(); }

}  // extern "C"
