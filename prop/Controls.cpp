#include "Controls.h"

namespace prop {

std::string ListLine(HWND list, int line) {
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, line, 0);
    if (length == LB_ERR) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(SendMessageA(list, LB_GETTEXT, line, reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

bool RefuseControl(HWND dialog, int id) {
    MessageBeep(MB_OK);
    SetFocus(GetDlgItem(dialog, id));
    return false;
}

bool TakeField(HWND dialog, int id, size_t limit, std::string* field) {
    std::string text = ControlText(dialog, id);
    if (text.size() > limit && text != *field) return RefuseControl(dialog, id);
    *field = std::move(text);
    return true;
}

}  // namespace prop
