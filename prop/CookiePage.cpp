#include "CookiePage.h"

#include "Controls.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/MessageBox.h>
#include <base/UrlCache.h>
#include <resources/PropIds.h>

#include <shellapi.h>

#include <algorithm>
#include <vector>

namespace prop {
namespace {

// The cache names every cookie entry "Cookie:user@host/path".
constexpr char kCookiePattern[] = "Cookie:";
constexpr size_t kSelectTextLimit = 199;
constexpr char kDeleteQuestion[] = "%d 個のクッキーを削除します。よろしいですか？";
constexpr char kConfirmCaption[] = "確認";

}  // namespace

HWND CookiePage::List() const { return Item(IDC_COOKIE_LIST); }

void CookiePage::Load() {
    SendMessageA(Item(IDC_COOKIE_TEXT), EM_LIMITTEXT, kSelectTextLimit, 0);
    SendMessageA(List(), LB_RESETCONTENT, 0, 0);
    urlcache::ForEach(kCookiePattern, [&](const INTERNET_CACHE_ENTRY_INFOA& entry) {
        if (entry.lpszSourceUrlName)
            SendMessageA(List(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.lpszSourceUrlName));
        return urlcache::Walk::kContinue;
    });
}

std::vector<int> CookiePage::SelectedLines() const {
    const LRESULT count = SendMessageA(List(), LB_GETSELCOUNT, 0, 0);
    if (count <= 0) return {};
    std::vector<int> lines(static_cast<size_t>(count));
    const LRESULT got = SendMessageA(List(), LB_GETSELITEMS, lines.size(), reinterpret_cast<LPARAM>(lines.data()));
    lines.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return lines;
}

void CookiePage::SelectByText() {
    // An empty text would occur in every line; it selects nothing rather than everything.
    const std::string wanted = Text(IDC_COOKIE_TEXT);
    const int count = static_cast<int>(SendMessageA(List(), LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count; ++line) {
        const bool match = !wanted.empty() && mbcs::FindText(ListLine(List(), line), wanted) != mbcs::npos;
        SendMessageA(List(), LB_SETSEL, match, line);
    }
}

void CookiePage::DeleteSelected() {
    std::vector<int> lines = SelectedLines();
    if (lines.empty()) return;
    const std::string question = text::Format(kDeleteQuestion, static_cast<int>(lines.size()));
    if (ui::ShowMessage(hwnd(), question, kConfirmCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    // From the last line up, so the lines still to come keep their numbers.
    std::sort(lines.rbegin(), lines.rend());
    for (int line : lines)
        if (urlcache::Delete(ListLine(List(), line))) SendMessageA(List(), LB_DELETESTRING, line, 0);
}

void CookiePage::OpenSelected() {
    const std::vector<int> lines = SelectedLines();
    if (lines.empty()) return;
    const std::optional<urlcache::EntryInfo> entry = urlcache::Lookup(ListLine(List(), lines.front()));
    if (entry && !entry->LocalFile().empty())
        ShellExecuteA(hwnd(), "open", entry->LocalFile().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

INT_PTR CookiePage::OnCommand(int id, int code) {
    if (id == IDC_COOKIE_LIST && code == LBN_DBLCLK) {
        OpenSelected();
    } else if (code != BN_CLICKED) {
        return FALSE;
    } else if (id == IDC_COOKIE_SELECT) {
        SelectByText();
    } else if (id == IDC_COOKIE_DELETE) {
        DeleteSelected();
    } else if (id == IDC_COOKIE_RELOAD) {
        Load();
    } else {
        return FALSE;
    }
    return TRUE;
}

}  // namespace prop
