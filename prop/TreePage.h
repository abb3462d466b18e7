// "Tree": colours, font, indent, icons and behaviour of the favorites trees, with a sample tree
// that shows the colours and the font at once.
#pragma once

#include "SettingsPage.h"

#include <base/Handles.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace prop {

class TreePage : public SettingsPage {
public:
    using SettingsPage::SettingsPage;

private:
    // Everything the page edits.
    struct Look {
        int indent = 20;
        bool noIcons = false;
        bool editOnDrop = false;
        int itemMode = 0;  // every bit as read; the page edits the low five
        COLORREF background = 0;
        COLORREF text = 0;
        COLORREF lines = 0;
        LOGFONTA font{};
    };

    void Load() override;
    bool TakeBack() override;
    bool Save() override;
    INT_PTR OnCommand(int id, int code) override;
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // What the page writes for each key (nothing: the key goes), in the order it writes them.
    static std::vector<std::pair<const char*, std::optional<std::string>>> Entries(const Look& look);
    void FillSample();
    // Shows the colours and the font on the sample tree (and the colour buttons).
    void ShowLook();
    void PickColor(COLORREF* color);
    void PickFont();
    void BackToStandard();
    COLORREF* ColorOf(int buttonId);

    Look look_;
    Look stored_;  // as the file holds it: a key is written only when its value changed
    win::UniqueFont sampleFont_;
};

}  // namespace prop
