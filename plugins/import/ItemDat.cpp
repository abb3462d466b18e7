#include "ItemDat.h"

#include "TextLines.h"

#include <base/Mbcs.h>

namespace importer {
namespace {

constexpr size_t kUrlField = 9;  // counted from 1; the exporter leaves it empty

// Field `number` (counted from 1), or nothing when the line has fewer fields.
std::string_view Field(std::string_view line, size_t number) {
    size_t start = 0;
    for (size_t field = 1; field < number; ++field) {
        const size_t tab = mbcs::Find(line, '\t', start);
        if (tab == mbcs::npos) return {};
        start = tab + 1;
    }
    const size_t end = mbcs::Find(line, '\t', start);
    return line.substr(start, end == mbcs::npos ? mbcs::npos : end - start);
}

}  // namespace

std::vector<WwwcItem> ParseItemDat(std::string_view file) {
    std::vector<WwwcItem> items;
    Lines lines(file);
    for (std::string_view line; lines.Next(line);) {
        line = WithoutIndent(WithoutCarriageReturn(line));
        if (line.empty() || mbcs::Find(line, '\t') == mbcs::npos) break;
        std::string_view url = Field(line, kUrlField);
        if (url.empty()) url = Field(line, 2);
        items.push_back({std::string(Field(line, 1)), std::string(url)});
    }
    return items;
}

}  // namespace importer
