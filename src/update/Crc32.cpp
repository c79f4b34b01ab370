#include "update/Crc32.h"

#include <cstdio>
#include <memory>

namespace mirudex::update {

CrcTable BuildCrcTable()
{
    CrcTable table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? (0xEDB88320u ^ (c >> 1)) : (c >> 1);
        table[n] = c;
    }
    return table;
}

std::uint32_t UpdateCrc(const CrcTable& table, std::uint32_t crc, std::string_view bytes)
{
    for (unsigned char b : bytes)
        crc = (crc >> 8) ^ table[(crc ^ b) & 0xFF];
    return crc;
}

std::uint32_t Crc32(const CrcTable& table, std::string_view bytes)
{
    return FinishCrc(UpdateCrc(table, kCrcStart, bytes));
}

bool Crc32OfFile(const CrcTable& table, const std::string& path, std::uint32_t& crc)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file)
        return false;
    std::uint32_t running = kCrcStart;
    char buffer[65536];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        running = UpdateCrc(table, running, std::string_view(buffer, got));
    if (std::ferror(file.get()))
        return false;
    crc = FinishCrc(running);
    return true;
}

std::string CrcText(std::uint32_t crc)
{
    char text[16];
    std::snprintf(text, sizeof text, "%x", static_cast<unsigned>(crc));
    return text;
}

}  // namespace mirudex::update
