#include "core/AtomicFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace mirudex {

AtomicFileWriter::~AtomicFileWriter() { Abandon(); }

bool AtomicFileWriter::Open(const std::string& path)
{
    Abandon();
    path_ = path;
    // Same directory as the target, so the rename cannot cross file systems.
    temp_ = path + ".XXXXXX";
    int fd = mkstemp(temp_.data());
    if (fd < 0) {
        temp_.clear();
        return false;
    }
    // mkstemp makes the file private: keep the permissions of the file being
    // replaced, or give a new file the usual ones.
    struct stat old {};
    fchmod(fd, stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    file_ = fdopen(fd, "wb");
    if (!file_) {
        close(fd);
        unlink(temp_.c_str());
        temp_.clear();
        return false;
    }
    failed_ = false;
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes)
{
    if (!file_)
        return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        failed_ = true;
    return !failed_;
}

bool AtomicFileWriter::Commit(Durability durability)
{
    if (!file_)
        return false;
    bool ok = !failed_ && std::fflush(file_) == 0 && !std::ferror(file_);
    if (durability == Durability::Synced)
        ok = ok && fsync(fileno(file_)) == 0;
    ok = (std::fclose(file_) == 0) && ok;
    file_ = nullptr;
    if (ok)
        ok = std::rename(temp_.c_str(), path_.c_str()) == 0;
    if (!ok)
        unlink(temp_.c_str());
    temp_.clear();
    return ok;
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

bool WriteFileAtomically(const std::string& path, std::string_view bytes)
{
    AtomicFileWriter w;
    if (!w.Open(path))
        return false;
    w.Write(bytes);
    return w.Commit();
}

}  // namespace mirudex
