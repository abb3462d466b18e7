// The tree's plug-in sink and bookmark sources, without and with the import plug-in beside the
// module that holds the tree code.
#include "../support/TestSupport.h"

#include <base/Path.h>
#include <tree/TreeImportSink.h>

#include <gtest/gtest.h>

using testutil::ChildLabels;

namespace {

struct ImportFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;
};

}  // namespace

// A plug-in of before the wide calls: it knows ImportSink alone, and reads back what it added.
class AnsiOnlyPlugIn final : public plugin::FormatHandler {
public:
    std::string folderLabel;

    int STDMETHODCALLTYPE Release() override { return sink_->Release(), 0; }
    int STDMETHODCALLTYPE Kind(int) override { return 0; }
    int STDMETHODCALLTYPE SetSink(plugin::ImportSink* sink) override { return sink_ = sink, 0; }
    int STDMETHODCALLTYPE Run(char*, plugin::ItemHandle parent) override {
        plugin::ItemHandle folder = sink_->AddNode(parent, "フォルダ", nullptr, plugin::kAddFolder);
        if (!folder || !sink_->AddNode(folder, "表計算", "http://example.com/表?a=1&b=2", plugin::kAddItem) ||
            !sink_->AddNode(folder, "読めません", plugin::NoURL, plugin::kAddItem) ||
            sink_->AddNode(folder, "x", "http://x/", 3))
            return 1;
        char label[64];
        if (sink_->GetText(folder, label, sizeof label)) folderLabel = label;
        return 0;
    }

private:
    plugin::ImportSink* sink_ = nullptr;
};

TEST_F(ImportFixture, PlugInWithAnsiCallsOnlyAddsFoldersAndItemsWithOrWithoutUrl) {
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    AnsiOnlyPlugIn plugIn;
    TreeImportSink sink(tree);
    plugIn.SetSink(&sink);
    std::string location = "C:\\bm.htm";
    ASSERT_EQ(plugIn.Run(location.data(), source), 0);
    plugIn.Release();
    EXPECT_EQ(plugIn.folderLabel, "フォルダ");

    const HTREEITEM folder = testutil::Node(tree, {"Netscape BookMark", "フォルダ"});
    EXPECT_EQ(tree.KindOf(folder), fav::kImportedFolder);
    EXPECT_EQ(ChildLabels(tree, folder), (std::vector<std::string>{"表計算", "読めません"}));
    const HTREEITEM item = testutil::Node(tree, {"Netscape BookMark", "フォルダ", "表計算"});
    const HTREEITEM message = testutil::Node(tree, {"Netscape BookMark", "フォルダ", "読めません"});
    EXPECT_EQ(tree.KindOf(item), fav::kImportedItem);
    EXPECT_EQ(tree.FileName(item), L"表計算");
    EXPECT_EQ(tree.NodeAddress(item), L"http://example.com/表?a=1&b=2");
    EXPECT_EQ(tree.NodeUrl(item), "http://example.com/表?a=1&b=2");
    EXPECT_EQ(tree.IndexOf(message), fav::kNoUrlIndex);
    EXPECT_FALSE(tree.NodeUrl(message).has_value());
    TreeView_SelectItem(tree.hwnd(), message);
    EXPECT_EQ(host.StatusText(), "Error : 読めません");
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ImportFixture, ChromiumAndNetscapeTitlesShowExactlyWithTheirExactAddress) {
    const std::string title = reinterpret_cast<const char*>(u8"😀 Party 한국어 Café ①髙");
    const std::string url = reinterpret_cast<const char*>(u8"https://ko.example/한국");
    const std::string netscape = dir.WriteFile("bm.htm", "\xEF\xBB\xBF<DL><p>\n<DT><A HREF=\"" + url + "\">" + title + "</A>\n");
    const std::string chromium = dir.WriteFile("Bookmarks", R"({"roots": {"bookmark_bar": {"type": "folder", "name": "bar", )"
                                                            R"("children": [{"type": "url", "name": ")" + title +
                                                                R"(", "url": ")" + url + R"("}]}}})");
    CFavTreeView& tree = Load("BookMark=" + netscape + "\r\nChromiumBookMark=" + chromium + "\r\n");
    const std::wstring exactTitle = L"\U0001F600 Party 한국어 Café ①髙", exactUrl = L"https://ko.example/한국";
    const struct {
        const char* source;
        const char* code;
        std::string file;
        std::vector<std::string> below;  // the way from the source to the item
    } cases[] = {
        {"Netscape BookMark", "NSBM", netscape, {}},
        {"Chromium BookMark", "CRBM", chromium, {"bar"}},
    };
    for (const auto& c : cases) {
        HTREEITEM node = testutil::Node(tree, {c.source});
        ASSERT_TRUE(testutil::ImportSource(tree, node, c.code, c.file)) << c.code;
        for (const std::string& label : c.below) node = testutil::Child(tree, node, label);
        const HTREEITEM item = node ? TreeView_GetChild(tree.hwnd(), node) : nullptr;
        ASSERT_NE(item, nullptr) << c.code;
        // Read back through the wide tree message, as the control holds it.
        EXPECT_EQ(tree.FileName(item), exactTitle) << c.code;
        EXPECT_EQ(tree.NodeAddress(item), exactUrl) << c.code;
        EXPECT_EQ(tree.NodeUrl(item), "https://ko.example/??") << c.code;  // what older callers get
    }
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(ImportFixture, ManyImportedUrlsKeepTheirOwnIndexesAndNeverTheNoUrlMarker) {
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    TreeImportSink sink(tree);
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    for (int i = 1; i <= 300; ++i) {
        const std::string n = std::to_string(i);
        ASSERT_NE(sink.AddNode(source, ("item" + n).c_str(), ("http://example.com/" + n).c_str(), plugin::kAddItem),
                  nullptr);
    }
    int n = 0;
    for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), source); child; child = TreeView_GetNextSibling(tree.hwnd(), child)) {
        ++n;
        EXPECT_NE(tree.IndexOf(child), fav::kNoUrlIndex);
        EXPECT_EQ(tree.NodeUrl(child), "http://example.com/" + std::to_string(n));
    }
    EXPECT_EQ(n, 300);
    // A reload forgets every imported URL.
    ASSERT_TRUE(tree.LoadRoot());
    EXPECT_EQ(tree.config().importedUrls.size(), 1u);
}

TEST_F(ImportFixture, SinkReadsTheTreeAsPlugInsSeeIt) {
    dir.MakeDir("fav\\folder");
    dir.WriteShortcut("fav\\表計算ソフト", "http://example.com/sheet");
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    TreeImportSink sink(tree);
    EXPECT_EQ(sink.GetOwnerWindow(), tree.hwnd());
    EXPECT_EQ(sink.GetRoot(), tree.Root());
    const HTREEITEM source = sink.GetChild(sink.GetRoot());
    const HTREEITEM folder = sink.GetNextSibling(source);
    const HTREEITEM shortcut = sink.GetNextSibling(folder);
    EXPECT_EQ(sink.GetNextSibling(shortcut), nullptr);
    EXPECT_EQ(sink.GetChild(nullptr), nullptr);

    EXPECT_FALSE(sink.IsFolder(source));
    EXPECT_TRUE(sink.IsFolder(folder));
    EXPECT_FALSE(sink.IsFolder(shortcut));
    EXPECT_FALSE(sink.IsFolder(sink.AddNode(source, "imported", nullptr, plugin::kAddFolder)));

    char text[6];
    ASSERT_TRUE(sink.GetText(shortcut, text, sizeof text));
    EXPECT_STREQ(text, "表計");  // cut between characters, never inside one
    char url[64];
    ASSERT_TRUE(sink.GetURL(shortcut, url, sizeof url));
    EXPECT_STREQ(url, "http://example.com/sheet");
    EXPECT_FALSE(sink.GetURL(folder, url, sizeof url));
    EXPECT_FALSE(sink.GetURL(source, url, sizeof url));

    void* object = &sink;
    EXPECT_EQ(sink.QueryInterface(IID_IUnknown, &object), E_NOTIMPL);
    EXPECT_EQ(object, nullptr);
    // The wide calls: the same sink, cut between characters in UTF-16 units.
    ASSERT_EQ(sink.QueryInterface(plugin::IID_WideImportSink, &object), S_OK);
    auto* wide = static_cast<plugin::WideImportSink*>(object);
    EXPECT_EQ(static_cast<plugin::ImportSink*>(wide), &sink);
    wchar_t wideText[3];
    ASSERT_TRUE(wide->GetTextW(shortcut, wideText, 3));
    EXPECT_STREQ(wideText, L"表計");
    wchar_t wideUrl[64];
    ASSERT_TRUE(wide->GetURLW(shortcut, wideUrl, 64));
    EXPECT_STREQ(wideUrl, L"http://example.com/sheet");
    EXPECT_FALSE(wide->GetURLW(folder, wideUrl, 64));
}

TEST_F(ImportFixture, WithoutThePlugInASourceOpensEmptyAndSilently) {
    const std::string beside = path::ReplaceFileName(path::ModuleFile(nullptr), "tlImport.dll");
    if (path::Exists(beside)) GTEST_SKIP() << "the plug-in is installed beside the tests";
    CFavTreeView& tree = Load("BookMark=C:\\bm.htm\r\n");
    HTREEITEM source = testutil::Node(tree, {"Netscape BookMark"});
    TreeView_Expand(tree.hwnd(), source, TVE_EXPAND);
    EXPECT_EQ(tree.KindOf(source), fav::kImportedFolder);
    EXPECT_TRUE(ChildLabels(tree, source).empty());
    EXPECT_TRUE(messages.texts().empty());
}
