#include "SourceFile.h"

#include <base/Handles.h>
#include <base/TextEncoding.h>

#include <algorithm>

namespace importer {

std::optional<std::string> ReadWholeFile(const std::string& path) { return ReadWholeFile(text::AnsiToWide(path)); }

std::optional<std::string> ReadWholeFile(const std::wstring& path) {
    // Others may go on writing the file (a running browser); we read what is there.
    win::UniqueFile file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                     OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.get(), &size)) return std::nullopt;
    std::string content(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < content.size()) {
        // ReadFile counts in 32 bits.
        const DWORD wanted = static_cast<DWORD>(std::min<size_t>(content.size() - done, 1u << 30));
        DWORD read = 0;
        if (!ReadFile(file.get(), content.data() + done, wanted, &read, nullptr)) return std::nullopt;
        if (read == 0) break;  // the file got shorter
        done += read;
    }
    content.resize(done);
    return content;
}

}  // namespace importer
