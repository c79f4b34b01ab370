#pragma once
// SHA-256 (FIPS 180-4), for checking a downloaded update file against the
// digest its update list gives: unlike a CRC, no one can make other contents
// with the same digest. Written as 64 lowercase hexadecimal digits, the form
// sha256sum prints.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mirudex::update {

class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void Add(std::string_view bytes);
    // The digest of everything added; the object is then spent.
    Digest Finish();

private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> pending_{};
    size_t pendingBytes_ = 0;
    std::uint64_t totalBytes_ = 0;
};

// The lowercase hexadecimal form of a digest (64 digits).
std::string Sha256Text(const Sha256::Digest& digest);
// The digest of some bytes, in that form.
std::string Sha256Hex(std::string_view bytes);
// Whether text is a SHA-256 in that form (64 digits, lowercase or capitals).
bool IsSha256Text(std::string_view text);

}  // namespace mirudex::update
