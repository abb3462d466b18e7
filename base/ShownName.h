// Names that come from outside (page titles, dropped links, imported labels) as the program
// shows them: the part of the name rule that holds for labels in a tree as well as for files.
#pragma once

#include <string>
#include <string_view>

namespace names {

// What an outside name becomes when nothing usable is left of it.
inline constexpr char kDefaultItemName[] = "新しいアイテム";
inline constexpr wchar_t kWideDefaultItemName[] = L"新しいアイテム";

// True for "", "." and ".." and any other run of dots alone.
bool OnlyDots(std::string_view name);

// True for the bytes that are control characters (below 0x20, and 0x7F). No double-byte code
// page uses them as trail bytes.
bool IsControl(unsigned char byte);

// An imported label as a tree shows it: control characters (CR, LF, tab) become blanks, so
// that no label spans lines, and a label of dots alone (blanks around them aside), which would
// read as a step up a path, becomes kDefaultItemName. An empty label stays empty.
std::string ShownLabel(std::string_view label);
// The same for a label in UTF-16.
std::wstring ShownLabel(std::wstring_view label);
// The same in place, for a caller that reuses the label's memory.
void MakeShownLabel(std::wstring& label);

}  // namespace names
