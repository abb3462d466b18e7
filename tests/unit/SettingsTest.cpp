// Typed reads of "tolvak.ini": defaults for missing keys and the documented ranges.
#include "../support/TestSupport.h"

#include <base/Path.h>
#include <base/TextEncoding.h>
#include <settings/Location.h>
#include <settings/TreeSettings.h>

#include <gtest/gtest.h>

using testutil::TempDir;

namespace {

settings::IniFile Ini(const TempDir& dir, const std::string& content) {
    return settings::IniFile(testutil::WriteSettings(dir, content));
}

}  // namespace

TEST(Settings, MissingFileGivesEveryDefault) {
    TempDir dir;
    const settings::IniFile ini(dir / "absent.ini");
    const settings::WindowRect rect = settings::ReadWindowRect(ini);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.width, 470);
    EXPECT_EQ(rect.height, 550);

    const settings::TreeSettings tree = settings::ReadTreeSettings(ini);
    EXPECT_FALSE(tree.background.has_value());
    EXPECT_EQ(tree.text, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(tree.lines, tree.text);
    EXPECT_EQ(tree.indent, 20);
    EXPECT_TRUE(tree.showIcons);
    EXPECT_EQ(tree.fontSize, 10);
    EXPECT_EQ(tree.fontFace, "ＭＳ ゴシック");
    EXPECT_EQ(tree.itemMode, 0);
}

TEST(Settings, WindowRectangleOutOfRangeFallsBackPerValue) {
    TempDir dir;
    const auto ini = Ini(dir, "[Wnd]\r\niLeft=-5\r\niTop=2000\r\niWidth=0\r\niHeight=3000\r\n");
    const settings::WindowRect rect = settings::ReadWindowRect(ini);
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 2000);
    EXPECT_EQ(rect.width, 470);
    EXPECT_EQ(rect.height, 550);

    const auto inside = Ini(dir, "[Wnd]\r\niLeft=12\r\niTop=34\r\niWidth=1\r\niHeight=2000\r\n");
    const settings::WindowRect kept = settings::ReadWindowRect(inside);
    EXPECT_EQ(kept.left, 12);
    EXPECT_EQ(kept.top, 34);
    EXPECT_EQ(kept.width, 1);
    EXPECT_EQ(kept.height, 2000);
}

TEST(Settings, IndentOutsideOneToHundredIsTwenty) {
    TempDir dir;
    EXPECT_EQ(settings::ReadTreeSettings(Ini(dir, "[Tree]\r\niIndent=0\r\n")).indent, 20);
    EXPECT_EQ(settings::ReadTreeSettings(Ini(dir, "[Tree]\r\niIndent=101\r\n")).indent, 20);
    EXPECT_EQ(settings::ReadTreeSettings(Ini(dir, "[Tree]\r\niIndent=-3\r\n")).indent, 20);
    EXPECT_EQ(settings::ReadTreeSettings(Ini(dir, "[Tree]\r\niIndent=100\r\n")).indent, 100);
}

TEST(Settings, ColoursAreHexWithOrWithoutPrefixAndEmptyMeansUnset) {
    TempDir dir;
    const auto tree = settings::ReadTreeSettings(
        Ini(dir, "[Tree]\r\nTvBkColor=0x00FFEEDD\r\nTvTxColor=123456\r\nTvLineColor=0x000000FF\r\n"));
    EXPECT_EQ(tree.background, std::optional<COLORREF>(0x00FFEEDD));
    EXPECT_EQ(tree.text, COLORREF(0x123456));
    EXPECT_EQ(tree.lines, COLORREF(0xFF));

    const auto empty = settings::ReadTreeSettings(Ini(dir, "[Tree]\r\nTvBkColor=\r\nTvTxColor=0x00112233\r\nTvLineColor=\r\n"));
    EXPECT_FALSE(empty.background.has_value());
    // Lines without a colour of their own follow the text.
    EXPECT_EQ(empty.lines, COLORREF(0x00112233));
}

TEST(Settings, StringsKeysAndWrites) {
    TempDir dir;
    const auto ini = Ini(dir, "[Tree]\r\nfont-face=IPAGothic\r\nfont-size=12\r\nNoIcons=1\r\nitemMode=21\r\n"
                              "[tool]\r\nNotepad=notepad.exe\r\n-=\r\n表計算=calc.exe\r\n");
    const auto tree = settings::ReadTreeSettings(ini);
    EXPECT_EQ(tree.fontFace, "IPAGothic");
    EXPECT_EQ(tree.fontSize, 12);
    EXPECT_FALSE(tree.showIcons);
    EXPECT_EQ(tree.itemMode, 21);
    EXPECT_EQ(ini.ReadKeys("tool"), (std::vector<std::string>{"Notepad", "-", "表計算"}));

    ini.WriteInt("Wnd", "iLeft", 42);
    EXPECT_EQ(ini.ReadInt("Wnd", "iLeft", 0), 42);
    ini.Write("Wnd", "iLeft", nullptr);
    EXPECT_EQ(ini.ReadInt("Wnd", "iLeft", 7), 7);
    // Values are cut to the buffer the reader gives, as the file's users expect.
    EXPECT_EQ(ini.ReadString("Tree", "font-face", "", 4), "IPA");
}

// Wine lets everybody write everywhere: which folders can be written is played through the seam.
struct LocationFixture : testing::Test {
    TempDir dir;
    std::string programs = dir.MakeDir("Program Files") + "\\Tolvak";
    std::string appData = dir.MakeDir("AppData");
    bool programsWritable = true;
    int probes = 0;
    settings::ScopedLocationSystem system{{[this](const std::wstring& folder) {
                                               ++probes;
                                               return programsWritable || folder != text::AnsiToWide(programs);
                                           },
                                           [this] { return text::AnsiToWide(appData); }}};

    LocationFixture() { dir.MakeDir("Program Files\\Tolvak"); }
    std::string Decide() { return settings::SettingsFolder(text::AnsiToWide(programs)); }
};

TEST_F(LocationFixture, AWritableProgramFolderKeepsItsSettingsBesideThePrograms) {
    EXPECT_EQ(Decide(), programs);
    EXPECT_EQ(settings::LocateFor(nullptr).substr(settings::LocateFor(nullptr).size() - 11), "\\tolvak.ini");
}

TEST_F(LocationFixture, AnUnwritableOneSendsEachUserToACopyOfTheAdministratorsDefaults) {
    programsWritable = false;
    testutil::WriteBytes(programs + "\\tolvak.ini", "[Tolvak#1]\r\nFavRoot=C:\\Shared\r\n");
    dir.MakeDir("Program Files\\Tolvak\\data");
    testutil::WriteBytes(programs + "\\data\\banner.ini", "*/ads/*\r\n");

    const std::string user = appData + "\\Tolvak";
    EXPECT_EQ(Decide(), user);
    EXPECT_EQ(testutil::ReadBytes(user + "\\tolvak.ini"), "[Tolvak#1]\r\nFavRoot=C:\\Shared\r\n");
    EXPECT_EQ(testutil::ReadBytes(user + "\\data\\banner.ini"), "*/ads/*\r\n");
    // Decided once per process; and a later decision never overwrites what the user changed.
    EXPECT_EQ(Decide(), user);
    EXPECT_EQ(probes, 1);
    testutil::WriteBytes(user + "\\tolvak.ini", "[Tolvak#1]\r\nFavRoot=C:\\Mine\r\n");
    EXPECT_EQ(settings::DecideSettingsFolder(text::AnsiToWide(programs), settings::RealLocationSystem()),
              text::AnsiToWide(programs));
    settings::LocationSystem refused{[](const std::wstring&) { return false; }, [this] { return text::AnsiToWide(appData); }};
    EXPECT_EQ(settings::DecideSettingsFolder(text::AnsiToWide(programs), refused), text::AnsiToWide(user));
    EXPECT_EQ(testutil::ReadBytes(user + "\\tolvak.ini"), "[Tolvak#1]\r\nFavRoot=C:\\Mine\r\n");
}

TEST_F(LocationFixture, WithoutAFileBesideTheProgramsTheUserStartsWithDefaults) {
    programsWritable = false;
    EXPECT_EQ(Decide(), appData + "\\Tolvak");
    EXPECT_FALSE(path::Exists(appData + "\\Tolvak\\tolvak.ini"));
}

TEST(Settings, EditOnDropPrefersTheTabSectionThenTheSettingsToolsKey) {
    TempDir dir;
    EXPECT_FALSE(settings::ReadEditOnDrop(Ini(dir, "[Tolvak#1]\r\nFavRoot=x\r\n"), "Tolvak#1"));
    EXPECT_TRUE(settings::ReadEditOnDrop(Ini(dir, "[Tree]\r\nEditOnDrop=1\r\n"), "Tolvak#1"));
    EXPECT_TRUE(settings::ReadEditOnDrop(Ini(dir, "[Tolvak#2]\r\nEditOnDrop=1\r\n"), "Tolvak#2"));
    EXPECT_FALSE(settings::ReadEditOnDrop(Ini(dir, "[Tolvak#1]\r\nEditOnDrop=0\r\n[Tree]\r\nEditOnDrop=1\r\n"),
                                          "Tolvak#1"));
}
