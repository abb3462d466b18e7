#include "OutputFiles.h"

#include <base/FileSystem.h>
#include <base/MessageBox.h>
#include <base/TextEncoding.h>

namespace exporter {
namespace {

// Separators, wildcards, quotes and control characters: nothing a file name holds.
const std::wstring& NotFileNameCharacters() {
    static const std::wstring characters = [] {
        std::wstring list = L"\\/:*?\"<>|";
        for (wchar_t c = 1; c < 0x20; ++c) list += c;
        return list;
    }();
    return characters;
}

}  // namespace

WriteResult WriteWholeFile(const std::string& file, std::string_view bytes) {
    return WriteWholeFile(text::AnsiToWide(file), bytes);
}

WriteResult WriteWholeFile(const std::wstring& file, std::string_view bytes) {
    fsys::ReplaceFailure failure = fsys::ReplaceFailure::kNotWritten;
    if (fsys::ReplaceContent(file, bytes, &failure)) return WriteResult::Written;
    return failure == fsys::ReplaceFailure::kNotCreated ? WriteResult::NotCreated : WriteResult::NotWritten;
}

bool IsPlainFolderName(std::wstring_view label) {
    if (label.empty() || label == L"." || label == L"..") return false;
    return label.find_first_of(NotFileNameCharacters()) == std::wstring_view::npos;
}

void ReportProblem(HWND owner, const std::string& text) { ui::ShowMessage(owner, text, "", MB_OK | MB_ICONWARNING); }

}  // namespace exporter
