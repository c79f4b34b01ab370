#include "core/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace mirudex {

namespace {

// How many links a path may pass through, as the system allows.
constexpr int kMaxLinks = 40;

constexpr std::string_view kTempSuffix = ".XXXXXX~";
constexpr size_t kRandomLength = 6;

bool IsLetterOrDigit(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

// Six random letters and digits as mkstemp makes them; for the names of
// earlier versions (no "~" after them) also a mix that a person's suffix
// rarely has (see the header).
bool LooksRandom(std::string_view part, bool strict)
{
    if (part.size() != kRandomLength)
        return false;
    bool upperAfterFirst = false, lower = false;
    for (size_t i = 0; i < part.size(); ++i) {
        const char c = part[i];
        if (!IsLetterOrDigit(c))
            return false;
        upperAfterFirst = upperAfterFirst || (i > 0 && c >= 'A' && c <= 'Z');
        lower = lower || (c >= 'a' && c <= 'z');
    }
    return !strict || (upperAfterFirst && lower);
}

void SyncDirectoryOf(const std::string& path)
{
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    const int fd = open(parent.empty() ? "." : parent.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

}  // namespace

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

void AtomicFileWriter::Fail(int error)
{
    if (error_ == 0)
        error_ = error != 0 ? error : EIO;
}

bool AtomicFileWriter::Open(const std::string& path)
{
    Abandon();
    error_ = 0;
    target_ = ResolveLinks(path);
    RemoveLeftoverTemporaries(target_);
    // Same directory as the target, so the rename cannot cross file systems.
    temp_ = target_ + std::string(kTempSuffix);
    const int fd = mkstemps(temp_.data(), 1);
    if (fd < 0) {
        Fail(errno);
        temp_.clear();
        return false;
    }
    // mkstemp makes the file private: keep the permissions of the file being
    // replaced, or give a new file the usual ones.
    struct stat old {};
    fchmod(fd, stat(target_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        Fail(errno);
        close(fd);
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes)
{
    if (!file_)
        return false;
    if (error_ == 0 && !bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        Fail(errno);
    return error_ == 0;
}

bool AtomicFileWriter::Commit(Durability durability)
{
    if (!file_) {
        Fail(EBADF);
        return false;
    }
    if (error_ == 0 && (std::fflush(file_) != 0 || std::ferror(file_)))
        Fail(errno);
    if (error_ == 0 && durability == Durability::Synced && fsync(fileno(file_)) != 0)
        Fail(errno);
    if (std::fclose(file_) != 0)
        Fail(errno);
    file_ = nullptr;
    if (error_ == 0 && std::rename(temp_.c_str(), target_.c_str()) != 0)
        Fail(errno);
    if (error_ != 0) {
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    temp_.clear();
    // The rename itself is only safe once the directory is on the disk.
    if (durability == Durability::Synced)
        SyncDirectoryOf(target_);
    return true;
}

void AtomicFileWriter::Abandon()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    if (!temp_.empty()) {
        unlink(temp_.c_str());
        temp_.clear();
    }
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, int* error)
{
    AtomicFileWriter w;
    const bool ok = w.Open(path) && w.Write(bytes) && w.Commit();
    if (error)
        *error = ok ? 0 : w.Error();
    return ok;
}

std::string ResolveLinks(const std::string& path)
{
    std::filesystem::path current = path;
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code ec;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(current, ec)))
            break;
        const std::filesystem::path target = std::filesystem::read_symlink(current, ec);
        if (ec)
            break;
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

int RemoveLeftoverTemporaries(const std::string& path)
{
    const std::filesystem::path file = ResolveLinks(path);
    const std::string name = file.filename().string();
    if (name.empty())
        return 0;
    const std::filesystem::path dir = file.parent_path().empty() ? std::filesystem::path(".") : file.parent_path();
    std::error_code ec;
    std::filesystem::directory_iterator it(dir, ec);
    int removed = 0;
    for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
        const std::string candidate = it->path().filename().string();
        if (candidate.size() <= name.size() + 1 || candidate.compare(0, name.size(), name) != 0 ||
            candidate[name.size()] != '.')
            continue;
        std::string_view rest = std::string_view(candidate).substr(name.size() + 1);
        const bool ours = !rest.empty() && rest.back() == '~';
        if (ours)
            rest.remove_suffix(1);
        if (!LooksRandom(rest, !ours))
            continue;
        std::error_code statError;
        if (!std::filesystem::is_regular_file(it->symlink_status(statError)) || statError)
            continue;
        std::error_code removeError;
        if (std::filesystem::remove(it->path(), removeError))
            ++removed;
    }
    return removed;
}

}  // namespace mirudex
