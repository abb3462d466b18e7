// Link checks of real trees against a real server on 127.0.0.1.
#include "LinkCheckFixture.h"

#include <app/linkcheck/ReportDialog.h>
#include <favorites/ShortcutFile.h>
#include <resources/LinkCheckIds.h>

#include <wincrypt.h>

#include <algorithm>

namespace {

using namespace linkchecktest;

// tests/data/tls_server.py, started on the host through Wine, with a certificate for "localhost"
// made for this run.
class TlsServer {
public:
    TlsServer(const testutil::TempDir& dir, const std::string& name) : folder_(dir.MakeDir(name)) {
        testutil::StartOnHost("/usr/bin/python3 " + testutil::UnixPath(std::string(TOLVAK_TEST_DATA) + "\\tls_server.py") +
                              " " + testutil::UnixPath(folder_));
    }
    // Waits for the server to listen; false when it does not within half a minute.
    bool WaitReady() {
        const std::string portFile = folder_ + "\\port";
        for (int i = 0; i < 300 && GetFileAttributesA(portFile.c_str()) == INVALID_FILE_ATTRIBUTES; ++i) Sleep(100);
        if (GetFileAttributesA(portFile.c_str()) != INVALID_FILE_ATTRIBUTES) port_ = testutil::ReadBytes(portFile);
        return !port_.empty();
    }
    ~TlsServer() {
        Untrust();
        testutil::WriteBytes(folder_ + "\\stop", "");
    }
    std::string Url(const std::string& path) const { return "https://localhost:" + port_ + path; }
    // Adds the certificate to the root store of this Wine prefix (the machine's own stays as it is).
    // The process reads the store once, at its first https request: trust comes before it.
    bool Trust() {
        trusted_ = testutil::ReadBytes(folder_ + "\\cert.der");
        return ChangeRootStore([this](HCERTSTORE store) {
            return CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, Der(), static_cast<DWORD>(trusted_.size()),
                                                    CERT_STORE_ADD_REPLACE_EXISTING, nullptr) != FALSE;
        });
    }

private:
    const BYTE* Der() const { return reinterpret_cast<const BYTE*>(trusted_.data()); }
    // The registry store writes its changes when it closes: no context of it may stay open.
    static bool ChangeRootStore(const std::function<bool(HCERTSTORE)>& change) {
        HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, "Root");
        if (!store) return false;
        const bool changed = change(store);
        CertCloseStore(store, 0);
        return changed;
    }
    void Untrust() {
        if (trusted_.empty()) return;
        ChangeRootStore([this](HCERTSTORE store) {
            PCCERT_CONTEXT wanted = CertCreateCertificateContext(X509_ASN_ENCODING, Der(), static_cast<DWORD>(trusted_.size()));
            PCCERT_CONTEXT found = wanted ? CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING, wanted, nullptr)
                                          : nullptr;
            if (wanted) CertFreeCertificateContext(wanted);
            return found && CertDeleteCertificateFromStore(found);  // frees the found context too
        });
    }

    std::string folder_;
    std::string port_;
    std::string trusted_;  // the certificate's DER bytes once trusted
};

// A URL of a port on 127.0.0.1 that nobody listens on.
std::string ClosedPortUrl() {
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    int length = sizeof address;
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    return "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
}

TEST_F(LinkCheckTest, PicturesFollowTheStatus) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"/status/200", kAlive}, {"/status/301", kAlive},  {"/status/302", kAlive}, {"/status/403", kDead},
        {"/status/404", kDead},  {"/status/410", kDead},   {"/status/429", kUnsure}, {"/status/500", kUnsure},
        {"/split", kAlive},      {"/reset", kAlive},  // a reset after the status line keeps the verdict
        // Closed before the status line ended: what came is judged.
        {"/partial/19", kDead},  {"/partial/11", kUnsure},
    };
    std::vector<std::string> urls;
    std::vector<int> expected;
    for (const auto& [path, image] : cases) {
        urls.push_back(server.Url(path));
        expected.push_back(image);
    }
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks(urls);
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor([&] { return Images(tree) == expected; }))
        << ::testing::PrintToString(Images(tree)) << ::testing::PrintToString(boxes.texts());
    EXPECT_TRUE(boxes.texts().empty());

    EXPECT_EQ(StatusOf(tree, 2), "HTTP 301  " + server.Url("/status/301"));
    const std::string request = "GET /status/200 HTTP/1.0\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                                "\r\nUser-Agent: Tolvak Favorites Manager - LinkCheck\r\n\r\n";
    const std::vector<std::string> requests = server.Requests();
    EXPECT_NE(std::find(requests.begin(), requests.end(), request), requests.end());
}

// An address outside the code page is checked, shown and kept exactly, never in its "?" form.
TEST_F(LinkCheckTest, AnExactAddressIsRequestedEscapedAndShownExactly) {
    const std::wstring address = text::AnsiToWide(server.Url("/delay/0/")) + L"\uD30C\uC77C?q=\U0001F600";
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks({server.Url("/status/404")});
    testutil::WriteBytes(root + "\\links\\01.url", shortcut::FileText(address));
    TreeView_SelectItem(tree.hwnd(), Link(tree, 1));
    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 1));
    ASSERT_TRUE(WaitFor([&] { return ImageOf(tree, Link(tree, 1)) == kAlive; })) << ::testing::PrintToString(boxes.texts());

    EXPECT_EQ(host.WideStatusText(), L"HTTP 200  " + address);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].substr(0, 47), "GET /delay/0/%ED%8C%8C%EC%9D%BC?q=%F0%9F%98%80 ");
    // The report keeps and lists it exactly too.
    linkcheck::ReportDialog report(tree);
    wchar_t listed[256] = L"";
    testutil::RunDialog([&] { return report.Run(GetModuleHandleA(nullptr), host.hwnd()); },
                        [&](HWND shown) {
                            LVITEMW item{};
                            item.iSubItem = 1;
                            item.pszText = listed;
                            item.cchTextMax = static_cast<int>(std::size(listed));
                            SendMessageW(GetDlgItem(shown, IDC_REPORT_LIST), LVM_GETITEMTEXTW, 0, reinterpret_cast<LPARAM>(&item));
                        },
                        IDCANCEL);
    EXPECT_EQ(listed, address);
}

TEST_F(LinkCheckTest, FailuresShowOneBoxAtATime) {
    const std::string closed = ClosedPortUrl();
    FakeLookups lookups(FakeLookups::kFailingAtOnce);
    linkcheck::SetResponseTimeout(500);
    dir.WriteShortcut("fav\\bad", "http://127.0.0.1:99999/");
    CFavTreeView& tree = LoadLinks({closed, "http://no-such-host.invalid/", server.Url("/silent"), server.Url("/partial/0")});
    std::vector<std::string> texts;
    bool systemCaption = false;
    // The first box stays open until every other check has failed.
    ui::ScopedMessageHandler boxes([&](const ui::MessageRequest& box) {
        texts.push_back(box.text);
        systemCaption = box.systemCaption;
        if (texts.size() == 1) WaitFor(Settled(tree));
        return IDOK;
    });
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor(Settled(tree)));

    const std::string more = "ほかに 3 件のチェックに失敗しました。";
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[1], more);
    EXPECT_EQ(Images(tree), std::vector<int>(4, kDead));
    const std::string refused = "ソケットイベントの通知でエラーが発生しました。";
    const std::string lookup = "サーバのIPアドレスの取得に失敗しました。";
    const std::string silent = "応答がありません。";
    EXPECT_EQ(StatusOf(tree, 1), refused + "  " + closed);
    EXPECT_EQ(StatusOf(tree, 2), lookup + "  http://no-such-host.invalid/");
    EXPECT_EQ(StatusOf(tree, 3), silent + "  " + server.Url("/silent"));
    EXPECT_EQ(StatusOf(tree, 4), silent + "  " + server.Url("/partial/0"));  // closed before a byte

    // A port out of range is no port: the URL is refused and the item keeps its picture.
    HTREEITEM bad = Node(tree, {"bad"});
    tree.RunContextCommand(ctxmenu::kCheckLinks, bad);
    const std::string invalid = "URLが不正です。";
    EXPECT_EQ(texts.back(), invalid);
    EXPECT_TRUE(systemCaption);
    EXPECT_EQ(ImageOf(tree, bad), kUnchecked);
}

// "h1.test" ... "h<hosts>.test" on the test server, in turn, one URL per shortcut.
std::vector<std::string> SpreadOverHosts(const testutil::HttpTestServer& server, int count, int hosts, int delayMs) {
    std::vector<std::string> urls;
    for (int i = 1; i <= count; ++i)
        urls.push_back(text::Format("http://h%d.test:%d/delay/%d?n=%02d", (i - 1) % hosts + 1, server.port(), delayMs, i));
    return urls;
}

TEST_F(LinkCheckTest, AtMostFiveAtOnceInTreeOrder) {
    FakeLookups lookups(FakeLookups::kLoopbackAtOnce);
    std::vector<std::string> urls;
    // Each answer takes a little longer than the one before, so slots free one at a time.
    for (int i = 1; i <= 12; ++i)
        urls.push_back(text::Format("http://h%d.test:%d/delay/%d?n=%02d", i % 6, server.port(), 100 + 40 * i, i));
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks(urls);
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor([&] { return Images(tree) == std::vector<int>(12, kAlive); }))
        << ::testing::PrintToString(Images(tree)) << ::testing::PrintToString(boxes.texts());

    EXPECT_EQ(server.MostAtOnce(), 5);
    std::vector<std::string> order;
    for (const std::string& request : server.Requests()) order.push_back(request.substr(request.find("n=") + 2, 2));
    std::vector<std::string> expected;
    for (int i = 1; i <= 12; ++i) expected.push_back(text::Format("%02d", i));
    // The first five start together, so their requests may arrive in any order.
    std::sort(order.begin(), order.begin() + 5);
    EXPECT_EQ(order, expected);
}

// The setting raises the number of checks at once up to 32; one host never gets more than two.
TEST_F(LinkCheckTest, ChecksAtOnceFollowTheSettingAndTwoPerHost) {
    struct Case {
        const char* settings;
        int links;
        int hosts;
        int most;
    };
    const Case cases[] = {
        {"", 12, 6, 5},
        {"[LinkCheck]\r\nChecksAtOnce=8\r\n", 12, 6, 8},
        {"[LinkCheck]\r\nChecksAtOnce=99\r\n", 40, 20, 32},
        {"[LinkCheck]\r\nChecksAtOnce=16\r\n", 8, 1, 2},
    };
    FakeLookups lookups(FakeLookups::kLoopbackAtOnce);
    testutil::MessageRecorder boxes;
    for (const Case& c : cases) {
        testutil::HttpTestServer counting;
        testutil::RemoveTree(dir / "fav\\links");  // the last case's shortcuts go
        CFavTreeView& tree = LoadLinks(SpreadOverHosts(counting, c.links, c.hosts, 200), c.settings);
        tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
        EXPECT_TRUE(WaitFor([&] { return Images(tree) == std::vector<int>(c.links, kAlive); })) << c.settings;
        EXPECT_EQ(counting.MostAtOnce(), c.most) << c.settings;
    }
    EXPECT_TRUE(boxes.texts().empty());
}

// A permanent redirect keeps the alive picture and tells where the page went; other redirects are
// plain answers.
TEST_F(LinkCheckTest, MovedPagesTellTheirNewAddress) {
    const std::string origin = "http://127.0.0.1:" + std::to_string(server.port());
    const std::pair<std::string, std::string> cases[] = {
        {"/moved/301?to=https://new.test/page", "移動: https://new.test/page"},
        {"/moved/308?to=/target?x=1", "移動: " + origin + "/target?x=1"},
        {"/moved/301?to=sub/../page", "移動: " + origin + "/moved/page"},
        {"/moved/301?to=https://other.test/", "移動: https://other.test/"},
        {"/moved/301?to=/login", "移動: " + origin + "/login"},
        {"/moved/302?to=/temporary", "HTTP 302"},
        {"/moved/307?to=/temporary", "HTTP 307"},
    };
    std::vector<std::string> urls;
    for (const auto& [path, status] : cases) urls.push_back(server.Url(path));
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks(urls);
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor([&] { return Images(tree) == std::vector<int>(urls.size(), kAlive); }))
        << ::testing::PrintToString(Images(tree)) << ::testing::PrintToString(boxes.texts());
    for (size_t n = 0; n < urls.size(); ++n) EXPECT_EQ(StatusOf(tree, n + 1), cases[n].second + "  " + urls[n]);
}

TEST_F(LinkCheckTest, RemovingANodeEndsItsCheck) {
    FakeLookups lookups(FakeLookups::kLoopbackAtOnce);
    testutil::MessageRecorder boxes;
    std::vector<std::string> urls;
    for (int n = 1; n <= 5; ++n) urls.push_back(text::Format("http://h%d.test:%d/silent", n, server.port()));
    urls.push_back(server.Url("/status/200"));
    CFavTreeView& tree = LoadLinks(urls);
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor([&] { return server.OpenNow() == 5; }));

    tree.RemoveNode(Link(tree, 1));  // its connection closes and its slot goes to the sixth check
    ASSERT_TRUE(WaitFor([&] { return server.HungUp() == 1 && ImageOf(tree, Link(tree, 6)) == kAlive; }))
        << server.HungUp() << ::testing::PrintToString(Images(tree));
    EXPECT_EQ(Images(tree), (std::vector<int>{kRunning, kRunning, kRunning, kRunning, kAlive}));
    EXPECT_TRUE(boxes.texts().empty());
}

// The program shows its report when a check of several shortcuts ends, not after each one.
TEST_F(LinkCheckTest, TheHostHearsWhenACheckOfManyEnds) {
    constexpr UINT kEnded = linkcheck::LinkChecker::kChecksEnded;
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks({server.Url("/status/200"), server.Url("/status/404")});
    // Runs every message but the host's notice, which is collected instead.
    std::vector<HWND> heard;
    const auto runUntil = [&](const std::function<bool()>& done) {
        return testutil::WaitFor([&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, kEnded - 1, PM_REMOVE) ||
                   PeekMessageA(&message, nullptr, kEnded + 1, 0xFFFFFFFF, PM_REMOVE))
                DispatchMessageA(&message);
            while (PeekMessageA(&message, host.hwnd(), kEnded, kEnded, PM_REMOVE)) heard.push_back(reinterpret_cast<HWND>(message.wParam));
            return done();
        });
    };
    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 1));
    // The notice would come in the same step that shows the verdict.
    ASSERT_TRUE(runUntil([&] { return ImageOf(tree, Link(tree, 1)) == kAlive; }));
    EXPECT_TRUE(heard.empty());
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(runUntil([&] { return !heard.empty(); }));
    EXPECT_EQ(heard, std::vector<HWND>{tree.hwnd()});
    EXPECT_EQ(Images(tree), (std::vector<int>{kAlive, kDead}));
}

TEST_F(LinkCheckTest, ReloadAsksWhileChecksRun) {
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks({server.Url("/silent")});
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor([&] { return server.OpenNow() == 1; }));

    boxes.AnswerNext(IDNO);
    EXPECT_FALSE(tree.LoadRoot());
    EXPECT_EQ(Images(tree), std::vector<int>{kRunning});
    boxes.AnswerNext(IDYES);
    EXPECT_TRUE(tree.LoadRoot());
    folder = Node(tree, {"links"});
    EXPECT_EQ(Images(tree), std::vector<int>{kUnchecked});
    EXPECT_TRUE(WaitFor([&] { return server.HungUp() == 1; }));  // the check was stopped
    EXPECT_TRUE(tree.LoadRoot());  // nothing runs: no question

    const std::string question = "処理中の非同期httpアイテムが有ります。強制中断しますか？";
    EXPECT_EQ(boxes.texts(), (std::vector<std::string>{question, question}));
    EXPECT_EQ(boxes.messages()[0].caption, "リンクチェック");
}

// How a check ends while its host look-up runs, and the boxes that ending shows.
struct LookupEnd {
    const char* name;
    std::vector<std::string> boxes;
    friend void PrintTo(const LookupEnd& end, std::ostream* out) { *out << end.name; }
};

struct LinkCheckLookupTest : LinkCheckTest, ::testing::WithParamInterface<LookupEnd> {};

// The look-up goes on after its check: its buffer is still written to, and its answer comes. Neither
// may reach the next check, not even when that check's look-up gets the same handle value.
TEST_P(LinkCheckLookupTest, ALookupOutlivesItsCheck) {
    const std::string end = GetParam().name;
    FakeLookups lookups;
    testutil::MessageRecorder boxes;
    const std::string held = "http://held.test:" + std::to_string(server.port());
    CFavTreeView& tree = LoadLinks({held + "/status/200", held + "/status/404"});
    if (end == "TimedOut") linkcheck::SetResponseTimeout(100);
    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 1));
    ASSERT_EQ(lookups.requests.size(), 1u);

    if (end == "Removed") {
        tree.RemoveNode(Link(tree, 1));
    } else if (end == "Reloaded") {
        boxes.AnswerNext(IDYES);
        ASSERT_TRUE(tree.LoadRoot());
        folder = Node(tree, {"links"});
    } else {
        ASSERT_TRUE(WaitFor([&] { return ImageOf(tree, Link(tree, 1)) == kDead; }));
        linkcheck::SetResponseTimeout(linkcheck::kDefaultResponseTimeout);
    }
    lookups.nextHandle = reinterpret_cast<UINT_PTR>(lookups.requests[0].handle);
    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 2));
    ASSERT_EQ(lookups.requests.size(), 2u);
    EXPECT_NE(lookups.requests[1].buffer, lookups.requests[0].buffer);

    lookups.Answer(0, nullptr);  // late, and a failure
    lookups.Answer(1, "127.0.0.1");
    ASSERT_TRUE(WaitFor([&] { return ImageOf(tree, Link(tree, 2)) == kDead; })) << ::testing::PrintToString(boxes.texts());
    EXPECT_EQ(StatusOf(tree, 2), "HTTP 404  " + held + "/status/404");
    EXPECT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(boxes.texts(), GetParam().boxes);
}

INSTANTIATE_TEST_SUITE_P(Ends, LinkCheckLookupTest,
                         ::testing::Values(LookupEnd{"Removed", {}},
                                           LookupEnd{"Reloaded", {"処理中の非同期httpアイテムが有ります。強制中断しますか？"}},
                                           LookupEnd{"TimedOut", {"応答がありません。"}}),
                         [](const auto& test) { return std::string(test.param.name); });

// Events of a closed socket may still be queued when the next check gets the socket's value.
TEST_F(LinkCheckTest, AClosedSocketsEventIsNotTheNextChecks) {
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks({ClosedPortUrl(), server.Url("/status/200")});
    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 1));
    // The refusal waits in the queue, unread, when the check ends with its node.
    ASSERT_TRUE(testutil::WaitFor([&] {
        MSG queued;
        return PeekMessageA(&queued, tree.hwnd(), linkcheck::LinkChecker::kSocketEvent, linkcheck::LinkChecker::kSocketEvent,
                            PM_NOREMOVE) != FALSE;
    }));
    tree.RemoveNode(Link(tree, 1));

    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 2));
    ASSERT_TRUE(WaitFor(Settled(tree)));
    EXPECT_EQ(Images(tree), std::vector<int>{kAlive});
    EXPECT_TRUE(boxes.texts().empty());
}

// The time-out timer runs only while checks do, however the last one ends.
TEST_F(LinkCheckTest, TheTimerStopsWithTheLastCheck) {
    testutil::MessageRecorder boxes;
    CFavTreeView& tree = LoadLinks({server.Url("/status/200"), server.Url("/silent")});
    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 1));
    ASSERT_TRUE(WaitFor([&] { return ImageOf(tree, Link(tree, 1)) == kAlive; }));
    // KillTimer fails when there is no timer to stop.
    EXPECT_FALSE(KillTimer(tree.hwnd(), linkcheck::LinkChecker::kTimeoutTimer));

    tree.RunContextCommand(ctxmenu::kCheckLinks, Link(tree, 2));
    ASSERT_TRUE(WaitFor([&] { return server.OpenNow() == 1; }));
    tree.RemoveNode(Link(tree, 2));
    EXPECT_FALSE(KillTimer(tree.hwnd(), linkcheck::LinkChecker::kTimeoutTimer));
}

TEST_F(LinkCheckTest, HttpsNeedsATrustedCertificate) {
    TlsServer trusted(dir, "trusted"), untrusted(dir, "untrusted");
    ASSERT_TRUE(trusted.WaitReady() && untrusted.WaitReady());
    ASSERT_TRUE(trusted.Trust());
    testutil::MessageRecorder boxes;
    dir.WriteShortcut("fav\\silent", trusted.Url("/silent"));
    CFavTreeView& tree = LoadLinks({trusted.Url("/status/301"), trusted.Url("/status/404"), trusted.Url("/status/503"),
                                    untrusted.Url("/status/200"), trusted.Url("/moved/308?to=/new")});
    tree.RunContextCommand(ctxmenu::kCheckLinks, folder);
    ASSERT_TRUE(WaitFor([&] { return Images(tree) == std::vector<int>{kAlive, kDead, kUnsure, kDead, kAlive}; }))
        << ::testing::PrintToString(Images(tree)) << ::testing::PrintToString(boxes.texts());
    const std::string untrustedText = "サーバの証明書を確認できませんでした。";
    EXPECT_EQ(boxes.texts(), std::vector<std::string>{untrustedText});
    EXPECT_EQ(StatusOf(tree, 1), "HTTP 301  " + trusted.Url("/status/301"));
    EXPECT_EQ(StatusOf(tree, 5), "移動: " + trusted.Url("/new") + "  " + trusted.Url("/moved/308?to=/new"));

    // A server that never answers: the check gives up after its time.
    linkcheck::SetResponseTimeout(300);
    HTREEITEM silent = Node(tree, {"silent"});
    tree.RunContextCommand(ctxmenu::kCheckLinks, silent);
    ASSERT_TRUE(WaitFor([&] { return ImageOf(tree, silent) == kDead; }));
    EXPECT_EQ(boxes.texts().back(), "応答がありません。");
}

}  // namespace
