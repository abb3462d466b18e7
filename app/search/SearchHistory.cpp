#include "SearchHistory.h"

#include <base/Format.h>
#include <base/Mbcs.h>
#include <base/TextEncoding.h>

#include <algorithm>

namespace search {
namespace {

constexpr char kSection[] = "search";

std::string Key(size_t index) { return text::Format("hist%u", static_cast<unsigned>(index)); }

}  // namespace

SearchHistory::SearchHistory(settings::IniFile ini) : ini_(std::move(ini)) {}

void SearchHistory::Load() {
    entries_ = {};
    for (size_t n = 0; n < kEntries; ++n) {
        entries_[n] = ini_.ReadString(kSection, Key(n).c_str(), "", kTextCapacity);
        if (entries_[n].empty()) break;
    }
}

size_t SearchHistory::size() const {
    size_t count = 0;
    while (count < kEntries && !entries_[count].empty()) ++count;
    return count;
}

void SearchHistory::Add(const std::string& text) {
    if (text.empty()) return;
    size_t at = 0;
    while (at < kEntries && !entries_[at].empty() && !mbcs::EqualsNoCase(entries_[at], text)) ++at;
    // Entry `at` (the same text, the first free one, or past the end) is overwritten by the shift.
    for (size_t n = std::min(at, kEntries - 1); n > 0; --n) entries_[n] = std::move(entries_[n - 1]);
    entries_[0] = text;
}

void SearchHistory::Add(const std::wstring& text) {
    bool exact = false;
    const std::string stored = text::WideToAnsi(text, &exact);
    if (exact) Add(stored);
}

void SearchHistory::Save() const {
    for (size_t n = 0; n < kEntries && !entries_[n].empty(); ++n)
        ini_.Write(kSection, Key(n).c_str(), ("\"" + entries_[n] + "\"").c_str());
}

void SearchHistory::FillCombo(HWND combo) const {
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    for (size_t n = 0; n < kEntries && !entries_[n].empty(); ++n)
        SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entries_[n].c_str()));
}

}  // namespace search
