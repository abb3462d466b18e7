// The menu the browser shows for the bar: reload the tree, start the program, write the page's
// links. Over a node of the tree the tree shows its own menu, so the browser's stays empty.
#include "TolvakEx.h"

#include "linklist/LinkListDialog.h"

#include <base/Handles.h>
#include <base/MessageBox.h>
#include <base/Path.h>
#include <tree/TreeModule.h>

namespace bar {
namespace {

enum Command : UINT { kReload = 0, kStartProgram = 1, kLinkList = 2 };
constexpr UINT kSeparatorId = 3;
// The answer hosts have always had from the bar, with or without items added.
constexpr HRESULT kMenuAnswer = MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5);
constexpr char kProgramName[] = "Tolvak.exe";
constexpr char kProgramMissing[] = "Tolvak.exeが見つかりません";

}  // namespace

HRESULT STDMETHODCALLTYPE TolvakEx::QueryContextMenu(HMENU menu, UINT position, UINT firstId, UINT, UINT flags) {
    if (flags & CMF_DEFAULTONLY) return S_OK;  // no items
    if (window_.NodeUnderCursor()) {
        // The host owns its menu and destroys it itself: emptying it keeps it from showing.
        while (GetMenuItemCount(menu) > 0 && DeleteMenu(menu, 0, MF_BYPOSITION)) {}
        return kMenuAnswer;
    }
    // Each insertion lands above the one before.
    InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, firstId + kLinkList, "リンク出力");
    InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, firstId + kStartProgram, "&Tolvak を起動");
    InsertMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR, kSeparatorId, nullptr);
    InsertMenuA(menu, position, MF_BYPOSITION | MF_STRING, firstId + kReload, "ツリーをリロード(&R)");
    return kMenuAnswer;
}

HRESULT STDMETHODCALLTYPE TolvakEx::InvokeCommand(CMINVOKECOMMANDINFO* info) {
    // A verb given as text names no command of the bar.
    if (!info || !IS_INTRESOURCE(info->lpVerb)) return E_INVALIDARG;
    switch (LOWORD(reinterpret_cast<UINT_PTR>(info->lpVerb))) {
    case kReload:
        if (CFavTreeView* tree = Tree()) tree->LoadRoot();
        return S_OK;
    case kStartProgram:
        StartProgram(info->hwnd);
        return S_OK;
    case kLinkList:
        linklist::ShowLinkList(info->hwnd, Tree() ? Tree()->browser() : nullptr);
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

HRESULT STDMETHODCALLTYPE TolvakEx::GetCommandString(UINT_PTR command, UINT type, UINT*, LPSTR, UINT) {
    if (type == GCS_VALIDATEA) return S_OK;
    if (command == 0 && (type == GCS_VERBA || type == GCS_HELPTEXTA)) return S_OK;
    return E_INVALIDARG;
}

void TolvakEx::StartProgram(HWND owner) {
    const std::string program = fav::BesideTreeModule(kProgramName);
    if (!path::Exists(program)) {
        ui::ShowMessage(owner, kProgramMissing, "", MB_OK);
        return;
    }
    // The path is quoted and given as the program too, so a folder name with blanks can never
    // start another program ("C:\\Program.exe").
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOW;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &started))
        return;
    win::UniqueHandle process(started.hProcess), thread(started.hThread);
}

}  // namespace bar
