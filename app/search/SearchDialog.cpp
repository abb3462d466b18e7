#include "SearchDialog.h"

#include "AddressReading.h"

#include <base/ControlText.h>
#include <base/Format.h>

#include <vector>

namespace search {
namespace {

constexpr char kReadingCaption[] = "アドレスを読み込んでいます... %u / %u (Escで中止)";
constexpr ULONGLONG kShowEveryMs = 100;

}  // namespace

std::string ComboText(HWND dialog, int id, size_t capacity) {
    std::vector<char> buffer(capacity, '\0');
    GetDlgItemTextA(dialog, id, buffer.data(), static_cast<int>(capacity));
    return buffer.data();
}

std::wstring WideComboText(HWND dialog, int id, size_t capacity) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    GetDlgItemTextW(dialog, id, buffer.data(), static_cast<int>(capacity));
    return buffer.data();
}

bool SearchDialog::ReadAddresses(const std::vector<CFavTreeView*>& trees) {
    const std::string caption = ui::WindowText(hwnd());
    reading_ = true;
    stopped_ = false;
    lastShown_ = GetTickCount64();
    const bool finished = search::ReadAddresses(trees, [this](size_t done, size_t total) { return ShowProgress(done, total); });
    reading_ = false;
    SetWindowTextA(hwnd(), caption.c_str());
    if (endAfterReading_ >= 0) EndDialog(hwnd(), endAfterReading_);
    return finished;
}

bool SearchDialog::ShowProgress(size_t done, size_t total) {
    const ULONGLONG now = GetTickCount64();
    if (now - lastShown_ >= kShowEveryMs) {
        lastShown_ = now;
        SetWindowTextA(hwnd(), text::Format(kReadingCaption, static_cast<unsigned>(done), static_cast<unsigned>(total)).c_str());
    }
    // The messages go on as in the dialog's own loop (Escape becomes "キャンセル"); "検索！"
    // waits meanwhile.
    MSG message;
    while (!stopped_ && PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the loop that waits for it
            stopped_ = true;
            break;
        }
        if (IsDialogMessageA(hwnd(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return !stopped_;
}

INT_PTR SearchDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInit();
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            if (!reading_) OnSearch();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            if (reading_) stopped_ = true;
            else EndDialog(hwnd(), IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_CLOSE:
        if (reading_) {
            stopped_ = true;
            endAfterReading_ = 0;
        } else {
            EndDialog(hwnd(), 0);
        }
        return TRUE;
    default:
        return OnOtherMessage(message, wParam, lParam);
    }
}

}  // namespace search
