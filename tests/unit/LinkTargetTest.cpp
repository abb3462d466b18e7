// What a link check asks for and how it reads the answer.
#include <app/linkcheck/HostLookup.h>
#include <app/linkcheck/LinkTarget.h>
#include <base/TextEncoding.h>

#include <gtest/gtest.h>

using namespace linkcheck;

namespace {

struct SplitCase {
    const char* url;
    Scheme scheme;
    const char* host;
    int port;
    const char* path;
};

TEST(LinkTarget, SplitsUrls) {
    const SplitCase valid[] = {
        {"http://example.com", Scheme::kHttp, "example.com", 80, "/"},
        {"HTTP://Example.com:81/a?b=c#d", Scheme::kHttp, "Example.com", 81, "/a?b=c#d"},
        {"https://example.com/x", Scheme::kHttps, "example.com", 443, "/x"},
        {"HTTPS://localhost:8443", Scheme::kHttps, "localhost", 8443, "/"},
        {"http://h:65535/", Scheme::kHttp, "h", 65535, "/"},
    };
    for (const SplitCase& c : valid) {
        SCOPED_TRACE(c.url);
        LinkTarget target;
        ASSERT_EQ(SplitUrl(c.url, &target), SplitResult::kValid);
        EXPECT_EQ(target.scheme, c.scheme);
        EXPECT_EQ(target.host, c.host);
        EXPECT_EQ(target.port, c.port);
        EXPECT_EQ(target.path, c.path);
    }
    const std::pair<const char*, SplitResult> refused[] = {
        {"http://h:/", SplitResult::kSkipped},
        {"http://h:0/", SplitResult::kSkipped},
        {"http://h:65536/", SplitResult::kInvalid},  // never wrapped round to another port
        {"http://h:4294967377/", SplitResult::kInvalid},
        {"http://h:80x/", SplitResult::kInvalid},
        {"http://h:-1/", SplitResult::kInvalid},
        {"http:///path", SplitResult::kInvalid},
        {"http://", SplitResult::kInvalid},
        {"ftp://example.com/", SplitResult::kInvalid},
        {"javascript:alert(1)", SplitResult::kInvalid},
    };
    for (const auto& [url, result] : refused) {
        LinkTarget target;
        EXPECT_EQ(SplitUrl(url, &target), result) << url;
    }
}

TEST(LinkTarget, LongUrlsAreNotCut) {
    const std::string host(300, 'h');
    const std::string path = "/" + std::string(3000, 'p');
    LinkTarget target;
    ASSERT_EQ(SplitUrl("http://" + host + path, &target), SplitResult::kValid);
    EXPECT_EQ(target.host, host);
    EXPECT_EQ(target.path, path);
    EXPECT_EQ(HttpRequest(target), "GET " + path + " HTTP/1.0\r\nHost: " + host +
                                       ":80\r\nUser-Agent: Tolvak Favorites Manager - LinkCheck\r\n\r\n");
}

// What browsers send for an exact address: the path's characters beyond ASCII as UTF-8 escapes,
// escapes already written as they are, an international host in its ASCII form.
TEST(LinkTarget, ExactAddressesAreRequestedEscaped) {
    struct Case {
        const wchar_t* address;
        const char* path;
        const char* host;
    };
    const Case cases[] = {
        {L"http://a.test/caf\u00E9 x?q=\u00E9#\u00E9", "/caf%C3%A9%20x?q=%C3%A9#%C3%A9", "a.test:80"},
        {L"http://a.test/%E4%be%8B/a%2Fb?x=%41&y=%", "/%E4%be%8B/a%2Fb?x=%41&y=%", "a.test:80"},
        {L"https://\u4F8B\u3048.\u30C6\u30B9\u30C8/\uD30C\uC77C?q=\U0001F600", "/%ED%8C%8C%EC%9D%BC?q=%F0%9F%98%80",
         "xn--r8jz45g.xn--zckzah:443"},
        {L"http://Caf\u00E9.test:8080", "/", "xn--caf-dma.test:8080"},
    };
    for (const Case& c : cases) {
        LinkTarget target;
        ASSERT_EQ(SplitForCheck(text::WideToUtf8(c.address), &target), SplitResult::kValid) << c.path;
        EXPECT_EQ(HttpRequest(target), std::string("GET ") + c.path + " HTTP/1.0\r\nHost: " + c.host +
                                           "\r\nUser-Agent: Tolvak Favorites Manager - LinkCheck\r\n\r\n");
    }
    // A name with no ASCII form (a label too long for DNS) is never sent garbled.
    LinkTarget target;
    EXPECT_EQ(SplitForCheck(text::WideToUtf8(L"http://" + std::wstring(64, L'\u00E9') + L".test/"), &target), SplitResult::kInvalid);
}

TEST(LinkTarget, StatusLineIsJudgedOnceWhenComplete) {
    StatusLineReader split;
    for (const char* piece : {"H", "TTP/1.1 3", "01 Moved\r"}) EXPECT_FALSE(split.Add(piece));
    EXPECT_TRUE(split.Add("\nLocation: /x\r\n"));
    EXPECT_TRUE(split.Add("HTTP/1.0 500 later bytes are not a status line\r\n"));
    EXPECT_EQ(split.status(), 301);

    StatusLineReader unterminated;  // the server closed right after the line without its end
    unterminated.Add("HTTP/1.0 404 Not Found");
    EXPECT_EQ(unterminated.Finish(), 404);

    StatusLineReader garbage;
    EXPECT_TRUE(garbage.Add("<html>\n"));
    EXPECT_EQ(garbage.status(), -1);

    StatusLineReader nothing;
    EXPECT_EQ(nothing.Finish(), std::nullopt);
}

// A permanent redirect is read on to its address; other answers end with the status line.
TEST(LinkTarget, PermanentRedirectsAreReadToTheirAddress) {
    struct Case {
        std::vector<const char*> pieces;
        size_t completeAfter;  // pieces added when the answer is complete
        const char* location;
    };
    const Case cases[] = {
        {{"HTTP/1.1 301 Moved\r\n", "Server: x\r\nLoc", "ation:  /new \r\n", "more"}, 3, "/new"},
        {{"HTTP/1.0 308 Permanent\nlocation:https://b.test/\n"}, 1, "https://b.test/"},
        {{"HTTP/1.0 301 Moved\r\n", "Server: x\r\n", "\r\n"}, 3, ""},  // the head ended without one
        {{"HTTP/1.0 302 Found\r\n", "Location: /temporary\r\n"}, 1, ""},
    };
    for (const Case& c : cases) {
        StatusLineReader reader;
        size_t added = 0;
        while (added < c.pieces.size() && !reader.Add(c.pieces[added])) ++added;
        EXPECT_EQ(added + 1, c.completeAfter) << c.pieces[0];
        EXPECT_EQ(reader.location(), c.location) << c.pieces[0];
    }
    StatusLineReader closed;  // the server closed in the middle of its head
    closed.Add("HTTP/1.0 301 Moved\r\nLocation: /cut");
    EXPECT_EQ(closed.Finish(), 301);
    EXPECT_EQ(closed.location(), "/cut");
}

TEST(LinkTarget, LocationsResolveAgainstTheRequest) {
    const std::pair<const char*, const char*> cases[] = {
        {"https://other.test/x", "https://other.test/x"},
        {"//other.test/x", "http://other.test/x"},
        {"/login?next=%2F", "http://a.test/login?next=%2F"},
        {"new.html", "http://a.test/dir/new.html"},
        {"../up/./page", "http://a.test/up/page"},
        {"../../../top", "http://a.test/top"},
        {"?q=2", "http://a.test/dir/page.html?q=2"},
        {"#part", "http://a.test/dir/page.html?q=1#part"},
        {"", ""},
    };
    for (const auto& [location, expected] : cases) {
        EXPECT_EQ(ResolveLocation("http://a.test/dir/page.html?q=1#f", location), expected) << location;
    }
    EXPECT_EQ(ResolveLocation("http://a.test", "b"), "http://a.test/b");
    EXPECT_EQ(ResolveLocation("http://a.test:8080?x", "/"), "http://a.test:8080/");
}

TEST(LinkTarget, VerdictsByStatus) {
    for (int status : {200, 204, 301, 302, 304}) EXPECT_EQ(VerdictFor(status), Verdict::kAlive) << status;
    for (int status : {403, 404, 410}) EXPECT_EQ(VerdictFor(status), Verdict::kDead) << status;
    for (int status : {-1, 100, 401, 405, 429, 500, 503}) EXPECT_EQ(VerdictFor(status), Verdict::kUnsure) << status;
}

}  // namespace
