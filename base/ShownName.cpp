#include "ShownName.h"

#include <algorithm>

namespace names {

bool OnlyDots(std::string_view name) { return name.find_first_not_of('.') == std::string_view::npos; }

bool IsControl(unsigned char byte) { return byte < 0x20 || byte == 0x7F; }

std::string ShownLabel(std::string_view label) {
    // Control bytes are never trail bytes (see IsControl), so every one found byte by byte is a
    // character of its own; asking the code page about every byte made imports slow.
    std::string shown(label);
    std::replace_if(shown.begin(), shown.end(), [](char c) { return IsControl(static_cast<unsigned char>(c)); }, ' ');
    // A blank is never a trail byte in the code page.
    const size_t first = shown.find_first_not_of(' ');
    if (first == std::string::npos) return shown;
    const std::string_view trimmed = std::string_view(shown).substr(first, shown.find_last_not_of(' ') + 1 - first);
    if (OnlyDots(trimmed)) return kDefaultItemName;
    return shown;
}

std::wstring ShownLabel(std::wstring_view label) {
    std::wstring shown(label);
    MakeShownLabel(shown);
    return shown;
}

void MakeShownLabel(std::wstring& label) {
    for (wchar_t& c : label)
        if (c < 0x80 && IsControl(static_cast<unsigned char>(c))) c = L' ';
    const size_t first = label.find_first_not_of(L' ');
    if (first == std::wstring::npos) return;
    const std::wstring_view trimmed = std::wstring_view(label).substr(first, label.find_last_not_of(L' ') + 1 - first);
    if (trimmed.find_first_not_of(L'.') == std::wstring_view::npos) label = kWideDefaultItemName;
}

}  // namespace names
