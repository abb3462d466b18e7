// The link-check tests' fixture: real trees and a real server on 127.0.0.1, host look-ups the
// test may answer itself, and results kept in the test's own folder.
#pragma once

#include "../support/HttpTestServer.h"
#include "../support/TestSupport.h"

#include <app/linkcheck/HostLookup.h>
#include <app/linkcheck/LinkChecker.h>
#include <app/linkcheck/ResultStore.h>
#include <base/Format.h>
#include <base/TextEncoding.h>
#include <tree/CFavTreeView.h>
#include <tree/TreeContextMenu.h>

#include <gtest/gtest.h>

#include <winsock.h>

#include <functional>

namespace linkchecktest {

using testutil::Node;

constexpr int kRunning = fav::kImageCheckRunning;
constexpr int kDead = fav::kImageLinkDead;
constexpr int kAlive = fav::kImageLinkAlive;
constexpr int kUnsure = fav::kImageLinkUnsure;
constexpr int kUnchecked = fav::kImageShortcut;

// Host look-ups the test answers itself (real look-ups of unknown names fail at once here), or that
// fail at once whatever the resolver would do. Their cancel does nothing, as this Wine's: the
// answer comes all the same.
class FakeLookups {
public:
    struct Request {
        HWND window;
        UINT message;
        char* buffer;
        HANDLE handle;
    };

    enum Mode { kHeld, kFailingAtOnce, kLoopbackAtOnce };

    explicit FakeLookups(Mode mode = kHeld) : mode_(mode) {
        current_ = this;
        linkcheck::SetLookupCalls({Start, Cancel});
    }
    ~FakeLookups() {
        linkcheck::SetLookupCalls(linkcheck::WinSockLookupCalls());
        current_ = nullptr;
    }
    FakeLookups(const FakeLookups&) = delete;
    FakeLookups& operator=(const FakeLookups&) = delete;

    // Writes the host entry of `address` into the request's buffer and posts the answer; no
    // address: the name is not found.
    void Answer(size_t index, const char* address) const {
        const Request& request = requests[index];
        LPARAM reply = WSAMAKEASYNCREPLY(0, WSAHOST_NOT_FOUND);
        if (address) {
            auto* entry = reinterpret_cast<HostEntry*>(request.buffer);
            entry->address = inet_addr(address);
            entry->list[0] = reinterpret_cast<char*>(&entry->address);
            entry->list[1] = nullptr;
            entry->host = {};
            entry->host.h_addrtype = AF_INET;
            entry->host.h_length = sizeof entry->address;
            entry->host.h_addr_list = entry->list;
            reply = WSAMAKEASYNCREPLY(sizeof *entry, 0);
        }
        PostMessageA(request.window, request.message, reinterpret_cast<WPARAM>(request.handle), reply);
    }

    std::vector<Request> requests;
    UINT_PTR nextHandle = 0x100;  // the handle of the next look-up

private:
    struct HostEntry {
        hostent host;
        char* list[2];
        u_long address;
    };

    static HANDLE PASCAL Start(HWND window, u_int message, const char*, char* buffer, int) {
        FakeLookups& self = *current_;
        self.requests.push_back({window, message, buffer, reinterpret_cast<HANDLE>(self.nextHandle++)});
        if (self.mode_ != kHeld) self.Answer(self.requests.size() - 1, self.mode_ == kLoopbackAtOnce ? "127.0.0.1" : nullptr);
        return self.requests.back().handle;
    }
    static int PASCAL Cancel(HANDLE) { return 0; }

    static inline FakeLookups* current_ = nullptr;
    Mode mode_;
};

struct LinkCheckTest : testutil::TreeFixture {
    static void SetUpTestSuite() {
        WSADATA data;
        WSAStartup(MAKEWORD(1, 1), &data);
        linkcheck::Install();
    }
    static void TearDownTestSuite() {
        fav::InstallLinkChecker(nullptr);
        WSACleanup();
    }
    void TearDown() override { linkcheck::SetResponseTimeout(linkcheck::kDefaultResponseTimeout); }

    // Shortcuts "01", "02" ... in folder "links", one per URL, and the loaded tree; `settings` adds
    // lines to the settings file.
    CFavTreeView& LoadLinks(const std::vector<std::string>& urls, const std::string& settings = "") {
        dir.MakeDir("fav\\links");
        for (size_t i = 0; i < urls.size(); ++i)
            dir.WriteShortcut(text::Format("fav\\links\\%02d", static_cast<int>(i + 1)), urls[i]);
        CFavTreeView& tree = Load(settings);
        folder = Node(tree, {"links"});
        return tree;
    }
    HTREEITEM Link(const CFavTreeView& tree, size_t number) const {
        return testutil::Child(tree, folder, text::Format("%02d", static_cast<int>(number)));
    }
    static int ImageOf(const CFavTreeView& tree, HTREEITEM node) {
        TVITEMA item{};
        item.mask = TVIF_IMAGE;
        item.hItem = node;
        TreeView_GetItem(tree.hwnd(), &item);
        return item.iImage;
    }
    std::vector<int> Images(const CFavTreeView& tree) const {
        std::vector<int> images;
        for (HTREEITEM child = TreeView_GetChild(tree.hwnd(), folder); child; child = TreeView_GetNextSibling(tree.hwnd(), child))
            images.push_back(ImageOf(tree, child));
        return images;
    }
    // Runs this thread's messages until `done` holds (false after ten seconds).
    static bool WaitFor(const std::function<bool()>& done) {
        return testutil::WaitFor([&] {
            testutil::PumpMessages();
            return done();
        });
    }
    // True when no item of the folder shows a running check.
    std::function<bool()> Settled(const CFavTreeView& tree) const {
        return [this, &tree] {
            for (int image : Images(tree))
                if (image == kRunning) return false;
            return true;
        };
    }
    std::string StatusOf(CFavTreeView& tree, size_t number) {
        TreeView_SelectItem(tree.hwnd(), Link(tree, number));
        return host.StatusText();
    }

    // Results are kept in the test's own folder, never the prefix user's.
    linkcheck::ScopedResultsFile results{text::AnsiToWide(dir / "linkcheck.json")};
    testutil::HttpTestServer server;
    HTREEITEM folder = nullptr;
};

}  // namespace linkchecktest
