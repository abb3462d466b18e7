#include "TextMatch.h"

namespace search {
namespace {

bool IsHigh(wchar_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool IsLow(wchar_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

bool SplitsPair(std::wstring_view text, size_t at) {
    return at > 0 && at < text.size() && IsHigh(text[at - 1]) && IsLow(text[at]);
}

}  // namespace

bool Contains(std::wstring_view text, std::wstring_view wanted) {
    if (wanted.empty()) return false;
    for (size_t hit = text.find(wanted); hit != std::wstring_view::npos; hit = text.find(wanted, hit + 1))
        if (!SplitsPair(text, hit) && !SplitsPair(text, hit + wanted.size())) return true;
    return false;
}

std::wstring_view Fit(std::wstring_view text, size_t units) {
    if (text.size() <= units) return text;
    return text.substr(0, SplitsPair(text, units) ? units - 1 : units);
}

}  // namespace search
