// "URL情報": what the browser's URL cache holds for the shortcut's URL.
#include "PropertiesPages.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/UrlCache.h>
#include <resources/TreeIds.h>

namespace props {

namespace {

constexpr int kDetailTabStop = 70;  // dialog units

}  // namespace

INT_PTR UrlInfoPage::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Fill();
        return TRUE;
    case WM_NOTIFY:
        if (reinterpret_cast<const NMHDR*>(lParam)->code == PSN_QUERYCANCEL) return Answer(FALSE);
        return FALSE;
    default:
        return FALSE;
    }
}

void UrlInfoPage::Fill() {
    HWND page = hwnd();
    SetDlgItemTextW(page, IDC_PROP_URL, address_.c_str());
    const std::optional<urlcache::EntryInfo> entry = urlcache::Lookup(url_);
    if (!entry) return;  // never visited: the URL alone

    SetDlgItemTextA(page, IDC_PROP_LOCAL, entry->LocalFile().c_str());
    HWND details = GetDlgItem(page, IDC_PROP_DETAILS);
    int tabStop = kDetailTabStop;
    SendMessageA(details, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    const auto add = [details](const std::string& line) {
        SendMessageA(details, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    };
    add(text::Format("表示回数\t%lu", entry->Info().dwHitRate));
    add(text::Format("サイズ\t%luバイト", entry->Info().dwSizeLow));

    const std::string headers = entry->Headers();
    if (headers.empty()) return;
    add("");
    add("ヘッダ情報");
    for (const std::string& line : mbcs::Split(headers, "\r\n")) add(line);
}

}  // namespace props
