// The add-item dialog, run modally as the program runs it. The test acts from timers, which fire
// inside the dialog's (and a menu's) own message loop; pop-up menus are answered by keyboard.
// Browser windows come from a fake ShellWindows registered in this process, Netscape is a DDE
// server on a thread of its own.
#include "../support/Picture.h"
#include "../support/TestSupport.h"
#include "../support/WebBrowserStub.h"

#include <base/FileSystem.h>
#include <base/Path.h>
#include <base/TextEncoding.h>
#include <resources/TreeIds.h>
#include <tree/additem/AddItemDialog.h>
#include <tree/additem/DdeClient.h>

#include <ddeml.h>
#include <exdisp.h>
#include <shldisp.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <thread>

using testutil::ChildLabels;
using testutil::Node;
using testutil::ReadBytes;

namespace {

constexpr INT_PTR kLeftOpen = 99;

// --- Acting inside modal loops --------------------------------------------------------------

using testutil::Soon;
using testutil::ThreadWindow;

// Opens the dialog as the program does and runs `script` once it shows; a dialog the script
// leaves open is ended with kLeftOpen.
INT_PTR RunDialog(CFavTreeView& tree, HTREEITEM target, const std::string& title, const std::string& url,
                  const std::function<void(HWND)>& script) {
    return testutil::RunDialog([&] { return ShowAddItemDialog(tree, target, title, url); }, script, kLeftOpen);
}

struct MenuLine {
    UINT id;
    bool separator;
    std::wstring text;
    bool operator==(const MenuLine&) const = default;
};

// In the next pop-up menu: notes its lines, then chooses the line with command `id` by keyboard.
void ChooseInNextMenu(UINT id, std::vector<MenuLine>* lines) {
    Soon([id, lines] {
        HWND window = ThreadWindow("#32768");
        ASSERT_NE(window, nullptr);
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        int downs = 0;
        bool found = false;
        for (int position = 0; position < GetMenuItemCount(menu); ++position) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
            GetMenuItemInfoA(menu, position, TRUE, &info);
            // Owner-drawn lines keep their text in the code page.
            wchar_t text[256] = L"";
            if (!(info.fType & MFT_OWNERDRAW)) GetMenuStringW(menu, position, text, 256, MF_BYPOSITION);
            else if (info.dwItemData) lstrcpynW(text, text::AnsiToWide(reinterpret_cast<const char*>(info.dwItemData)).c_str(), 256);
            const bool separator = (info.fType & MFT_SEPARATOR) != 0;
            lines->push_back({info.wID, separator, text});
            if (!found && !separator) ++downs;  // keyboard moves skip separators
            found = found || (!separator && info.wID == id);
        }
        ASSERT_TRUE(found);
        for (int i = 0; i < downs; ++i) PostMessageA(window, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(window, WM_CHAR, '\r', 0);
    });
}

std::string Field(HWND dialog, int id) {
    char text[1024] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND Folders(HWND dialog) { return GetDlgItem(dialog, IDC_ADD_FOLDERS); }

TVITEMA ItemData(HWND folders, HTREEITEM item, char* text = nullptr, int size = 0) {
    TVITEMA data{};
    data.mask = TVIF_PARAM | (text ? TVIF_TEXT : 0);
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = size;
    TreeView_GetItem(folders, &data);
    return data;
}

// The folder-tree item reached from "Root" through `labels`, or null.
HTREEITEM FolderCopy(HWND folders, const std::vector<std::string>& labels) {
    HTREEITEM item = TreeView_GetRoot(folders);
    for (const std::string& label : labels) {
        char text[MAX_PATH] = "";
        for (item = TreeView_GetChild(folders, item); item; item = TreeView_GetNextSibling(folders, item)) {
            ItemData(folders, item, text, sizeof text);
            if (label == text) break;
        }
    }
    return item;
}

// Right-clicks `item` of the folder tree, as the tree view reports it to the dialog.
void RightClick(HWND dialog, HTREEITEM item) {
    RECT rect{};
    TreeView_GetItemRect(Folders(dialog), item, &rect, TRUE);
    POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    ClientToScreen(Folders(dialog), &point);
    testutil::PlaceCursor(point);
    NMHDR header{Folders(dialog), IDC_ADD_FOLDERS, static_cast<UINT>(NM_RCLICK)};
    SendMessageA(dialog, WM_NOTIFY, IDC_ADD_FOLDERS, reinterpret_cast<LPARAM>(&header));
}

// Edits the label of a folder-tree item: types `name` and presses Enter. False when refused.
bool RenameCopy(HWND folders, HTREEITEM item, const char* name) {
    HWND editor = TreeView_EditLabel(folders, item);
    if (!editor) return false;
    SetWindowTextA(editor, name);
    SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    return true;
}

// --- Peers: browser windows and Netscape -----------------------------------------------------

// A page title outside the code page.
constexpr wchar_t kOutsideTitle[] = L"\U0001F600 파티: Café";

// Owned by the test, so reference counts are not kept.
class FakeBrowser final : public testutil::WebBrowserStub {
public:
    FakeBrowser(const wchar_t* name, const wchar_t* url) : name_(name), url_(url) {}
    HRESULT STDMETHODCALLTYPE get_LocationName(BSTR* name) override { return Give(name_, name); }
    HRESULT STDMETHODCALLTYPE get_LocationURL(BSTR* url) override { return Give(url_, url); }

private:
    static HRESULT Give(const wchar_t* text, BSTR* out) { return (*out = SysAllocString(text)) ? S_OK : E_OUTOFMEMORY; }
    const wchar_t* name_;
    const wchar_t* url_;
};

#define NOT_USED(name, ...) \
    HRESULT STDMETHODCALLTYPE name(__VA_ARGS__) override { return E_NOTIMPL; }

// The shell's window collection with three browsers and, after the first, a window that closed
// meanwhile. Registered for CLSID_ShellWindows while it lives.
class FakeShellWindows final : public IShellWindows {
public:
    bool ok() const { return factory_.ok(); }
    void SetFailing() { factory_.failing = true; }  // the collection cannot be created

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        const bool known = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
                           IsEqualIID(iid, IID_IShellWindows);
        *object = known ? static_cast<IShellWindows*>(this) : nullptr;
        return known ? S_OK : E_NOINTERFACE;  // IMarshal included
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE get_Count(LONG* count) override {
        *count = 4;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, IDispatch** member) override {
        *member = nullptr;
        if (V_VT(&index) != VT_I4) return E_INVALIDARG;
        if (V_I4(&index) == 0) *member = &example_;
        if (V_I4(&index) == 2) *member = &japanese_;
        if (V_I4(&index) == 3) *member = &outside_;
        return *member ? S_OK : S_FALSE;
    }
    NOT_USED(GetTypeInfoCount, UINT*) NOT_USED(GetTypeInfo, UINT, LCID, ITypeInfo**)
    NOT_USED(GetIDsOfNames, REFIID, LPOLESTR*, UINT, LCID, DISPID*)
    NOT_USED(Invoke, DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
    NOT_USED(_NewEnum, IUnknown**)
    NOT_USED(Register, IDispatch*, LONG, int, LONG*) NOT_USED(RegisterPending, LONG, VARIANT*, VARIANT*, int, LONG*)
    NOT_USED(Revoke, LONG) NOT_USED(OnNavigate, LONG, VARIANT*) NOT_USED(OnActivated, LONG, VARIANT_BOOL)
    NOT_USED(FindWindowSW, VARIANT*, VARIANT*, int, LONG*, int, IDispatch**) NOT_USED(OnCreated, LONG, IUnknown*)
    NOT_USED(ProcessAttachDetach, VARIANT_BOOL)

private:
    FakeBrowser example_{L"Example Domain", L"http://example.com/"};
    FakeBrowser japanese_{L"日本語 & ページ", L"http://example.jp/"};
    FakeBrowser outside_{kOutsideTitle, testutil::kAccentedAddress};
    testutil::SingleObjectFactory factory_{CLSID_ShellWindows, this};
};

#undef NOT_USED

// Serves "NETSCAPE" / "WWW_GetWindowInfo" and answers every request with `reply` (none: with no
// data) until it goes.
class FakeNetscape {
public:
    explicit FakeNetscape(std::optional<std::string> reply) : reply_(std::move(reply)) {
        current_ = this;
        thread_ = std::thread([this] { Serve(); });
        WaitForSingleObject(ready_.get(), 10000);
    }
    ~FakeNetscape() {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        thread_.join();
        current_ = nullptr;
    }
    bool ok() const { return registered_; }
    // The item of the last request; written before the reply goes back.
    const std::string& requestedItem() const { return item_; }

private:
    void Serve() {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue that WM_QUIT is posted to
        threadId_ = GetCurrentThreadId();
        if (DdeInitializeA(&instance_, Callback, APPCLASS_STANDARD | CBF_SKIP_ALLNOTIFICATIONS, 0) == DMLERR_NO_ERROR) {
            HSZ service = DdeCreateStringHandleA(instance_, "NETSCAPE", CP_WINANSI);
            registered_ = service && DdeNameService(instance_, service, nullptr, DNS_REGISTER);
        }
        SetEvent(ready_.get());
        while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        // Also withdraws the service name and frees the string handles.
        if (instance_) DdeUninitialize(instance_);
    }
    static std::string Text(HSZ handle) {
        char text[256] = "";
        DdeQueryStringA(current_->instance_, handle, text, sizeof text, CP_WINANSI);
        return text;
    }
    static HDDEDATA CALLBACK Callback(UINT type, UINT format, HCONV, HSZ topic, HSZ item, HDDEDATA, ULONG_PTR,
                                      ULONG_PTR) {
        if (type == XTYP_CONNECT) return reinterpret_cast<HDDEDATA>(Text(topic) == "WWW_GetWindowInfo");
        if (type != XTYP_REQUEST) return nullptr;
        current_->item_ = Text(item);
        const std::optional<std::string>& reply = current_->reply_;
        if (format != CF_TEXT || !reply) return nullptr;
        return DdeCreateDataHandle(current_->instance_, reinterpret_cast<BYTE*>(const_cast<char*>(reply->c_str())),
                                   static_cast<DWORD>(reply->size() + 1), 0, item, CF_TEXT, 0);
    }

    static inline FakeNetscape* current_ = nullptr;
    const std::optional<std::string> reply_;
    win::UniqueHandle ready_{CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    DWORD threadId_ = 0;
    DWORD instance_ = 0;
    bool registered_ = false;
    std::string item_;
    std::thread thread_;
};

HDDEDATA CALLBACK IgnoreTransactions(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// --- Fixtures ---------------------------------------------------------------------------------

struct DialogFixture : testutil::TreeFixture {
    testutil::MessageRecorder messages;

    void SetUp() override {
        dir.MakeDir("fav\\a");
        dir.MakeDir("fav\\a\\b");
        dir.WriteShortcut("fav\\a\\in", "http://in/");
        dir.MakeDir("fav\\c");
    }
    std::string Fav(const std::string& relative) const { return root + "\\" + relative; }
};

// With the program's client-only DDE instance, as start-up makes it, and the fake browsers.
struct CaptureFixture : DialogFixture {
    DWORD client = 0;
    FakeShellWindows shellWindows;
    using Fields = std::pair<std::string, std::string>;  // title, URL

    void SetUp() override {
        DialogFixture::SetUp();
        ASSERT_TRUE(shellWindows.ok());
        ASSERT_EQ(DdeInitializeA(&client, IgnoreTransactions, APPCMD_CLIENTONLY | CBF_SKIP_ALLNOTIFICATIONS, 0),
                  UINT(DMLERR_NO_ERROR));
        fav::SetDdeInstance(client);
    }
    void TearDown() override {
        fav::SetDdeInstance(0);
        if (client) DdeUninitialize(client);
    }
    // Chooses `command` in the "情報\n取得" menu over typed fields; the fields afterwards.
    Fields Capture(UINT command, std::vector<MenuLine>* lines = nullptr) {
        std::vector<MenuLine> seen;
        Fields fields;
        RunDialog(Load(), nullptr, "typed", "", [&](HWND dialog) {
            SetDlgItemTextA(dialog, IDC_ADD_URL, "http://typed/");
            ChooseInNextMenu(command, lines ? lines : &seen);
            Click(dialog, IDC_ADD_CAPTURE);
            fields = {Field(dialog, IDC_ADD_TITLE), Field(dialog, IDC_ADD_URL)};
        });
        return fields;
    }
};

}  // namespace

TEST_F(DialogFixture, AddWritesTheShortcutIntoThePreselectedFolderSelectsItAndCloses) {
    CFavTreeView& tree = Load();
    const INT_PTR result = RunDialog(tree, Node(tree, {"a", "b"}), "新しいアイテム", "", [&](HWND dialog) {
        EXPECT_EQ(Field(dialog, IDC_ADD_TITLE), "新しいアイテム");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, IDC_ADD_CAPTURE)));
        HTREEITEM b = FolderCopy(Folders(dialog), {"a", "b"});
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(TreeView_GetSelection(Folders(dialog)), b);
        EXPECT_EQ(ItemData(Folders(dialog), b).lParam, reinterpret_cast<LPARAM>(Node(tree, {"a", "b"})));
        EXPECT_NE(FolderCopy(Folders(dialog), {"c"}), nullptr);
        EXPECT_EQ(FolderCopy(Folders(dialog), {"a", "in"}), nullptr) << "shortcuts are not copied";
        SetDlgItemTextA(dialog, IDC_ADD_URL, "http://example.jp/表");
        // For looking at by eye: the dialog as users see it (common controls 6 through the manifest).
        testutil::WriteBmp(path::ReplaceFileName(path::ModuleFile(nullptr), "add_item.bmp"), testutil::CaptureWindow(dialog));
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(ReadBytes(Fav("a\\b\\新しいアイテム.url")), "[InternetShortcut]\r\nURL=http://example.jp/表");
    EXPECT_EQ(TreeView_GetSelection(tree.hwnd()), Node(tree, {"a", "b", "新しいアイテム"}));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(DialogFixture, GivenUrlDisablesCaptureRootIsPreselectedAndCancelWritesNothing) {
    CFavTreeView& tree = Load();
    const INT_PTR result = RunDialog(tree, nullptr, "t", "http://given/", [&](HWND dialog) {
        HTREEITEM top = TreeView_GetRoot(Folders(dialog));
        EXPECT_EQ(Field(dialog, IDC_ADD_URL), "http://given/");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_ADD_CAPTURE)));
        EXPECT_EQ(TreeView_GetSelection(Folders(dialog)), top);
        EXPECT_EQ(ItemData(Folders(dialog), top).lParam, reinterpret_cast<LPARAM>(tree.Root()));
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(result, 0);
    EXPECT_FALSE(path::Exists(Fav("t.url")));
}

TEST_F(DialogFixture, EmptyFieldMissingFolderAndUnwritableNameAreReportedAndTheDialogStays) {
    CFavTreeView& tree = Load();
    const INT_PTR result = RunDialog(tree, nullptr, "", "http://x/", [&](HWND dialog) {
        Click(dialog, IDOK);
        SetDlgItemTextA(dialog, IDC_ADD_TITLE, "x");
        TreeView_SelectItem(Folders(dialog), nullptr);
        Click(dialog, IDOK);
        TreeView_SelectItem(Folders(dialog), TreeView_GetRoot(Folders(dialog)));
        SetDlgItemTextA(dialog, IDC_ADD_TITLE, "a?b");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, kLeftOpen);
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"どちらかの項目が入力されていません", "対象フォルダが選択されていません",
                                                           "登録に失敗しました。\n不正なファイル名の可能性があります"}));
    for (const ui::MessageRequest& message : messages.messages()) EXPECT_EQ(message.flags, UINT(MB_ICONWARNING));
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "c"}));
}

TEST_F(DialogFixture, CancelledOverwriteLeavesTheDialogOpenAndOkReplacesTheFile) {
    dir.WriteShortcut("fav\\x", "http://old/");
    CFavTreeView& tree = Load();
    messages.AnswerNext(IDCANCEL);
    const INT_PTR result = RunDialog(tree, nullptr, "x", "http://new/", [&](HWND dialog) {
        Click(dialog, IDOK);
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(ReadBytes(Fav("x.url")), "[InternetShortcut]\r\nURL=http://old/");
        Click(dialog, IDOK);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(messages.texts(), std::vector<std::string>(2, "既に同名のアイテムがあります。\n上書きしますか？"));
    EXPECT_EQ(ReadBytes(Fav("x.url")), "[InternetShortcut]\r\nURL=http://new/");
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"a", "c", "x"}));
}

TEST_F(DialogFixture, RootIsNotRenamedOtherFoldersRenameOnDiskAndInBothTrees) {
    CFavTreeView& tree = Load();
    RunDialog(tree, nullptr, "t", "", [&](HWND dialog) {
        HWND folders = Folders(dialog);
        EXPECT_FALSE(RenameCopy(folders, TreeView_GetRoot(folders), "x"));
        ASSERT_TRUE(RenameCopy(folders, FolderCopy(folders, {"a"}), "表計算ソフト"));
        EXPECT_TRUE(path::IsDirectory(Fav("表計算ソフト")));
        EXPECT_FALSE(path::Exists(Fav("a")));
        EXPECT_NE(FolderCopy(folders, {"表計算ソフト", "b"}), nullptr);
        EXPECT_EQ(tree.NodeUrl(Node(tree, {"表計算ソフト", "in"})), "http://in/");

        // A name in use is refused once; the folder keeps its name and no tab-tree editor opens.
        ASSERT_TRUE(RenameCopy(folders, FolderCopy(folders, {"c"}), "表計算ソフト"));
        testutil::PumpMessages();
        EXPECT_NE(FolderCopy(folders, {"c"}), nullptr);
        EXPECT_EQ(testutil::OpenEditor(tree), nullptr);
    });
    EXPECT_EQ(ChildLabels(tree, tree.Root()), (std::vector<std::string>{"表計算ソフト", "c"}));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"すでに同じ名前のフォルダが存在します"}));
}

TEST_F(DialogFixture, CreateFolderAddsItToBothTreesAndAddWhileEditingOnlyEndsTheEdit) {
    CFavTreeView& tree = Load();
    std::vector<MenuLine> lines;
    const INT_PTR result = RunDialog(tree, nullptr, "t", "http://t/", [&](HWND dialog) {
        ChooseInNextMenu(30004, &lines);
        RightClick(dialog, FolderCopy(Folders(dialog), {"a"}));
        EXPECT_TRUE(path::IsDirectory(Fav("a\\新しいフォルダ")));
        EXPECT_TRUE(tree.IsFolder(Node(tree, {"a", "新しいフォルダ"})));
        EXPECT_EQ(TreeView_GetSelection(Folders(dialog)), FolderCopy(Folders(dialog), {"a", "新しいフォルダ"}));
        ASSERT_NE(TreeView_GetEditControl(Folders(dialog)), nullptr);

        SetWindowTextA(TreeView_GetEditControl(Folders(dialog)), "資料");
        Click(dialog, IDOK);
        EXPECT_TRUE(path::IsDirectory(Fav("a\\資料")));
        EXPECT_EQ(tree.Label(Node(tree, {"a", "資料"})), "資料");
    });
    EXPECT_EQ(result, kLeftOpen);
    EXPECT_EQ(lines, (std::vector<MenuLine>{{3, true, L"a"}, {0, false, L"in"}, {3, true, L""}, {30004, false, L"フォルダ作成"}}));
    EXPECT_FALSE(path::Exists(Fav("a\\t.url")));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(DialogFixture, FolderRemovedWhileTheDialogIsOpenIsNoTarget) {
    CFavTreeView& tree = Load();
    RunDialog(tree, Node(tree, {"c"}), "t", "http://t/", [&](HWND dialog) {
        RemoveDirectoryA(Fav("c").c_str());
        SHChangeNotify(SHCNE_RMDIR, SHCNF_PATHA, Fav("c").c_str(), nullptr);
        ASSERT_EQ(Node(tree, {"c"}), nullptr);
        Click(dialog, IDOK);
    });
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"対象フォルダが選択されていません"}));
}

TEST_F(CaptureFixture, BrowserMenuListsTheBrowserWindowsAndAChoiceFillsBothFields) {
    std::vector<MenuLine> lines;
    EXPECT_EQ(Capture(2002, &lines), Fields("日本語 & ページ", "http://example.jp/"));
    EXPECT_EQ(lines, (std::vector<MenuLine>{{3, true, L"ブラウザ一覧"},
                                            {2000, false, L"Example Domain"},
                                            {2002, false, L"日本語 && ページ"},
                                            {2003, false, kOutsideTitle},
                                            {3, true, L""},
                                            {1999, false, L"ネットスケープの最終ダイアログ"}}));
    EXPECT_TRUE(messages.texts().empty());

    lines.clear();
    shellWindows.SetFailing();
    Capture(1999, &lines);
    ASSERT_EQ(lines.size(), 3u) << "without the collection only Netscape is offered";
    EXPECT_EQ(lines[2].id, 1999u);
}

TEST_F(CaptureFixture, NetscapeRepliesFillBothFieldsWithEscapesResolved) {
    {
        FakeNetscape netscape(R"("http://example.com/q?a=\"1\"","He said \"hi\"","")");
        ASSERT_TRUE(netscape.ok());
        // The title becomes a name: its quotes may not stay in a file name.
        EXPECT_EQ(Capture(1999), Fields("He said _hi_", "http://example.com/q?a=\"1\""));
        EXPECT_EQ(netscape.requestedItem(), "0xffffffff");
    }
    FakeNetscape netscape(std::string("\"http://example.jp/\",\"表計算ソフト\",\"\""));
    ASSERT_TRUE(netscape.ok());
    EXPECT_EQ(Capture(1999), Fields("表計算ソフト", "http://example.jp/"));
    EXPECT_TRUE(messages.texts().empty());
}

TEST_F(CaptureFixture, NetscapeWithoutAnswerOrNotRunningLeavesTheFieldsAlone) {
    {
        FakeNetscape netscape(std::nullopt);
        ASSERT_TRUE(netscape.ok());
        EXPECT_EQ(Capture(1999), Fields("typed", "http://typed/"));
        EXPECT_EQ(netscape.requestedItem(), "0xffffffff");
        EXPECT_TRUE(messages.texts().empty());
    }
    EXPECT_EQ(Capture(1999), Fields("typed", "http://typed/"));
    EXPECT_EQ(messages.texts(), (std::vector<std::string>{"Netscapeは起動されていません"}));
    EXPECT_EQ(messages.messages()[0].flags, UINT(MB_ICONWARNING));
}

// Titles and addresses outside the code page, typed or taken from a browser, reach the shortcut
// exactly: the title as its name (a captured one made safe), the address in the .W section.
TEST_F(CaptureFixture, TitlesAndAddressesOutsideTheCodePageAreAddedExactly) {
    const struct {
        const wchar_t* title;  // typed; none: taken from the browser window of command 2003
        const wchar_t* url;
        const wchar_t* file;
        const char* bytes;
    } cases[] = {
        {L"\U0001F600 Party 한국어", L"https://ko.example/한국", L"\U0001F600 Party 한국어.url",
         "[InternetShortcut]\r\nURL=https://ko.example/??\r\n[InternetShortcut.A]\r\nURL=https://ko.example/??\r\n"
         "[InternetShortcut.W]\r\nURL=https://ko.example/+1VytbQ-\r\n"},
        {nullptr, testutil::kAccentedAddress, L"\U0001F600 파티_ Café.url", testutil::kAccentedShortcut},
    };
    CFavTreeView& tree = Load();
    for (const auto& c : cases) {
        const INT_PTR result = RunDialog(tree, nullptr, "", "", [&](HWND dialog) {
            // The fields, made again through the wide call (this Wine's edit control holds any
            // text either way), keep the dialog's font and their place in the tab order.
            const HWND title = GetDlgItem(dialog, IDC_ADD_TITLE), url = GetDlgItem(dialog, IDC_ADD_URL);
            EXPECT_EQ(GetNextDlgTabItem(dialog, title, FALSE), url);
            EXPECT_EQ(GetNextDlgTabItem(dialog, url, TRUE), title);
            EXPECT_EQ(SendMessageW(url, WM_GETFONT, 0, 0), SendMessageW(dialog, WM_GETFONT, 0, 0));
            if (c.title) {
                SetDlgItemTextW(dialog, IDC_ADD_TITLE, c.title);
                SetDlgItemTextW(dialog, IDC_ADD_URL, c.url);
            } else {
                std::vector<MenuLine> lines;
                ChooseInNextMenu(2003, &lines);
                Click(dialog, IDC_ADD_CAPTURE);
            }
            Click(dialog, IDOK);
        });
        EXPECT_EQ(result, 1);
        const std::wstring file = text::AnsiToWide(root) + L"\\" + c.file;
        EXPECT_EQ(fsys::ReadAll(file), c.bytes);
        HTREEITEM node = tree.FindNodeByFile(file);
        ASSERT_NE(node, nullptr);
        EXPECT_EQ(tree.NodeAddress(node), c.url);
    }
    EXPECT_TRUE(messages.texts().empty());
}
