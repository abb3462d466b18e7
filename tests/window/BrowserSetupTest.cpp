// The browser's favorites wizard and the toolbar button, with the browser's shell UI object played
// by a fake class object (this Wine has none) and the button written to the test prefix's registry.
#include "../support/TestSupport.h"

#include <app/browsersetup/BrowserSetup.h>
#include <base/HtmlHelp.h>
#include <base/Path.h>

#include <gtest/gtest.h>

#include <exdisp.h>

#include <map>

namespace {

#define NOT_USED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

constexpr char kButtonKey[] =
    "Software\\Microsoft\\Internet Explorer\\Extensions\\{7C41B5E0-3A6F-11d4-8E3F-2A61C0D94B17}";

// Registered for CLSID_ShellUIHelper while it lives; records the wizard calls.
class FakeShellHelper final : public IShellUIHelper {
public:
    explicit FakeShellHelper(bool knowsWizard) : knowsWizard_(knowsWizard) {}
    bool ok() const { return factory_.ok(); }
    std::vector<bool> wizardCalls;  // import flags

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
                           IsEqualIID(iid, IID_IShellUIHelper);
        *object = known ? static_cast<IShellUIHelper*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;  // IMarshal included
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        const bool known = knowsWizard_ && count == 1 && wcscmp(names[0], L"ImportExportFavorites") == 0;
        ids[0] = known ? 1 : DISPID_UNKNOWN;
        return known ? S_OK : DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE ImportExportFavorites(VARIANT_BOOL import, BSTR path) override {
        wizardCalls.push_back(import == VARIANT_TRUE && !path);
        return S_OK;
    }
    NOT_USED(GetTypeInfoCount, UINT*) NOT_USED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOT_USED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    NOT_USED(ResetFirstBootMode) NOT_USED(ResetSafeMode) NOT_USED(RefreshOfflineDesktop)
    NOT_USED(AddFavorite, BSTR, VARIANT*) NOT_USED(AddChannel, BSTR)
    NOT_USED(AddDesktopComponent, BSTR, BSTR, VARIANT*, VARIANT*, VARIANT*, VARIANT*)
    NOT_USED(IsSubscribed, BSTR, VARIANT_BOOL*) NOT_USED(NavigateAndFind, BSTR, BSTR, VARIANT*)
    NOT_USED(AutoCompleteSaveForm, VARIANT*) NOT_USED(AutoScan, BSTR, BSTR, VARIANT*)
    NOT_USED(AutoCompleteAttach, VARIANT*) NOT_USED(ShowBrowserUI, BSTR, VARIANT*, VARIANT*)

private:
    bool knowsWizard_;
    testutil::SingleObjectFactory factory_{CLSID_ShellUIHelper, this};
};

// The button key's values below `root`; nothing when there is no key.
std::optional<testutil::NamedTexts> ButtonValues(HKEY root = HKEY_LOCAL_MACHINE) {
    return testutil::RegistryValues(root, kButtonKey);
}

struct BrowserSetupFixture : testing::Test {
    win::OleSession ole;
    testutil::MessageRecorder messages;
    std::vector<std::string> topics;
    help::ScopedTopicHandler help{[this](const std::string& topic) { topics.push_back(topic); }};
    // No button yet, as before the user's first click.
    testutil::ScopedRegistryKey button{HKEY_LOCAL_MACHINE, kButtonKey, testutil::KeyAtStart::kAbsent};
    testutil::ScopedRegistryKey userButton{HKEY_CURRENT_USER, kButtonKey, testutil::KeyAtStart::kAbsent};
};

}  // namespace

TEST_F(BrowserSetupFixture, FavoritesWizardRunsOnlyWithABrowserThatHasIt) {
    const std::string tooOld = "Internet Explorer 5.0 以上が必要です";
    {
        FakeShellHelper browser(true);
        ASSERT_TRUE(browser.ok());
        browsersetup::ImportFavorites();
        browsersetup::ExportFavorites();
        EXPECT_EQ(browser.wizardCalls, (std::vector<bool>{true, false}));
        EXPECT_TRUE(messages.messages().empty());
    }
    {
        FakeShellHelper oldBrowser(false);
        browsersetup::ImportFavorites();
        EXPECT_TRUE(oldBrowser.wizardCalls.empty());
    }
    browsersetup::ExportFavorites();  // no shell UI object at all
    ASSERT_EQ(messages.texts(), (std::vector<std::string>{tooOld, tooOld}));
    EXPECT_TRUE(messages.messages()[0].systemCaption);
    EXPECT_EQ(messages.messages()[0].owner, nullptr);
}

TEST_F(BrowserSetupFixture, ToolbarButtonIsAddedOnceAndRemovedWithoutTrace) {
    ASSERT_TRUE(button.ok());
    browsersetup::AddToolbarButton();  // no browser
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Internet Explorer 5.0以上が必要です"});
    EXPECT_EQ(ButtonValues(), std::nullopt);

    FakeShellHelper browser(true);
    browsersetup::AddToolbarButton();
    browsersetup::AddToolbarButton();
    // Wherever the program runs from, the button starts that program.
    const std::string program = path::ModuleFile(nullptr);
    const testutil::NamedTexts expected = {
        {"ButtonText", "Tolvak"},
        {"CLSID", "{1FBA04EE-3024-11d2-8F1F-0000F87ABD16}"},
        {"Exec", program},
        {"HotIcon", program + ",2"},
        {"Icon", program + ",3"},
        {"MenuStatusBar", "Tolvakを起動"},
        {"MenuText", "Tolvak"},
    };
    EXPECT_EQ(ButtonValues(), expected);
    const std::string registered = "登録が完了しました。\nヘルプを見てIEを設定してください。";
    ASSERT_EQ(messages.texts().size(), 3u);
    EXPECT_EQ(messages.texts()[2], registered);
    EXPECT_EQ(messages.messages()[2].caption, "IE拡張");
    EXPECT_EQ(topics, (std::vector<std::string>{"/f_addietoolbar.html", "/f_addietoolbar.html"}));

    browsersetup::RemoveToolbarButton();
    browsersetup::RemoveToolbarButton();  // already gone: nothing to say
    EXPECT_EQ(ButtonValues(), std::nullopt);
    EXPECT_EQ(messages.texts().size(), 3u);
}

TEST_F(BrowserSetupFixture, ButtonThatCannotBeWrittenIsReportedNotClaimed) {
    // Stands in for a machine key the user may not write: below a volatile key no lasting key can
    // be made, so the machine key is mapped onto one for the time of the test.
    HKEY volatileKey = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TolvakTest\\Volatile", 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, &volatileKey, nullptr),
              ERROR_SUCCESS);
    testutil::ScopedRegistryKey cleanup(HKEY_CURRENT_USER, "Software\\TolvakTest");
    FakeShellHelper browser(true);
    ASSERT_EQ(RegOverridePredefKey(HKEY_LOCAL_MACHINE, volatileKey), ERROR_SUCCESS);
    browsersetup::AddToolbarButton();
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    RegCloseKey(volatileKey);

    ASSERT_EQ(messages.texts().size(), 1u);
    EXPECT_TRUE(messages.texts()[0].starts_with("ツールバーボタンを登録できませんでした。")) << messages.texts()[0];
    EXPECT_TRUE(topics.empty());
    EXPECT_EQ(ButtonValues(), std::nullopt);
}

TEST_F(BrowserSetupFixture, ButtonThatCannotBeRemovedIsReportedAndStays) {
    ASSERT_TRUE(button.ok());
    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kButtonKey, "ButtonText", REG_SZ, "Tolvak", 7), ERROR_SUCCESS);
    {
        const testutil::LockedRegistryKey locked(HKEY_LOCAL_MACHINE, kButtonKey);
        ASSERT_TRUE(locked.ok());
        browsersetup::RemoveToolbarButton();
    }
    EXPECT_EQ(ButtonValues(), (testutil::NamedTexts{{"ButtonText", "Tolvak"}}));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.texts()[0], "ツールバーボタンを削除できませんでした。(エラー 5)\nこの削除には管理者の権限が必要です。");
    EXPECT_EQ(messages.messages()[0].caption, "IE拡張");
}

// A user without administrator rights gets the button for himself, is told so, and removing it
// takes the user's button and the machine's.
TEST_F(BrowserSetupFixture, ButtonTheMachineRefusesGoesToTheUserAndRemovalTakesBoth) {
    ASSERT_TRUE(button.ok() && userButton.ok());
    FakeShellHelper browser(true);
    {
        const testutil::LockedRegistryKey machine(HKEY_LOCAL_MACHINE, kButtonKey);
        ASSERT_TRUE(machine.ok());
        browsersetup::AddToolbarButton();
    }
    EXPECT_EQ(ButtonValues(HKEY_LOCAL_MACHINE), testutil::NamedTexts{});
    const std::optional<testutil::NamedTexts> user = ButtonValues(HKEY_CURRENT_USER);
    ASSERT_TRUE(user && user->size() == 7u);
    EXPECT_EQ((*user)[2], (std::pair<std::string, std::string>{"Exec", path::ModuleFile(nullptr)}));
    EXPECT_EQ(messages.texts(),
              std::vector<std::string>{"現在のユーザーにだけ登録しました。\nヘルプを見てIEを設定してください。"});
    EXPECT_EQ(messages.messages()[0].caption, "IE拡張");
    EXPECT_EQ(topics, std::vector<std::string>{"/f_addietoolbar.html"});

    ASSERT_EQ(RegSetKeyValueA(HKEY_LOCAL_MACHINE, kButtonKey, "ButtonText", REG_SZ, "Tolvak", 7), ERROR_SUCCESS);
    browsersetup::RemoveToolbarButton();
    EXPECT_EQ(ButtonValues(HKEY_LOCAL_MACHINE), std::nullopt);
    EXPECT_EQ(ButtonValues(HKEY_CURRENT_USER), std::nullopt);
    EXPECT_EQ(messages.texts().size(), 1u);
}
