// Base of every window object: the object pointer travels in the creation parameter, is stored
// in GWLP_USERDATA on WM_NCCREATE and cleared on WM_NCDESTROY; messages go to HandleMessage.
#pragma once

#include <windows.h>

namespace ui {

class Window {
public:
    Window() = default;
    virtual ~Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }

    // The object bound to a window by Route, or null.
    static Window* FromHandle(HWND hwnd) {
        return reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    }

protected:
    // Class procedures call this; `fallback` serves messages that arrive while no object is bound
    // (before WM_NCCREATE and after WM_NCDESTROY).
    static LRESULT Route(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, WNDPROC fallback);

    // The creation parameter to pass to CreateWindowEx: this object as a Window, whatever else
    // the derived class inherits from.
    void* CreationParam() { return static_cast<Window*>(this); }

    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
    // Called once the window is gone and the binding is cleared.
    virtual void OnWindowGone() {}

private:
    HWND hwnd_ = nullptr;
};

}  // namespace ui
