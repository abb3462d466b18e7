// The formats this plug-in writes, in the order codes are looked up.
#pragma once

#include <plugins/PluginSupport.h>

#include <optional>

namespace exporter {

enum class ExportFormat { Xml, Wwwc, Netscape };

// One row per ExportFormat, in its order.
inline constexpr plugin::FormatEntry kFormatCatalogue[] = {
    {"XML", "XML形式", "XML形式で出力します", 0},
    {"WWWC", "WWWCアイテム", "WWWCフォルダとして出力します。", 0},
    {"NSBM", "HTML形式", "ブラウザにインポートできるHTML形式(Netscapeブックマーク)で出力します。", 0},
};

// The format of `code`; none for a code this plug-in does not write.
inline std::optional<ExportFormat> FindFormat(const char* code) { return plugin::FindFormat<ExportFormat>(kFormatCatalogue, code); }

}  // namespace exporter
