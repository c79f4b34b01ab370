#pragma once
// CRC-32 of ISO 3309 / IEEE 802.3 (the polynomial 0xEDB88320, reflected; the
// same value zlib's crc32 gives), as the update list writes it: lowercase
// hexadecimal without leading zeros.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace mirudex::update {

using CrcTable = std::array<std::uint32_t, 256>;

// The table entry for each byte value, made by shifting it right 8 times.
CrcTable BuildCrcTable();

// Feeds bytes into a running CRC. Start with kCrcStart; the finished CRC is
// the running value XOR kCrcStart (FinishCrc).
inline constexpr std::uint32_t kCrcStart = 0xFFFFFFFFu;
std::uint32_t UpdateCrc(const CrcTable& table, std::uint32_t crc, std::string_view bytes);
inline std::uint32_t FinishCrc(std::uint32_t crc) { return crc ^ kCrcStart; }

// The CRC-32 of some bytes.
std::uint32_t Crc32(const CrcTable& table, std::string_view bytes);
// The CRC-32 of a file's contents; false when it cannot be read.
bool Crc32OfFile(const CrcTable& table, const std::string& path, std::uint32_t& crc);

// The "%x" form: 352441c2, 0 for zero.
std::string CrcText(std::uint32_t crc);

}  // namespace mirudex::update
