// Two bands at once on two threads, as two browser windows of one process have them: each with
// its own window, tree, settings, browser and DDE instance.
#include "FakeSite.h"

#include "../support/TestSupport.h"

#include <bar/TolvakEx.h>
#include <tree/additem/DdeClient.h>

#include <ddeml.h>

#include <gtest/gtest.h>

#include <latch>
#include <thread>

namespace {

struct BandRun {
    std::string ini;
    HRESULT attached = E_FAIL;
    HWND window = nullptr;
    int treeId = 0;
    std::vector<std::string> labels;
    std::vector<std::wstring> statusTexts;
    std::wstring navigated;
    DWORD ddeInstance = 0;
    bool ddeServesThisThread = false;
};

// One browser window's thread: attach a band, use its tree, wait until the other band is up
// too, then close and release it.
void RunBand(BandRun& run, std::latch& bothUp) {
    const win::OleSession ole;
    {
        bartest::FakeSite site;
        win::ComPtr<IDeskBand> band;
        bar::TolvakEx::Create(nullptr, IID_IDeskBand, reinterpret_cast<void**>(band.put()), run.ini);
        win::ComPtr<IObjectWithSite> withSite;
        band->QueryInterface(IID_IObjectWithSite, reinterpret_cast<void**>(withSite.put()));
        run.attached = withSite->SetSite(site.unknown());
        auto& object = *static_cast<bar::TolvakEx*>(band.get());
        if (CFavTreeView* tree = object.Tree()) {
            run.window = object.BandHwnd();
            run.treeId = GetDlgCtrlID(tree->hwnd());
            run.labels = testutil::ChildLabels(*tree, tree->Root());
            HTREEITEM first = TreeView_GetChild(tree->hwnd(), tree->Root());
            TreeView_SelectItem(tree->hwnd(), first);
            SendMessageA(tree->hwnd(), WM_KEYDOWN, VK_RETURN, 0);
        }
        // The other thread's windows send to this thread's (activation, focus) and wait for the
        // answer: waiting without serving them would hang both threads.
        bothUp.count_down();
        while (!bothUp.try_wait()) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            testutil::PumpMessages();
        }
        // Read once both bands are up, so one instance shared by the threads would show: both
        // would see the one made last, which DDEML serves only on the thread that made it.
        run.ddeInstance = fav::DdeInstance();
        if (HSZ name = DdeCreateStringHandleA(run.ddeInstance, "NETSCAPE", CP_WINANSI)) {
            run.ddeServesThisThread = true;
            DdeFreeStringHandle(run.ddeInstance, name);
        }
        run.statusTexts = site.browser.statusTexts;
        if (!site.browser.navigations.empty()) run.navigated = site.browser.navigations.front().url;
        band->CloseDW(0);
        withSite->SetSite(nullptr);
    }
    testutil::PumpMessages();
}

}  // namespace

TEST(BandThreads, TwoBandsOnTwoThreadsKeepTheirOwnState) {
    testutil::TempDir dir;
    BandRun runs[2];
    for (int i = 0; i < 2; ++i) {
        const std::string name = i == 0 ? "left" : "right";
        dir.MakeDir(name);
        const std::string root = dir.MakeDir(name + "\\fav");
        dir.WriteShortcut(name + "\\fav\\" + name, "http://" + name + "/");
        runs[i].ini = dir.WriteFile(name + "\\tolvak.ini", "[Tolvak#1]\r\nFavRoot=" + root + "\r\n");
    }
    std::latch bothUp(2);
    std::thread left(RunBand, std::ref(runs[0]), std::ref(bothUp));
    std::thread right(RunBand, std::ref(runs[1]), std::ref(bothUp));
    left.join();
    right.join();

    for (int i = 0; i < 2; ++i) {
        const std::string name = i == 0 ? "left" : "right";
        const std::wstring url = i == 0 ? L"http://left/" : L"http://right/";
        EXPECT_EQ(runs[i].attached, S_OK) << name;
        EXPECT_EQ(runs[i].treeId, CFavTreeView::kFirstControlId) << name;
        EXPECT_EQ(runs[i].labels, std::vector<std::string>{name}) << name;
        EXPECT_EQ(runs[i].navigated, url) << name;
        ASSERT_FALSE(runs[i].statusTexts.empty()) << name;
        EXPECT_EQ(runs[i].statusTexts.back(), url) << name;
        EXPECT_NE(runs[i].ddeInstance, 0u) << name;
        EXPECT_TRUE(runs[i].ddeServesThisThread) << name;
        EXPECT_FALSE(IsWindow(runs[i].window)) << name;
    }
    EXPECT_NE(runs[0].window, runs[1].window);
    EXPECT_NE(runs[0].ddeInstance, runs[1].ddeInstance);
}
