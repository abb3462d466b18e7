#include "MenuDecoration.h"

#include <base/Handles.h>
#include <resources/TolvakIds.h>

namespace app {
namespace {

constexpr char kTitleSearch[] = "search";
constexpr char kTitleTreeOperations[] = "Tree OP";
constexpr char kTitleOptions[] = "Options";
constexpr char kTitleBrowserExtension[] = "IE Extension";
constexpr int kSystemMenuCloseSeparator = 5;
constexpr size_t kToolKeysCapacity = 5000;

// Turns the plain separator at `position` into an owner-drawn one; `title` (static text) is kept
// as the item's data. Entries that are not separators are left alone.
void MakeOwnerDrawn(HMENU menu, int position, const char* title) {
    if (!menu || position >= GetMenuItemCount(menu)) return;
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    if (!GetMenuItemInfoA(menu, position, TRUE, &info) || !(info.fType & MFT_SEPARATOR)) return;
    ModifyMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW, ID_SEPARATOR_ITEM,
                reinterpret_cast<LPCSTR>(title));
}

void AppendUserTools(HMENU tools, const settings::IniFile& ini) {
    const std::vector<std::string> keys = ini.ReadKeys("tool");
    if (keys.empty() || !tools) return;
    // The tools follow their own separator, after every built-in entry of the popup.
    AppendMenuA(tools, MF_SEPARATOR | MF_OWNERDRAW, ID_SEPARATOR_ITEM, nullptr);
    UINT id = ID_FIRST_USER_TOOL;
    for (const std::string& key : keys) {
        if (key == "-")
            AppendMenuA(tools, MF_SEPARATOR | MF_OWNERDRAW, ID_SEPARATOR_ITEM, nullptr);
        else
            AppendMenuA(tools, MF_STRING, id++, key.c_str());
    }
}

}  // namespace

void DecorateMenus(HWND window, const settings::IniFile& ini) {
    if (HMENU bar = GetMenu(window)) {
        DeleteMenu(bar, kProxyPopup, MF_BYPOSITION);
        HMENU tree = GetSubMenu(bar, kTreePopup);
        MakeOwnerDrawn(tree, 0, kTitleSearch);
        MakeOwnerDrawn(tree, 2, nullptr);
        MakeOwnerDrawn(tree, 5, kTitleTreeOperations);
        MakeOwnerDrawn(GetSubMenu(bar, kItemPopup), 2, nullptr);
        HMENU help = GetSubMenu(bar, kHelpPopup);
        MakeOwnerDrawn(help, 3, kTitleOptions);
        MakeOwnerDrawn(help, 7, kTitleBrowserExtension);
        AppendUserTools(GetSubMenu(bar, kToolsPopup), ini);
        DrawMenuBar(window);
    }
    MakeOwnerDrawn(GetSystemMenu(window, FALSE), kSystemMenuCloseSeparator, nullptr);
}

bool MeasureSeparator(HWND window, MEASUREITEMSTRUCT& measure, HFONT font) {
    if (measure.CtlType != ODT_MENU || measure.itemID != ID_SEPARATOR_ITEM) return false;
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
    if (draw.CtlType != ODT_MENU || draw.itemID != ID_SEPARATOR_ITEM) return false;
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

}  // namespace app
