#include "dict/IndexIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <vector>

namespace mirudex::dict {

namespace {

// Block bytes before the encoding name: version, size, time, buffer, checksum, name length.
constexpr size_t kFixedBlockBytes = 2 + 8 + 8 + 4 + 8 + 2;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// FNV-1a, 64 bits.
constexpr uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr uint64_t kFnvPrime = 0x100000001b3ULL;

uint64_t Fnv(uint64_t hash, const char* data, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        hash ^= static_cast<unsigned char>(data[i]);
        hash *= kFnvPrime;
    }
    return hash;
}

// Reads exactly size bytes at offset; false on a short read or an error.
bool ReadAt(int fd, char* out, size_t size, int64_t offset)
{
    while (size > 0) {
        const ssize_t got = ::pread(fd, out, size, offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        out += got;
        size -= static_cast<size_t>(got);
        offset += got;
    }
    return true;
}

void Put(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t Get(std::string_view in, size_t at, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<uint64_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    return value;
}

std::optional<IndexIdentity> ParseBlock(std::string_view block)
{
    if (block.size() < kFixedBlockBytes || Get(block, 0, 2) != kIdentityVersion)
        return std::nullopt;
    IndexIdentity identity;
    identity.size = Get(block, 2, 8);
    identity.mtimeNs = static_cast<int64_t>(Get(block, 10, 8));
    identity.lineBuffer = static_cast<int32_t>(Get(block, 18, 4));
    identity.sample = Get(block, 22, 8);
    const size_t nameBytes = Get(block, 30, 2);
    if (block.size() != kFixedBlockBytes + nameBytes)
        return std::nullopt;
    identity.encoding = std::string(block.substr(kFixedBlockBytes));
    return identity;
}

// The block's length from a footer, or 0 when it is not one.
size_t BlockLength(std::string_view footer, int64_t fileSize)
{
    if (footer.size() != kIdentityFooterBytes || footer.substr(4) != kIdentityTag)
        return 0;
    const size_t length = Get(footer, 0, 4);
    if (length < kFixedBlockBytes || length > kFixedBlockBytes + std::numeric_limits<uint16_t>::max() ||
        static_cast<int64_t>(length) > fileSize - static_cast<int64_t>(footer.size()))
        return 0;
    return length;
}

}  // namespace

std::optional<IndexIdentity> IdentityOfFile(const std::string& filePath, std::string_view encoding, int lineBuffer,
                                            int& error)
{
    error = 0;
    // Not blocking: a pipe or device in the dictionary's place must not hang the load.
    Descriptor fd(::open(filePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        error = errno;
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0) {
        error = errno;
        return std::nullopt;
    }
    if (!S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return std::nullopt;
    }
    IndexIdentity identity;
    identity.size = static_cast<uint64_t>(info.st_size);
    identity.mtimeNs = static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000LL + info.st_mtim.tv_nsec;
    identity.encoding = std::string(encoding);
    identity.lineBuffer = lineBuffer;

    const size_t head = static_cast<size_t>(std::min<uint64_t>(identity.size, kIdentitySampleBytes));
    std::vector<char> bytes(head);
    uint64_t hash = kFnvOffset;
    if (head > 0) {
        if (!ReadAt(fd.get(), bytes.data(), head, 0)) {
            error = errno ? errno : EIO;
            return std::nullopt;
        }
        hash = Fnv(hash, bytes.data(), head);
        if (!ReadAt(fd.get(), bytes.data(), head, static_cast<int64_t>(identity.size - head))) {
            error = errno ? errno : EIO;
            return std::nullopt;
        }
        hash = Fnv(hash, bytes.data(), head);
    }
    identity.sample = hash;
    return identity;
}

std::string IdentityDifference(const IndexIdentity& stored, const IndexIdentity& current)
{
    std::string words;
    auto add = [&](bool differs, const char* what) {
        if (!differs)
            return;
        if (!words.empty())
            words += ", ";
        words += what;
    };
    add(stored.size != current.size, "size");
    add(stored.mtimeNs != current.mtimeNs, "modification time");
    add(stored.sample != current.sample, "contents");
    add(stored.encoding != current.encoding, "encoding");
    add(stored.lineBuffer != current.lineBuffer, "line buffer size");
    return words;
}

std::string IdentityTrailer(const IndexIdentity& identity)
{
    std::string block;
    const size_t nameBytes = std::min<size_t>(identity.encoding.size(), std::numeric_limits<uint16_t>::max());
    Put(block, kIdentityVersion, 2);
    Put(block, identity.size, 8);
    Put(block, static_cast<uint64_t>(identity.mtimeNs), 8);
    Put(block, static_cast<uint32_t>(identity.lineBuffer), 4);
    Put(block, identity.sample, 8);
    Put(block, nameBytes, 2);
    block.append(identity.encoding, 0, nameBytes);
    std::string trailer = block;
    Put(trailer, block.size(), 4);
    trailer.append(kIdentityTag);
    return trailer;
}

std::optional<FoundIdentity> ParseIdentityTrailer(std::string_view file)
{
    if (file.size() < kIdentityFooterBytes)
        return std::nullopt;
    const auto fileSize = static_cast<int64_t>(file.size());
    const size_t length = BlockLength(file.substr(file.size() - kIdentityFooterBytes), fileSize);
    if (length == 0)
        return std::nullopt;
    auto identity = ParseBlock(file.substr(file.size() - kIdentityFooterBytes - length, length));
    if (!identity)
        return std::nullopt;
    return FoundIdentity{std::move(*identity), length + kIdentityFooterBytes};
}

std::optional<FoundIdentity> ReadIdentityTrailer(std::FILE* file, int64_t fileSize)
{
    if (fileSize < static_cast<int64_t>(kIdentityFooterBytes))
        return std::nullopt;
    char footer[kIdentityFooterBytes];
    if (std::fseek(file, static_cast<long>(fileSize - static_cast<int64_t>(kIdentityFooterBytes)), SEEK_SET) != 0 ||
        std::fread(footer, 1, sizeof footer, file) != sizeof footer)
        return std::nullopt;
    const size_t length = BlockLength(std::string_view(footer, sizeof footer), fileSize);
    if (length == 0)
        return std::nullopt;
    std::string block(length, '\0');
    const int64_t blockStart = fileSize - static_cast<int64_t>(kIdentityFooterBytes + length);
    if (std::fseek(file, static_cast<long>(blockStart), SEEK_SET) != 0 ||
        std::fread(block.data(), 1, length, file) != length)
        return std::nullopt;
    auto identity = ParseBlock(block);
    if (!identity)
        return std::nullopt;
    return FoundIdentity{std::move(*identity), length + kIdentityFooterBytes};
}

}  // namespace mirudex::dict
