// The link checker of one tree: a queue of shortcuts, five checks at a time (the setting
// "ChecksAtOnce" of section "LinkCheck", up to 32) and at most two to one host, each asking a
// page's status line and showing the verdict as the item's picture. Everything runs on the tree's
// thread: http checks use WinSock 1.1 asynchronous sockets, https checks WinHTTP in asynchronous
// mode, and both report to the tree window, which passes the messages here.
//
// Implementation files: LinkChecker.cpp (queue, slots, verdicts, failures, time-outs),
// HttpCheck.cpp (WinSock), HttpsCheck.cpp (WinHTTP).
#pragma once

#include "LinkTarget.h"

#include <tree/LinkCheckHook.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace linkcheck {

// Makes every tree created from now on check links.
void Install();

// How long a check may wait for a complete status line, in milliseconds (20 s; tests shorten it).
// (<chrono> cannot be compiled with the Shift-JIS literals the program is built with.)
inline constexpr DWORD kDefaultResponseTimeout = 20000;
DWORD ResponseTimeout();
void SetResponseTimeout(DWORD milliseconds);

class LinkChecker final : public fav::TreeLinkChecks {
public:
    // Messages to the tree window.
    static constexpr UINT kSocketEvent = WM_USER + 100;  // wParam: socket; lParam: event, error (0: closed)
    static constexpr UINT kLookupDone = WM_USER + 101;   // wParam: lookup handle; lParam: error
    static constexpr UINT kHttpsEvent = WM_USER + 102;   // wParam: check id; lParam: step, error
    static constexpr UINT kResume = WM_USER + 103;       // fill the slots freed by removed nodes
    static constexpr UINT_PTR kTimeoutTimer = 0x4C43;
    static constexpr size_t kDefaultChecksAtOnce = 5;
    static constexpr size_t kMostChecksAtOnce = 32;
    static constexpr size_t kChecksPerHost = 2;  // more would look like an attack to a small site
    static constexpr char kMovedPrefix[] = "移動: ";

    explicit LinkChecker(CFavTreeView& tree);
    ~LinkChecker() override;

    void Check(HTREEITEM node) override;
    bool StopBeforeReload() override;
    void Forget(HTREEITEM node) override;
    void Abandon() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    std::optional<std::wstring> Outcome(HTREEITEM node) const override;
    void ShowKeptResults() override;

    // Posted to the tree's parent when a check of several shortcuts has ended (wParam: the tree
    // window), so that the program can show its report.
    static constexpr UINT kChecksEnded = WM_APP + 0x25;

    struct Job;

private:
    // Queue and slots.
    struct Pending {
        HTREEITEM node;
        std::optional<std::string> address;  // exact (UTF-8), read when the queue first looks at the item
        std::string host;                    // in ASCII; "" when the address cannot be checked
    };
    void Pump();
    // Nothing runs or waits any more: the results are kept, the host told.
    void OnIdle();
    bool HostBusy(const std::string& host) const;
    void Start(HTREEITEM node, const std::string& address);
    void Close(Job& job);
    // Closes the job and removes it from the running list; the timer stops with the last one.
    void Remove(Job& job);
    // Removes the job, then fills the slot.
    void Finish(Job& job);
    // `text`: in the code page, as the message box shows it.
    void Fail(Job& job, const std::string& text);
    // Collects the status line; true once it is judged (the check has its answer).
    bool Received(Job& job, std::string_view bytes);
    // `location`: the "Location" header as sent, for a permanent redirect.
    void Judge(Job& job, int status, std::string_view location);
    // The verdict's picture, and what the status bar says of it (UTF-8).
    void Show(const Job& job, int image, const std::string& outcome);
    void SetImage(HTREEITEM node, int image);
    // `caption` empty: the system's own.
    void Report(std::string text, std::optional<std::string> caption);
    void OnTimer();
    Job* Find(bool (*match)(const Job&, UINT_PTR), UINT_PTR key);

    // WinSock (HttpCheck.cpp).
    bool StartHttp(Job& job, const char** failure);
    bool Connect(Job& job, const char** failure);
    void OnSocketEvent(WPARAM socket, LPARAM event);
    void OnLookupDone(WPARAM lookup, LPARAM error);
    void CloseHttp(Job& job);

    // WinHTTP (HttpsCheck.cpp).
    bool StartHttps(Job& job, const char** failure);
    void OnHttpsEvent(WPARAM id, LPARAM event);
    static void CloseHttps(Job& job);
    static void CloseHttpsSession(void* session);

    CFavTreeView& tree_;
    size_t checksAtOnce_;
    std::deque<Pending> pending_;
    std::vector<std::unique_ptr<Job>> running_;  // in start order
    std::unordered_map<HTREEITEM, std::string> outcomes_;  // UTF-8, like the kept results
    // Values of closed sockets whose events may still be queued: how many close marks are to come.
    std::unordered_map<UINT_PTR, int> closedSockets_;
    uint32_t nextId_ = 1;
    bool timerSet_ = false;
    bool boxOpen_ = false;
    int unreported_ = 0;
    size_t startedSinceIdle_ = 0;
    void* httpsSession_ = nullptr;  // WinHTTP session, opened with the first https check
};

}  // namespace linkcheck
