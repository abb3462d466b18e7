// The formats this plug-in reads, in the order codes are looked up.
#pragma once

#include <plugins/PluginSupport.h>

#include <optional>

namespace importer {

enum class ImportFormat { Netscape, Dona, Wwwc, Favorites, Chromium, Firefox };

// One row per ImportFormat, in its order.
inline constexpr plugin::FormatEntry kFormatCatalogue[] = {
    {"NSBM", "ネスケブックマーク", "Netscapeのブックマークファイルをインポートします。", 0},
    {"DNBM", "どなブラウザブックマーク", "どなブラウザのブックマークをインポートします。", 0},
    {"WWWC", "WWWCアイテム", "WWWCのフォルダからアイテムをインポートします。", 0},
    {"IEF", "IEのお気に入り", "", 0},
    {"CRBM", "Chromiumブックマーク", "Edge、ChromeなどのBookmarksファイルをインポートします。", 0},
    {"FFBM", "Firefoxブックマーク", "Firefoxのブックマーク(places.sqlite)をインポートします。", 0},
};

// The format of `code`; none for a code this plug-in does not read.
inline std::optional<ImportFormat> FindFormat(const char* code) { return plugin::FindFormat<ImportFormat>(kFormatCatalogue, code); }

}  // namespace importer
