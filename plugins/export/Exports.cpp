// The library's exports, under the plain names the hosts look up ("export", "enumerate"; see
// tlExport.def: "export" is a keyword in C++).
#include "ExportHandler.h"

#include <new>

extern "C" {

int WINAPI CreateExportHandler(const char* code, plugin::FormatHandler** handler) noexcept {
    if (!handler || *handler) return 1;
    const std::optional<exporter::ExportFormat> format = exporter::FindFormat(code);
    if (!format) return 1;
    exporter::ExportHandler* created = new (std::nothrow) exporter::ExportHandler(*format);
    if (!created) return 1;
    *handler = created;
    return 0;
}

int WINAPI EnumerateFormats(int value) noexcept { return value == 0 ? 1 : 0; }

}  // extern "C"
