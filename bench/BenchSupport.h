#pragma once
// What the benchmarks share: where the real data is, a temporary folder that
// is removed again, and the process's resident memory.

#include <filesystem>
#include <string>

namespace mirudex::bench {

// MIRUDEX_REAL_DATA (or build-data), made absolute; empty when it holds no DICT/edict.
std::filesystem::path RealDataDir();

// A new folder under the temporary directory (empty path on failure). The
// caller removes it; see TemporaryFolder for one removed on destruction.
std::filesystem::path MakeTemporaryFolder(const std::string& prefix);

// The process's resident memory now (VmRSS), in megabytes.
double ResidentMB();

// The process's own resident memory now, in megabytes: resident pages less
// shared ones (/proc/self/statm), so mapped files (the page cache's) are
// left out.
double OwnMB();

}  // namespace mirudex::bench
