#include "HttpTestServer.h"

#include <winsock.h>

#include <cstdlib>
#include <utility>

namespace testutil {

namespace {

void SendText(SOCKET connection, const std::string& text) { send(connection, text.data(), static_cast<int>(text.size()), 0); }

// The request up to its empty line ("" when the peer went before it).
std::string ReadRequest(SOCKET connection) {
    std::string request;
    char chunk[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int received = recv(connection, chunk, sizeof chunk, 0);
        if (received <= 0) return {};
        request.append(chunk, static_cast<size_t>(received));
    }
    return request;
}

// Waits until the client closes the connection (true) or the server stops. (A blocked recv does
// not wake when the server shuts the connection down.)
bool ClientHangsUp(SOCKET connection, const std::atomic<bool>& stopping) {
    while (!stopping) {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(connection, &readable);
        timeval tick{0, 50000};
        if (select(0, &readable, nullptr, nullptr, &tick) == 0) continue;
        char byte;
        if (recv(connection, &byte, 1, 0) <= 0) return true;
    }
    return false;
}

std::string PathOf(const std::string& request) {
    const size_t start = request.find(' ') + 1;
    return request.substr(start, request.find(' ', start) - start);
}

}  // namespace

HttpTestServer::HttpTestServer() {
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = inet_addr("127.0.0.1");
    int length = sizeof address;
    bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    listen(listener_, 64);
    getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

HttpTestServer::~HttpTestServer() {
    stopping_ = true;
    closesocket(listener_);
    stopped_.notify_all();
    {
        std::lock_guard lock(mutex_);
        for (uintptr_t connection : connections_) shutdown(connection, 2);
    }
    acceptor_.join();
    for (std::thread& thread : threads_) thread.join();
}

std::string HttpTestServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<std::string> HttpTestServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void HttpTestServer::AcceptLoop() {
    for (;;) {
        const SOCKET connection = accept(listener_, nullptr, nullptr);
        if (connection == INVALID_SOCKET) return;  // the server stops
        std::lock_guard lock(mutex_);
        connections_.push_back(connection);
        threads_.emplace_back([this, connection] { Serve(connection); });
    }
}

void HttpTestServer::Serve(uintptr_t connection) {
    const int open = ++openNow_;
    for (int most = mostAtOnce_; open > most && !mostAtOnce_.compare_exchange_weak(most, open);) {
    }
    // A connection stops counting before its last bytes go: the client may connect again as soon
    // as they arrive.
    bool counted = true;
    const auto answer = [&](const std::string& text) {
        if (std::exchange(counted, false)) --openNow_;
        SendText(connection, text);
    };
    const std::string request = ReadRequest(connection);
    const std::string path = PathOf(request);
    if (!request.empty()) {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    if (path.rfind("/status/", 0) == 0) {
        answer("HTTP/1.0 " + path.substr(8) + " Test\r\nContent-Length: 0\r\n\r\n");
    } else if (path.rfind("/moved/", 0) == 0) {
        // However it arrives, the checker reads on past the status line for the header (the
        // reader's own tests split it into pieces).
        const size_t to = path.find("?to=");
        answer("HTTP/1.0 " + path.substr(7, to - 7) + " Moved\r\nLocation: " + path.substr(to + 4) + "\r\n\r\n");
    } else if (path.rfind("/https/", 0) == 0) {
        const size_t host = request.find("\r\nHost: ") + 8;
        answer("HTTP/1.0 301 Moved\r\nLocation: https://" + request.substr(host, request.find("\r\n", host) - host) + path +
               "\r\n\r\n");
    } else if (path.rfind("/delay/", 0) == 0) {
        std::unique_lock lock(mutex_);
        stopped_.wait_for(lock, std::chrono::milliseconds(std::atoi(path.c_str() + 7)), [this] { return stopping_.load(); });
        lock.unlock();
        answer("HTTP/1.0 200 OK\r\n\r\n");
    } else if (path == "/split") {
        for (const char* piece : {"HTTP/1", ".0 20", "0 O", "K\r"}) {
            SendText(connection, piece);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        answer("\n\r\n");
    } else if (path == "/reset") {
        answer("HTTP/1.0 200 OK\r\n");
        linger abortive{1, 0};
        setsockopt(connection, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abortive), sizeof abortive);
    } else if (path.rfind("/partial/", 0) == 0) {
        answer(std::string("HTTP/1.0 404 Not Found\r\n").substr(0, std::atoi(path.c_str() + 9)));
    } else if (path == "/silent") {
        if (ClientHangsUp(connection, stopping_)) ++hungUp_;
    }
    if (counted) --openNow_;
    std::lock_guard lock(mutex_);
    closesocket(connection);
    std::erase(connections_, connection);
}

}  // namespace testutil
