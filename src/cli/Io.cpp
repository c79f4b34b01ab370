#include "cli/Io.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace mirudex::cli {

namespace {

// The error of the first write that failed, or 0.
int writeError = 0;

}  // namespace

bool Put(std::string_view bytes)
{
    if (writeError != 0)
        return false;
    if (bytes.empty())
        return true;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
        writeError = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

bool OutputFailed() { return writeError != 0 || std::ferror(stdout); }

int FinishOutput(int status)
{
    errno = 0;
    if (std::fflush(stdout) != 0 && writeError == 0)
        writeError = errno != 0 ? errno : EIO;
    if (writeError == 0 && std::ferror(stdout))
        writeError = EIO;
    if (writeError == 0)
        return status;
    std::fprintf(stderr, "mirudex-lookup: write error: %s\n", std::strerror(writeError));
    return 2;
}

void ForEachInputLine(const std::function<bool(const std::string&)>& each)
{
    char* buffer = nullptr;
    size_t capacity = 0;
    for (ssize_t n; (n = ::getline(&buffer, &capacity, stdin)) >= 0;) {
        std::string line(buffer, static_cast<size_t>(n));
        if (!line.empty() && line.back() == '\n')
            line.pop_back();
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!each(line))
            break;
    }
    std::free(buffer);
}

}  // namespace mirudex::cli
