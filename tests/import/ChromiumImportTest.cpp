// Chromium "Bookmarks" files ("CRBM"): what Chrome and Edge write, JSON escapes, the shape of
// the tree, size and depth, and files that are no whole bookmark file (a browser writing it).
// Test sources compile to code page 932: plain literals are what the tree shows, u8"" literals
// are the UTF-8 a browser writes.
#include "RecordingSink.h"

#include "../support/TestSupport.h"

#include <base/Format.h>
#include <base/Handles.h>

#include <psapi.h>

#include <algorithm>
#include <functional>
#include <thread>

using importtest::ImportTest;

namespace {

constexpr char kFailed[] = "! インポートに失敗しました\n";

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string JsonBookmark(const std::string& name, const std::string& url) {
    return R"({"date_added": "13345678901234567", "guid": "0bc5d13f", "id": "5", "meta_info": {"k": ["v", {}]},)"
           R"( "name": ")" + name + R"(", "type": "url", "url": ")" + url + R"("})";
}
std::string JsonFolder(const std::string& name, const std::string& children) {
    return R"({"children": [)" + children + R"(], "date_modified": "0", "id": "6", "name": ")" + name +
           R"(", "type": "folder"})";
}
// A whole file with the bookmark bar holding `bar`; the other roots empty.
std::string File(const std::string& bar) {
    return R"({"checksum": "5c1b", "roots": {"bookmark_bar": )" + JsonFolder("Bookmarks bar", bar) +
           R"(, "other": )" + JsonFolder("Other bookmarks", "") + R"(, "synced": )" + JsonFolder("Mobile bookmarks", "") +
           R"(}, "version": 1})";
}

struct ChromiumImportTest : ImportTest {
    testutil::TempDir dir;
    int Import(const std::string& content) { return library.Run("CRBM", dir.WriteFile("Bookmarks", content), sink); }
};

size_t WorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters) ? counters.WorkingSetSize : 0;
}

// How far the process's memory rose above where it was while `work` ran, sampled from a second
// thread (the peak counter of the process would keep what earlier tests used).
size_t MemoryRise(const std::function<void()>& work) {
    const size_t before = WorkingSet();
    win::UniqueHandle done(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    size_t highest = before;
    // A sample every millisecond, until the work is done.
    std::thread sampler([&] {
        do highest = std::max(highest, WorkingSet());
        while (WaitForSingleObject(done.get(), 1) == WAIT_TIMEOUT);
    });
    work();
    SetEvent(done.get());
    sampler.join();
    return std::max(highest, WorkingSet()) - before;
}

}  // namespace

TEST_F(ChromiumImportTest, BrowserFilesShowTheirRootsThatHoldAnything) {
    const struct {
        const char* file;
        const char* outline;
    } files[] = {
        {"chrome_windows_Bookmarks.json",
         "+Bookmarks bar\n"
         "  Google <https://www.google.co.jp/>\n"
         "  +ニュース\n"
         "    NHK NEWS WEB <https://www3.nhk.or.jp/news/>\n"
         "    Yahoo!ニュース <https://news.yahoo.co.jp/>\n"
         "  Me at the zoo - YouTube <https://www.youtube.com/watch?v=jNQXAC9IVRw&t=5s>\n"
         "  +空のフォルダ\n"
         "+Other bookmarks\n"
         "  Caf? - Wikipedia <https://en.wikipedia.org/wiki/Caf%C3%A9>\n"
         "  c++ - What's the difference between \"const\" & <constexpr>? ? Stack Overflow ? "
         "<https://stackoverflow.com/questions/1325/what-is-the-difference>\n"},
        {"edge_windows_Bookmarks.json",
         "+お気に入りバー\n"
         "  MSN <https://www.msn.com/ja-jp>\n"
         "  +ソフトウェア開発\n"
         "    Win32 アプリの開発 - Win32 apps | Microsoft Learn <https://learn.microsoft.com/ja-jp/windows/win32/>\n"
         "+その他のお気に入り\n"
         "  天気 - 検索 <https://www.bing.com/search?q=%E5%A4%A9%E6%B0%97&form=QBLH>\n"},
    };
    for (const auto& browser : files) {
        importtest::RecordingSink tree;
        EXPECT_EQ(library.Run("CRBM", std::string(IMPORT_TEST_DATA) + "\\" + browser.file, tree), 0);
        EXPECT_EQ(tree.Outline(), browser.outline) << browser.file;
    }
}

TEST_F(ChromiumImportTest, EscapesSurrogatePairsAndUtf8BecomeCodePageText) {
    const std::string name = R"(\"q\" \\ \/ \u0041\u00e9 \u65E5\u672C \uD83D\uDE00 )" + Utf8(u8"表示 Caf\u00E9 \U0001F600");
    ASSERT_EQ(Import(File(JsonBookmark(name, R"(https://x/?a=1&b=\u0032)") + ", " + JsonBookmark("", "https://untitled/"))), 0);
    const std::string expected = "+Bookmarks bar\n  \"q\" \\ / A? 日本 ? 表示 Caf? ? <https://x/?a=1&b=2>\n"
                                 "  https://untitled/ <https://untitled/>\n";
    EXPECT_EQ(sink.Outline(), expected);
}

TEST_F(ChromiumImportTest, RootsComeInTheBrowsersOrderAndEmptyFoldersStay) {
    // Keys in another order, a root without a name, a further root, an unknown node type, and
    // the other members older versions keep among the roots.
    ASSERT_EQ(Import(R"({"roots": {"sync_transaction_version": "1", "meta_info": {"a": "b"}, "workspace": )" +
                     JsonFolder("Work", JsonBookmark("w", "https://w/")) +
                     R"(, "other": {"children": [)" + JsonBookmark("o", "https://o/") + R"(], "type": "folder"})" +
                     R"(, "bookmark_bar": )" +
                     JsonFolder("Bar", JsonFolder("", "") + R"(, {"type": "separator", "name": "s"}, )" +
                                       JsonFolder("a", JsonFolder("b", ""))) +
                     "}}"),
              0);
    EXPECT_EQ(sink.Outline(), "+Bar\n  +\n  +a\n    +b\n+Other bookmarks\n  o <https://o/>\n+Work\n  w <https://w/>\n");
}

TEST_F(ChromiumImportTest, DeepNestingAndTenMegabytesArriveWhole) {
    constexpr int kLevels = 5000;
    const std::string folder = JsonFolder("f", "|");
    const size_t hole = folder.find('|');
    std::string deep;
    for (int level = 0; level < kLevels; ++level) deep += folder.substr(0, hole);
    deep += JsonBookmark("bottom", "https://bottom/");
    for (int level = 0; level < kLevels; ++level) deep += folder.substr(hole + 1);
    ASSERT_EQ(Import(File(deep)), 0);
    EXPECT_EQ(sink.Count(true), 1u + kLevels);  // the bar and the folders
    EXPECT_EQ(sink.Count(false), 1u);

    std::string many;
    int bookmarks = 0;
    while (many.size() < 10'000'000) {
        if (bookmarks) many += ", ";
        many += JsonBookmark(text::Format("Bookmark %d", bookmarks), text::Format("https://example.com/%d", bookmarks));
        ++bookmarks;
    }
    importtest::RecordingSink large;
    ASSERT_EQ(library.Run("CRBM", dir.WriteFile("Large", File(JsonFolder("all", many))), large), 0);
    EXPECT_EQ(large.Count(false), static_cast<size_t>(bookmarks));
    EXPECT_EQ(large.Names({"Bookmarks bar", "all"}).back(), text::Format("Bookmark %d", bookmarks - 1));
}

TEST_F(ChromiumImportTest, MemoryFollowsWhatIsShownNotHowManyObjectsTheFileHolds) {
    // A million empty objects among the bar's children and as deep a nesting in a member that is
    // passed over: five megabytes that show one bookmark.
    constexpr size_t kObjects = 1'000'000;
    std::string empties;
    empties.reserve(3 * kObjects);
    for (size_t i = 0; i < kObjects; ++i) empties += "{}, ";
    const std::string nested = R"({"type": "url", "url": "https://a/", "name": "a", "meta_info": )" +
                               std::string(kObjects / 2, '[') + std::string(kObjects / 2, ']') + "}";
    const std::string file = dir.WriteFile("Bookmarks", File(empties + nested));
    const size_t size = empties.size() + nested.size();
    int result = -1;
    const size_t rise = MemoryRise([&] { result = library.Run("CRBM", file, sink); });
    ASSERT_EQ(result, 0);
    EXPECT_EQ(sink.Outline(), "+Bookmarks bar\n  a <https://a/>\n");
    // The file itself, read whole, and what reading it costs; nothing per object.
    EXPECT_LT(rise, 4 * size) << "bytes above the file's " << size;
}

TEST_F(ChromiumImportTest, FilesThatAreNoWholeBookmarkFileGiveTheFailureItemOnly) {
    const std::string whole = File(JsonFolder("f", JsonBookmark("a", "https://a/")) + ", " + JsonBookmark("b", "https://b/"));
    const std::string cases[] = {
        whole.substr(0, whole.size() / 2),  // a browser is writing it
        whole.substr(0, whole.size() - 1),
        "",
        "[]",
        "\"roots\"",
        R"({"version": 1})",
        R"({"roots": []})",
        R"({"roots": {"bookmark_bar": []}})",
        File(R"("a")"),
        R"({"roots": {"bookmark_bar": {"children": "a", "type": "folder"}}})",
        File(R"({"name": 5, "type": "url", "url": "https://a/"})"),
        File(R"({"name": "a", "type": "url", "url": ["https://a/"]})"),
        File(JsonBookmark(R"(\uD800)", "https://a/")),
        File(JsonBookmark(R"(\uDC00)", "https://a/")),
        File(JsonBookmark("a\xE6\x97", "https://a/")),  // a character cut short
        File(JsonBookmark("a", "https://a/\xFF")),
        File(JsonBookmark("a", "https://a/")) + "x",
        File(JsonBookmark("a", "https://a/")) + std::string("\0x", 2),  // the parser stops at a NUL
        "\xFF\xFE{",
    };
    for (const std::string& content : cases) {
        importtest::RecordingSink tree;
        EXPECT_EQ(library.Run("CRBM", dir.WriteFile("Bookmarks", content), tree), 1) << content;
        EXPECT_EQ(tree.Outline(), kFailed) << content;
    }
    // The file as it is when the browser has written it: a reload reads it again. An editor may
    // have put a byte order mark before it. A file that fills its last page to the brim has no
    // zeroed rest of a page after it and is read, not mapped; it arrives all the same.
    const auto padded = [&](size_t size) { return whole + std::string(size - whole.size(), '\n'); };
    for (const std::string& content : {whole, "\xEF\xBB\xBF" + whole, padded(4096), padded(8191)}) {
        importtest::RecordingSink tree;
        ASSERT_EQ(library.Run("CRBM", dir.WriteFile("Bookmarks", content), tree), 0);
        EXPECT_EQ(tree.Outline(), "+Bookmarks bar\n  +f\n    a <https://a/>\n  b <https://b/>\n");
    }
}

TEST_F(ChromiumImportTest, MissingFileIsReportedAsForTheOtherFiles) {
    EXPECT_EQ(library.Run("CRBM", dir / "none", sink), 1);
    EXPECT_EQ(sink.Outline(), "! ファイルが見つかりません\n");
}
