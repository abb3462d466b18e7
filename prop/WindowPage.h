// "Wnd": the main window's switches and a way to the system's Internet Options.
#pragma once

#include "SettingsPage.h"

namespace prop {

class WindowPage : public SettingsPage {
public:
    using SettingsPage::SettingsPage;

private:
    void Load() override;
    bool TakeBack() override;
    bool Save() override;
    INT_PTR OnCommand(int id, int code) override;

    bool noDual_ = false;
    bool topMost_ = false;
    bool defaultSize_ = false;
    bool statusBar_ = true;
};

}  // namespace prop
