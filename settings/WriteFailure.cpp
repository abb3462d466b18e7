#include "WriteFailure.h"

#include <base/ErrorText.h>
#include <base/MessageBox.h>

namespace settings {

void ReportWriteFailure(HWND owner, const std::string& where, DWORD error) {
    ui::ShowMessage(owner, "設定を保存できませんでした。\n" + where + "\n" + win::ErrorText(error), MB_OK | MB_ICONERROR);
}

}  // namespace settings
