// The search history shared by the find dialogs and the web search: the 26 most recent texts,
// newest first, kept in section "search" of the settings file as "hist0" ... "hist25".
#pragma once

#include <settings/Settings.h>

#include <windows.h>

#include <array>
#include <string>

namespace search {

class SearchHistory {
public:
    static constexpr size_t kEntries = 26;
    static constexpr size_t kTextCapacity = 200;  // bytes read per entry, terminator included

    explicit SearchHistory(settings::IniFile ini);

    // Reads the entries up to the first missing or empty one.
    void Load();
    // Puts `text` on top as typed; an entry equal to it ignoring case moves up instead of staying
    // twice, and at a full list the oldest falls out.
    void Add(const std::string& text);
    // The same for a text typed exactly. One with characters the code page lacks is left out:
    // the history is stored in the code page, where it would read as another text ("?").
    void Add(const std::wstring& text);
    // Writes the entries, each in double quotes so that blanks at either end survive; keys past
    // the last entry are left as they are.
    void Save() const;
    // Replaces the list of a combo box with the entries.
    void FillCombo(HWND combo) const;

    size_t size() const;
    const std::string& operator[](size_t index) const { return entries_[index]; }

private:
    settings::IniFile ini_;
    std::array<std::string, kEntries> entries_;
};

}  // namespace search
