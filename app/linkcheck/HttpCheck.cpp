// http checks over WinSock 1.1: a non-blocking socket whose events, like the host look-up's
// result, arrive as messages to the tree window.
#include "FailureTexts.h"
#include "HostLookup.h"
#include "Job.h"

namespace linkcheck {

using namespace texts;

namespace {

constexpr long kEvents = FD_READ | FD_CONNECT | FD_CLOSE;
constexpr int kReceiveChunk = 4068;
// What the checker posts after closing a socket, in the socket's own message: no event WinSock
// sends has the value 0.
constexpr LPARAM kCloseMark = WSAMAKESELECTREPLY(0, 0);

bool HasSocket(const LinkChecker::Job& job, UINT_PTR socket) { return job.socket == socket; }
bool HasLookup(const LinkChecker::Job& job, UINT_PTR lookup) {
    return job.lookup && reinterpret_cast<UINT_PTR>(job.lookup) == lookup;
}

}  // namespace

bool LinkChecker::StartHttp(Job& job, const char** failure) {
    job.socket = socket(AF_INET, SOCK_STREAM, 0);
    if (job.socket == INVALID_SOCKET) {
        *failure = kSocketFailed;
        return false;
    }
    SetImage(job.node, fav::kImageCheckRunning);

    const u_long address = inet_addr(job.target.host.c_str());
    if (address != INADDR_NONE) {
        job.address = address;
        return Connect(job, failure);
    }
    job.lookup = StartLookup(tree_.hwnd(), kLookupDone, job.target.host);
    if (!job.lookup) {
        *failure = kLookupFailed;
        return false;
    }
    return true;
}

bool LinkChecker::Connect(Job& job, const char** failure) {
    if (WSAAsyncSelect(job.socket, tree_.hwnd(), kSocketEvent, kEvents) == SOCKET_ERROR) {
        *failure = kSelectFailed;
        return false;
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<u_short>(job.target.port));
    peer.sin_addr.s_addr = job.address;
    if (connect(job.socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == SOCKET_ERROR &&
        WSAGetLastError() != WSAEWOULDBLOCK) {
        *failure = kConnectFailed;
        return false;
    }
    return true;
}

void LinkChecker::OnLookupDone(WPARAM lookup, LPARAM error) {
    const std::optional<LookupAnswer> answer = TakeLookupAnswer(tree_.hwnd(), lookup, error);
    if (!answer) return;
    Job* job = Find(HasLookup, lookup);
    if (!job) return;
    job->lookup = nullptr;
    if (answer->error != 0) {
        Fail(*job, kLookupFailed);
        return;
    }
    if (!answer->address) {
        Fail(*job, kNoAddress);
        return;
    }
    job->address = *answer->address;
    const char* failure = nullptr;
    if (!Connect(*job, &failure)) Fail(*job, failure);
}

void LinkChecker::OnSocketEvent(WPARAM socketHandle, LPARAM event) {
    // Socket values are reused: a closed socket's events may still wait in the queue when a new
    // socket gets its value. Everything before the close mark belongs to the closed one.
    if (const auto closed = closedSockets_.find(socketHandle); closed != closedSockets_.end()) {
        if (event == kCloseMark && --closed->second == 0) closedSockets_.erase(closed);
        return;
    }
    Job* job = Find(HasSocket, socketHandle);
    if (!job) return;
    if (WSAGETSELECTERROR(event) != 0) {
        Fail(*job, kEventError);
        return;
    }
    switch (WSAGETSELECTEVENT(event)) {
    case FD_CONNECT: {
        const std::string request = HttpRequest(job->target);
        if (send(job->socket, request.data(), static_cast<int>(request.size()), 0) == SOCKET_ERROR)
            Fail(*job, kSendFailed);
        break;
    }
    case FD_READ: {
        char chunk[kReceiveChunk];
        const int received = recv(job->socket, chunk, sizeof chunk, 0);
        if (received == SOCKET_ERROR) {
            // WinSock may announce data that another read already took.
            if (WSAGetLastError() != WSAEWOULDBLOCK) Fail(*job, kReceiveFailed);
            break;
        }
        // Once the status line is judged the rest of the answer is of no use: the slot is freed.
        if (Received(*job, std::string_view(chunk, static_cast<size_t>(received)))) Finish(*job);
        break;
    }
    case FD_CLOSE: {
        char chunk[kReceiveChunk];
        for (int received; !job->judged && (received = recv(job->socket, chunk, sizeof chunk, 0)) > 0;)
            Received(*job, std::string_view(chunk, static_cast<size_t>(received)));
        if (!job->judged) {
            // The server closed before its status line ended: judge what came, if anything.
            if (const std::optional<int> status = job->reader.Finish()) {
                Judge(*job, *status, job->reader.location());
            } else {
                Fail(*job, kNoResponse);
                break;
            }
        }
        Finish(*job);
        break;
    }
    default:
        break;
    }
}

void LinkChecker::CloseHttp(Job& job) {
    if (job.lookup) {
        GiveUpLookup(tree_.hwnd(), job.lookup);
        job.lookup = nullptr;
    }
    if (job.socket == INVALID_SOCKET) return;
    WSAAsyncSelect(job.socket, nullptr, 0, 0);
    closesocket(job.socket);
    // No event of the closed socket is posted after this mark. (A window that is gone has no queue.)
    if (tree_.hwnd() && PostMessageA(tree_.hwnd(), kSocketEvent, job.socket, kCloseMark))
        ++closedSockets_[job.socket];
    job.socket = INVALID_SOCKET;
}

}  // namespace linkcheck
