// Installing and uninstalling the Explorer bar from the main menu: the bar library beside the
// program does the work and asks its own question; this side reports the outcome.
#include "BrowserSetup.h"

#include <base/Format.h>
#include <base/Handles.h>
#include <base/HtmlHelp.h>
#include <base/MessageBox.h>
#include <base/Path.h>

#include <optional>

namespace browsersetup {
namespace {

constexpr char kBarLibrary[] = "TolvakBar.dll";
constexpr WORD kInstallOrdinal = 5;
constexpr WORD kUninstallOrdinal = 6;
// What the library's install entry returns besides a failing HRESULT.
constexpr int kInstalled = 0;
constexpr int kDeclined = 1;
constexpr int kInstalledForUser = 2;
constexpr char kCaption[] = "IE拡張";
constexpr char kRegistered[] = "登録が完了しました。\nヘルプを表示しますか？";
constexpr char kRegisteredForUser[] = "現在のユーザーにだけ登録しました。\nヘルプを表示しますか？";
constexpr char kNotRegistered[] = "TolvakBarを登録できませんでした。(0x%08lX)";
constexpr char kHelpTopic[] = "/ex_index.html";

using SetupFunction = int(WINAPI*)();

// Runs the library's entry `ordinal`; nothing when the library or the entry is missing. The
// library comes from the program's own folder only: by bare name the system would also take one
// from the current folder, which may be any folder the user last worked in.
std::optional<int> RunBarEntry(WORD ordinal) {
    const std::string library = path::ReplaceFileName(path::ModuleFile(nullptr), kBarLibrary);
    const win::UniqueModule module(LoadLibraryA(library.c_str()));
    const auto entry = win::ProcAddress<SetupFunction>(module.get(), MAKEINTRESOURCEA(ordinal));
    if (!entry) return std::nullopt;
    return entry();
}

}  // namespace

void InstallBar() {
    const std::optional<int> result = RunBarEntry(kInstallOrdinal);
    if (!result || *result == kDeclined) return;
    if (*result != kInstalled && *result != kInstalledForUser) {
        ui::ShowMessage(nullptr, text::Format(kNotRegistered, static_cast<unsigned long>(*result)), kCaption, MB_OK);
        return;
    }
    const char* report = *result == kInstalled ? kRegistered : kRegisteredForUser;
    if (ui::ShowMessage(nullptr, report, kCaption, MB_YESNO) == IDYES) help::ShowTopic(nullptr, kHelpTopic);
}

void UninstallBar() { RunBarEntry(kUninstallOrdinal); }

}  // namespace browsersetup
