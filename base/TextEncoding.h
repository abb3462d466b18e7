// Unicode text brought into the system's ANSI code page, the program's own text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace text {

// Decodes UTF-8 of any sequence length. Each character the code page lacks, and each malformed
// byte, becomes one default character of the code page ("?"); there is no best-fit look-alike,
// so a converted name never gains a quote, slash or backslash it did not have.
std::string Utf8ToAnsi(std::string_view utf8);

enum class ByteOrder { kLittleEndian, kBigEndian };

// UTF-16 given as bytes in `order` (a byte order mark, if any, removed), converted as above; an
// unpaired surrogate and an odd last byte become "?" too.
std::string Utf16ToAnsi(std::string_view bytes, ByteOrder order);

// One Unicode character, converted as above; nothing for a value that is no character (0, a
// surrogate, above U+10FFFF).
std::optional<std::string> CodePointToAnsi(char32_t codePoint);

// ANSI text of the system code page as UTF-16.
std::wstring AnsiToWide(std::string_view ansi);
// Text of code page `codePage` (a file format's own, such as Shift_JIS 932) as UTF-16.
std::wstring CodePageToWide(std::string_view text, unsigned codePage);
// UTF-16 in code page `codePage`: what it lacks becomes "?", never a best-fit look-alike.
std::string WideToCodePage(std::wstring_view wide, unsigned codePage);

// ANSI text of the system code page as UTF-8 (what today's browsers read).
std::string AnsiToUtf8(std::string_view ansi);

// UTF-16 as UTF-8; a lone surrogate becomes U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

// The program's form of a Unicode name (a file name, say): each character the code page lacks
// becomes "?", never a best-fit look-alike that could turn into a separator. `exact` tells whether
// the name survives the round trip, i.e. whether the ANSI form names the same file.
std::string WideToAnsi(std::wstring_view wide, bool* exact = nullptr);

// UTF-8 as UTF-16; a malformed byte becomes U+FFFD.
std::wstring Utf8ToWide(std::string_view utf8);
// The same into `wide`, whose memory is kept: a caller converting many short texts in a row
// reuses one buffer instead of taking memory for each.
void Utf8ToWide(std::string_view utf8, std::wstring& wide);

// UTF-16 given as bytes in `order` (a byte order mark, if any, removed) as UTF-8; an unpaired
// surrogate and an odd last byte become U+FFFD.
std::string Utf16ToUtf8(std::string_view bytes, ByteOrder order);

// One Unicode character as UTF-8; nothing for a value that is no character (0, a surrogate,
// above U+10FFFF).
std::optional<std::string> CodePointToUtf8(char32_t codePoint);

}  // namespace text
