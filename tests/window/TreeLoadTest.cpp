// Loading a tab's tree from disk: order, filtering, root choice and bookmark-source nodes.
#include "../support/TestSupport.h"

#include <base/Path.h>
#include <base/TextEncoding.h>
#include <tree/BrowserProfiles.h>

#include <gtest/gtest.h>

#include <shlobj.h>

using testutil::ChildLabels;
using testutil::TempDir;
using testutil::TreeHost;

namespace {

std::string Settings(const TempDir& dir, const std::string& root, const std::string& extra = "") {
    return testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n" + extra);
}

}  // namespace

TEST(TreeLoad, FoldersFirstThenShortcutsEachInNameOrderWithoutRegardToCase) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    for (const char* name : {"fav\\b", "fav\\A", "fav\\c"}) dir.MakeDir(name);
    dir.WriteShortcut("fav\\z", "http://z/");
    dir.WriteFile("fav\\Y.URL", "[InternetShortcut]\r\nURL=http://y/");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));

    EXPECT_EQ(tree.Label(tree.Root()), root);
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"A", "b", "c", "Y", "z"}));
    EXPECT_TRUE(tree.IsFolder(testutil::Node(tree, {"A"})));
    EXPECT_TRUE(tree.IsShortcut(testutil::Node(tree, {"Y"})));
    EXPECT_TRUE(tree.IsLoaded());
    EXPECT_TRUE(IsWindowVisible(tree.hwnd()));
}

TEST(TreeLoad, HiddenEntriesDotNamesAndNonShortcutsAreNotShown) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    dir.MakeDir("fav\\.git");
    SetFileAttributesA(dir.MakeDir("fav\\secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
    dir.WriteShortcut("fav\\x", "http://x/");
    dir.WriteShortcut("fav\\.dot", "http://dot/");
    SetFileAttributesA(dir.WriteShortcut("fav\\hidden", "http://h/").c_str(), FILE_ATTRIBUTE_HIDDEN);
    dir.WriteFile("fav\\aurl", "");
    dir.WriteFile("fav\\notes.txt", "");
    dir.WriteFile("fav\\x.url.bak", "");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));
}

TEST(TreeLoad, NestedFoldersLoadEagerlyAndNoEntryIsDropped) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    dir.MakeDir("fav\\表");
    dir.MakeDir("fav\\表\\ソフト");
    dir.WriteShortcut("fav\\表\\ソフト\\深い", "http://deep/");
    dir.MakeDir("fav\\many");
    for (int i = 0; i < 140; ++i) dir.MakeDir("fav\\many\\d" + std::to_string(1000 + i));
    for (int i = 0; i < 300; ++i) dir.WriteShortcut("fav\\many\\s" + std::to_string(1000 + i), "http://s/");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));

    EXPECT_TRUE(tree.IsShortcut(testutil::Node(tree, {"表", "ソフト", "深い"})));
    const auto many = ChildLabels(tree, testutil::Node(tree, {"many"}));
    ASSERT_EQ(many.size(), 440u);
    EXPECT_EQ(many.front(), "d1000");
    EXPECT_EQ(many[139], "d1139");
    EXPECT_EQ(many[140], "s1000");
    EXPECT_EQ(many.back(), "s1299");
}

TEST(TreeLoad, FolderBeyondThePathLimitSaysSoInsteadOfShowingEmpty) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    const std::string within = std::string(120, 'a'), beyond = std::string(120, 'b');
    const std::string withinPath = dir.MakeDir("fav\\" + within);
    ASSERT_LE(withinPath.size(), size_t(MAX_PATH - 3));
    ASSERT_GT(withinPath.size() + 1 + beyond.size(), size_t(MAX_PATH - 3));
    // Made through the long-path prefix, the only way there; removed the same way on every path.
    struct LongFolder {
        std::wstring folder, shortcut;
        ~LongFolder() {
            DeleteFileW(shortcut.c_str());
            RemoveDirectoryW(folder.c_str());
        }
    } made{L"\\\\?\\" + text::AnsiToWide(withinPath + "\\" + beyond), L""};
    ASSERT_TRUE(CreateDirectoryW(made.folder.c_str(), nullptr));
    made.shortcut = made.folder + L"\\x.url";
    ASSERT_TRUE(win::UniqueFile(CreateFileW(made.shortcut.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr)));
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));

    HTREEITEM folder = testutil::Node(tree, {within, beyond});
    ASSERT_NE(folder, nullptr);
    EXPECT_EQ(ChildLabels(tree, folder), std::vector<std::string>{"フォルダのパスが長すぎるため読み込めません"});
    EXPECT_TRUE(tree.IsImportedItem(TreeView_GetChild(tree.hwnd(), folder)));
}

TEST(TreeLoad, RootWithTrailingBackslashIsTheSameFolder) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    dir.WriteShortcut("fav\\x", "http://x/");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root + "\\"));
    EXPECT_EQ(tree.RootPath(), root);
    EXPECT_EQ(tree.Label(tree.Root()), root);
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"x"}));
}

TEST(TreeLoad, WithoutFavRootTheUsersFavoritesFolderIsShown) {
    char favorites[MAX_PATH] = "";
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, favorites, CSIDL_FAVORITES, TRUE));
    TempDir dir;
    TreeHost host;
    CFavTreeView& tree = host.AddTree(testutil::WriteSettings(dir, "[Tolvak#1]\r\ntabName=x\r\n"));
    EXPECT_EQ(tree.RootPath(), favorites);
    EXPECT_EQ(tree.Label(tree.Root()), favorites);
}

TEST(TreeLoad, BookmarkSourcesComeFirstInFixedOrderWithConsecutiveIndexes) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    dir.MakeDir("fav\\a");
    dir.WriteShortcut("fav\\s", "http://s/");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root,
                                               "WWWCList=C:\\wwwc\r\nBookMark=C:\\bm.htm\r\nDonaBookMark=C:\\dona.dat\r\n"));
    EXPECT_EQ(ChildLabels(tree, tree.Root()),
              (std::vector<std::string>{"Netscape BookMark", "Dona Browser BookMark", "WWWC Items", "a", "s"}));
    const HTREEITEM netscape = testutil::Node(tree, {"Netscape BookMark"});
    const HTREEITEM wwwc = testutil::Node(tree, {"WWWC Items"});
    EXPECT_EQ(tree.KindOf(netscape), fav::kNetscapeSource);
    EXPECT_EQ(tree.KindOf(testutil::Node(tree, {"Dona Browser BookMark"})), fav::kDonaBrowserSource);
    EXPECT_EQ(tree.KindOf(wwwc), fav::kWwwcItemsSource);
    EXPECT_EQ(tree.IndexOf(netscape), 0);
    EXPECT_EQ(tree.IndexOf(wwwc), 2);
    EXPECT_STREQ(tree.config().sources[2].code, "WWWC");
    EXPECT_STREQ(tree.config().sources[2].path, "C:\\wwwc");

    // The expand button shows although nothing has been read yet.
    TVITEMA item{};
    item.mask = TVIF_CHILDREN;
    item.hItem = wwwc;
    TreeView_GetItem(tree.hwnd(), &item);
    EXPECT_EQ(item.cChildren, 1);
}

TEST(TreeLoad, OnlyConfiguredSourcesAppearAndTheFirstTakesIndexZero) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root, "WWWCList=C:\\wwwc\r\nBookMark=\r\n"));
    ASSERT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"WWWC Items"}));
    EXPECT_EQ(tree.IndexOf(testutil::Node(tree, {"WWWC Items"})), 0);
    EXPECT_STREQ(tree.config().sources[0].code, "WWWC");
    EXPECT_EQ(tree.config().sourceCount, 1u);
}

TEST(TreeLoad, SourceIsOpenedOncePerLoad) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root, "BookMark=C:\\bm.htm\r\n"));
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    TreeView_Expand(tree.hwnd(), source, TVE_EXPAND);
    EXPECT_EQ(tree.KindOf(source), fav::kImportedFolder);
    TreeView_Expand(tree.hwnd(), source, TVE_COLLAPSE);
    TreeView_Expand(tree.hwnd(), source, TVE_EXPAND);
    EXPECT_EQ(tree.KindOf(source), fav::kImportedFolder);

    // A reload closes every opened source again.
    ASSERT_TRUE(tree.LoadRoot());
    EXPECT_EQ(tree.KindOf(testutil::Node(tree, {"Netscape BookMark"})), fav::kNetscapeSource);
}

TEST(TreeLoad, ReloadShowsWhatChangedOnDiskAndAMissingRootShowsEmpty) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    dir.WriteShortcut("fav\\b", "http://b/");
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));
    dir.WriteShortcut("fav\\a", "http://a/");
    ASSERT_TRUE(tree.LoadRoot());
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "b"}));

    TreeHost other;
    CFavTreeView& missing = other.AddTree(Settings(dir, dir / "nowhere"));
    EXPECT_TRUE(missing.IsLoaded());
    EXPECT_TRUE(ChildLabels(missing, missing.Root()).empty());
}

namespace {

// Bookmarks files in the default profiles of Edge and Chrome of the prefix's user, removed again
// at the end (other tests load trees that must not offer them).
struct BrowserProfiles {
    std::vector<std::string> files;
    BrowserProfiles() {
        char local[MAX_PATH] = "";
        SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local);
        for (const char* vendor : {"\\Microsoft\\Edge", "\\Google\\Chrome"}) {
            const std::string folder = local + std::string(vendor) + "\\User Data\\Default";
            SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
            files.push_back(folder + "\\Bookmarks");
            testutil::WriteBytes(files.back(), "{\"roots\": {}}");
        }
    }
    ~BrowserProfiles() {
        for (const std::string& file : files) DeleteFileA(file.c_str());
    }
};

std::string FolderOf(const std::string& file) {
    std::string folder;
    path::SplitLast(file, &folder, nullptr);
    return folder;
}

// Firefox's profile list of the prefix's user (%APPDATA%\Mozilla\Firefox), gone again at the end.
struct FirefoxProfiles {
    std::string firefox;
    FirefoxProfiles() {
        char roaming[MAX_PATH] = "";
        SHGetFolderPathA(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, roaming);
        firefox = roaming + std::string("\\Mozilla\\Firefox");
    }
    ~FirefoxProfiles() {
        testutil::RemoveTree(firefox);
        RemoveDirectoryA(FolderOf(firefox).c_str());
    }
    // A profile folder below `folder` (its own when empty) with a places database; its path.
    std::string Profile(const std::string& relative, const std::string& folder = "") const {
        const std::string profile = (folder.empty() ? firefox : folder) + "\\" + relative;
        SHCreateDirectoryExA(nullptr, profile.c_str(), nullptr);
        testutil::WriteBytes(profile + "\\places.sqlite", "");
        return profile + "\\places.sqlite";
    }
    void List(const std::string& ini) const {
        SHCreateDirectoryExA(nullptr, firefox.c_str(), nullptr);
        testutil::WriteBytes(firefox + "\\profiles.ini", ini);
    }
};

constexpr char kTwoProfiles[] =
    "[Install308046B0AF4A39CB]\r\nDefault=Profiles/b.default-release\r\nLocked=1\r\n\r\n"
    "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\nDefault=1\r\n\r\n"
    "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/b.default-release\r\n\r\n"
    "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n";

}  // namespace

TEST(TreeLoad, BrowserSourcesOrTheBrowsersDefaultProfilesUnlessSwitchedOff) {
    TempDir dir;
    const std::string root = dir.MakeDir("fav");
    const BrowserProfiles profiles;
    const FirefoxProfiles firefox;
    firefox.Profile("Profiles\\a.default");
    const std::string places = firefox.Profile("Profiles\\b.default-release");
    firefox.List(kTwoProfiles);
    const struct {
        const char* settings;
        std::vector<std::string> sources, codes;
    } cases[] = {
        {"BookMark=C:\\bm.htm\r\n",
         {"Netscape BookMark", "Edge BookMark", "Chrome BookMark", "Firefox BookMark"},
         {"NSBM", "CRBM", "CRBM", "FFBM"}},
        {"ChromiumBookMark=C:\\Bookmarks\r\nWWWCList=C:\\wwwc\r\n",
         {"WWWC Items", "Chromium BookMark", "Firefox BookMark"},
         {"WWWC", "CRBM", "FFBM"}},
        {"FirefoxBookMark=C:\\places.sqlite\r\n", {"Firefox BookMark", "Edge BookMark", "Chrome BookMark"}, {"FFBM", "CRBM", "CRBM"}},
        {"OfferBrowserProfiles=0\r\n", {}, {}},
    };
    for (const auto& tab : cases) {
        TreeHost host;
        CFavTreeView& tree = host.AddTree(Settings(dir, root, tab.settings));
        EXPECT_EQ(ChildLabels(tree, tree.Root()), tab.sources) << tab.settings;
        for (size_t i = 0; i < tab.codes.size(); ++i) EXPECT_EQ(tree.config().sources[i].code, tab.codes[i]);
    }
    TreeHost host;
    CFavTreeView& tree = host.AddTree(Settings(dir, root));
    EXPECT_EQ(tree.KindOf(testutil::Node(tree, {"Chrome BookMark"})), fav::kChromiumBookmarkSource);
    EXPECT_EQ(tree.KindOf(testutil::Node(tree, {"Firefox BookMark"})), fav::kFirefoxBookmarkSource);
    EXPECT_STREQ(tree.config().sources[1].path, profiles.files[1].c_str());
    EXPECT_STREQ(tree.config().sources[2].path, places.c_str());
}

TEST(TreeLoad, FirefoxOfferIsTheInstallationsDefaultProfileElseTheOneMarkedDefault) {
    TempDir dir;
    const FirefoxProfiles firefox;
    const std::string marked = firefox.Profile("Profiles\\a.default");
    const std::string installed = firefox.Profile("Profiles\\b.default-release");
    const std::string elsewhere = firefox.Profile("c.moved", dir.path());
    const std::string profile0 = "[Profile0]\r\nName=x\r\nIsRelative=0\r\nPath=" + FolderOf(elsewhere);
    const struct {
        std::string ini;
        std::string places;  // "" for no offer
    } cases[] = {
        {kTwoProfiles, installed},
        {"\xEF\xBB\xBF[Profile1]\nIsRelative=1\nPath=Profiles/b.default-release\n[Profile0]\nIsRelative=1\n"
         "Path=Profiles/a.default\nDefault=1\n",
         marked},
        {profile0 + "\r\nDefault=1\r\n", elsewhere},
        {"[Install1]\r\nDefault=Profiles/gone\r\n[Profile0]\r\nIsRelative=1\r\nPath=Profiles/a.default\r\nDefault=1\r\n", ""},
        {profile0 + "\r\n", ""},
        {"", ""},
    };
    for (const auto& c : cases) {
        firefox.List(c.ini);
        std::string offered;
        for (const fav::ProfileBookmarks& profile : fav::DefaultProfileBookmarks())
            if (std::string(profile.code) == "FFBM") offered = profile.path;
        EXPECT_EQ(offered, c.places) << c.ini;
    }
}
