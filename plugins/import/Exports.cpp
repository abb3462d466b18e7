// The library's exports, under the plain names the hosts look up ("import", "enumerate"; see
// tlImport.def: "import" is a contextual keyword in C++20).
#include "ImportHandler.h"

extern "C" {

int WINAPI CreateImportHandler(const char* code, plugin::FormatHandler** handler) noexcept {
    return plugin::CreateHandler<importer::ImportHandler>(code, handler, &importer::FindFormat);
}

int WINAPI EnumerateFormats(int value) noexcept { return value == 0 ? 1 : 0; }

}  // extern "C"
