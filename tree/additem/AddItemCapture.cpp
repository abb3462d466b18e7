// "情報\n取得": takes the title and URL of a page open in a browser window, either from the shell's
// window collection or from Netscape's last active window over DDE.
#include "AddItemMenu.h"
#include "AddItemWindow.h"
#include "BrowserList.h"
#include "DdeClient.h"
#include "NetscapeReply.h"

#include <resources/TreeIds.h>

#include <base/Format.h>
#include <base/TextEncoding.h>

namespace additem {
namespace {

constexpr char kBrowserListHeader[] = "ブラウザ一覧";
constexpr wchar_t kNetscapeLine[] = L"ネットスケープの最終ダイアログ";
constexpr char kNetscapeNotRunning[] = "Netscapeは起動されていません";

constexpr char kNetscapeService[] = "NETSCAPE";
constexpr char kWindowInfoTopic[] = "WWW_GetWindowInfo";
constexpr DWORD kLastActiveWindow = 0xFFFFFFFF;
constexpr DWORD kRequestTimeoutMs = 10000;

}  // namespace

void AddItemDialog::ShowCaptureMenu() {
    const std::vector<browsers::BrowserWindow> windows = browsers::OpenBrowserWindows();
    PopupMenu menu;
    menu.AddHeader(kBrowserListHeader);
    // A blank page has no name; its address still tells the lines apart.
    for (const browsers::BrowserWindow& window : windows)
        menu.AddCommand(kFirstBrowserCommand + static_cast<UINT>(window.index),
                        window.name.empty() ? window.url : window.name);
    menu.AddSeparator();
    menu.AddCommand(kNetscapeCommand, kNetscapeLine);

    RECT button{};
    if (!GetWindowRect(GetDlgItem(hwnd(), IDC_ADD_CAPTURE), &button)) return;
    const UINT chosen = menu.Track(hwnd(), POINT{button.right, button.top});
    if (chosen == kNetscapeCommand) {
        CaptureFromNetscape();
        return;
    }
    for (const browsers::BrowserWindow& window : windows) {
        if (chosen != kFirstBrowserCommand + static_cast<UINT>(window.index)) continue;
        SetFields(window.name, window.url);
        return;
    }
}

void AddItemDialog::CaptureFromNetscape() {
    const fav::DdeReply reply = fav::RequestText(kNetscapeService, kWindowInfoTopic,
                                                 text::Format("0x%08lx", kLastActiveWindow), kRequestTimeoutMs);
    switch (reply.outcome) {
    case fav::DdeReply::Outcome::kNoConversation:
        Warn(kNetscapeNotRunning);
        return;
    case fav::DdeReply::Outcome::kNoData:
        return;  // no answer in time: what the user typed stays
    case fav::DdeReply::Outcome::kText:
        break;
    }
    const netscape::WindowInfo page = netscape::ParseWindowInfo(reply.text);
    if (page.url.empty() && page.title.empty()) return;
    SetFields(text::AnsiToWide(page.title), text::AnsiToWide(page.url));
}

}  // namespace additem
