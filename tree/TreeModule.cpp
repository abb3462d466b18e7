#include "TreeModule.h"

#include <base/Path.h>

namespace fav {

HINSTANCE TreeModule() {
    // Whichever module this function was linked into: the program, or the browser bar library.
    static const HINSTANCE module = [] {
        HMODULE found = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           reinterpret_cast<LPCSTR>(&TreeModule), &found);
        return found;
    }();
    return module;
}

std::string BesideTreeModule(std::string_view fileName) { return path::ReplaceFileName(path::ModuleFile(TreeModule()), fileName); }

}  // namespace fav
