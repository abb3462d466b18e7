// Identifiers of the bar library's class, interface and type library; the registry and the
// browser refer to them, so they never change.
#pragma once

#include <oaidl.h>

// {7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}
extern "C" const CLSID CLSID_TolvakEx;
// {7C41B5E1-3A6F-11D4-8E3F-2A61C0D94B17}
extern "C" const IID IID_ITolvakEx;
// {7C41B5F0-3A6F-11D4-8E3F-2A61C0D94B17}, version 1.0
extern "C" const GUID LIBID_TOLVAKBARLib;

namespace bar {

inline constexpr char kClassIdText[] = "{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";
inline constexpr WORD kTypeLibMajor = 1;
inline constexpr WORD kTypeLibMinor = 0;

}  // namespace bar

// The automation face of the band: a dual interface without members of its own (TolvakBar.idl).
struct ITolvakEx : public IDispatch {};
