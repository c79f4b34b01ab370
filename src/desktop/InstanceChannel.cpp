#include "desktop/InstanceChannel.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>

namespace mirudex::desktop {

namespace {

constexpr std::string_view kMagic = "MIRUDEX/1 ";
constexpr std::string_view kShow = "SHOW";
constexpr std::string_view kSearch = "SEARCH ";

// A folder that only this user can use: made when missing, refused when it
// belongs to someone else or others may write into it.
bool PrivateFolder(const std::string& path, std::string& error)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot make " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid() ||
        (info.st_mode & 077) != 0) {
        error = path + " is not a private folder of this user";
        return false;
    }
    return true;
}

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    int release()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

int RemainingMs(std::chrono::steady_clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

std::string EncodeRequest(const InstanceRequest& request)
{
    std::string out(kMagic);
    if (request.kind == InstanceRequest::Kind::Show) {
        out += kShow;
        out += '\n';
        return out;
    }
    out += kSearch;
    out += std::to_string(request.text.size());
    out += '\n';
    out += request.text;
    return out;
}

DecodeState DecodeRequest(std::string_view bytes, InstanceRequest& request, size_t& used)
{
    const size_t lineEnd = bytes.find('\n');
    const std::string_view head = bytes.substr(0, lineEnd);
    // A head can never grow longer than the magic, the word and a length.
    constexpr size_t kLongestHead = 40;
    if (head.size() > kLongestHead)
        return DecodeState::Bad;
    // Every byte so far must agree with a head that could still come.
    const std::string_view magicPart = head.substr(0, std::min(head.size(), kMagic.size()));
    if (kMagic.substr(0, magicPart.size()) != magicPart)
        return DecodeState::Bad;
    if (lineEnd == std::string_view::npos)
        return DecodeState::Incomplete;
    if (head.size() < kMagic.size())
        return DecodeState::Bad;
    const std::string_view word = head.substr(kMagic.size());
    if (word == kShow) {
        request = {InstanceRequest::Kind::Show, {}};
        used = lineEnd + 1;
        return DecodeState::Done;
    }
    if (word.substr(0, kSearch.size()) != kSearch)
        return DecodeState::Bad;
    const std::string_view digits = word.substr(kSearch.size());
    if (digits.empty() || digits.size() > 9)
        return DecodeState::Bad;
    size_t length = 0;
    for (char c : digits) {
        if (c < '0' || c > '9')
            return DecodeState::Bad;
        length = length * 10 + static_cast<size_t>(c - '0');
    }
    if (length > kMaxRequestText)
        return DecodeState::Bad;
    if (bytes.size() - (lineEnd + 1) < length)
        return DecodeState::Incomplete;
    request = {InstanceRequest::Kind::Search, std::string(bytes.substr(lineEnd + 1, length))};
    used = lineEnd + 1 + length;
    return DecodeState::Done;
}

std::optional<InstancePaths> DefaultInstancePaths(std::string& error)
{
    return InstancePathsFor(std::getenv("XDG_RUNTIME_DIR"), std::getenv("TMPDIR"), error);
}

std::optional<InstancePaths> InstancePathsFor(const char* runtimeDir, const char* tmpDir, std::string& error)
{
    std::string folder;
    std::string note;
    if (runtimeDir && runtimeDir[0] == '/') {
        // Another user who may write into the folder could put a listener of
        // their own at the socket's place: such a folder is not used.
        struct stat info {};
        if (::stat(runtimeDir, &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid() &&
            (info.st_mode & (S_IWGRP | S_IWOTH)) == 0)
            folder = runtimeDir;
        else
            note = std::string("the runtime folder ") + runtimeDir + " is not this user's alone";
    }
    if (folder.empty()) {
        const std::string base = tmpDir && tmpDir[0] == '/' ? tmpDir : "/tmp";
        folder = base + "/mirudex-" + std::to_string(::getuid());
        if (!PrivateFolder(folder, error)) {
            if (!note.empty())
                error = note + ", and " + error;
            return std::nullopt;
        }
        if (!note.empty())
            note += "; using " + folder;
    }
    InstancePaths paths{folder + "/mirudex.socket", folder + "/mirudex.lock", note};
    if (paths.socket.size() >= sizeof(sockaddr_un{}.sun_path)) {
        error = "the socket path " + paths.socket + " is too long";
        return std::nullopt;
    }
    return paths;
}

SendResult SendToRunningInstance(const std::string& socketPath, const InstanceRequest& request, int timeoutMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path))
        return SendResult::NoInstance;
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);

    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (fd.get() < 0)
        return SendResult::Failed;
    // A connection to a Unix socket is made or refused at once.
    if (::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return SendResult::NoInstance;
    if (!PeerIsThisUser(fd.get()))
        return SendResult::Foreign;

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const std::string message = EncodeRequest(request);
    size_t sent = 0;
    while (sent < message.size()) {
        pollfd p{fd.get(), POLLOUT, 0};
        if (::poll(&p, 1, RemainingMs(deadline)) <= 0)
            return SendResult::Failed;
        const ssize_t n = ::send(fd.get(), message.data() + sent, message.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return SendResult::Failed;
        if (n > 0)
            sent += static_cast<size_t>(n);
    }
    std::string reply;
    while (reply.size() < kInstanceReply.size()) {
        pollfd p{fd.get(), POLLIN, 0};
        if (::poll(&p, 1, RemainingMs(deadline)) <= 0)
            return SendResult::Failed;
        char buffer[16];
        const ssize_t n = ::recv(fd.get(), buffer, sizeof(buffer), 0);
        if (n == 0)
            return SendResult::Failed;
        if (n < 0 && errno != EINTR && errno != EAGAIN)
            return SendResult::Failed;
        if (n > 0)
            reply.append(buffer, static_cast<size_t>(n));
    }
    return reply.compare(0, kInstanceReply.size(), kInstanceReply) == 0 ? SendResult::Delivered : SendResult::Failed;
}

bool PeerIsThisUser(int fd)
{
    ucred peer{};
    socklen_t size = sizeof(peer);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 && size == sizeof(peer) &&
           peer.uid == ::geteuid();
}

int ListenForInstances(const std::string& socketPath, std::string& error)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path)) {
        error = "the socket path " + socketPath + " is too long";
        return -1;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    if (::unlink(socketPath.c_str()) != 0 && errno != ENOENT) {
        error = "the old socket " + socketPath + " cannot be removed: " + std::strerror(errno);
        return -1;
    }
    Fd fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (fd.get() < 0 || ::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(socketPath.c_str(), 0600) != 0 || ::listen(fd.get(), SOMAXCONN) != 0) {
        error = std::string(std::strerror(errno));
        return -1;
    }
    return fd.release();
}

InstanceLock::~InstanceLock() { Release(); }

bool InstanceLock::TryAcquire(const std::string& path)
{
    Release();
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void InstanceLock::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

Claim ClaimOrHandOver(const InstancePaths& paths, const InstanceRequest& request, InstanceLock& lock, int waitMs)
{
    constexpr int kAnswerMs = 3000;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        switch (SendToRunningInstance(paths.socket, request, kAnswerMs)) {
        case SendResult::Delivered: return Claim::HandedOver;
        case SendResult::Failed: return Claim::Unanswered;
        case SendResult::Foreign: return Claim::Foreign;
        case SendResult::NoInstance: break;
        }
        if (lock.TryAcquire(paths.lock))
            return Claim::Listen;
        if (RemainingMs(deadline) == 0)
            return Claim::Unanswered;
        ::usleep(50 * 1000);
    }
}

}  // namespace mirudex::desktop
