// The "Tree", "Wnd" and "IE 1" pages of the settings tool, and what the programs read back of
// what the tool writes.
#include "SheetDriver.h"

#include <base/Handles.h>
#include <base/Path.h>
#include <prop/BrowserPage.h>
#include <prop/ColorButton.h>
#include <resources/PropIds.h>
#include <settings/TreeSettings.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>

using proptest::Click;
using proptest::IsChecked;
using proptest::RunSheet;
using proptest::Sheet;
using proptest::Type;
using proptest::WithDialog;
using testutil::ReadBytes;

namespace {

struct PageFixture : testing::Test {
    testutil::TempDir dir;
    testutil::MessageRecorder messages;
    settings::IniFile ini;

    void Settings(const std::string& content) { ini = settings::IniFile(testutil::WriteSettings(dir, content)); }
    std::string File() const { return ReadBytes(ini.path()); }
};

TEST_F(PageFixture, TreePageShowsTheStoredLookAndKeepsModeBitsItDoesNotShow) {
    // 61: mode 1, hot tracking, no dragging out, no renaming, and bit 5 that the page has no box for.
    Settings("[Tree]\r\nitemMode=61\r\nTvBkColor=0x00FF0000\r\niIndent=30\r\n");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Show(proptest::kTree);
        ASSERT_NE(page, nullptr);
        EXPECT_TRUE(IsChecked(page, IDC_TREE_MODE_SINGLE));
        EXPECT_TRUE(IsChecked(page, IDC_TREE_HOT_TRACK));
        EXPECT_TRUE(IsChecked(page, IDC_TREE_NO_DRAG_OUT));
        EXPECT_TRUE(IsChecked(page, IDC_TREE_NO_RENAME));
        EXPECT_FALSE(IsChecked(page, IDC_TREE_NO_ICONS));
        EXPECT_EQ(proptest::Text(page, IDC_TREE_INDENT), "30");
        EXPECT_EQ(TreeView_GetBkColor(GetDlgItem(page, IDC_TREE_SAMPLE)), static_cast<COLORREF>(0xFF0000));
        EXPECT_EQ(prop::CaptionColor(0xFF0000), static_cast<COLORREF>(0x00FFFF)) << "yellow on blue";
        EXPECT_FALSE(sheet.ApplyEnabled());
        Click(page, IDC_TREE_NO_ICONS);
        EXPECT_TRUE(sheet.ApplyEnabled());
        sheet.Ok();
    }));
    EXPECT_EQ(File(), "[Tree]\r\nitemMode=61\r\nTvBkColor=0x00FF0000\r\niIndent=30\r\nNoIcons=1\r\n")
        << "only the changed box is written";
}

TEST_F(PageFixture, TreePageReadsColoursAsTheProgramsDoAndWritesNoValueLeftAlone) {
    const struct {
        std::string file;
        COLORREF background, text;
    } cases[] = {
        {"[Tree]\r\nTvBkColor=FF0000\r\n", 0xFF0000, GetSysColor(COLOR_WINDOWTEXT)},
        {"[Tree]\r\nTvBkColor=0x00ff0000\r\nTvTxColor=0000FF\r\nTvLineColor=0000FF\r\niIndent=20\r\nNoIcons=0\r\n"
         "font-face=ＭＳ ゴシック\r\nfont-size=10\r\n",
         0xFF0000, 0x0000FF},
    };
    for (const auto& c : cases) {
        Settings(c.file);
        ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
            HWND sample = GetDlgItem(sheet.Show(proptest::kTree), IDC_TREE_SAMPLE);
            EXPECT_EQ(TreeView_GetBkColor(sample), c.background) << c.file;
            EXPECT_EQ(TreeView_GetTextColor(sample), c.text) << c.file;
            sheet.Ok();
        }));
        EXPECT_EQ(File(), c.file);
    }
}

TEST_F(PageFixture, TreePageBackToStandardDropsTheLookKeys) {
    Settings("[Tree]\r\nTvBkColor=0x00FF0000\r\nTvTxColor=0x000000FF\r\nTvLineColor=0x0000FF00\r\n"
             "font-face=Courier\r\nfont-size=12\r\n");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Show(proptest::kTree);
        // The colour and font dialogs open on the page's values; OK there keeps them.
        WithDialog([](HWND dialog) { PostMessageA(dialog, WM_COMMAND, IDOK, 0); },
                   [&] { Click(page, IDC_TREE_BACK_COLOR); });
        EXPECT_EQ(TreeView_GetBkColor(GetDlgItem(page, IDC_TREE_SAMPLE)), static_cast<COLORREF>(0xFF0000));
        Click(page, IDC_TREE_STANDARD);
        EXPECT_EQ(TreeView_GetBkColor(GetDlgItem(page, IDC_TREE_SAMPLE)), GetSysColor(COLOR_WINDOW));
        sheet.Ok();
    }));
    EXPECT_EQ(File(), "[Tree]\r\n");
}

TEST_F(PageFixture, WindowPageWritesOnlyWhatDiffersFromTheProgramsDefaults) {
    Settings("[Wnd]\r\n");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Show(proptest::kWnd);
        EXPECT_TRUE(IsChecked(page, IDC_WND_STATUS_BAR));
        EXPECT_FALSE(IsChecked(page, IDC_WND_NO_DUAL) || IsChecked(page, IDC_WND_TOP_MOST) ||
                     IsChecked(page, IDC_WND_DEFAULT_SIZE));
        sheet.Apply();
        EXPECT_EQ(File(), "[Wnd]\r\n") << "unchanged, nothing is written";
        Click(page, IDC_WND_STATUS_BAR);
        Click(page, IDC_WND_NO_DUAL);
        sheet.Ok();
    }));
    EXPECT_EQ(File(), "[Wnd]\r\nNoDual=1\r\nShowStatusBar=0\r\n");
}

TEST_F(PageFixture, WindowPageOpensTheSystemsInternetOptionsNotOneInTheCurrentFolder) {
    const testutil::Recorder planted(dir, "current", "control.exe");
    ASSERT_TRUE(planted.ok());
    const testutil::ScopedCurrentFolder current(dir / "current");
    Settings("[Wnd]\r\n");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        Click(sheet.Show(proptest::kWnd), IDC_WND_INTERNET_OPTIONS);
        EXPECT_TRUE(testutil::EndProgramWhenShown(path::SystemFile("control.exe"), [&] { return planted.Started(); }));
        sheet.Cancel();
    }));
    EXPECT_FALSE(planted.Started());
}

// The toolbar key of the test's own prefix, restored afterwards.
struct ToolbarKey {
    win::UniqueKey key;
    ToolbarKey() {
        HKEY opened = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, prop::kToolbarKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr);
        key.reset(opened);
        for (const char* name : {"BackBitmapIE5", "smBrandBitmap"}) RegDeleteValueA(key.get(), name);
    }
    ~ToolbarKey() {
        for (const char* name : {"BackBitmapIE5", "smBrandBitmap"}) RegDeleteValueA(key.get(), name);
    }
    void Set(const char* name, DWORD type, const std::string& value) const {
        RegSetValueExA(key.get(), name, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }
    // Type and text of a value; nothing when it is absent.
    std::optional<std::pair<DWORD, std::string>> Get(const char* name) const {
        char text[600] = "";
        DWORD type = 0, size = sizeof text;
        if (RegQueryValueExA(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
            return std::nullopt;
        return std::make_pair(type, std::string(text));
    }
};

TEST_F(PageFixture, BrowserPageWritesOnlyTheBitmapsThatChanged) {
    Settings("");
    ToolbarKey toolbar;
    // A value the tool would write as REG_SZ: it keeps its own type while untouched.
    toolbar.Set("BackBitmapIE5", REG_EXPAND_SZ, "%WINDIR%\\back.bmp");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND page = sheet.Show(proptest::kIe1);
        EXPECT_EQ(proptest::Text(page, IDC_IE_BACK_BITMAP), "%WINDIR%\\back.bmp");
        EXPECT_EQ(proptest::Text(page, IDC_IE_BRAND_BITMAP), "");
        sheet.Apply();
        EXPECT_FALSE(toolbar.Get("smBrandBitmap")) << "an untouched empty field writes nothing";
        Type(page, IDC_IE_BRAND_BITMAP, "C:\\brand.bmp");
        sheet.Apply();
        EXPECT_EQ(toolbar.Get("BackBitmapIE5"), std::make_pair(DWORD{REG_EXPAND_SZ}, std::string("%WINDIR%\\back.bmp")));
        EXPECT_EQ(toolbar.Get("smBrandBitmap"), std::make_pair(DWORD{REG_SZ}, std::string("C:\\brand.bmp")));
        Type(page, IDC_IE_BACK_BITMAP, "");
        sheet.Ok();
    }));
    EXPECT_FALSE(toolbar.Get("BackBitmapIE5")) << "an emptied field removes its value";
    EXPECT_EQ(File(), "") << "the page writes nothing into the settings file";
}

// The user's registry mapped onto a key of the test's own, so the browser's toolbar key can be
// missing or refused: below a volatile key no lasting key can be made.
class ScopedUserKey {
public:
    explicit ScopedUserKey(bool isVolatile) {
        HKEY key = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\TolvakTest\\User", 0, nullptr,
                        isVolatile ? REG_OPTION_VOLATILE : REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        key_.reset(key);
        ok_ = key && RegOverridePredefKey(HKEY_CURRENT_USER, key) == ERROR_SUCCESS;
    }
    ~ScopedUserKey() { RegOverridePredefKey(HKEY_CURRENT_USER, nullptr); }
    ScopedUserKey(const ScopedUserKey&) = delete;
    ScopedUserKey& operator=(const ScopedUserKey&) = delete;
    bool ok() const { return ok_; }

private:
    testutil::ScopedRegistryKey cleanup_{HKEY_CURRENT_USER, "Software\\TolvakTest"};
    win::UniqueKey key_;
    bool ok_ = false;
};

TEST_F(PageFixture, BrowserPageMakesTheToolbarKeyAndReportsAWriteRefused) {
    Settings("");
    const struct {
        bool refused;
    } cases[] = {{false}, {true}};
    for (const auto& c : cases) {
        ScopedUserKey user(c.refused);
        ASSERT_TRUE(user.ok());
        ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
            Type(sheet.Show(proptest::kIe1), IDC_IE_BRAND_BITMAP, "C:\\brand.bmp");
            sheet.Ok();
            EXPECT_EQ(sheet.IsOpen(), c.refused);
        }));
        const auto value = testutil::RegistryText(HKEY_CURRENT_USER, prop::kToolbarKey, "smBrandBitmap");
        if (c.refused) {
            EXPECT_FALSE(value);
            ASSERT_EQ(messages.texts().size(), 1u);
            EXPECT_EQ(messages.texts()[0].rfind("設定を保存できませんでした。\n"
                                                "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar\n",
                                                0),
                      0u)
                << messages.texts()[0];
        } else {
            EXPECT_EQ(value, "C:\\brand.bmp") << "the missing key is made";
            EXPECT_TRUE(messages.texts().empty());
        }
    }
}

TEST_F(PageFixture, TheProgramsReadBackWhatTheToolWrote) {
    Settings("[Tolvak#1]\r\ntabName=One\r\n");
    const std::string root = dir.MakeDir("fav");
    ASSERT_TRUE(RunSheet(ini, [&](Sheet& sheet) {
        HWND general = sheet.Current();
        WithDialog(
            [&](HWND dialog) {
                Type(dialog, IDC_TAB_NAME, "Zwei");
                Type(dialog, IDC_TAB_ROOT, root);
                Type(dialog, IDC_TAB_CHROMIUM, "C:\\Chrome\\Bookmarks");
                Type(dialog, IDC_TAB_FIREFOX, "C:\\Firefox\\places.sqlite");
                EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_TAB_OFFER_PROFILES), BST_CHECKED) << "the programs' default";
                Click(dialog, IDC_TAB_OFFER_PROFILES);
                Click(dialog, IDOK);
            },
            [&] { proptest::DoubleClickLine(general, IDC_TAB_LIST, 1); });
        HWND tree = sheet.Show(proptest::kTree);
        Type(tree, IDC_TREE_INDENT, "33");
        Click(tree, IDC_TREE_MODE_CLICK);
        Click(tree, IDC_TREE_NO_ICONS);
        HWND wnd = sheet.Show(proptest::kWnd);
        Click(wnd, IDC_WND_TOP_MOST);
        sheet.Ok();
    }));
    EXPECT_EQ(ini.ReadString("Tolvak#2", "tabName", "", 40), "Zwei");
    EXPECT_EQ(ini.ReadString("Tolvak#2", "FavRoot", "", MAX_PATH), root);
    EXPECT_EQ(ini.ReadString("Tolvak#2", "ChromiumBookMark", "", MAX_PATH), "C:\\Chrome\\Bookmarks");
    EXPECT_EQ(ini.ReadString("Tolvak#2", "FirefoxBookMark", "", MAX_PATH), "C:\\Firefox\\places.sqlite");
    EXPECT_EQ(ini.ReadInt("Tolvak#2", "OfferBrowserProfiles", 1), 0);
    const settings::TreeSettings look = settings::ReadTreeSettings(ini);
    EXPECT_EQ(look.indent, 33);
    EXPECT_EQ(look.itemMode, settings::kExpandOnClick);
    EXPECT_FALSE(look.showIcons);
    EXPECT_FALSE(look.background) << "the window colour is the control's own";
    EXPECT_EQ(look.text, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(look.lines, look.text);
    EXPECT_EQ(look.fontFace, settings::kDefaultFontFace);
    EXPECT_EQ(look.fontSize, settings::kDefaultFontSize);
    EXPECT_EQ(ini.ReadInt("Wnd", "TopMost", 0), 1);
    EXPECT_EQ(ini.ReadInt("Wnd", "ShowStatusBar", 1), 1);
}

}  // namespace
