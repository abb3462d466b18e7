// Pop-up menus of the add-item dialog: owner-drawn header lines and separators (MenuDrawing.h),
// owner-drawn information lines, and plain command lines. Owner-drawn lines are measured and drawn
// by the dialog with the tab tree's font.
#pragma once

#include <base/Handles.h>

#include <windows.h>

#include <deque>
#include <string>

namespace additem {

class PopupMenu {
public:
    PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU handle() const { return menu_.get(); }
    void AddHeader(const std::string& text);
    void AddSeparator();
    // A line that only shows `text` (command 0).
    void AddInformation(const std::string& text);
    // A plain line; the text is shown exactly as it is ("&" is no mnemonic).
    void AddCommand(UINT id, const std::wstring& text);
    // Shows the menu at a screen point and returns the chosen command (0: none).
    UINT Track(HWND owner, POINT screenPoint) const;

private:
    const char* Keep(const std::string& text);

    std::deque<std::string> texts_;  // the owner-drawn lines' item data; outlives the menu
    win::UniqueMenu menu_;
};

// WM_MEASUREITEM and WM_DRAWITEM for the owner-drawn lines; false for anything else.
bool MeasureLine(HWND window, MEASUREITEMSTRUCT& measure, HFONT font);
bool DrawLine(const DRAWITEMSTRUCT& draw, HFONT font, HPEN pen);

}  // namespace additem
