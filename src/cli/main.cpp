// mirudex-lookup: the dictionary engine from a terminal.
#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "core/Version.h"

using namespace mirudex::cli;

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> words(argv + 1, argv + argc);
    std::string error;
    const std::optional<Arguments> args = ParseArguments(words, error);
    if (!args)
        return Usage(error);
    switch (args->mode) {
    case Arguments::Mode::Help: std::fputs(UsageText(), stdout); return 0;
    case Arguments::Mode::Version: std::printf("mirudex-lookup %s\n", mirudex::kVersion); return 0;
    case Arguments::Mode::Kana:
    case Arguments::Mode::Romaji:
    case Arguments::Mode::Variants: return RunTextCommand(*args);
    case Arguments::Mode::Show: return RunShow(*args);
    case Arguments::Mode::ImportJmdict: return RunImportCommand(*args);
    case Arguments::Mode::Lookup: break;
    }
    return RunLookup(*args);
}
