// Owner-drawn menu separators shared by the main window's menus and the tree's dialogs: plain
// separators and titled ones (a caption-coloured band with a red frame). Such entries carry the
// command id kSeparatorItemId and, for a title, the title text (static storage) as item data.
#pragma once

#include <windows.h>

namespace ownerdraw {

inline constexpr UINT kSeparatorItemId = 3;

// WM_MEASUREITEM / WM_DRAWITEM for these separators; false for any other entry.
bool MeasureSeparator(HWND window, MEASUREITEMSTRUCT& measure, HFONT font);
bool DrawSeparator(const DRAWITEMSTRUCT& draw, HFONT font, HPEN pen);

}  // namespace ownerdraw
