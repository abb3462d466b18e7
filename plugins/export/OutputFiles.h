// The file system side of an export: whole files written at once, folder names checked before
// they become part of a path, and problems told to the user.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace exporter {

enum class WriteResult { Written, NotCreated, NotWritten };

// Creates or replaces `file` with `bytes`, through a temporary file: whatever fails, an earlier
// file stays as it was and no truncated document is left behind.
WriteResult WriteWholeFile(const std::string& file, std::string_view bytes);
WriteResult WriteWholeFile(const std::wstring& file, std::string_view bytes);

// True when `label` names exactly one folder inside its parent: not empty, not "." or "..", and
// without separators or other characters file names cannot hold.
bool IsPlainFolderName(std::wstring_view label);

// A warning box without caption, as the program's other failure messages.
void ReportProblem(HWND owner, const std::string& text);

}  // namespace exporter
