#include "FormatCatalogue.h"

#include <cstring>
#include <iterator>

namespace exporter {

std::optional<ExportFormat> FindFormat(const char* code) {
    if (!code) return std::nullopt;
    for (size_t i = 0; i < std::size(kFormatCatalogue); ++i)
        if (std::strcmp(kFormatCatalogue[i].code, code) == 0) return static_cast<ExportFormat>(i);
    return std::nullopt;
}

}  // namespace exporter
