#include "Destination.h"

#include <base/Handles.h>

#include <commdlg.h>
#include <shlobj.h>

#include <cstring>

namespace exporter {
namespace {

// Display text and pattern, each NUL-terminated, and a second NUL closing the list.
constexpr char kXmlFilter[] = "XMLファイル\0*.xml\0";
constexpr char kXmlExtension[] = "xml";
constexpr char kHtmlFilter[] = "HTMLファイル\0*.html;*.htm\0";
constexpr char kHtmlExtension[] = "html";
constexpr char kFolderInstruction[] =
    "出力先フォルダを指定してください。\r\nその下に Exported というフォルダを自動作成しそこへ出力します。";

int CALLBACK OnBrowseEvent(HWND dialog, UINT message, LPARAM, LPARAM) {
    // Nothing preselected: the user starts from the top of the shell's namespace.
    if (message == BFFM_INITIALIZED) SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(""));
    return 0;
}

std::string UpToNul(std::string buffer) {
    buffer.resize(strnlen(buffer.c_str(), buffer.size()));
    return buffer;
}

std::optional<std::string> AskFile(HWND owner, const char* filter, const char* extension) {
    // The dialog refuses (rather than cuts) a longer name, and files are created by ANSI calls
    // limited to MAX_PATH anyway.
    std::string file(MAX_PATH, '\0');
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrDefExt = extension;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!GetSaveFileNameA(&dialog)) return std::nullopt;
    return UpToNul(std::move(file));
}

}  // namespace

std::optional<std::string> AskXmlFile(HWND owner) { return AskFile(owner, kXmlFilter, kXmlExtension); }
std::optional<std::string> AskHtmlFile(HWND owner) { return AskFile(owner, kHtmlFilter, kHtmlExtension); }

std::optional<std::string> AskWwwcFolder(HWND owner) {
    std::string displayName(MAX_PATH, '\0');  // the browser's required display-name buffer
    BROWSEINFOA browse{};
    browse.hwndOwner = owner;
    browse.pszDisplayName = displayName.data();
    browse.lpszTitle = kFolderInstruction;
    browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    browse.lpfn = OnBrowseEvent;
    const win::UniqueIdList chosen(SHBrowseForFolderA(&browse));
    if (!chosen) return std::nullopt;
    std::string folder(MAX_PATH, '\0');  // the size SHGetPathFromIDListA requires
    if (!SHGetPathFromIDListA(chosen.get(), folder.data())) return std::nullopt;
    folder = UpToNul(std::move(folder));
    if (folder.empty()) return std::nullopt;
    return folder;
}

}  // namespace exporter
