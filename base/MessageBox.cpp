#include "MessageBox.h"

#include "TextEncoding.h"

#include <utility>

namespace ui {
namespace {

MessageHandler& CurrentHandler() {
    static MessageHandler handler;
    return handler;
}

}  // namespace

int ShowMessage(HWND owner, const std::string& text, const std::string& caption, UINT flags) {
    if (const MessageHandler& handler = CurrentHandler()) return handler({owner, text, caption, flags, false, {}});
    return MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

int ShowMessage(HWND owner, const std::string& text, UINT flags) {
    if (const MessageHandler& handler = CurrentHandler()) return handler({owner, text, "", flags, true, {}});
    return MessageBoxA(owner, text.c_str(), nullptr, flags);
}

int ShowMessage(HWND owner, const std::wstring& text, const std::string& caption, UINT flags) {
    if (const MessageHandler& handler = CurrentHandler())
        return handler({owner, text::WideToAnsi(text), caption, flags, false, text});
    return MessageBoxW(owner, text.c_str(), text::AnsiToWide(caption).c_str(), flags);
}

ScopedMessageHandler::ScopedMessageHandler(MessageHandler handler)
    : previous_(std::exchange(CurrentHandler(), std::move(handler))) {}

ScopedMessageHandler::~ScopedMessageHandler() { CurrentHandler() = std::move(previous_); }

}  // namespace ui
