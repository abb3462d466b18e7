// The browser's shell UI object, which runs its favorites import and export wizard. A browser
// too old for the wizard (or none) gives no object.
#pragma once

#include <base/Handles.h>

#include <exdisp.h>

namespace browsersetup {

win::ComPtr<IShellUIHelper> CreateShellHelper();

}  // namespace browsersetup
