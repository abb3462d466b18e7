#include "RootFolder.h"

#include <base/FileSystem.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <windows.h>

namespace prop {
namespace {

// One level: true when it is a folder afterwards.
bool EnsureFolder(const std::string& level) {
    const std::wstring wide = text::AnsiToWide(level);
    const DWORD attributes = fsys::Attributes(wide);
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return CreateDirectoryW(wide.c_str(), nullptr) != FALSE;
}

}  // namespace

bool CreateFolderLevels(const std::string& path) {
    // `previous` is the character before position i, so a trail byte is never taken for one.
    char previous = '\0';
    for (size_t i = 0; i < path.size(); i = mbcs::NextCharOffset(path, i)) {
        const char current = mbcs::NextCharOffset(path, i) - i == 1 ? path[i] : '\0';
        // A separator right after ":" ends the drive, which is no level; leading ones neither.
        if (current == '\\' && previous != ':' && previous != '\\' && previous != '\0' &&
            !EnsureFolder(path.substr(0, i)))
            return false;
        previous = current == '\0' ? 'x' : current;
    }
    return EnsureFolder(path);
}

}  // namespace prop
