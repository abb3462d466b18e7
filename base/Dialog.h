// Base of every dialog object, the dialog counterpart of ui::Window: the object pointer travels in
// the dialog's creation parameter, is stored in DWLP_USER on WM_INITDIALOG and cleared on
// WM_NCDESTROY; messages go to HandleMessage.
#pragma once

#include <windows.h>
#include <prsht.h>

namespace ui {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The object bound to a dialog window, or null.
    static Dialog* FromHandle(HWND hwnd) {
        return reinterpret_cast<Dialog*>(GetWindowLongPtrA(hwnd, DWLP_USER));
    }

    // Runs the dialog template `templateId` of `module` modally; returns the value the dialog
    // ended with, or -1 when it could not be created.
    INT_PTR RunModal(HINSTANCE module, int templateId, HWND owner);
    // The dialog template `templateId` of `module` as a page of a property sheet, bound to this
    // object; null when the page could not be made.
    HPROPSHEETPAGE CreatePage(HINSTANCE module, int templateId);

    // The dialog procedure of a property-sheet page whose PROPSHEETPAGE's lParam is the object.
    static INT_PTR CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

protected:
    // Dialog-procedure convention: TRUE when the message was handled. Messages whose answer is a
    // value of its own (notifications) return it through Answer.
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Called once the window is gone and the binding is cleared.
    virtual void OnDialogGone() {}

    // Sets the answer to the message being handled and returns TRUE (handled).
    INT_PTR Answer(LONG_PTR value) const;

private:
    static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // Binds `self` (on WM_INITDIALOG) and hands the message to the bound object.
    static INT_PTR Dispatch(Dialog* self, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd_ = nullptr;
};

}  // namespace ui
