#include "WebSearchDialog.h"

#include "WebSearch.h"

#include <base/Mbcs.h>
#include <resources/SearchIds.h>
#include <tree/CFavTreeView.h>

#include <algorithm>

namespace search {
namespace {

constexpr char kSection[] = "search";
constexpr char kSiteKey[] = "site";
// The word is read whole: a long word is never cut (the history keeps its own limit).
constexpr size_t kWordCapacity = 4096;

}  // namespace

WebSearchDialog::WebSearchDialog(const settings::IniFile& ini, CFavTreeView& tree)
    : ini_(ini), tree_(tree), history_(ini) {
    history_.Load();
}

INT_PTR WebSearchDialog::Run(HINSTANCE module, HWND owner) { return RunModal(module, IDD_WEB_SEARCH, owner); }

void WebSearchDialog::OnSearch() {
    HWND sites = GetDlgItem(hwnd(), IDC_WEB_SITE);
    const size_t site = SiteIndexOrFirst(static_cast<int>(SendMessageA(sites, CB_GETCURSEL, 0, 0)));
    HWND word = GetDlgItem(hwnd(), IDC_WEB_WORD);
    const int length = GetWindowTextLengthA(word);
    const std::string text = ComboText(hwnd(), IDC_WEB_WORD, std::max<size_t>(kWordCapacity, length + 1));
    tree_.OpenUrlInNewWindow(QueryUrl(SearchSites()[site], text));
    ini_.WriteInt(kSection, kSiteKey, static_cast<int>(site));
    history_.Add(text.substr(0, mbcs::FitLength(text, SearchHistory::kTextCapacity - 1)));
    history_.Save();
    EndDialog(hwnd(), 0);
}

void WebSearchDialog::OnInit() {
    HWND sites = GetDlgItem(hwnd(), IDC_WEB_SITE);
    for (const SearchSite& site : SearchSites())
        SendMessageA(sites, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(site.name.c_str()));
    SendMessageA(sites, CB_SETCURSEL, SiteIndexOrFirst(ini_.ReadInt(kSection, kSiteKey, 0)), 0);
    history_.FillCombo(GetDlgItem(hwnd(), IDC_WEB_WORD));
}

}  // namespace search
