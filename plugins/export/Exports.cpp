// The library's exports, under the plain names the hosts look up ("export", "enumerate"; see
// tlExport.def: "export" is a keyword in C++).
#include "ExportHandler.h"

extern "C" {

int WINAPI CreateExportHandler(const char* code, plugin::FormatHandler** handler) noexcept {
    return plugin::CreateHandler<exporter::ExportHandler>(code, handler, &exporter::FindFormat);
}

int WINAPI EnumerateFormats(int value) noexcept { return value == 0 ? 1 : 0; }

}  // extern "C"
