// Double-byte aware text helpers for ANSI strings in the system code page.
//
// Every scan of ANSI text for a single-byte character (separators, forbidden name characters,
// extensions) goes through this file, so the second byte of a Shift-JIS character such as 0x5C
// in "表" is never taken for a backslash.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mbcs {

inline constexpr size_t npos = std::string_view::npos;

// True when the byte starts a double-byte character in the system code page.
bool IsLeadByte(unsigned char byte);

// Offset of the character after the one at `pos` (a lead byte at the very end counts as one byte).
size_t NextCharOffset(std::string_view text, size_t pos);

// Offset of the single-byte character `c` at or after `from` (a character boundary), or npos.
// Bytes below 0x40 are never the second byte of a double-byte character in the ANSI code pages
// (932, 936, 949, 950), so markup such as "<", ">", "\"", "&", tab and line feed is found with a
// plain byte search, which long files need.
size_t Find(std::string_view text, char c, size_t from = 0);

// Offset of the first occurrence of `needle` that begins on a character boundary, or npos; bytes
// compare exactly. An empty needle is found at 0.
size_t FindText(std::string_view text, std::string_view needle);

// First / last offset of a single-byte character that is one of `chars`; trail bytes never match.
size_t FindFirstOf(std::string_view text, std::string_view chars);
size_t FindLastOf(std::string_view text, std::string_view chars);

// The longest prefix of `text` of at most `maxBytes` bytes that ends on a character boundary.
size_t FitLength(std::string_view text, size_t maxBytes);

// Copies `text` into `buffer` of `size` bytes (NUL included), cut on a character boundary.
// Returns false when nothing fits (no buffer).
bool CopyFitting(std::string_view text, char* buffer, size_t size);

// Splits at any of `separators`, dropping empty pieces.
std::vector<std::string> Split(std::string_view text, std::string_view separators);

// Case-insensitive comparison in the multi-byte sense: double-byte characters compare as units,
// single-byte letters without regard to case (the C runtime's _mbsicmp order).
int CompareNoCase(const std::string& a, const std::string& b);
bool EqualsNoCase(const std::string& a, const std::string& b);
// True when `text` begins with `prefix`, compared as above over the prefix's bytes.
bool StartsWithNoCase(std::string_view text, std::string_view prefix);
// True when `name` ends with the single-byte `extension` (".url") in any letter case, on a
// character boundary.
bool EndsWithNoCase(std::string_view name, std::string_view extension);

// Sorts names ascending in CompareNoCase order.
void SortNames(std::vector<std::string>& names);

}  // namespace mbcs
