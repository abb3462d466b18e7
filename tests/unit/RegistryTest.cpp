// Registry keys written whole or not at all, in the test prefix's registry. A value name longer
// than the registry allows stands for a write the system refuses half-way.
#include "../support/TestSupport.h"

#include <base/Registry.h>

#include <gtest/gtest.h>

#include <algorithm>

TEST(Registry, AKeyIsWrittenWholeOrNotAtAll) {
    const std::string key = "Software\\TolvakTest\\Written";
    const std::string tooLong(20000, 'n');
    const struct {
        bool existed;  // with a value of its own
        bool failing;
        std::optional<testutil::NamedTexts> after;
    } cases[] = {
        {false, false, testutil::NamedTexts{{"A", "1"}, {"B", "表"}}},
        {false, true, std::nullopt},  // made by the failing call: gone again
        {true, true, testutil::NamedTexts{{"A", "1"}, {"Own", "x"}}},  // someone else's key stays
    };
    for (const auto& c : cases) {
        const testutil::ScopedRegistryKey cleanup(HKEY_CURRENT_USER, "Software\\TolvakTest", testutil::KeyAtStart::kAbsent);
        if (c.existed) {
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Own", REG_SZ, "x", 2), ERROR_SUCCESS);
        }
        const win::TextValue values[] = {{"A", "1"}, {c.failing ? tooLong.c_str() : "B", "表"}};
        EXPECT_EQ(win::WriteTextValues(HKEY_CURRENT_USER, key.c_str(), values) == ERROR_SUCCESS, !c.failing);
        std::optional<testutil::NamedTexts> after = testutil::RegistryValues(HKEY_CURRENT_USER, key);
        if (after) std::sort(after->begin(), after->end());
        EXPECT_EQ(after, c.after) << c.existed << c.failing;
    }
}
