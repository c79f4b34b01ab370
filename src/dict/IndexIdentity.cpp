#include "dict/IndexIdentity.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <limits>
#include <vector>

namespace mirudex::dict {

namespace {

// Block bytes before the encoding name: version, size, time, buffer, sample
// checksum, contents checksum, name length.
constexpr size_t kFixedBlockBytes = 2 + 8 + 8 + 4 + 8 + 8 + 2;

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

std::optional<FoundIdentity> ParseBlock(std::string_view block)
{
    if (block.size() < kFixedBlockBytes || Get(block, 0, 2) != kIdentityVersion)
        return std::nullopt;
    FoundIdentity found;
    IndexIdentity& identity = found.identity;
    identity.size = Get(block, 2, 8);
    identity.mtimeNs = static_cast<int64_t>(Get(block, 10, 8));
    identity.lineBuffer = static_cast<int32_t>(Get(block, 18, 4));
    identity.sample = Get(block, 22, 8);
    found.contents = Get(block, 30, 8);
    const size_t nameBytes = Get(block, 38, 2);
    if (block.size() != kFixedBlockBytes + nameBytes)
        return std::nullopt;
    identity.encoding = std::string(block.substr(kFixedBlockBytes));
    found.trailerBytes = block.size() + kIdentityFooterBytes;
    return found;
}

constexpr uint64_t kPrime1 = 0x9E3779B185EBCA87ULL;
constexpr uint64_t kPrime2 = 0xC2B2AE3D27D4EB4FULL;
constexpr uint64_t kPrime3 = 0x165667B19E3779F9ULL;
constexpr uint64_t kPrime4 = 0x85EBCA77C2B2AE63ULL;
constexpr uint64_t kPrime5 = 0x27D4EB2F165667C5ULL;

uint64_t Rotl(uint64_t x, int r) { return (x << r) | (x >> (64 - r)); }

uint64_t Word64(const unsigned char* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    if constexpr (std::endian::native == std::endian::big)
        v = __builtin_bswap64(v);
    return v;
}

uint64_t Round(uint64_t lane, uint64_t word) { return Rotl(lane + word * kPrime2, 31) * kPrime1; }

uint64_t Merge(uint64_t hash, uint64_t lane) { return (hash ^ Round(0, lane)) * kPrime1 + kPrime4; }

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

void ContentsChecksum::Add(std::string_view bytes)
{
    if (bytes.empty())
        return;  // an empty section may have no bytes at all to point at
    auto p = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t n = bytes.size();
    total_ += n;
    if (pendingSize_ > 0) {
        const size_t take = std::min(n, sizeof pending_ - pendingSize_);
        std::memcpy(pending_ + pendingSize_, p, take);
        pendingSize_ += take;
        p += take;
        n -= take;
        if (pendingSize_ < sizeof pending_)
            return;
        for (int i = 0; i < 4; ++i)
            lanes_[i] = Round(lanes_[i], Word64(pending_ + 8 * i));
        pendingSize_ = 0;
    }
    uint64_t a = lanes_[0], b = lanes_[1], c = lanes_[2], d = lanes_[3];
    for (; n >= 32; p += 32, n -= 32) {
        a = Round(a, Word64(p));
        b = Round(b, Word64(p + 8));
        c = Round(c, Word64(p + 16));
        d = Round(d, Word64(p + 24));
    }
    lanes_[0] = a, lanes_[1] = b, lanes_[2] = c, lanes_[3] = d;
    if (n > 0)
        std::memcpy(pending_, p, n);
    pendingSize_ = n;
}

uint64_t ContentsChecksum::Value() const
{
    uint64_t hash = Rotl(lanes_[0], 1) + Rotl(lanes_[1], 7) + Rotl(lanes_[2], 12) + Rotl(lanes_[3], 18);
    for (uint64_t lane : lanes_)
        hash = Merge(hash, lane);
    hash += total_;
    const unsigned char* p = pending_;
    size_t n = pendingSize_;
    for (; n >= 8; p += 8, n -= 8)
        hash = Rotl(hash ^ Round(0, Word64(p)), 27) * kPrime1 + kPrime4;
    for (; n > 0; ++p, --n)
        hash = Rotl(hash ^ (*p * kPrime5), 11) * kPrime1;
    hash ^= hash >> 33;
    hash *= kPrime2;
    hash ^= hash >> 29;
    hash *= kPrime3;
    hash ^= hash >> 32;
    return hash;
}

uint64_t ChecksumOf(std::string_view bytes)
{
    ContentsChecksum checksum;
    checksum.Add(bytes);
    return checksum.Value();
}

std::string IdentityTrailer(const IndexIdentity& identity, uint64_t contents)
{
    std::string block;
    const size_t nameBytes = std::min<size_t>(identity.encoding.size(), std::numeric_limits<uint16_t>::max());
    Put(block, kIdentityVersion, 2);
    Put(block, identity.size, 8);
    Put(block, static_cast<uint64_t>(identity.mtimeNs), 8);
    Put(block, static_cast<uint32_t>(identity.lineBuffer), 4);
    Put(block, identity.sample, 8);
    Put(block, contents, 8);
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
    return ParseBlock(file.substr(file.size() - kIdentityFooterBytes - length, length));
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
    return ParseBlock(block);
}

}  // namespace mirudex::dict
