// mirudex-lookup: the dictionary engine from a terminal.
#include <clocale>
#include <string>
#include <vector>

#include "cli/Commands.h"

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = mirudex::cli::RunTextCommand(args);
    if (status >= 0)
        return status;
    status = mirudex::cli::RunImportCommand(args);
    if (status >= 0)
        return status;
    return mirudex::cli::RunLookup(args);
}
