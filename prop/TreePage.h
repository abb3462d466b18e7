// "Tree": colours, font, indent, icons and behaviour of the favorites trees, with a sample tree
// that shows the colours and the font at once.
#pragma once

#include "SettingsPage.h"

#include <base/Handles.h>

namespace prop {

class TreePage : public SettingsPage {
public:
    using SettingsPage::SettingsPage;

private:
    void Load() override;
    bool TakeBack() override;
    void Save() override;
    INT_PTR OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void FillSample();
    // Shows the colours and the font on the sample tree (and the colour buttons).
    void ShowLook();
    void PickColor(COLORREF* color);
    void PickFont();
    void BackToStandard();
    COLORREF* ColorOf(int buttonId);

    int indent_ = 20;
    bool noIcons_ = false;
    bool editOnDrop_ = false;
    int itemMode_ = 0;  // every bit as read; the page edits the low five
    COLORREF background_ = 0;
    COLORREF text_ = 0;
    COLORREF lines_ = 0;
    LOGFONTA font_{};
    win::UniqueFont sampleFont_;
};

}  // namespace prop
