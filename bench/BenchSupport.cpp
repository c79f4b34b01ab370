#include "BenchSupport.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace mirudex::bench {

std::filesystem::path RealDataDir()
{
    const char* env = std::getenv("MIRUDEX_REAL_DATA");
    const std::filesystem::path dir = env && *env ? env : "build-data";
    std::error_code error;
    if (!std::filesystem::exists(dir / "DICT" / "edict", error))
        return {};
    return std::filesystem::canonical(dir, error);
}

std::filesystem::path MakeTemporaryFolder(const std::string& prefix)
{
    std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        return {};
    return std::filesystem::path(buffer.data());
}

double ResidentMB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
    return 0;
}

double OwnMB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0, shared = 0;
    statm >> size >> resident >> shared;
    return static_cast<double>(resident - shared) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}

}  // namespace mirudex::bench
