#include "ItemDatWriter.h"

#include <base/Mbcs.h>

namespace exporter {
namespace {

// Characters that would split a field or a line of Item.dat.
constexpr char kRecordBreaks[] = "\t\r\n";

// A title keeps its words apart with a space.
std::string FieldText(std::string_view text) {
    std::string out(text);
    for (size_t at = mbcs::FindFirstOf(out, kRecordBreaks); at != mbcs::npos;
         at = mbcs::FindFirstOf(out, kRecordBreaks))
        out[at] = ' ';
    return out;
}

// Browsers ignore tabs and line breaks inside a URL, so leaving them out opens the same page.
std::string FieldUrl(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    while (!url.empty()) {
        const size_t at = mbcs::FindFirstOf(url, kRecordBreaks);
        out.append(url.substr(0, at));
        if (at == mbcs::npos) break;
        url.remove_prefix(at + 1);
    }
    return out;
}

}  // namespace

std::string ItemDatLine(std::string_view label, std::string_view url) {
    return FieldText(label) + '\t' + FieldUrl(url) + "\t\t\t0\t\t\t\t\t\t\t\t0\t\t\t\r\n";
}

std::string ItemDatContent(const ExportTree& tree, const ExportNode& folder) {
    std::string out;
    for (const size_t position : folder.children) {
        const ExportNode& child = tree.at(position);
        if (child.kind == ExportNode::Kind::Item) out += ItemDatLine(child.label, child.url);
    }
    return out;
}

}  // namespace exporter
