// Source files read whole into memory.
#pragma once

#include <optional>
#include <string>

namespace importer {

// The file's bytes; nothing when it cannot be opened or read. Throws std::bad_alloc when the
// memory for it cannot be had.
std::optional<std::string> ReadWholeFile(const std::string& path);
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace importer
