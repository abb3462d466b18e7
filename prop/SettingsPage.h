// Base of the settings tool's pages. A page reads its values when the sheet first shows it, takes
// them back from its controls when it is left and on apply (refusing with a beep and the focus on
// the offending control), and writes them on apply. Apply is enabled only by a user's change, never
// by the notifications that filling the controls sends. A write that fails is reported and refuses
// the apply: the sheet stays open, so the change is not lost without a word.
#pragma once

#include <base/Dialog.h>
#include <settings/Settings.h>

#include <windows.h>
#include <prsht.h>

#include <string>

namespace prop {

class SettingsPage : public ui::Dialog {
public:
    explicit SettingsPage(const settings::IniFile& ini) : ini_(ini) {}

    // The sheet's description of this page, from dialog template `templateId` of `module`.
    PROPSHEETPAGEA Describe(HINSTANCE module, int templateId);

protected:
    // Fills the controls from the stored settings (once, when the page is created).
    virtual void Load() = 0;
    // Takes the values back from the controls; false (after Refuse) when one does not fit.
    virtual bool TakeBack() { return true; }
    // Writes the page's values; false (after reporting it) when a write failed.
    virtual bool Save() = 0;
    // Commands of the page's own buttons; TRUE when handled.
    virtual INT_PTR OnCommand(int /*id*/, int /*code*/) { return FALSE; }
    // Other messages (owner drawing, say); FALSE when not handled.
    virtual INT_PTR OnMessage(UINT /*message*/, WPARAM /*wParam*/, LPARAM /*lParam*/) { return FALSE; }
    // Whether edits and check boxes of the page hold settings (the cookie page's do not).
    virtual bool HoldsSettings() const { return true; }

    // Enables the sheet's Apply button, unless the page is still filling its controls.
    void Changed();
    // Beeps and puts the focus on control `id`; returns false for the caller to pass on.
    bool Refuse(int id);
    // The text of control `id`; false (refused) when it is longer than `limit` bytes.
    bool TakeText(int id, size_t limit, std::string* text);
    std::string Text(int id) const;
    void SetText(int id, const std::string& text) const;
    bool Checked(int id) const;
    void Check(int id, bool on) const;
    HWND Item(int id) const { return GetDlgItem(hwnd(), id); }
    // Writes one key of the settings file (a null value deletes it); false after reporting a failure.
    bool Store(const char* section, const char* key, const char* value) const;
    // Reports that `where` was not written for `error`; returns false for the caller to pass on.
    bool Unsaved(const std::string& where, DWORD error) const;

    const settings::IniFile& ini_;

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) final;
    INT_PTR OnNotify(const NMHDR& header);

    bool loading_ = false;
};

}  // namespace prop
