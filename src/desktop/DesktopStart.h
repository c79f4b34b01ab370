#pragma once
// The first steps of the desktop program, before Qt starts: read the command
// line (--help, --version and usage errors end here), hand the request to the
// Mirudex already running (this start then ends with status 0), or take the
// instance lock, and enter the working folder. Messages go to the standard
// error; nothing here needs a display.

#include <optional>
#include <string>
#include <vector>

#include "desktop/FolderLock.h"
#include "desktop/InstanceChannel.h"
#include "desktop/ProgramArguments.h"
#include "desktop/WorkingFolder.h"

namespace mirudex::desktop {

struct DesktopStart {
    // 0 or more: the program ends at once with this status.
    int exitStatus = -1;
    ProgramArguments args;
    // Where to listen, when this start holds the lock.
    std::optional<InstancePaths> paths;
    InstanceLock lock;
    EnteredFolder folder;
    // The working folder's lock (one desktop program per folder).
    FolderLock folderLock;
    // Not empty: another Mirudex works in the folder and could not be handed
    // the request. The program says so (through the platform) and ends with
    // status 1, having opened nothing for writing.
    std::string folderTaken;
};

// How long a start waits for another one that holds the lock but is not
// listening yet (it is starting too).
inline constexpr int kWaitForStartingInstanceMs = 5000;

void BeginDesktopStart(const std::vector<std::string>& argv, DesktopStart& start);

}  // namespace mirudex::desktop
