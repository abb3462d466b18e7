#include "NameRule.h"

#include <base/Mbcs.h>

namespace fav {
namespace {

bool OnlyDots(std::string_view name) { return name.find_first_not_of('.') == std::string_view::npos; }

}  // namespace

NameProblem CheckName(std::string_view name) {
    if (name.empty() || OnlyDots(name)) return NameProblem::kEmpty;
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
        if (byte < 0x20 || byte == 0x7F) safe += ' ';
        else if (std::string_view(kForbiddenNameCharacters).find(character.front()) != std::string_view::npos) safe += '_';
        else safe += character;
    }
    const size_t first = safe.find_first_not_of(' ');
    if (first == std::string::npos) return kDefaultItemName;
    safe.erase(0, first);
    safe.erase(safe.find_last_not_of(' ') + 1);  // a blank is never a trail byte in the code page
    if (OnlyDots(safe)) return kDefaultItemName;
    if (safe.front() == '.') safe.front() = '_';  // names starting with "." are not shown
    return safe;
}

}  // namespace fav
