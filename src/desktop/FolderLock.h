#pragma once
// One desktop program per working folder. The single-instance socket lives in
// the user's runtime folder, so two programs with different runtime folders
// (two logins, another XDG_RUNTIME_DIR) would not see each other, and each
// would write its settings, study list and history over the other's. The
// folder itself therefore carries a lock: "mirudex-folder.lock" in the
// working folder, locked with flock for the program's whole run (the system
// lets go of it when the process ends, however it ends). The file names its
// holder ("<pid>\n<host>\n<socket path>\n") so that a later start can hand
// its request over through the holder's socket.
//
// Its name differs from the single-instance lock's ("mirudex.lock",
// InstanceChannel.h): a runtime folder may be the working folder itself, and
// two locks on one file would refuse the program its own folder. Earlier
// versions named the folder lock "mirudex.lock"; such a file left in a
// working folder is only ever the single-instance lock's now, or nothing.

#include <optional>
#include <string>

namespace mirudex::desktop {

inline constexpr const char* kFolderLockName = "mirudex-folder.lock";

// Who holds a folder's lock, as its file says.
struct FolderLockHolder {
    long pid = 0;
    std::string host;
    std::string socket;  // empty: it listens on no socket
};

class FolderLock {
public:
    FolderLock() = default;
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

    enum class Result {
        Held,    // this process holds it now
        Busy,    // another process holds it
        Failed,  // no lock file can be made there (error() says why)
    };
    // Takes the lock of folder without waiting and names this process (with
    // socketPath, where it will listen) in its file.
    Result TryAcquire(const std::string& folder, const std::string& socketPath);
    bool held() const { return fd_ >= 0; }
    int error() const { return error_; }
    void Release();

private:
    int fd_ = -1;
    int error_ = 0;
};

// What the lock file of folder says of its holder; nothing when it says
// nothing yet (the holder is about to write it) or cannot be read.
std::optional<FolderLockHolder> ReadFolderLockHolder(const std::string& folder);

// This computer's name, as the lock file records it.
std::string ThisHost();

}  // namespace mirudex::desktop
