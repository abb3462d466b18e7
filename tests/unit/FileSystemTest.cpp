// Replacing a file's content: only the target changes, it keeps its attributes, and on any
// failure it stays as it was with nothing left beside it.
#include "../support/TestSupport.h"

#include <base/FileSystem.h>
#include <base/TextEncoding.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

bool Replace(const std::string& file, std::string_view bytes, fsys::ReplaceFailure* failure = nullptr) {
    return fsys::ReplaceContent(text::AnsiToWide(file), bytes, failure);
}

}  // namespace

TEST(ReplaceContent, OnlyTheTargetChangesAndKeepsItsAttributes) {
    testutil::TempDir dir;
    // The name a fixed temporary name would take.
    const std::string mine = dir.WriteFile("~list.txt.tmp", "the user's own");
    const struct {
        const char* name;
        DWORD attributes;
    } targets[] = {{"list.txt", FILE_ATTRIBUTE_NORMAL}, {"hidden.txt", FILE_ATTRIBUTE_HIDDEN},
                   {"system.txt", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE}};
    for (const auto& target : targets) {
        const std::string file = dir.WriteFile(target.name, "old");
        ASSERT_TRUE(SetFileAttributesA(file.c_str(), target.attributes));
        const DWORD before = GetFileAttributesA(file.c_str());
        EXPECT_TRUE(Replace(file, "new")) << target.name;
        EXPECT_EQ(testutil::ReadBytes(file), "new") << target.name;
        EXPECT_EQ(GetFileAttributesA(file.c_str()), before) << target.name;
    }
    EXPECT_TRUE(Replace(dir / "made.txt", "made"));
    EXPECT_EQ(testutil::ReadBytes(dir / "made.txt"), "made");
    EXPECT_EQ(testutil::ReadBytes(mine), "the user's own");
    EXPECT_EQ(testutil::FolderNames(dir.path()),
              (std::vector<std::string>{"hidden.txt", "list.txt", "made.txt", "system.txt", "~list.txt.tmp"}));
}

TEST(ReplaceContent, AFailureLeavesTheFileAsItWasAndNothingBesideIt) {
    testutil::TempDir dir;
    const std::string file = dir.WriteFile("list.txt", "old");
    const std::string readOnly = dir.WriteFile("read-only.txt", "old");
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const auto fullDisk = [] { return std::make_unique<fsys::ScopedWriteLimit>(2); };
    // Another program holds the file open and lets nobody remove it.
    const auto holder = [&] {
        return std::make_unique<win::UniqueFile>(
            CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
    };
    const struct {
        const char* what;
        std::string target;
        std::function<std::shared_ptr<void>()> hindrance;
        fsys::ReplaceFailure failure;
    } cases[] = {
        {"read-only", readOnly, [] { return nullptr; }, fsys::ReplaceFailure::kNotCreated},
        {"no folder", dir / "missing\\list.txt", [] { return nullptr; }, fsys::ReplaceFailure::kNotCreated},
        {"disk full", file, fullDisk, fsys::ReplaceFailure::kNotWritten},
        {"disk full, new file", dir / "new.txt", fullDisk, fsys::ReplaceFailure::kNotWritten},
        {"held open", file, holder, fsys::ReplaceFailure::kNotWritten},
    };
    for (const auto& c : cases) {
        const std::shared_ptr<void> hindrance = c.hindrance();
        fsys::ReplaceFailure failure{};
        EXPECT_FALSE(Replace(c.target, "new content", &failure)) << c.what;
        EXPECT_EQ(failure, c.failure) << c.what;
        EXPECT_EQ(testutil::FolderNames(dir.path()), (std::vector<std::string>{"list.txt", "read-only.txt"})) << c.what;
    }
    EXPECT_EQ(testutil::ReadBytes(file), "old");
    EXPECT_EQ(testutil::ReadBytes(readOnly), "old");
}
