#include "OutputFiles.h"

#include <base/Handles.h>
#include <base/Mbcs.h>
#include <base/MessageBox.h>

#include <algorithm>

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

constexpr size_t kLargestWrite = 1u << 30;

}  // namespace

WriteResult WriteWholeFile(const std::string& file, std::string_view bytes) {
    win::UniqueFile handle(
        CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) return WriteResult::NotCreated;
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min(bytes.size(), kLargestWrite));
        DWORD written = 0;
        if (!WriteFile(handle.get(), bytes.data(), chunk, &written, nullptr) || written == 0) {
            handle.reset();
            DeleteFileA(file.c_str());
            return WriteResult::NotWritten;
        }
        bytes.remove_prefix(written);
    }
    return WriteResult::Written;
}

bool IsPlainFolderName(std::string_view label) {
    if (label.empty() || label == "." || label == "..") return false;
    return mbcs::FindFirstOf(label, NotFileNameCharacters()) == mbcs::npos;
}

void ReportProblem(HWND owner, const std::string& text) { ui::ShowMessage(owner, text, "", MB_OK | MB_ICONWARNING); }

}  // namespace exporter
