// The colour buttons of the "Tree" page: owner-drawn push buttons filled with their colour.
#pragma once

#include <windows.h>

namespace prop {

// The caption's colour on a face of `color`: its inverse, so it stays readable.
COLORREF CaptionColor(COLORREF color);

// Draws the button of `item` filled with `color`, its caption centred on one line, a two-ring
// bevel (reversed while pressed) and the focus rectangle.
void DrawColorButton(const DRAWITEMSTRUCT& item, COLORREF color);

}  // namespace prop
