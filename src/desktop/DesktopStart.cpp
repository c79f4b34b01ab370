#include "desktop/DesktopStart.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "core/Version.h"

namespace mirudex::desktop {

namespace {

// The folder is taken by another Mirudex: hand the request to it, waiting
// up to waitMs for it to name itself and to listen (it may be starting), or
// take the lock when it has let go meanwhile.
void HandOverToFolderHolder(DesktopStart& start, int waitMs)
{
    const std::string& folder = start.folder.choice.folder;
    const std::string ownSocket = start.paths ? start.paths->socket : std::string();
    const InstanceRequest request = start.args.request.value_or(InstanceRequest{});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    std::optional<FolderLockHolder> holder;
    for (;;) {
        holder = ReadFolderLockHolder(folder);
        if (holder && holder->host == ThisHost() && !holder->socket.empty() && holder->socket != ownSocket &&
            SendToRunningInstance(holder->socket, request, 3000) == SendResult::Delivered) {
            start.exitStatus = 0;
            return;
        }
        if (start.folderLock.TryAcquire(folder, ownSocket) != FolderLock::Result::Busy)
            return;  // the other one has ended: this start goes on
        if (std::chrono::steady_clock::now() >= deadline)
            break;
        ::usleep(100 * 1000);
    }
    const std::string who = holder ? "process " + std::to_string(holder->pid) +
                                         (holder->host == ThisHost() ? std::string() : " on " + holder->host)
                                   : std::string("another process");
    start.folderTaken = "Mirudex is already running in the folder " + folder + " (" + who +
                        "), and it cannot be reached to hand this start over to it.\n\nThis Mirudex does not start, "
                        "so that the two do not write their settings, study list and history over each other. Close "
                        "the other Mirudex first, or start this one with another working folder (--workdir).";
    std::fprintf(stderr, "mirudex: %s\n", start.folderTaken.c_str());
}

}  // namespace

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

    switch (start.folderLock.TryAcquire(start.folder.choice.folder, start.paths ? start.paths->socket : "")) {
    case FolderLock::Result::Held: break;
    case FolderLock::Result::Busy: HandOverToFolderHolder(start, kWaitForStartingInstanceMs); break;
    case FolderLock::Result::Failed:
        // A folder the user cannot write to: nothing will be saved there anyway.
        std::fprintf(stderr, "mirudex: cannot lock the working folder %s: %s\n", start.folder.choice.folder.c_str(),
                     std::strerror(start.folderLock.error()));
        break;
    }
}

}  // namespace mirudex::desktop
