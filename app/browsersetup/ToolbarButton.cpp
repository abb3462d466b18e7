// The browser's toolbar button (and Tools menu entry) that starts this program. It goes to the
// machine's part of the registry when the user may write there, otherwise to the user's own part
// (the browser reads both), and the user is told which.
#include "BrowserSetup.h"
#include "ShellHelper.h"

#include <base/ErrorText.h>
#include <base/Format.h>
#include <base/HtmlHelp.h>
#include <base/MessageBox.h>
#include <base/Path.h>
#include <base/Registry.h>

#include <string>

namespace browsersetup {
namespace {

constexpr char kButtonKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";
// The browser's own class for buttons that start a program.
constexpr char kStartsProgram[] = "{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}";
constexpr char kCaption[] = "IE拡張";
constexpr char kBrowserTooOld[] = "Internet Explorer 5.0以上が必要です";
constexpr char kRegistered[] = "登録が完了しました。\nヘルプを見てIEを設定してください。";
constexpr char kRegisteredForUser[] = "現在のユーザーにだけ登録しました。\nヘルプを見てIEを設定してください。";
constexpr char kNotRegistered[] = "ツールバーボタンを登録できませんでした。\n%s";
constexpr char kNotRemoved[] =
    "ツールバーボタンを削除できませんでした。(エラー %lu)\nこの削除には管理者の権限が必要です。";
constexpr char kHelpTopic[] = "/f_addietoolbar.html";

// Writes the button's values in the order the browser has always found them.
win::Written WriteButton() {
    const std::string program = path::ModuleFile(nullptr);
    const win::TextValue values[] = {
        {"ButtonText", "Tolvak"},
        {"CLSID", kStartsProgram},
        {"Exec", program},
        {"HotIcon", text::Format("%s,2", program.c_str())},
        {"Icon", text::Format("%s,3", program.c_str())},
        {"MenuStatusBar", "Tolvakを起動"},
        {"MenuText", "Tolvak"},
    };
    return win::WriteForMachineOrUser([&](HKEY root) { return win::WriteTextValues(root, kButtonKey, values); });
}

}  // namespace

void AddToolbarButton() {
    if (!CreateShellHelper()) {
        ui::ShowMessage(nullptr, kBrowserTooOld, MB_OK);
        return;
    }
    const win::Written written = WriteButton();
    if (written.status != ERROR_SUCCESS) {
        ui::ShowMessage(nullptr, text::Format(kNotRegistered, win::ErrorText(written.status).c_str()), kCaption, MB_OK);
        return;
    }
    ui::ShowMessage(nullptr, written.root == HKEY_LOCAL_MACHINE ? kRegistered : kRegisteredForUser, kCaption, MB_OK);
    help::ShowTopic(nullptr, kHelpTopic);
}

void RemoveToolbarButton() {
    // The user's button goes whatever becomes of the machine's; a button that is not there is
    // already removed.
    RegDeleteTreeA(HKEY_CURRENT_USER, kButtonKey);
    const LSTATUS status = RegDeleteTreeA(HKEY_LOCAL_MACHINE, kButtonKey);
    if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
        ui::ShowMessage(nullptr, text::Format(kNotRemoved, static_cast<unsigned long>(status)), kCaption, MB_OK);
}

}  // namespace browsersetup
