// Source files read whole into memory.
#pragma once

#include <base/Handles.h>

#include <optional>
#include <string>
#include <string_view>

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

// A source file's bytes for one parse, followed by a NUL byte that is not part of them (the end
// mark of parsers that read to a NUL). Mapped where the file allows: a large file then costs
// neither a buffer of its size nor a copy of it, only what the system's cache already holds.
// Read into memory otherwise (an empty file, a size that fills its last page to the brim, a file
// whose size changed while it was being opened).
class SourceText {
public:
    // Nothing when the file cannot be opened or read, with the reason in `failure`.
    static std::optional<SourceText> Open(const std::wstring& path, ReadFailure& failure);

    std::string_view text() const {
        return view_ ? std::string_view(static_cast<const char*>(view_.get()), mappedSize_) : std::string_view(copy_);
    }

private:
    win::UniqueView view_;
    size_t mappedSize_ = 0;
    std::string copy_;  // when the file is not mapped
};

}  // namespace importer
