#pragma once
// A small HTTP server for the update tests: one thread with a listening
// socket on 127.0.0.1 and an ephemeral port. It reads one request per
// connection, records it, and answers from a table of replies by path with
// an HTTP/1.0 reply (the body's length given, except for an endless one);
// an unknown path gets "404 Not Found", as a real server would send.
// Every wait is bounded, and the destructor stops and joins the thread.
// Header-only, so the update and the window tests share it.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace mirudex::test {

class LoopbackServer {
public:
    enum class Mode {
        Send,         // the body, then close
        ResetMidway,  // half of the body, then a connection reset
        Hang,         // half of the body, then silence until the server stops
        CloseAtOnce,  // close without sending anything
        Endless,      // the body over and over until the client goes (at most kEndlessBytes)
    };
    static constexpr size_t kEndlessBytes = size_t{64} << 20;
    struct Reply {
        std::string body;
        Mode mode = Mode::Send;
    };

    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t port() const { return port_; }
    // Path as requested after "http://host/".
    void Serve(const std::string& path, Reply reply);
    void Serve(const std::string& path, const std::string& body) { Serve(path, Reply{body, Mode::Send}); }

    // The raw bytes of every request so far, in order.
    std::vector<std::string> Requests() const;
    // The paths requested so far, in order.
    std::vector<std::string> Paths() const;

    // A port on 127.0.0.1 that nothing listens on (bound, then closed).
    static std::uint16_t ClosedPort();

private:
    void Run();
    void Handle(int fd);

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Reply> replies_;
    std::vector<std::string> requests_;
    std::thread thread_;
};

namespace loopback_detail {

inline constexpr int kSliceMs = 20;
inline constexpr auto kRequestTimeout = std::chrono::seconds(5);
inline constexpr int kMaxConnections = 1000;

inline sockaddr_in Loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// False when the peer is gone.
inline bool SendAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// The path of "GET /path HTTP/1.1\r\n...", without its leading "/"; empty for another request.
inline std::string PathOf(const std::string& request)
{
    const std::string prefix = "GET /";
    const size_t end = request.find(' ', prefix.size());
    if (request.rfind(prefix, 0) != 0 || end == std::string::npos || end > request.find("\r\n"))
        return {};
    return request.substr(prefix.size(), end - prefix.size());
}

inline std::string Head(const char* status, const std::string& body, bool withLength)
{
    std::string head = std::string("HTTP/1.0 ") + status + "\r\nContent-Type: application/octet-stream\r\n";
    if (withLength)
        head += "Content-Length: " + std::to_string(body.size()) + "\r\n";
    return head + "\r\n";
}

}  // namespace loopback_detail

inline LoopbackServer::LoopbackServer()
{
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback_detail::Loopback(0);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("loopback server: no listening socket");
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
}

inline LoopbackServer::~LoopbackServer()
{
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

inline void LoopbackServer::Serve(const std::string& path, Reply reply)
{
    std::lock_guard lock(mutex_);
    replies_[path] = std::move(reply);
}

inline std::vector<std::string> LoopbackServer::Requests() const
{
    std::lock_guard lock(mutex_);
    return requests_;
}

inline std::vector<std::string> LoopbackServer::Paths() const
{
    std::vector<std::string> paths;
    for (const std::string& request : Requests())
        if (std::string path = loopback_detail::PathOf(request); !path.empty())
            paths.push_back(std::move(path));
    return paths;
}

inline std::uint16_t LoopbackServer::ClosedPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address = loopback_detail::Loopback(0);
    socklen_t length = sizeof address;
    ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    ::close(fd);
    return ntohs(address.sin_port);
}

inline void LoopbackServer::Run()
{
    for (int served = 0; served < loopback_detail::kMaxConnections && !stop_;) {
        pollfd p{listener_, POLLIN, 0};
        if (::poll(&p, 1, loopback_detail::kSliceMs) <= 0)
            continue;
        const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0)
            continue;
        ++served;
        Handle(fd);
    }
}

inline void LoopbackServer::Handle(int fd)
{
    // Read until the end of the request's head (or the client stops sending).
    std::string request;
    const auto deadline = std::chrono::steady_clock::now() + loopback_detail::kRequestTimeout;
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 8192 && !stop_ &&
           std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, loopback_detail::kSliceMs) <= 0)
            continue;
        char block[512];
        const ssize_t n = ::recv(fd, block, sizeof block, 0);
        if (n <= 0)
            break;
        request.append(block, static_cast<size_t>(n));
    }
    Reply reply{"<html><body>404 Not Found</body></html>\n", Mode::Send};
    const char* status = "404 Not Found";
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        auto found = replies_.find(loopback_detail::PathOf(request));
        if (found != replies_.end()) {
            reply = found->second;
            status = "200 OK";
        }
    }
    if (reply.mode != Mode::CloseAtOnce) {
        const std::string head = loopback_detail::Head(status, reply.body, reply.mode != Mode::Endless);
        loopback_detail::SendAll(fd, head.data(), head.size());
    }
    switch (reply.mode) {
    case Mode::Send: loopback_detail::SendAll(fd, reply.body.data(), reply.body.size()); break;
    case Mode::ResetMidway: {
        loopback_detail::SendAll(fd, reply.body.data(), reply.body.size() / 2);
        linger reset{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
        break;
    }
    case Mode::Hang:
        loopback_detail::SendAll(fd, reply.body.data(), reply.body.size() / 2);
        while (!stop_)
            std::this_thread::sleep_for(std::chrono::milliseconds(loopback_detail::kSliceMs));
        break;
    case Mode::CloseAtOnce: break;
    case Mode::Endless:
        for (size_t sent = 0; sent < kEndlessBytes && !stop_ && !reply.body.empty(); sent += reply.body.size())
            if (!loopback_detail::SendAll(fd, reply.body.data(), reply.body.size()))
                break;
        break;
    }
    ::close(fd);
}

}  // namespace mirudex::test
