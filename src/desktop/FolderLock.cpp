#include "desktop/FolderLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <filesystem>

namespace mirudex::desktop {

namespace {

std::string LockPath(const std::string& folder) { return (std::filesystem::path(folder) / kFolderLockName).string(); }

}  // namespace

std::string ThisHost()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

FolderLock::~FolderLock() { Release(); }

FolderLock::Result FolderLock::TryAcquire(const std::string& folder, const std::string& socketPath)
{
    Release();
    error_ = 0;
    const int fd = ::open(LockPath(folder).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        error_ = errno;
        return Result::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        error_ = errno;
        ::close(fd);
        return error_ == EWOULDBLOCK ? Result::Busy : Result::Failed;
    }
    fd_ = fd;
    // Whoever finds the folder taken reads who has it.
    const std::string who = std::to_string(::getpid()) + "\n" + ThisHost() + "\n" + socketPath + "\n";
    if (::ftruncate(fd, 0) == 0) {
        size_t written = 0;
        while (written < who.size()) {
            const ssize_t n = ::pwrite(fd, who.data() + written, who.size() - written, static_cast<off_t>(written));
            if (n <= 0 && errno != EINTR)
                break;
            if (n > 0)
                written += static_cast<size_t>(n);
        }
    }
    return Result::Held;
}

void FolderLock::Release()
{
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

std::optional<FolderLockHolder> ReadFolderLockHolder(const std::string& folder)
{
    const int fd = ::open(LockPath(folder).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0)
        return std::nullopt;
    std::string text;
    char buffer[512];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0 || text.size() > 8192)
            break;
        text.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    // Three complete lines, or the holder has not written them yet.
    std::string lines[3];
    size_t at = 0;
    for (std::string& line : lines) {
        const size_t end = text.find('\n', at);
        if (end == std::string::npos)
            return std::nullopt;
        line = text.substr(at, end - at);
        at = end + 1;
    }
    FolderLockHolder holder;
    char* end = nullptr;
    holder.pid = std::strtol(lines[0].c_str(), &end, 10);
    if (lines[0].empty() || *end != '\0' || holder.pid <= 0)
        return std::nullopt;
    holder.host = lines[1];
    holder.socket = lines[2];
    return holder;
}

}  // namespace mirudex::desktop
