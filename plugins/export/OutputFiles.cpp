#include "OutputFiles.h"

#include <base/FileSystem.h>
#include <base/Mbcs.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>

namespace exporter {
namespace {

// Separators, wildcards, quotes and control characters: nothing a file name holds.
const std::string& NotFileNameCharacters() {
    static const std::string characters = [] {
        std::string list = "\\/:*?\"<>|";
        for (char c = 1; c < 0x20; ++c) list += c;
        return list;
    }();
    return characters;
}

}  // namespace

WriteResult WriteWholeFile(const std::string& file, std::string_view bytes) {
    fsys::ReplaceFailure failure = fsys::ReplaceFailure::kNotWritten;
    if (fsys::ReplaceContent(text::AnsiToWide(file), bytes, &failure)) return WriteResult::Written;
    return failure == fsys::ReplaceFailure::kNotCreated ? WriteResult::NotCreated : WriteResult::NotWritten;
}

bool IsPlainFolderName(std::string_view label) {
    if (label.empty() || label == "." || label == "..") return false;
    return mbcs::FindFirstOf(label, NotFileNameCharacters()) == mbcs::npos;
}

void ReportProblem(HWND owner, const std::string& text) { ui::ShowMessage(owner, text, "", MB_OK | MB_ICONWARNING); }

}  // namespace exporter
