#include "cli/Commands.h"

namespace mirudex::cli {

int RunTextCommand(const std::vector<std::string>&) { return -1; }

}  // namespace mirudex::cli
