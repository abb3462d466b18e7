// A shortcut's address taken straight from the file's bytes, for reading thousands of shortcuts
// at once (the searches): one plain read per file instead of the profile reader, which opens,
// parses and caches each file by itself and costs about twice as much. The scan follows the rules
// that reader applies, so it gives what shortcut::ReadUrl gives for the same file:
// - the text is ANSI (code page), or UTF-8 / UTF-16 of either byte order after a byte order mark;
// - lines end at any run of CR and LF; blanks (tab to CR, ^Z, space) at both ends go;
// - "[name]" up to the line's last "]" starts a section; "key = value" splits at the first "=";
// - section and key names compare without regard to letter case, and only the first section of
//   a name and the first key of a name in it count;
// - a value ends at a NUL; one pair of the same quotes (' or ") around it goes.
// Where "[InternetShortcut.W]" holds a "URL" (UTF-7, code page 65000), it wins over the code
// page's "[InternetShortcut]" one by the rule of shortcut::ExactValue.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace shortcut {

// The address the file content `bytes` holds; nothing when it holds none (or an empty one).
std::optional<std::wstring> ScanAddress(std::string_view bytes);

// What a plain read of one shortcut file found.
struct ScannedFile {
    bool read = false;     // false: the file could not be opened or read (gone, locked)
    std::wstring address;  // empty when the file holds none
};

// Reads the file at `path` whole with plain reads into `buffer` (kept by the caller, so a run
// over many files allocates once) and scans it.
ScannedFile ScanFile(const std::wstring& path, std::string& buffer);

}  // namespace shortcut
