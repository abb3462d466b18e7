// Pointing a shortcut file at a moved page's new address: only the address lines change, every
// other byte of the file stays (other programs keep their own keys there). No Windows calls.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace linkcheck {

// `content` with the value of every "URL=" line of sections "InternetShortcut" and
// "InternetShortcut.A" replaced by `address`, and of section "InternetShortcut.W" by
// `utf7Address` (the same address in UTF-7, which that section holds and which wins over the
// others where it is read). Section and key names in any letter case; line ends kept. Nothing
// when section "InternetShortcut" has no "URL=" line.
std::optional<std::string> ReplaceUrlLines(std::string_view content, std::string_view address,
                                           std::string_view utf7Address);

// An ASCII address in UTF-7: the same text, "+" written "+-". Nothing for other text.
std::optional<std::string> AsciiToUtf7(std::string_view address);

}  // namespace linkcheck
