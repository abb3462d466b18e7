#include "SourceFile.h"

#include <base/FileSystem.h>
#include <base/Handles.h>
#include <base/TextEncoding.h>

#include <algorithm>

namespace importer {

ReadFailure OpenFailure(const std::wstring& path, unsigned long error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
        return ReadFailure::kNotFound;
    default: {
        // Windows refuses to open a folder as a file with "access denied"; there is no file.
        return fsys::IsDirectory(path) ? ReadFailure::kNotFound : ReadFailure::kUnreadable;
    }
    }
}

namespace {

// The source opened for reading; others may go on writing it (a running browser), we read what is
// there. Nothing when it cannot be opened, with the reason in `failure`; from a file that opened,
// any later failure is kUnreadable.
win::UniqueFile OpenSource(const std::wstring& path, ReadFailure& failure) {
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    failure = file ? ReadFailure::kUnreadable : OpenFailure(path, GetLastError());
    return file;
}

std::optional<std::string> ReadOpened(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size)) return std::nullopt;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        // ReadFile counts in 32 bits.
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file, content.data() + done, wanted, &read, nullptr)) return std::nullopt;
        if (read == 0) break;  // the file got shorter
        done += read;
    }
    content.resize(done);
    return content;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::wstring& path, ReadFailure& failure) {
    const win::UniqueFile file = OpenSource(path, failure);
    if (!file) return std::nullopt;
    return ReadOpened(file.get());
}

std::optional<SourceText> SourceText::Open(const std::wstring& path, ReadFailure& failure) {
    const win::UniqueFile file = OpenSource(path, failure);
    if (!file) return std::nullopt;
    SourceText source;
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.get(), &size) && size.QuadPart > 0 && static_cast<unsigned long long>(size.QuadPart) < SIZE_MAX) {
        // The view keeps what it needs of the file and the mapping.
        const win::UniqueHandle mapping(CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
        if (mapping) source.view_.reset(MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0));
    }
    // The NUL after the text is the zeroed rest of the view's last page. The view must hold it: a
    // file that fills its last page to the brim has none, and one that another program made longer
    // or shorter since its size was read may not. (Browsers replace the file rather than extend it
    // where it lies, so the rest stays zero while it is parsed.)
    MEMORY_BASIC_INFORMATION region{};
    const auto length = static_cast<size_t>(size.QuadPart);
    if (source.view_ && VirtualQuery(source.view_.get(), &region, sizeof region) && length < region.RegionSize &&
        static_cast<const char*>(source.view_.get())[length] == '\0') {
        source.mappedSize_ = length;
        return source;
    }
    source.view_.reset();
    std::optional<std::string> copy = ReadOpened(file.get());
    if (!copy) return std::nullopt;
    source.copy_ = std::move(*copy);
    return source;
}

std::optional<std::string> ReadWholeFile(const std::string& path, ReadFailure& failure) {
    return ReadWholeFile(text::AnsiToWide(path), failure);
}

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    ReadFailure ignored;
    return ReadWholeFile(path, ignored);
}

}  // namespace importer
