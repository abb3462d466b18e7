// The help viewer in the test process: the real hhctrl.ocx showing a built help file.
#include "../support/TestSupport.h"

#include <base/HtmlHelp.h>

#include <htmlhelp.h>

#include <gtest/gtest.h>

namespace {

// The test's own hold on the viewer library, so that its code stays while a window the viewer
// left open is closed here.
class HeldLibrary {
public:
    ~HeldLibrary() {
        using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
        if (const auto htmlHelp = win::ProcAddress<HtmlHelpFunction>(library_.get(), "HtmlHelpA"))
            htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
    bool ok() const { return static_cast<bool>(library_); }

private:
    win::UniqueModule library_{LoadLibraryA("hhctrl.ocx")};
};

TEST(HelpViewer, ClosesItsWindowsBeforeLettingTheLibraryGo) {
    const HeldLibrary held;
    ASSERT_TRUE(held.ok());
    HWND window = nullptr;
    {
        const help::Viewer viewer;
        window = viewer.Show(nullptr, TOLVAK_TEST_DATA "\\help\\Tolvak.chm", "");
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
