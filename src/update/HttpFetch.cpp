#include "update/HttpFetch.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/AtomicFile.h"
#include "core/DebugLog.h"
#include "update/Crc32.h"

namespace mirudex::update {

namespace {

constexpr int kPollSliceMs = 50;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int fd() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};

struct AddrInfoFree {
    void operator()(addrinfo* info) const { freeaddrinfo(info); }
};

bool StopRequested(const FetchOptions& options)
{
    return options.stop && options.stop->load(std::memory_order_relaxed);
}

enum class Wait { Ready, TimedOut, Stopped, Error };

// Waits until the socket is ready for events, in short slices so a stop request is seen.
Wait WaitFor(int fd, short events, const FetchOptions& options)
{
    const auto deadline = std::chrono::steady_clock::now() + options.timeout;
    for (;;) {
        if (StopRequested(options))
            return Wait::Stopped;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, kPollSliceMs);
        if (n > 0)
            return (p.revents & (events | POLLHUP | POLLERR)) ? Wait::Ready : Wait::Error;
        if (n < 0 && errno != EINTR)
            return Wait::Error;
        if (std::chrono::steady_clock::now() >= deadline)
            return Wait::TimedOut;
    }
}

bool ConnectTo(int fd, const addrinfo& address, const FetchOptions& options)
{
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0)
        return true;
    if (errno != EINPROGRESS)
        return false;
    if (WaitFor(fd, POLLOUT, options) != Wait::Ready)
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool SendAll(int fd, const std::string& bytes, const FetchOptions& options)
{
    size_t sent = 0;
    while (sent < bytes.size()) {
        if (WaitFor(fd, POLLOUT, options) != Wait::Ready)
            return false;
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n > 0)
            sent += static_cast<size_t>(n);
        else if (n == 0 || (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR))
            return false;
    }
    return true;
}

}  // namespace

std::string HttpRequestLine(const std::string& host, const std::string& path)
{
    std::string line = "GET http://" + host + "/" + path + "\r\n";
    if (line.size() > kMaxRequestBytes)
        return {};
    return line;
}

bool FetchHttpFile(const std::string& host, const std::string& path, const std::string& localFile,
                   const FetchOptions& options, FetchReport* report)
{
    FetchReport local;
    FetchReport& result = report ? *report : local;
    result = {};

    // A dotted address is taken as it is; a name is looked up.
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const std::string port = std::to_string(options.port);
    if (host.empty() || ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found) != 0 || !found) {
        dlog::Write(u"Invalid host.\n");
        return false;
    }
    std::unique_ptr<addrinfo, AddrInfoFree> addresses(found);

    Socket socket(
        ::socket(addresses->ai_family, addresses->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, addresses->ai_protocol));
    if (!socket.valid()) {
        dlog::Write(u"Socket did not connect.\n");
        return false;
    }
    if (!ConnectTo(socket.fd(), *addresses, options)) {
        dlog::Write(u"Connect failed.\n");
        return false;
    }

    const std::string request = HttpRequestLine(host, path);
    if (request.empty()) {
        dlog::Write(u"FetchHttpFile: ERROR: the request for %S is too long.\n", path);
        return false;
    }
    if (!SendAll(socket.fd(), request, options)) {
        dlog::Write(u"Send failed.\n");
        return false;
    }

    AtomicFileWriter file;
    if (!file.Open(localFile))
        return false;

    static const CrcTable table = BuildCrcTable();
    std::uint32_t crc = kCrcStart;
    char block[kReceiveBlock];
    for (;;) {
        const Wait wait = WaitFor(socket.fd(), POLLIN, options);
        if (wait == Wait::Stopped) {
            dlog::Write(u"FetchHttpFile: %S stopped.\n", path);
            return false;
        }
        if (wait != Wait::Ready) {
            dlog::Write(u"Receive error.\n");
            return false;
        }
        const ssize_t n = ::recv(socket.fd(), block, sizeof block, 0);
        if (n == 0)
            break;
        if (n < 0) {
            if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
                continue;
            dlog::Write(u"Receive error.\n");
            return false;
        }
        const std::string_view bytes(block, static_cast<size_t>(n));
        result.bytes += bytes.size();
        if (options.maxBytes && result.bytes > options.maxBytes) {
            dlog::Write(u"FetchHttpFile: ERROR: %S is longer than %u bytes.\n", path,
                        static_cast<unsigned long long>(options.maxBytes));
            return false;
        }
        crc = UpdateCrc(table, crc, bytes);
        if (!file.Write(bytes)) {
            dlog::Write(u"FetchHttpFile: ERROR: %S not written.\n", localFile);
            return false;
        }
    }
    result.crc = FinishCrc(crc);
    dlog::Write(u"File received okay.\n");
    if (options.keep && !options.keep(result.crc))
        return true;
    if (!file.Commit(AtomicFileWriter::Durability::Synced)) {
        dlog::Write(u"FetchHttpFile: ERROR: %S not written.\n", localFile);
        return false;
    }
    result.kept = true;
    return true;
}

}  // namespace mirudex::update
