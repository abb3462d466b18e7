#include "MenuDecoration.h"

#include <resources/TolvakIds.h>
#include <tree/MenuDrawing.h>

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
    ModifyMenuA(menu, position, MF_BYPOSITION | MF_SEPARATOR | MF_OWNERDRAW, ownerdraw::kSeparatorItemId,
                reinterpret_cast<LPCSTR>(title));
}

void AppendUserTools(HMENU tools, const settings::IniFile& ini) {
    const std::vector<std::string> keys = ini.ReadKeys("tool");
    if (keys.empty() || !tools) return;
    // The tools follow their own separator, after every built-in entry of the popup.
    AppendMenuA(tools, MF_SEPARATOR | MF_OWNERDRAW, ownerdraw::kSeparatorItemId, nullptr);
    UINT id = ID_FIRST_USER_TOOL;
    for (const std::string& key : keys) {
        if (key == "-")
            AppendMenuA(tools, MF_SEPARATOR | MF_OWNERDRAW, ownerdraw::kSeparatorItemId, nullptr);
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

}  // namespace app
