#include "ItemDatWriter.h"

#include <base/TextEncoding.h>

namespace exporter {
namespace {

constexpr unsigned kItemListCodePage = 932;
// Characters that would split a field or a line of Item.dat.
constexpr wchar_t kRecordBreaks[] = L"\t\r\n";

// A title keeps its words apart with a space.
std::wstring FieldText(std::wstring_view text) {
    std::wstring out(text);
    for (size_t at = out.find_first_of(kRecordBreaks); at != std::wstring::npos; at = out.find_first_of(kRecordBreaks, at))
        out[at] = L' ';
    return out;
}

// Browsers ignore tabs and line breaks inside a URL, so leaving them out opens the same page.
std::wstring FieldUrl(std::wstring_view url) {
    std::wstring out;
    out.reserve(url.size());
    for (const wchar_t c : url)
        if (std::wstring_view(kRecordBreaks).find(c) == std::wstring_view::npos) out += c;
    return out;
}

}  // namespace

std::string ItemDatLine(std::wstring_view label, std::wstring_view url) {
    return text::WideToCodePage(FieldText(label) + L'\t' + FieldUrl(url), kItemListCodePage) +
           "\t\t\t0\t\t\t\t\t\t\t\t0\t\t\t\r\n";
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
