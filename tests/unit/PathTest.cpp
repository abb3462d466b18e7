#include <base/Path.h>

#include <gtest/gtest.h>

TEST(Path, SettingsFileReplacesTheFileNamePart) {
    EXPECT_EQ(path::ReplaceFileName("C:\\Program Files\\Tolvak\\Tolvak.exe", "tolvak.ini"),
              "C:\\Program Files\\Tolvak\\tolvak.ini");
    // A folder whose name ends in a 0x5C trail byte is not cut there.
    EXPECT_EQ(path::ReplaceFileName("C:\\表\\Tolvak.exe", "tolvak.ini"), "C:\\表\\tolvak.ini");
    EXPECT_EQ(path::ReplaceFileName("C:\\ソフト表\\x.exe", "tolvak.ini"), "C:\\ソフト表\\tolvak.ini");
    EXPECT_EQ(path::ReplaceFileName("C:Tolvak.exe", "tolvak.ini"), "C:tolvak.ini");
    EXPECT_EQ(path::ReplaceFileName("\\\\server\\share\\Tolvak.exe", "tolvak.ini"), "\\\\server\\share\\tolvak.ini");
}

TEST(Path, TrailingSeparatorAndSplitting) {
    EXPECT_EQ(path::WithoutTrailingSeparator("C:\\Fav\\"), "C:\\Fav");
    EXPECT_EQ(path::WithoutTrailingSeparator("C:\\Fav"), "C:\\Fav");
    EXPECT_EQ(path::WithoutTrailingSeparator("C:\\表"), "C:\\表");

    std::string folder, name;
    ASSERT_TRUE(path::SplitLast("C:\\Fav\\表\\ソ.url", &folder, &name));
    EXPECT_EQ(folder, "C:\\Fav\\表");
    EXPECT_EQ(name, "ソ.url");
    EXPECT_FALSE(path::SplitLast("表", &folder, &name));
}
