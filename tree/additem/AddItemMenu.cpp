#include "AddItemMenu.h"

#include <tree/MenuDrawing.h>

namespace additem {
namespace {

constexpr UINT kInformationId = 0;
constexpr int kLineHeight = 14;
constexpr int kTextLeft = 5;

// Menus take "&" for a mnemonic prefix; a page title's "&" must show as itself. (No half of a
// surrogate pair is ever "&".)
std::wstring LiteralMenuText(const std::wstring& text) {
    std::wstring result;
    for (const wchar_t c : text) {
        if (c == L'&') result += L'&';
        result += c;
    }
    return result;
}

}  // namespace

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {}

const char* PopupMenu::Keep(const std::string& text) {
    texts_.push_back(text);
    return texts_.back().c_str();
}

void PopupMenu::AddHeader(const std::string& text) {
    if (menu_)
        AppendMenuA(menu_.get(), MF_SEPARATOR | MF_OWNERDRAW, ownerdraw::kSeparatorItemId, Keep(text));
}

void PopupMenu::AddSeparator() {
    if (menu_) AppendMenuA(menu_.get(), MF_SEPARATOR | MF_OWNERDRAW, ownerdraw::kSeparatorItemId, nullptr);
}

void PopupMenu::AddInformation(const std::string& text) {
    if (menu_) AppendMenuA(menu_.get(), MF_OWNERDRAW, kInformationId, Keep(text));
}

void PopupMenu::AddCommand(UINT id, const std::wstring& text) {
    if (menu_) AppendMenuW(menu_.get(), MF_STRING, id, LiteralMenuText(text).c_str());
}

UINT PopupMenu::Track(HWND owner, POINT screenPoint) const {
    if (!menu_) return 0;
    const BOOL chosen = TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, screenPoint.x,
                                       screenPoint.y, 0, owner, nullptr);
    // Lets the menu's modal loop finish cleanly before the next input.
    PostMessageA(owner, WM_NULL, 0, 0);
    return chosen > 0 ? static_cast<UINT>(chosen) : 0;
}

bool MeasureLine(HWND window, MEASUREITEMSTRUCT& measure, HFONT font) {
    if (measure.CtlType != ODT_MENU) return false;
    if (ownerdraw::MeasureSeparator(window, measure, font)) return true;
    const char* text = reinterpret_cast<const char*>(measure.itemData);
    SIZE extent{};
    if (text) {
        HDC dc = GetDC(window);
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
        if (old) SelectObject(dc, old);
        ReleaseDC(window, dc);
    }
    measure.itemWidth = static_cast<UINT>(extent.cx);
    measure.itemHeight = kLineHeight;
    return true;
}

bool DrawLine(const DRAWITEMSTRUCT& draw, HFONT font, HPEN pen) {
    if (draw.CtlType != ODT_MENU) return false;
    if (ownerdraw::DrawSeparator(draw, font, pen)) return true;
    const char* text = reinterpret_cast<const char*>(draw.itemData);
    if (!text) return true;
    HDC dc = draw.hDC;
    const bool selected = (draw.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &draw.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    RECT textRect = draw.rcItem;
    textRect.left += kTextLeft;
    DrawTextA(dc, text, -1, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (oldFont) SelectObject(dc, oldFont);
    SetBkMode(dc, oldMode);
    return true;
}

}  // namespace additem
