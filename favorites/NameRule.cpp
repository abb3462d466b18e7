#include "NameRule.h"

#include <base/Mbcs.h>

#include <cctype>

namespace fav {
namespace {

constexpr std::string_view kDeviceNames[] = {"CON", "PRN", "AUX", "NUL"};
constexpr std::string_view kNumberedDeviceNames[] = {"COM", "LPT"};

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    return true;
}

}  // namespace

bool IsDeviceName(std::string_view name) {
    // The part before the first dot, without trailing blanks, decides. A dot or blank is never a
    // trail byte, and device names are ASCII, so a plain search is enough.
    std::string_view base = name.substr(0, name.find('.'));
    base = base.substr(0, base.find_last_not_of(' ') + 1);
    for (std::string_view device : kDeviceNames)
        if (EqualsAsciiNoCase(base, device)) return true;
    if (base.size() != 4 || base[3] < '1' || base[3] > '9') return false;
    for (std::string_view device : kNumberedDeviceNames)
        if (EqualsAsciiNoCase(base.substr(0, 3), device)) return true;
    return false;
}

NameProblem CheckName(std::string_view name) {
    if (name.empty() || names::OnlyDots(name)) return NameProblem::kEmpty;
    if (mbcs::FindFirstOf(name, kForbiddenNameCharacters) != mbcs::npos) return NameProblem::kForbiddenCharacter;
    return NameProblem::kNone;
}

std::string SafeName(std::string_view name, size_t maxCharacters) {
    std::string safe;
    size_t characters = 0;
    for (size_t at = 0; at < name.size() && characters < maxCharacters; ++characters) {
        const size_t next = mbcs::NextCharOffset(name, at);
        const std::string_view character = name.substr(at, next - at);
        at = next;
        if (character.size() > 1) {
            safe += character;
            continue;
        }
        const unsigned char byte = static_cast<unsigned char>(character.front());
        if (names::IsControl(byte)) safe += ' ';
        else if (std::string_view(kForbiddenNameCharacters).find(character.front()) != std::string_view::npos) safe += '_';
        else safe += character;
    }
    const size_t first = safe.find_first_not_of(' ');
    if (first == std::string::npos) return kDefaultItemName;
    safe.erase(0, first);
    safe.erase(safe.find_last_not_of(' ') + 1);  // a blank is never a trail byte in the code page
    if (names::OnlyDots(safe)) return kDefaultItemName;
    if (safe.front() == '.') safe.front() = '_';  // names starting with "." are not shown
    if (IsDeviceName(safe)) safe = "_" + safe;
    return safe;
}

}  // namespace fav
