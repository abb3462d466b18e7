// "IE 1": the browser's toolbar background and animated brand bitmaps (HKCU registry values).
// A write that fails is reported and keeps the sheet open.
#pragma once

#include "SettingsPage.h"

#include <base/Handles.h>

#include <optional>
#include <string>

namespace prop {

// Where the browser keeps its toolbar settings under HKEY_CURRENT_USER.
inline constexpr char kToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";

class BrowserPage : public SettingsPage {
public:
    using SettingsPage::SettingsPage;

private:
    struct Bitmap {
        const char* value;  // registry value name
        int field;          // edit control
        std::string text;
        std::optional<std::string> stored;  // as the registry holds it; nothing when absent
    };

    void Load() override;
    bool TakeBack() override;
    bool Save() override;
    INT_PTR OnCommand(int id, int code) override;

    // Writes one bitmap's value, making the key first when it does not exist yet.
    LSTATUS Write(Bitmap& bitmap);
    void Browse(Bitmap& bitmap);

    win::UniqueKey key_;
    Bitmap bitmaps_[2] = {{"BackBitmapIE5", 0, {}, {}}, {"smBrandBitmap", 0, {}, {}}};
};

}  // namespace prop
