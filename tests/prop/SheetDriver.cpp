#include "SheetDriver.h"

#include "../support/Picture.h"

#include <base/Path.h>
#include <prop/Controls.h>
#include <prop/SettingsSheet.h>

#include <commctrl.h>
#include <prsht.h>

#include <map>

namespace proptest {
namespace {

constexpr int kApplyButton = 0x3021;
constexpr int kWaitSteps = 200;

std::map<UINT_PTR, std::function<void()>> g_steps;

void CALLBACK RunStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    const auto found = g_steps.find(id);
    if (found == g_steps.end()) return;
    const std::function<void()> step = std::move(found->second);
    g_steps.erase(found);
    step();
}

// Runs `step` from the next message loop of this thread, whichever modal loop that is.
void Soon(std::function<void()> step) { g_steps[SetTimer(nullptr, 0, 10, RunStep)] = std::move(step); }

// A visible top-level dialog of this thread other than `except`.
HWND ThreadDialog(HWND except, const char* title = nullptr) {
    struct Search {
        HWND except;
        const char* title;
        HWND found;
    } search{except, title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) {
            auto& wanted = *reinterpret_cast<Search*>(param);
            char name[16] = "", caption[128] = "";
            GetClassNameA(window, name, sizeof name);
            GetWindowTextA(window, caption, sizeof caption);
            if (window != wanted.except && IsWindowVisible(window) && lstrcmpA(name, "#32770") == 0 &&
                (!wanted.title || lstrcmpA(caption, wanted.title) == 0))
                wanted.found = window;
            return wanted.found ? FALSE : TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Runs `act` with the window `find` gives once it exists; gives up after a while.
void WhenFound(const std::function<HWND()>& find, const std::function<void(HWND)>& act, bool* found) {
    auto tries = std::make_shared<int>(0);
    auto step = std::make_shared<std::function<void()>>();
    *step = [=] {
        HWND window = find();
        if (!window && ++*tries < kWaitSteps) return Soon(*step);
        *found = window != nullptr;
        if (window) act(window);
    };
    Soon(*step);
}

void ClearSteps() {
    for (const auto& [id, unused] : g_steps) KillTimer(nullptr, id);
    g_steps.clear();
}

}  // namespace

HWND Sheet::Show(Page page) const {
    if (!PropSheet_SetCurSel(sheet_, nullptr, page)) return nullptr;
    testutil::PumpMessages();
    return Current();
}

HWND Sheet::Current() const { return PropSheet_GetCurrentPageHwnd(sheet_); }

bool Sheet::ApplyEnabled() const { return IsWindowEnabled(GetDlgItem(sheet_, kApplyButton)) != FALSE; }

void Sheet::Press(int button) const {
    PropSheet_PressButton(sheet_, button);
    testutil::PumpMessages();
}

bool RunSheet(const settings::IniFile& ini, const std::function<void(Sheet&)>& script) {
    bool found = false;
    WhenFound([] { return ThreadDialog(nullptr, prop::kSheetCaption); },
              [&](HWND window) {
                  Sheet sheet(window);
                  script(sheet);
                  if (IsWindow(window) && IsWindowVisible(window)) sheet.Cancel();
              },
              &found);
    prop::RunSettingsSheet(GetModuleHandleA(nullptr), nullptr, ini);
    ClearSteps();
    return found;
}

void WithDialog(const std::function<void(HWND)>& answer, const std::function<void()>& open) {
    HWND sheet = ThreadDialog(nullptr, prop::kSheetCaption);
    bool found = false;
    WhenFound([sheet] { return ThreadDialog(sheet); },
              [&](HWND dialog) {
                  answer(dialog);
                  if (IsWindow(dialog) && IsWindowVisible(dialog)) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
              },
              &found);
    open();
    EXPECT_TRUE(found) << "no dialog showed";
}

void Click(HWND dialog, int id) {
    SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
    testutil::PumpMessages();
}

void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

void DoubleClickLine(HWND dialog, int listId, int line) {
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, LB_SETCURSEL, line, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

std::string Text(HWND dialog, int id) { return prop::ControlText(dialog, id); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

std::vector<std::string> Lines(HWND dialog, int listId) {
    HWND list = GetDlgItem(dialog, listId);
    std::vector<std::string> lines;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int line = 0; line < count; ++line) lines.push_back(prop::ListLine(list, line));
    return lines;
}

void SaveScreenshot(const Sheet& sheet, const std::string& name) {
    RedrawWindow(sheet.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    testutil::PumpMessages();
    testutil::WriteBmp(path::ReplaceFileName(path::ModuleFile(nullptr), name + ".bmp"),
                       testutil::CaptureWindow(sheet.hwnd()));
}

}  // namespace proptest
