#pragma once
// What a file derived from a dictionary was made from. An index file stands
// for its dictionary only while the dictionary is the very file it was built
// from, read the same way: the same size, modification time and first and
// last few kilobytes, the same encoding and the same line buffer. The
// identity is kept in a trailer at the end of the derived file, after
// everything a reader of the file's own layout reads, so readers that know
// nothing of it are not disturbed. Any file made from a dictionary (the
// index file, and any companion file beside it) carries the same trailer and
// is used only when its identity equals the dictionary's identity now.
//
// Trailer layout (little-endian), appended to the file:
//   block:  version (2 bytes, 2), dictionary size (8), modification time in
//           nanoseconds since 1970 (8, signed), line buffer size (4, signed),
//           checksum of the first and last kIdentitySampleBytes (8), the
//           checksum of the derived file's own contents (8, ContentsChecksum:
//           what it covers is the derived file's to say), length of the
//           encoding name (2), the encoding name;
//   footer: the block's length in bytes (4), the tag "MXID" (4 bytes).
//
// A trailer of version 1 (without the contents checksum) is not known: its
// file is made again once.
//
// Pure functions; any thread.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace mirudex::dict {

struct IndexIdentity {
    uint64_t size = 0;       // the dictionary's size in bytes
    int64_t mtimeNs = 0;     // its modification time, nanoseconds since 1970
    std::string encoding;    // the encoding its lines were converted from
    int32_t lineBuffer = 0;  // the line buffer it was read with (.\Buffer\EDICT)
    uint64_t sample = 0;     // checksum of its first and last kIdentitySampleBytes

    bool operator==(const IndexIdentity&) const = default;
};

// How much of the beginning and of the end of the dictionary the checksum covers.
inline constexpr size_t kIdentitySampleBytes = 4096;
inline constexpr uint16_t kIdentityVersion = 2;
inline constexpr std::string_view kIdentityTag = "MXID";
inline constexpr size_t kIdentityFooterBytes = 8;

// The identity of a dictionary file as it is now. nullopt when the file
// cannot be opened and read or is not a regular file; error then holds the
// reason as an errno value (ENOENT for a file that is not there).
std::optional<IndexIdentity> IdentityOfFile(const std::string& filePath, std::string_view encoding, int lineBuffer,
                                            int& error);

// What differs between a stored identity and the current one, for the log
// ("size", "modification time", "encoding", "line buffer size",
// "contents"); empty when they are equal.
std::string IdentityDifference(const IndexIdentity& stored, const IndexIdentity& current);

// A fast 64-bit checksum of a run of bytes given in pieces of any size (four
// lanes of multiply and rotate over 8-byte words, then a final mix): every
// flipped bit changes it. Pieces split anywhere give the same value.
class ContentsChecksum {
public:
    void Add(std::string_view bytes);
    uint64_t Value() const;

private:
    uint64_t lanes_[4] = {0x60EA27EEADC0B5D6ULL, 0xC2B2AE3D27D4EB4FULL, 0, 0x61C8864E7A143579ULL};
    unsigned char pending_[32] = {};
    size_t pendingSize_ = 0;
    uint64_t total_ = 0;
};
uint64_t ChecksumOf(std::string_view bytes);

// The trailer (block and footer) to append to a derived file whose own
// contents have the checksum `contents`.
std::string IdentityTrailer(const IndexIdentity& identity, uint64_t contents);

struct FoundIdentity {
    IndexIdentity identity;
    uint64_t contents = 0;    // the checksum of the derived file's own contents, as written
    size_t trailerBytes = 0;  // block and footer: the file's own contents end this far before its end
};

// The identity at the end of a derived file held in memory (the whole
// file), or nullopt when it does not end with a trailer of a known version.
std::optional<FoundIdentity> ParseIdentityTrailer(std::string_view file);
// The same for an open file of fileSize bytes; the file position is left anywhere.
std::optional<FoundIdentity> ReadIdentityTrailer(std::FILE* file, int64_t fileSize);

}  // namespace mirudex::dict
