// The library's COM entry points: the one class factory (for TolvakEx only) and the unload test.
#pragma once

#include <windows.h>

namespace bar {

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT CanUnloadNow();

}  // namespace bar
