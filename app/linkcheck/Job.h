// One running check (private to the checker's implementation files).
#pragma once

#include "LinkChecker.h"

#include <tree/CFavTreeView.h>

#include <winsock.h>

namespace linkcheck {

struct LinkChecker::Job {
    uint32_t id = 0;  // key of WinHTTP's messages; never reused within a checker
    HTREEITEM node = nullptr;
    std::string url;      // the favorite's exact address, UTF-8
    LinkTarget target;    // its host in ASCII
    ULONGLONG deadline = 0;  // GetTickCount64 time by which the status line must be complete
    StatusLineReader reader;
    bool judged = false;  // the verdict is shown; later errors do not change it
    int status = 0;       // the HTTP status once judged
    std::string movedTo;  // where a permanent redirect points, resolved (UTF-8)

    // http over WinSock: the socket and the host look-up key their messages.
    SOCKET socket = INVALID_SOCKET;
    HANDLE lookup = nullptr;
    u_long address = 0;

    // https over WinHTTP.
    void* connection = nullptr;
    void* request = nullptr;
};

}  // namespace linkcheck
