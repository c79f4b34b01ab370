#include <cstdio>

#include "cli/Commands.h"

namespace mirudex::cli {

int RunLookup(const std::vector<std::string>&)
{
    std::fprintf(stderr, "mirudex-lookup: dictionary look-ups are not available in this build yet\n");
    return 2;
}

}  // namespace mirudex::cli
