// A tab's root folder typed in the settings tool.
#pragma once

#include <string>

namespace prop {

// Creates `path` one level at a time ("D:\\a", then "D:\\a\\b"); a drive ("D:\\") is no level.
// Stops silently at a level that exists as a file or cannot be created; true when the whole path
// is a folder afterwards.
bool CreateFolderLevels(const std::string& path);

}  // namespace prop
