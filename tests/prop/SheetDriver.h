// Drives the settings tool's sheet in the test process, as a user would: the sheet runs modally
// and the test acts from timers, which fire inside the sheet's (and its dialogs') own loops.
#pragma once

#include "../support/TestSupport.h"

#include <settings/Settings.h>

#include <functional>
#include <string>

namespace proptest {

enum Page { kGeneral, kTree, kWnd, kIe1, kCookies };

class Sheet {
public:
    explicit Sheet(HWND sheet) : sheet_(sheet) {}
    HWND hwnd() const { return sheet_; }

    // Shows page `page` (as clicking its tab does) and returns it; null when the page on show
    // refused to be left.
    HWND Show(Page page) const;
    HWND Current() const;
    // False once OK or Cancel ended the sheet (it goes only when the test's step returns).
    bool IsOpen() const { return Current() != nullptr; }
    bool ApplyEnabled() const;
    void Ok() const { Press(PSBTN_OK); }
    void Apply() const { Press(PSBTN_APPLYNOW); }
    void Cancel() const { Press(PSBTN_CANCEL); }

private:
    void Press(int button) const;
    HWND sheet_;
};

// Runs the sheet over `ini` and `script` once it shows; a sheet the script leaves open is
// cancelled. Returns false when the sheet never showed.
bool RunSheet(const settings::IniFile& ini, const std::function<void(Sheet&)>& script);

// Runs `answer` on the next dialog (other than the sheet) that `open` shows, then returns what
// `open` did. A dialog `answer` leaves open is cancelled.
void WithDialog(const std::function<void(HWND)>& answer, const std::function<void()>& open);

// A user's actions on a control of `dialog`.
void Click(HWND dialog, int id);
void Type(HWND dialog, int id, const std::string& text);
void DoubleClickLine(HWND dialog, int listId, int line);
std::string Text(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
std::vector<std::string> Lines(HWND dialog, int listId);

// Saves a picture of the sheet as build/tests/<name>.bmp (beside the test program).
void SaveScreenshot(const Sheet& sheet, const std::string& name);

}  // namespace proptest
