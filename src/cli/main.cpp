// mirudex-lookup: the dictionary engine from a terminal.
#include <unistd.h>

#include <clocale>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/Commands.h"
#include "cli/Io.h"
#include "core/Version.h"

using namespace mirudex::cli;

namespace {

int Run(const Arguments& args)
{
    switch (args.mode) {
    case Arguments::Mode::Help: Put(UsageText()); return 0;
    case Arguments::Mode::Version: Put(std::string("mirudex-lookup ") + mirudex::kVersion + "\n"); return 0;
    case Arguments::Mode::Kana:
    case Arguments::Mode::Romaji:
    case Arguments::Mode::Variants: return RunTextCommand(args);
    case Arguments::Mode::Show: return RunShow(args);
    case Arguments::Mode::ImportJmdict: return RunImportCommand(args);
    case Arguments::Mode::BuildIndexes: return RunBuildIndexesCommand(args);
    case Arguments::Mode::Lookup: break;
    }
    return RunLookup(args);
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const std::vector<std::string> words(argv + 1, argv + argc);
    std::string error;
    const std::optional<Arguments> args = ParseArguments(words, error, ::isatty(STDIN_FILENO) != 0);
    if (!args)
        return Usage(error);
    return FinishOutput(Run(*args));
}
