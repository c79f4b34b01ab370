#include "desktop/DesktopStart.h"

#include <cstdio>

#include "core/Version.h"

namespace mirudex::desktop {

void BeginDesktopStart(const std::vector<std::string>& argv, DesktopStart& start)
{
    std::string error;
    std::optional<ProgramArguments> args = ParseProgramArguments(argv, error);
    if (!args) {
        std::fprintf(stderr, "mirudex: %s\n%s", error.c_str(), ProgramUsage());
        start.exitStatus = 2;
        return;
    }
    start.args = std::move(*args);
    if (start.args.action == ProgramArguments::Action::Help) {
        std::fputs(ProgramUsage(), stdout);
        start.exitStatus = 0;
        return;
    }
    if (start.args.action == ProgramArguments::Action::Version) {
        std::printf("mirudex %s\n", kVersion);
        start.exitStatus = 0;
        return;
    }

    start.paths = DefaultInstancePaths(error);
    if (!start.paths) {
        std::fprintf(stderr, "mirudex: %s; starting without looking for a running Mirudex\n", error.c_str());
    } else {
        if (!start.paths->note.empty())
            std::fprintf(stderr, "mirudex: %s\n", start.paths->note.c_str());
        const InstanceRequest request = start.args.request.value_or(InstanceRequest{});
        switch (ClaimOrHandOver(*start.paths, request, start.lock, kWaitForStartingInstanceMs)) {
        case Claim::HandedOver: start.exitStatus = 0; return;
        case Claim::Unanswered:
            std::fprintf(stderr, "mirudex: a Mirudex is running but does not answer\n");
            start.exitStatus = 1;
            return;
        case Claim::Foreign:
            std::fprintf(stderr, "mirudex: %s is another user's; starting without looking for a running Mirudex\n",
                         start.paths->socket.c_str());
            break;
        case Claim::Listen: break;
        }
    }

    std::optional<EnteredFolder> folder =
        EnterWorkingFolder(FolderInputs::FromEnvironment(start.args.workdir), DataSources::Installed(), error);
    if (!folder) {
        std::fprintf(stderr, "mirudex: %s\n", error.c_str());
        start.exitStatus = 2;
        return;
    }
    start.folder = std::move(*folder);
    for (const std::string& problem : start.folder.preparation.problems)
        std::fprintf(stderr, "mirudex: %s\n", problem.c_str());
}

}  // namespace mirudex::desktop
