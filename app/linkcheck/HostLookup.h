// Host look-ups through WSAAsyncGetHostByName for the http checks. The look-up writes its answer
// into a buffer from a thread of its own, and cancelling it need not stop that: some WinSock
// builds ignore the cancel, and the answer may already be on its way. So every buffer belongs to
// this registry, not to a check, and lives until the answer message has arrived; the answer of a
// look-up that was given up is recognised and dropped, even when a newer look-up got the same
// handle value.
#pragma once

#include "LinkTarget.h"

#include <windows.h>
#include <winsock.h>

#include <optional>
#include <string>
#include <string_view>

namespace linkcheck {

// The WinSock calls a look-up makes (tests put in their own to hold answers back).
struct LookupCalls {
    HANDLE(PASCAL* start)(HWND window, u_int message, const char* host, char* buffer, int size);
    int(PASCAL* cancel)(HANDLE lookup);
};
LookupCalls WinSockLookupCalls();
void SetLookupCalls(const LookupCalls& calls);

// The name a host goes by in DNS, the Host header and WinHTTP: a name beyond ASCII (UTF-8) in
// its ASCII form ("xn--..."), an ASCII name as it is. Nothing when the name has no ASCII form: a
// check then asks for nothing rather than for a garbled name.
std::optional<std::string> AsciiHostName(std::string_view host);
// Where a check of the exact address (UTF-8) connects: SplitUrl, then the host's ASCII name. A
// host without one makes the address as unusable as a bad port.
SplitResult SplitForCheck(std::string_view address, LinkTarget* target);

// Starts looking `host` up; the answer comes as `message` to `window`. Null when it cannot start.
HANDLE StartLookup(HWND window, UINT message, const std::string& host);
// The check no longer waits for the answer of `lookup`; the answer is dropped when it comes.
void GiveUpLookup(HWND window, HANDLE lookup);

struct LookupAnswer {
    int error;                     // the WinSock error, 0 for none
    std::optional<u_long> address;  // the first address of the host; none when the list is empty
};
// Reads the answer message of a look-up (wParam, lParam) that `window` received and frees its
// buffer. Nothing when it answers a look-up that was given up, or none of ours.
std::optional<LookupAnswer> TakeLookupAnswer(HWND window, WPARAM wParam, LPARAM lParam);

}  // namespace linkcheck
