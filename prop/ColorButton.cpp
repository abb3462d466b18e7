#include "ColorButton.h"

#include <base/Handles.h>

#include <string>

namespace prop {
namespace {

constexpr int kBevelRings = 2;
constexpr int kFocusInset = 4;
constexpr COLORREF kDisabledCaption = 0x808080;

COLORREF Grey(int level) { return PALETTERGB(level, level, level); }

void Line(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
    win::UniquePen pen(CreatePen(PS_SOLID, 1, color));
    const HGDIOBJ old = SelectObject(dc, pen.get());
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    SelectObject(dc, old);
}

// Ring k (0 outermost): light on the top and left edges, dark on the bottom and right.
void DrawRing(HDC dc, RECT box, int k, bool pressed) {
    InflateRect(&box, -k, -k);
    const COLORREF light = Grey(192 + 63 / (k + 1));
    const COLORREF dark = Grey(255 / (k + 2));
    const COLORREF topLeft = pressed ? dark : light;
    const COLORREF bottomRight = pressed ? light : dark;
    Line(dc, box.left, box.bottom - 1, box.left, box.top, topLeft);
    Line(dc, box.left, box.top, box.right, box.top, topLeft);
    Line(dc, box.right - 1, box.top, box.right - 1, box.bottom, bottomRight);
    Line(dc, box.left, box.bottom - 1, box.right, box.bottom - 1, bottomRight);
}

}  // namespace

COLORREF CaptionColor(COLORREF color) { return ~color & 0xFFFFFF; }

void DrawColorButton(const DRAWITEMSTRUCT& item, COLORREF color) {
    HDC dc = item.hDC;
    RECT box = item.rcItem;
    win::UniqueBrush face(CreateSolidBrush(color));
    FillRect(dc, &box, face.get());

    char caption[64] = "";
    GetWindowTextA(item.hwndItem, caption, sizeof caption);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, (item.itemState & ODS_DISABLED) ? kDisabledCaption : CaptionColor(color));
    DrawTextA(dc, caption, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    for (int k = 0; k < kBevelRings; ++k) DrawRing(dc, box, k, pressed);
    if (item.itemState & ODS_FOCUS) {
        InflateRect(&box, -kFocusInset, -kFocusInset);
        DrawFocusRect(dc, &box);
    }
}

}  // namespace prop
