// A small HTTP server on 127.0.0.1 for the link-check tests and benchmark: each connection is
// served on a thread of its own, by the path of its request:
//   /status/NNN   "HTTP/1.0 NNN Test" and close
//   /moved/NNN?to=LOCATION   "HTTP/1.0 NNN Moved" with that "Location" header
//   /https/PATH   "HTTP/1.0 301 Moved" to the same address over https (from the Host header)
//   /delay/MS     waits MS milliseconds, then answers 200
//   /split        a 200 status line sent in several packets
//   /reset        a 200 status line, then a reset instead of a close
//   /partial/N    the first N bytes of "HTTP/1.0 404 Not Found\r\n", then a close
//   /silent       accepts, reads the request and never answers (until the client hangs up or the
//                 server stops)
// It counts connections open at once and clients that hung up on a silent connection, and keeps
// every request's bytes in arrival order.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testutil {

class HttpTestServer {
public:
    HttpTestServer();  // listens at once on a free port (WSAStartup must have run)
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    std::string Url(const std::string& path) const;
    // Requests received so far, whole, in arrival order.
    std::vector<std::string> Requests() const;
    int MostAtOnce() const { return mostAtOnce_; }
    int OpenNow() const { return openNow_; }
    int HungUp() const { return hungUp_; }

private:
    void AcceptLoop();
    void Serve(uintptr_t connection);

    uintptr_t listener_;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> openNow_{0};
    std::atomic<int> mostAtOnce_{0};
    std::atomic<int> hungUp_{0};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    std::vector<std::string> requests_;
    std::vector<uintptr_t> connections_;
    std::vector<std::thread> threads_;
    std::thread acceptor_;
};

}  // namespace testutil
