#include "MenuDrawing.h"

#include <base/Handles.h>

namespace ownerdraw {

bool MeasureSeparator(HWND window, MEASUREITEMSTRUCT& measure, HFONT font) {
    if (measure.CtlType != ODT_MENU || measure.itemID != kSeparatorItemId) return false;
    const char* title = reinterpret_cast<const char*>(measure.itemData);
    if (!title) {
        measure.itemWidth = 10;
        measure.itemHeight = 8;
        return true;
    }
    HDC dc = GetDC(window);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SIZE extent{};
    GetTextExtentPoint32A(dc, title, lstrlenA(title), &extent);
    if (old) SelectObject(dc, old);
    ReleaseDC(window, dc);
    measure.itemWidth = extent.cx;
    measure.itemHeight = extent.cy + 3;
    return true;
}

bool DrawSeparator(const DRAWITEMSTRUCT& draw, HFONT font, HPEN pen) {
    if (draw.CtlType != ODT_MENU || draw.itemID != kSeparatorItemId) return false;
    HDC dc = draw.hDC;
    RECT rect = draw.rcItem;
    const char* title = reinterpret_cast<const char*>(draw.itemData);
    if (!title) {
        const int middle = (rect.top + rect.bottom) / 2;
        HGDIOBJ old = SelectObject(dc, pen ? static_cast<HGDIOBJ>(pen) : GetStockObject(BLACK_PEN));
        MoveToEx(dc, rect.left + 3, middle, nullptr);
        LineTo(dc, rect.right - 3, middle);
        SelectObject(dc, old);
        return true;
    }
    FillRect(dc, &rect, GetSysColorBrush(COLOR_ACTIVECAPTION));
    win::UniqueBrush red(CreateSolidBrush(RGB(255, 0, 0)));
    FrameRect(dc, &rect, red.get());
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    SetBkColor(dc, GetSysColor(COLOR_ACTIVECAPTION));
    DrawTextA(dc, title, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (oldFont) SelectObject(dc, oldFont);
    return true;
}

}  // namespace ownerdraw
