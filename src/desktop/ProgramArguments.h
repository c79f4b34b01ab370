#pragma once
// The command line of mirudex, the desktop program:
//
//   mirudex [--workdir DIR] [--show | --search TEXT | TEXT...] [-- TEXT...]
//   mirudex --help | -h | --version
//
// TEXT is searched as if typed into the search box and Enter pressed (words
// after the options are joined by one blank); --show, or an empty TEXT, only
// raises the window.
// The few options Qt itself reads (-platform NAME, -display NAME, -style NAME,
// -session ID ...) are passed on to it untouched.

#include <optional>
#include <string>
#include <vector>

#include "desktop/InstanceChannel.h"

namespace mirudex::desktop {

struct ProgramArguments {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    std::optional<std::string> workdir;
    // What to ask of the running program (or do once started): nothing means a plain start.
    std::optional<InstanceRequest> request;
    // The program name and the options for Qt, in their order.
    std::vector<std::string> qtArguments;
};

// Nothing, and a message, on a usage error.
std::optional<ProgramArguments> ParseProgramArguments(const std::vector<std::string>& argv, std::string& error);

// The --help text.
const char* ProgramUsage();

}  // namespace mirudex::desktop
