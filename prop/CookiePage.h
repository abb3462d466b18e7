// "Cookie Editor": the browser's cookies in its URL cache, listed, selected by a text, opened and
// deleted. Its actions take effect at once; it has nothing to apply.
#pragma once

#include "SettingsPage.h"

namespace prop {

class CookiePage : public SettingsPage {
public:
    using SettingsPage::SettingsPage;

private:
    void Load() override;
    bool Save() override { return true; }
    bool HoldsSettings() const override { return false; }
    INT_PTR OnCommand(int id, int code) override;

    HWND List() const;
    std::vector<int> SelectedLines() const;
    void SelectByText();
    void DeleteSelected();
    void OpenSelected();
};

}  // namespace prop
