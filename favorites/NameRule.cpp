#include "NameRule.h"

#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <windows.h>

#include <type_traits>

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

NameProblem CheckName(std::wstring_view name) {
    if (name.find_first_not_of(L'.') == std::wstring_view::npos) return NameProblem::kEmpty;
    // Every forbidden character is ASCII, and UTF-16 has no trail units in that range.
    for (const char forbidden : std::string_view(kForbiddenNameCharacters))
        if (name.find(static_cast<wchar_t>(forbidden)) != std::wstring_view::npos) return NameProblem::kForbiddenCharacter;
    return NameProblem::kNone;
}

namespace {

size_t NextWideCharOffset(std::wstring_view text, size_t at) {
    const bool pair = at + 1 < text.size() && IS_HIGH_SURROGATE(text[at]) && IS_LOW_SURROGATE(text[at + 1]);
    return at + (pair ? 2 : 1);
}

// The one rule for both forms of a name; `next` steps over one whole character.
template <typename Char, typename Next>
std::basic_string<Char> MakeSafe(std::basic_string_view<Char> name, size_t maxCharacters, Next next,
                                 const std::basic_string<Char>& defaultName) {
    std::basic_string<Char> safe;
    size_t characters = 0;
    for (size_t at = 0; at < name.size() && characters < maxCharacters; ++characters) {
        const size_t end = next(name, at);
        const std::basic_string_view<Char> character = name.substr(at, end - at);
        at = end;
        const auto unit = static_cast<std::make_unsigned_t<Char>>(character.front());
        if (character.size() > 1 || unit > 0x7F) {
            safe += character;
            continue;
        }
        if (names::IsControl(static_cast<unsigned char>(unit))) safe += Char(' ');
        else if (std::string_view(kForbiddenNameCharacters).find(static_cast<char>(unit)) != std::string_view::npos)
            safe += Char('_');
        else safe += character;
    }
    const size_t first = safe.find_first_not_of(Char(' '));
    if (first == std::basic_string<Char>::npos) return defaultName;
    safe.erase(0, first);
    safe.erase(safe.find_last_not_of(Char(' ')) + 1);  // a blank is never a trail byte in the code page
    if (safe.find_first_not_of(Char('.')) == std::basic_string<Char>::npos) return defaultName;
    if (safe.front() == Char('.')) safe.front() = Char('_');  // names starting with "." are not shown
    // Device names are ASCII: the code page's form of a wide name tells as well.
    const bool device = [&] {
        if constexpr (sizeof(Char) == 1) return IsDeviceName(safe);
        else return IsDeviceName(text::WideToAnsi(safe));
    }();
    if (device) safe.insert(safe.begin(), Char('_'));
    return safe;
}

}  // namespace

std::string SafeName(std::string_view name, size_t maxCharacters) {
    return MakeSafe(name, maxCharacters, mbcs::NextCharOffset, std::string(kDefaultItemName));
}

std::wstring SafeName(std::wstring_view name, size_t maxCharacters) {
    return MakeSafe(name, maxCharacters, NextWideCharOffset, text::AnsiToWide(kDefaultItemName));
}

}  // namespace fav
