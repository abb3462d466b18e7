// Commands of the tools and help popups: the clipboard's URL and HTML, help, the settings tool, the
// settings file, Internet Options, the home page and the user's own tools.
#include "AppState.h"
#include "HtmlClipboard.h"
#include "MainWindow.h"
#include "MenuDecoration.h"

#include <base/Clipboard.h>
#include <base/Format.h>
#include <base/Handles.h>
#include <base/HtmlHelp.h>
#include <base/MessageBox.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <resources/TolvakIds.h>
#include <tree/additem/AddItemDialog.h>
#include <settings/Settings.h>
#include <tree/TreeModule.h>

#include <shellapi.h>

namespace app {
namespace {

constexpr size_t kClipboardUrlCapacity = 260;
constexpr int kToolNameCapacity = 100;
constexpr size_t kToolCommandCapacity = MAX_PATH;
constexpr char kSettingsTool[] = "TLProp.exe";
constexpr char kSettingsToolNotStarted[] = "設定ツール[%s]を起動できませんでした。";
// WinExec's results up to this one are errors.
constexpr UINT kLastWinExecError = 31;

// The clipboard's text, exactly, when it looks like a URL; "ttp://" as copied without its first
// letter counts too.
std::optional<std::wstring> ClipboardUrl(HWND owner) {
    // One character past the capacity tells a longer text from one that fits; the capacity counts
    // the text's bytes in the code page.
    const std::optional<std::wstring> text = clip::GetWideText(owner, kClipboardUrlCapacity + 1);
    if (!text || text::WideToAnsi(*text).size() > kClipboardUrlCapacity || text->find(L"://") == std::wstring::npos)
        return std::nullopt;
    return text->compare(0, 4, L"ttp:") == 0 ? L"h" + *text : *text;
}

}  // namespace

void MainWindow::OpenClipboardUrl() {
    const std::optional<std::wstring> url = ClipboardUrl(hwnd());
    CFavTreeView* tree = CurrentTree();
    if (url && tree) tree->OpenUrlInNewWindow(*url);
}

void MainWindow::ConvertClipboardHtml() { app::ConvertClipboardHtml(hwnd()); }

void MainWindow::ShowHelp() { help::ShowTopic(nullptr); }

void MainWindow::StartSettingsTool() {
    // From the program's folder only, quoted: by plain name the system also searches the current
    // folder and the search path, and an unquoted path with spaces could start another program.
    const std::string tool = fav::BesideTreeModule(kSettingsTool);
    if (WinExec(text::Format("\"%s\"", tool.c_str()).c_str(), SW_SHOW) <= kLastWinExecError)
        ui::ShowMessage(hwnd(), text::Format(kSettingsToolNotStarted, tool.c_str()), "", MB_OK);
}

void MainWindow::EditSettingsFile() { ShellExecuteA(hwnd(), "open", ini_.path().c_str(), nullptr, nullptr, SW_SHOW); }

void MainWindow::ShowInternetOptions() {
    const std::string panel = path::SystemFile("control.exe");
    WinExec(text::Format("\"%s\" inetcpl.cpl", panel.c_str()).c_str(), SW_SHOW);
}

void MainWindow::OpenHomePage() { ShellExecuteA(hwnd(), "open", kHomePageUrl, nullptr, nullptr, SW_SHOW); }

void MainWindow::AddHomePage() {
    if (CFavTreeView* tree = CurrentTree()) ShowAddItemDialog(*tree, nullptr, kHomePageTitle, kHomePageUrl);
}

void MainWindow::RunUserTool(UINT id) {
    HMENU bar = GetMenu(hwnd());
    HMENU tools = bar ? GetSubMenu(bar, kToolsPopup) : nullptr;
    char name[kToolNameCapacity] = "";
    if (!tools || !GetMenuStringA(tools, id, name, sizeof name, MF_BYCOMMAND)) return;
    const std::string command = ini_.ReadString("tool", name, "", kToolCommandCapacity);
    WinExec(command.c_str(), SW_SHOW);
}

}  // namespace app
