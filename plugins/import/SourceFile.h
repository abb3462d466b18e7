// Source files read whole into memory.
#pragma once

#include <optional>
#include <string>

namespace importer {

// Why a source file gave no bytes: it is not there (a folder stands at its path counts too), or
// it is there and cannot be read (another program holds it without sharing, no access, a read
// error), which the user mends differently.
enum class ReadFailure { kNotFound, kUnreadable };

// Why `path` could not be opened, from the system's error code (a DWORD).
ReadFailure OpenFailure(const std::wstring& path, unsigned long error);

// The file's bytes; nothing when it cannot be opened or read, with the reason in `failure`.
// Throws std::bad_alloc when the memory for it cannot be had.
std::optional<std::string> ReadWholeFile(const std::wstring& path, ReadFailure& failure);
std::optional<std::string> ReadWholeFile(const std::string& path, ReadFailure& failure);
// As above, for callers to whom the reason makes no difference.
std::optional<std::string> ReadWholeFile(const std::wstring& path);

}  // namespace importer
