// The band object in the test process, hosted by a fake browser site: attaching, band info,
// focus, the bar's menu and commands, opening entries in the hosting browser, closing.
#include "FakeSite.h"

#include "../support/TestSupport.h"

#include <bar/TolvakEx.h>
#include <base/Format.h>
#include <settings/TreeSettings.h>
#include <tree/TreeContextMenu.h>

#include <gtest/gtest.h>

using testutil::ChildLabels;

namespace {

struct BandFixture : testing::Test {
    testutil::TempDir dir;
    std::string root = dir.MakeDir("fav");
    std::string ini;
    testutil::MessageRecorder messages;
    bartest::FakeSite site;  // outlives the band, which holds it until SetSite(NULL)
    win::ComPtr<IDeskBand> band;

    void SetUp() override {
        dir.WriteShortcut("fav\\a", "http://a/");
        dir.MakeDir("fav\\sub");
        ini = testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n");
        band = NewBand();
        ASSERT_TRUE(band);
    }
    void TearDown() override {
        if (band) {
            band->CloseDW(0);
            Site()->SetSite(nullptr);
        }
        band.reset();
        testutil::PumpMessages();
    }
    win::ComPtr<IDeskBand> NewBand() const {
        win::ComPtr<IDeskBand> made;
        EXPECT_EQ(bar::TolvakEx::Create(nullptr, IID_IDeskBand, reinterpret_cast<void**>(made.put()), ini), S_OK);
        return made;
    }
    template <typename I>
    static win::ComPtr<I> As(IUnknown* object, REFIID iid) {
        win::ComPtr<I> result;
        EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(result.put())), S_OK);
        return result;
    }
    win::ComPtr<IObjectWithSite> Site() const { return As<IObjectWithSite>(band.get(), IID_IObjectWithSite); }
    bar::TolvakEx& Object() const { return *static_cast<bar::TolvakEx*>(band.get()); }
    CFavTreeView& Tree() const { return *Object().Tree(); }
    // Attaches the band to `site` and shows it.
    void Attach() {
        ASSERT_EQ(Site()->SetSite(site.unknown()), S_OK);
        band->ShowDW(TRUE);
        testutil::PumpMessages();
    }
    void PointAt(HTREEITEM node) const {
        RECT rect{};
        POINT point{5, 5};
        if (node && TreeView_GetItemRect(Tree().hwnd(), node, &rect, TRUE))
            point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        else if (GetClientRect(Tree().hwnd(), &rect))
            point = {rect.right / 2, rect.bottom - 5};  // below the last node
        ClientToScreen(Tree().hwnd(), &point);
        testutil::PlaceCursor(point);
    }
    HRESULT Invoke(LPCSTR verb) const {
        CMINVOKECOMMANDINFO info{};
        info.cbSize = sizeof info;
        info.hwnd = GetParent(Object().BandHwnd());
        info.lpVerb = verb;
        return As<IContextMenu>(band.get(), IID_IContextMenu)->InvokeCommand(&info);
    }
    static std::vector<std::string> MenuTexts(HMENU menu) {
        std::vector<std::string> texts;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[100] = "";
            GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
            texts.push_back(text[0] ? text : text::Format("-%u", GetMenuItemID(menu, i)));
        }
        return texts;
    }
};

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

}  // namespace

TEST_F(BandFixture, ASiteGivesTheBandItsWindowTreeAndBrowser) {
    Attach();
    HWND window = nullptr;
    ASSERT_EQ(band->GetWindow(&window), S_OK);
    ASSERT_TRUE(window);
    EXPECT_EQ(GetParent(window), site.parent());
    EXPECT_EQ(ClassOf(window), "Tolvak_Wnd");
    EXPECT_EQ(GetDlgItem(window, CFavTreeView::kStatusBarId), nullptr);  // the tree fills the band
    EXPECT_EQ(GetParent(Tree().hwnd()), window);
    EXPECT_EQ(ChildLabels(Tree(), Tree().Root()), (std::vector<std::string>{"sub", "a"}));
    EXPECT_EQ(Tree().browser(), static_cast<IWebBrowser2*>(&site.browser));

    MoveWindow(window, 0, 0, 150, 220, TRUE);
    RECT treeRect{};
    GetWindowRect(Tree().hwnd(), &treeRect);
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(treeRect.right - treeRect.left, client.right);
    EXPECT_EQ(treeRect.bottom - treeRect.top, client.bottom);

    win::ComPtr<IInputObjectSite> held;
    EXPECT_EQ(Site()->GetSite(IID_IInputObjectSite, reinterpret_cast<void**>(held.put())), S_OK);
    EXPECT_EQ(held.get(), static_cast<IInputObjectSite*>(&site));
}

TEST_F(BandFixture, IncompleteSitesGetTheirPartsOnly) {
    const struct {
        bartest::SiteShape shape;
        HRESULT result;
        bool window;
        bool browser;
    } cases[] = {
        {{false, true, true}, E_FAIL, false, false},
        {{true, false, true}, E_FAIL, true, true},
        {{true, true, false}, S_OK, true, false},
    };
    for (const auto& c : cases) {
        bartest::FakeSite partial(c.shape);
        win::ComPtr<IDeskBand> other = NewBand();
        auto withSite = As<IObjectWithSite>(other.get(), IID_IObjectWithSite);
        EXPECT_EQ(withSite->SetSite(partial.unknown()), c.result);
        auto& object = *static_cast<bar::TolvakEx*>(other.get());
        EXPECT_EQ(object.BandHwnd() != nullptr, c.window);
        EXPECT_EQ(object.Tree() && object.Tree()->browser(), c.browser);
        other->CloseDW(0);
        withSite->SetSite(nullptr);
    }
}

TEST_F(BandFixture, BandInfoFillsWhatTheMaskAsksFor) {
    DESKBANDINFO info{};
    info.dwMask = DBIM_MINSIZE | DBIM_MAXSIZE | DBIM_INTEGRAL | DBIM_ACTUAL | DBIM_TITLE | DBIM_MODEFLAGS | DBIM_BKCOLOR;
    ASSERT_EQ(band->GetBandInfo(7, DBIF_VIEWMODE_VERTICAL, &info), S_OK);
    EXPECT_EQ(info.ptMinSize.x, 10);
    EXPECT_EQ(info.ptMinSize.y, 10);
    EXPECT_EQ(info.ptMaxSize.x, -1);
    EXPECT_EQ(info.ptMaxSize.y, -1);
    EXPECT_EQ(info.ptIntegral.x, 1);
    EXPECT_EQ(info.ptActual.y, 0);
    EXPECT_EQ(std::wstring(info.wszTitle), L"Tolvak Bar");
    EXPECT_EQ(info.dwModeFlags, DWORD(DBIMF_VARIABLEHEIGHT));
    EXPECT_EQ(info.dwMask & DBIM_BKCOLOR, 0u);

    DESKBANDINFO titleOnly{};
    titleOnly.dwMask = DBIM_TITLE | DBIM_BKCOLOR;
    titleOnly.ptMinSize = {99, 99};
    ASSERT_EQ(band->GetBandInfo(7, DBIF_VIEWMODE_VERTICAL, &titleOnly), S_OK);
    EXPECT_EQ(titleOnly.dwMask, DWORD(DBIM_TITLE));
    EXPECT_EQ(std::wstring(titleOnly.wszTitle), L"Tolvak Bar");
    EXPECT_EQ(titleOnly.ptMinSize.x, 99);

    EXPECT_EQ(band->GetBandInfo(7, DBIF_VIEWMODE_VERTICAL, nullptr), E_INVALIDARG);
}

TEST_F(BandFixture, FocusIsReportedAndKeptWhileTheTreeHasIt) {
    Attach();
    auto input = As<IInputObject>(band.get(), IID_IInputObject);
    site.focusChanges.clear();
    EXPECT_EQ(input->HasFocusIO(), S_FALSE);

    EXPECT_EQ(input->UIActivateIO(TRUE, nullptr), S_OK);
    EXPECT_EQ(GetFocus(), Tree().hwnd());
    EXPECT_EQ(input->HasFocusIO(), S_OK);
    // The band window passes the focus on to its tree (losing it for a moment), then counts as focused.
    EXPECT_EQ(site.focusChanges, (std::vector<BOOL>{FALSE, TRUE}));

    SetFocus(site.parent());  // from the tree elsewhere: the band window itself sees nothing
    EXPECT_EQ(input->HasFocusIO(), S_OK);
    EXPECT_EQ(site.focusChanges.size(), 2u);
    EXPECT_EQ(input->UIActivateIO(FALSE, nullptr), S_OK);
    EXPECT_EQ(input->TranslateAcceleratorIO(nullptr), S_FALSE);
}

TEST_F(BandFixture, MenuOverEmptySpaceOffersTheBarsCommands) {
    Attach();
    auto menu = As<IContextMenu>(band.get(), IID_IContextMenu);
    const win::UniqueMenu host(CreatePopupMenu());
    AppendMenuA(host.get(), MF_STRING, 1, "host");
    PointAt(nullptr);

    EXPECT_EQ(menu->QueryContextMenu(host.get(), 0, 100, 200, CMF_DEFAULTONLY), S_OK);
    EXPECT_EQ(GetMenuItemCount(host.get()), 1);
    EXPECT_EQ(menu->QueryContextMenu(host.get(), 0, 100, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5));
    EXPECT_EQ(MenuTexts(host.get()),
              (std::vector<std::string>{"ツリーをリロード(&R)", "-3", "&Tolvak を起動", "リンク出力", "host"}));
    EXPECT_EQ(GetMenuItemID(host.get(), 0), 100u);
    EXPECT_EQ(GetMenuItemID(host.get(), 2), 101u);
    EXPECT_EQ(GetMenuItemID(host.get(), 3), 102u);
}

// Over a node the tree shows its own menu; the host's menu is emptied, never destroyed, since
// the host still uses and destroys it.
TEST_F(BandFixture, MenuOverANodeEmptiesTheHostsMenu) {
    Attach();
    auto menu = As<IContextMenu>(band.get(), IID_IContextMenu);
    HMENU host = CreatePopupMenu();
    AppendMenuA(host, MF_STRING, 1, "host");
    AppendMenuA(host, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), "sub");
    PointAt(testutil::Node(Tree(), {"a"}));

    EXPECT_EQ(menu->QueryContextMenu(host, 0, 100, 200, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 5));
    EXPECT_TRUE(IsMenu(host));
    EXPECT_EQ(GetMenuItemCount(host), 0);
    EXPECT_TRUE(DestroyMenu(host));
}

TEST_F(BandFixture, CommandsReloadStartTheProgramAndRefuseOtherVerbs) {
    Attach();
    dir.WriteShortcut("fav\\b", "http://b/");
    EXPECT_EQ(Invoke(MAKEINTRESOURCEA(0)), S_OK);
    EXPECT_EQ(ChildLabels(Tree(), Tree().Root()), (std::vector<std::string>{"sub", "a", "b"}));

    // Tolvak.exe is not beside the test program.
    EXPECT_EQ(Invoke(MAKEINTRESOURCEA(1)), S_OK);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text, "Tolvak.exeが見つかりません");
    EXPECT_EQ(messages.messages()[0].owner, site.parent());

    // The site's browser shows no page the link list could read: one message, no dialog.
    EXPECT_EQ(Invoke(MAKEINTRESOURCEA(2)), S_OK);
    ASSERT_EQ(messages.messages().size(), 2u);
    EXPECT_EQ(messages.messages()[1].owner, site.parent());
    // A verb given as text names no command, even where its pointer's low word would.
    EXPECT_EQ(Invoke("open"), E_INVALIDARG);
    EXPECT_EQ(Invoke(MAKEINTRESOURCEA(3)), E_INVALIDARG);

    auto menu = As<IContextMenu>(band.get(), IID_IContextMenu);
    const struct {
        UINT_PTR command;
        UINT type;
        HRESULT result;
    } strings[] = {{0, GCS_VERBA, S_OK}, {0, GCS_HELPTEXTA, S_OK}, {5, GCS_VALIDATEA, S_OK},
                   {1, GCS_VERBA, E_INVALIDARG}, {0, GCS_VERBW, E_INVALIDARG}};
    for (const auto& s : strings) EXPECT_EQ(menu->GetCommandString(s.command, s.type, nullptr, nullptr, 0), s.result);
}

TEST_F(BandFixture, EnterNavigatesTheHostingBrowserAndShiftEnterOpensANewWindow) {
    testutil::Recorder newWindow(dir, "browser");
    testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n[General]\r\nBrowser=" + newWindow.program() + "\r\n");
    Attach();
    HTREEITEM shortcut = testutil::Node(Tree(), {"a"});
    TreeView_SelectItem(Tree().hwnd(), shortcut);
    EXPECT_EQ(site.browser.statusTexts.back(), L"http://a/");

    SendMessageA(Tree().hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(site.browser.navigations.size(), 1u);
    EXPECT_EQ(site.browser.navigations[0].url, L"http://a/");
    EXPECT_EQ(site.browser.navigations[0].headers, L"User-Agent: Tolvak Favorites Manager\r\n");

    {
        testutil::ShiftKey shift(true);
        SendMessageA(Tree().hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    }
    EXPECT_NE(newWindow.WaitForCommandLine().find("http://a/"), std::string::npos);
    EXPECT_EQ(site.browser.navigations.size(), 1u);

    // An address outside the code page reaches the hosting browser exactly, as its status text too.
    dir.WriteFile("fav\\cafe.url", testutil::kAccentedShortcut);
    Tree().LoadRoot();
    TreeView_SelectItem(Tree().hwnd(), testutil::Node(Tree(), {"cafe"}));
    EXPECT_EQ(site.browser.statusTexts.back(), testutil::kAccentedAddress);
    SendMessageA(Tree().hwnd(), WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_EQ(site.browser.navigations.size(), 2u);
    EXPECT_EQ(site.browser.navigations[1].url, testutil::kAccentedAddress);
}

TEST_F(BandFixture, TheBarsTreeHasNoLinkCheckEntries) {
    Attach();
    using namespace ctxmenu;
    const auto ids = [&](const std::vector<std::string>& labels) {
        const ContextMenu menu(Tree(), testutil::Node(Tree(), labels));
        std::vector<UINT> result;
        for (int i = 0; i < GetMenuItemCount(menu.handle()); ++i) result.push_back(GetMenuItemID(menu.handle(), i));
        return result;
    };
    EXPECT_EQ(ids({"a"}), (std::vector<UINT>{kOpen, kOpenInNewWindow, 0, kCopyUrl, kCopyLink, 0, kAddHere, kDelete,
                                             kRename, 0, kProperties}));
    EXPECT_EQ(ids({"sub"}), (std::vector<UINT>{kExpandBranch, kCollapseBranch, kOpenAll, 0, kNewItem, kNewFolder,
                                               kDelete, kRename}));
}

TEST_F(BandFixture, ClosingLeavesNoWindowAndEndsNoMessageLoop) {
    Attach();
    HWND window = Object().BandHwnd();
    EXPECT_EQ(band->CloseDW(0), S_OK);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(Site()->SetSite(nullptr), S_OK);
    HWND after = reinterpret_cast<HWND>(1);
    EXPECT_EQ(band->GetWindow(&after), S_OK);
    EXPECT_EQ(after, nullptr);
    EXPECT_EQ(FindWindowExA(site.parent(), nullptr, "Tolvak_Wnd", nullptr), nullptr);
    void* held = nullptr;
    EXPECT_EQ(Site()->GetSite(IID_IInputObjectSite, &held), E_FAIL);
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// A browser opens a bar in window after window: each band window reads the settings afresh and
// its tree gets the first id again, so notifications keep reaching it.
TEST_F(BandFixture, ReopenedBandsReadSettingsAfreshAndReuseTreeIds) {
    for (int i = 0; i < 25; ++i) {
        Attach();
        EXPECT_EQ(GetDlgCtrlID(Tree().hwnd()), CFavTreeView::kFirstControlId);
        band->CloseDW(0);
        Site()->SetSite(nullptr);
    }
    testutil::WriteSettings(dir, "[Tolvak#1]\r\nFavRoot=" + root + "\r\n[Tree]\r\nTvBkColor=0x00123456\r\n");
    Attach();
    EXPECT_EQ(TreeView_GetBkColor(Tree().hwnd()), COLORREF(0x00123456));
    TreeView_SelectItem(Tree().hwnd(), testutil::Node(Tree(), {"a"}));
    ASSERT_FALSE(site.browser.statusTexts.empty());
    EXPECT_EQ(site.browser.statusTexts.back(), L"http://a/");
}
