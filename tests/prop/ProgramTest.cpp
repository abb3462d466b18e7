// TLProp.exe as built: one instance at a time.
#include "../support/TestSupport.h"

#include <base/Handles.h>
#include <base/Path.h>
#include <prop/SettingsSheet.h>

#include <prsht.h>

#include <gtest/gtest.h>

namespace {

win::UniqueHandle Start(const std::string& exe) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string command = "\"" + exe + "\"";
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return {};
    CloseHandle(process.hThread);
    return win::UniqueHandle(process.hProcess);
}

HWND WaitForSheet() {
    for (int i = 0; i < 500; ++i) {
        if (HWND sheet = FindWindowA(nullptr, prop::kSheetCaption)) return sheet;
        Sleep(20);
    }
    return nullptr;
}

TEST(SettingsTool, ASecondStartHandsOverToTheRunningSheetAndEnds) {
    testutil::TempDir dir;
    const std::string exe = dir / "TLProp.exe";
    ASSERT_TRUE(CopyFileA(path::ReplaceFileName(path::ModuleFile(nullptr), "..\\bin\\TLProp.exe").c_str(), exe.c_str(), FALSE));
    testutil::WriteSettings(dir, "[Tolvak#1]\r\ntabName=One\r\n");

    const win::UniqueHandle first = Start(exe);
    ASSERT_TRUE(first);
    HWND sheet = WaitForSheet();
    ASSERT_NE(sheet, nullptr);

    const win::UniqueHandle second = Start(exe);
    ASSERT_TRUE(second);
    EXPECT_EQ(WaitForSingleObject(second.get(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(second.get(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(WaitForSingleObject(first.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the first keeps running";

    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    EXPECT_EQ(WaitForSingleObject(first.get(), 10000), WAIT_OBJECT_0);
}

}  // namespace
