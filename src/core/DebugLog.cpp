#include "core/DebugLog.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace mirudex::dlog {

namespace {
std::mutex g_mutex;
std::FILE* g_file = nullptr;
std::atomic<bool> g_open{false};
std::atomic<int> g_level{0};

void WriteLocked(std::u16string_view text)
{
    if (!g_file)
        return;
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    std::fwrite(bytes.data(), 1, bytes.size(), g_file);
    std::fflush(g_file);
}
}  // namespace

bool Open(const std::string& path)
{
    std::lock_guard lock(g_mutex);
    if (g_file)
        return false;
    g_file = std::fopen(path.c_str(), "wb");
    if (!g_file)
        return false;
    const unsigned char bom[2] = {0xFF, 0xFE};
    std::fwrite(bom, 1, 2, g_file);
    std::fflush(g_file);
    g_open = true;
    return true;
}

bool Close()
{
    std::lock_guard lock(g_mutex);
    if (!g_file)
        return false;
    std::fclose(g_file);
    g_file = nullptr;
    g_open = false;
    return true;
}

bool IsOpen() { return g_open.load(); }

int Level() { return g_level.load(); }
void SetLevel(int level) { g_level = level; }

void ReadLevel(const std::string& path)
{
    g_level = 0;
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        Write(u"WARNING: Could not open 'debug_level.dat'.\n");
        return;
    }
    int level = 0;
    if (std::fscanf(f, "%i", &level) == 1)
        g_level = level;
    std::fclose(f);
}

void WriteText(std::u16string_view text)
{
    std::lock_guard lock(g_mutex);
    WriteLocked(text);
}

void WriteTextAt(int level, std::u16string_view text)
{
    if (Level() >= level)
        WriteText(text);
}

}  // namespace mirudex::dlog
