// The built Tolvak.exe for end-to-end tests: a copy installed in a folder of its own, the running
// process, and what the tests look for in its windows.
#pragma once

#include "../support/TestSupport.h"

#include <commctrl.h>

#include <functional>
#include <string>

namespace e2e {

inline constexpr DWORD kStartTimeoutMs = 15000;

using testutil::WaitFor;

// A visible top-level window of the class in `processId` (any process for 0), or null.
HWND TopWindowOf(DWORD processId, const char* className);
// The visible main window of `processId` (any process for 0), or null.
HWND MainWindowOf(DWORD processId);
int CountMainWindows();
HWND TreeOf(HWND mainWindow);

// A visible dialog (a message box, a save dialog, a folder browser) of `processId`, or null.
HWND DialogOf(DWORD processId);
// The text a message box shows.
std::string MessageText(HWND box);

// Sends `message` to a window of another process with `text` as its lParam: the text is copied
// into that process first, as pointer arguments of private messages are not carried across.
LRESULT SendWithRemoteText(HWND window, UINT message, WPARAM wParam, const std::string& text);

// An item's label in another process's tree view: the item record and its text buffer must live
// in that process, as the tree view writes through the pointers it is given.
std::string RemoteLabel(HWND tree, HTREEITEM item);

// A copy of the built program in a folder of its own, so it finds the test's settings beside it.
class Installation {
public:
    explicit Installation(const std::string& settings);
    // A built plug-in beside the program, where it looks for it.
    bool AddPlugIn(const char* name) const;
    const testutil::TempDir& dir() const { return dir_; }
    std::string exe() const { return dir_ / "Tolvak.exe"; }
    std::string ini() const { return dir_ / "tolvak.ini"; }
    bool copied() const { return copied_; }

private:
    testutil::TempDir dir_;
    bool copied_ = false;
};

// A built program file (from bin\) or a test program (beside the tests), for copying.
std::string BuiltFile(const std::string& name);
std::string TestProgram(const std::string& name);

// The installed program, started as a user starts it; closed (or ended) at the end of the test.
class RunningProgram {
public:
    // `currentFolder`: the folder the program starts in; its own folder when empty.
    explicit RunningProgram(const Installation& installation, const std::string& currentFolder = "");
    // Any program file (an installed copy), started in `folder`.
    RunningProgram(const std::string& exe, const std::string& folder);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    DWORD id() const { return process_.dwProcessId; }
    // The program's main window once it is shown; null if it never appears.
    HWND Window() const;
    // A dialog the program shows within `timeoutMs`, or null.
    HWND WaitForDialog(DWORD timeoutMs = 10000) const;
    bool Exited(DWORD timeoutMs, DWORD* code) const;

private:
    PROCESS_INFORMATION process_{};
};

// Closes `dialog` with `command` and waits until the program has finished the menu command that
// showed it: a message sent to the main window is only answered once the command has returned.
bool AnswerDialog(const RunningProgram& program, HWND dialog, UINT command);

}  // namespace e2e
