#include "ControlText.h"

namespace ui {

std::string WindowText(HWND window) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

std::wstring WideWindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::wstring WideControlText(HWND dialog, int id) { return WideWindowText(GetDlgItem(dialog, id)); }

bool MakeWideEdit(HWND dialog, int id) {
    HWND old = GetDlgItem(dialog, id);
    if (!old) return false;
    RECT place{};
    GetWindowRect(old, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(dialog, GWLP_HINSTANCE));
    HWND edit = CreateWindowExW(static_cast<DWORD>(GetWindowLongW(old, GWL_EXSTYLE)), L"Edit", WideWindowText(old).c_str(),
                                static_cast<DWORD>(GetWindowLongW(old, GWL_STYLE)), place.left, place.top,
                                place.right - place.left, place.bottom - place.top, dialog,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    if (!edit) return false;
    SendMessageW(edit, WM_SETFONT, SendMessageW(old, WM_GETFONT, 0, 0), FALSE);
    // Right after the old one: the tab order is the order of the children.
    SetWindowPos(edit, old, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    DestroyWindow(old);
    return true;
}

}  // namespace ui
