// What mirudex-lookup shares with the desktop program: the working folder and
// the running Mirudex (--show).
#include <fcntl.h>
#include <spawn.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/Commands.h"
#include "desktop/InstanceChannel.h"
#include "desktop/WorkingFolder.h"
#include "dict/SharedIndex.h"

extern char** environ;

namespace mirudex::cli {

int Usage(const std::string& message)
{
    std::fprintf(stderr, "mirudex-lookup: %s\n(mirudex-lookup --help lists the options)\n", message.c_str());
    return 2;
}

bool EnterWorkingFolder(const Arguments& args)
{
    std::string error;
    const auto entered = desktop::EnterWorkingFolder(desktop::FolderInputs::FromEnvironment(args.workdir),
                                                     desktop::DataSources::Installed(), error);
    if (!entered) {
        std::fprintf(stderr, "mirudex-lookup: %s\n", error.c_str());
        return false;
    }
    // The index files the package made for every user, used while they fit.
    dict::SetSharedIndexFolder(desktop::SharedIndexDirectory());
    // What a first preparation could not provide shows up as the look-up's own
    // set-up error (a missing dictionary) or, for the radical file, not at all.
    return true;
}

int RunShow(const Arguments& args)
{
    desktop::InstanceRequest request;
    if (args.haveText) {
        if (!ArgumentText(args.text))
            return 2;
        request = {desktop::InstanceRequest::Kind::Search, args.text};
    }
    std::string error;
    const auto paths = desktop::DefaultInstancePaths(error);
    if (!paths)
        std::fprintf(stderr, "mirudex-lookup: %s\n", error.c_str());
    else if (!paths->note.empty())
        std::fprintf(stderr, "mirudex-lookup: %s\n", paths->note.c_str());
    if (paths) {
        switch (desktop::SendToRunningInstance(paths->socket, request, 3000)) {
        case desktop::SendResult::Delivered: return 0;
        case desktop::SendResult::Failed:
            std::fprintf(stderr, "mirudex-lookup: the running Mirudex did not answer\n");
            return 1;
        case desktop::SendResult::Foreign:
            std::fprintf(stderr, "mirudex-lookup: %s is another user's: nothing was sent\n", paths->socket.c_str());
            return 2;
        case desktop::SendResult::NoInstance: break;
        }
    }
    // None runs: start the program beside this one (installed), else the one on the PATH, on its own,
    // with the same request.
    std::string program = (std::filesystem::path(desktop::ProgramDirectory()) / "mirudex").string();
    std::error_code missing;
    const bool beside = std::filesystem::is_regular_file(program, missing);
    if (!beside)
        program = "mirudex";
    std::vector<std::string> words{program};
    if (args.workdir) {
        words.push_back("--workdir");
        words.push_back(*args.workdir);
    }
    if (args.haveText) {
        words.push_back("--search");
        words.push_back(args.text);
    }
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    // The program outlives this command: it must not hold the caller's terminal or pipes open.
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = beside ? posix_spawn(&pid, program.c_str(), &files, &attributes, argv.data(), environ)
                              : posix_spawnp(&pid, program.c_str(), &files, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (failed) {
        std::fprintf(stderr, "mirudex-lookup: no Mirudex is running, and %s cannot be started\n", program.c_str());
        return 2;
    }
    return 0;
}

}  // namespace mirudex::cli
