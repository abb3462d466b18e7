// Which characters of code page 932 are plain Shift_JIS, the encoding the XML document declares.
// Code page 932 adds the NEC and IBM extension rows (①, ㈱, 髙) and user-defined characters,
// which XML readers that take Shift_JIS as JIS X 0208 reject; those must be written as
// character references instead. Platform-free: byte values only.
#pragma once

#include <string_view>

namespace exporter {

// True when `character` (one character of code page 932: one or two bytes) is a character of
// Shift_JIS as JIS X 0201 and JIS X 0208 define it: ASCII, the half-width katakana, and the
// assigned cells of JIS X 0208. Its bytes then mean the same in both encodings (apart from the
// few look-alikes such as 0x5C, yen sign or backslash, that every Japanese reader settles itself).
bool IsShiftJisCharacter(std::string_view character);

}  // namespace exporter
