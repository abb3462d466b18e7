// "General": the list of tabs with their roots and sources, the browser for new windows, and which
// settings file the tool edits.
#pragma once

#include "SettingsPage.h"
#include "TabSlots.h"

#include <base/Handles.h>

namespace prop {

class GeneralPage : public SettingsPage {
public:
    GeneralPage(const settings::IniFile& ini, HINSTANCE module) : SettingsPage(ini), module_(module) {}

private:
    void Load() override;
    bool TakeBack() override;
    bool Save() override;
    INT_PTR OnCommand(int id, int code) override;

    HWND List() const;
    int Selected() const;
    bool IsNewTabLine(int line) const;
    void EditTab(int line);
    void DeleteTab();
    // Exchanges the tabs on lines j and j + 1; the selection goes to line `select`.
    void SwapTabs(int j, int select);

    HINSTANCE module_;
    TabSlots tabs_;
    std::string browser_;
    std::string storedBrowser_;  // as the file holds it
    win::UniqueFont listFont_;
};

}  // namespace prop
