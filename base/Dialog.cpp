#include "Dialog.h"

#include <prsht.h>

namespace ui {

INT_PTR Dialog::RunModal(HINSTANCE module, int templateId, HWND owner) {
    return DialogBoxParamA(module, MAKEINTRESOURCEA(templateId), owner, Procedure, reinterpret_cast<LPARAM>(this));
}

HPROPSHEETPAGE Dialog::CreatePage(HINSTANCE module, int templateId) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.hInstance = module;
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = PageProcedure;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return CreatePropertySheetPageA(&page);
}

INT_PTR Dialog::Answer(LONG_PTR value) const {
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, value);
    return TRUE;
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* created = message == WM_INITDIALOG ? reinterpret_cast<Dialog*>(lParam) : nullptr;
    return Dispatch(created, hwnd, message, wParam, lParam);
}

INT_PTR CALLBACK Dialog::PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* created = nullptr;
    if (message == WM_INITDIALOG && lParam)
        created = reinterpret_cast<Dialog*>(reinterpret_cast<const PROPSHEETPAGEA*>(lParam)->lParam);
    return Dispatch(created, hwnd, message, wParam, lParam);
}

INT_PTR Dialog::Dispatch(Dialog* created, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (created) {
        created->hwnd_ = hwnd;
        SetWindowLongPtrA(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(created));
    }
    // Messages before WM_INITDIALOG (WM_SETFONT, the creation messages) get the default handling.
    Dialog* self = FromHandle(hwnd);
    if (!self) return FALSE;

    const INT_PTR result = self->HandleMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(hwnd, DWLP_USER, 0);
        self->hwnd_ = nullptr;
        self->OnDialogGone();
    }
    return result;
}

}  // namespace ui
