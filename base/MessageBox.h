// The one way the program shows a message box or asks a question. Tests replace the real box
// with a handler that records the text and gives the answer.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace ui {

struct MessageRequest {
    HWND owner;
    std::string text;
    std::string caption;  // empty: the box has no caption, unless systemCaption
    UINT flags;
    bool systemCaption = false;  // the system's own caption ("エラー" on Japanese Windows)
    // Asked with wide text (exact addresses and titles): that text, and `text` its code-page form.
    std::wstring wideText;
};

// Shows the box (or asks the installed handler) and returns the button pressed (IDOK, IDYES ...).
int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags);
// The same with the caption the system gives a box that names none.
int ShowMessage(HWND owner, const std::string& text, UINT flags);
// The same with text that may hold characters the code page lacks.
int ShowMessage(HWND owner, const std::wstring& text, const std::string& caption, UINT flags);

using MessageHandler = std::function<int(const MessageRequest&)>;

// Installs a handler for the lifetime of the object; the previous one comes back afterwards.
class ScopedMessageHandler {
public:
    explicit ScopedMessageHandler(MessageHandler handler);
    ~ScopedMessageHandler();
    ScopedMessageHandler(const ScopedMessageHandler&) = delete;
    ScopedMessageHandler& operator=(const ScopedMessageHandler&) = delete;

private:
    MessageHandler previous_;
};

}  // namespace ui
