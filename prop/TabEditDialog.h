// The dialog that edits one tab of the "General" page: name, root folder (with its menu of the
// other tabs' roots), bookmark sources.
#pragma once

#include "TabSlots.h"

#include <base/Dialog.h>

#include <windows.h>

#include <string>

namespace prop {

class TabEditDialog : public ui::Dialog {
public:
    // Edits `slot`; `tabs` offers the roots of the tabs for the root menu.
    TabEditDialog(const TabSlots& tabs, TabSlot slot) : tabs_(tabs), slot_(std::move(slot)) {}

    // True when the dialog ended with OK; the edited tab is then Slot().
    bool Run(HINSTANCE module, HWND owner);
    const TabSlot& Slot() const { return slot_; }

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Show() const;
    // Takes the texts from the controls; false (after a beep and with the focus on the field)
    // when one is too long.
    bool TakeBack();
    void OnOk();
    void ChooseRoot();
    // `filter` as OPENFILENAMEA takes it: pairs of display text and pattern.
    void ChooseFile(std::string* field, const char* filter, bool mustExist);
    void ChooseFolder(std::string* field, const char* title);

    const TabSlots& tabs_;
    TabSlot slot_;
};

}  // namespace prop
