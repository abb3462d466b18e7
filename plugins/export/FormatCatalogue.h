// The formats this plug-in writes, in the order codes are looked up.
#pragma once

#include <optional>

namespace exporter {

enum class ExportFormat { Xml, Wwwc };

struct FormatEntry {
    const char* code;  // compared case-sensitively and in full
    const char* name;  // display name
    const char* description;
    int reserved;  // always 0
};

// One row per ExportFormat, in its order.
inline constexpr FormatEntry kFormatCatalogue[] = {
    {"XML", "XML形式", "XML形式で出力します", 0},
    {"WWWC", "WWWCアイテム", "WWWCフォルダとして出力します。", 0},
};

// The format of `code`; none for a code this plug-in does not write.
std::optional<ExportFormat> FindFormat(const char* code);

}  // namespace exporter
