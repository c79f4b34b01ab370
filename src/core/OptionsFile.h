#pragma once
// Options.mxreg shared between processes. The desktop program keeps the store
// for its whole run and writes it at exit; meanwhile the terminal tool may
// change the file (an import registers a dictionary). Neither may lose what
// the other wrote:
//
// - Every read-modify-write of the file happens under a lock on a file beside
//   it, "<options file>.lock" (flock: the system lets go of it when the
//   process ends, however it ends). The file itself cannot carry the lock, as
//   every save replaces it with a new file.
// - The desktop program remembers what it read (the baseline). At its save it
//   reads the file again under the lock and takes over every change made
//   there since that this process did not make itself (MergeOutsideChanges),
//   then writes.

#include <string>

#include "core/Registry.h"

namespace mirudex {

class OptionsFileLock {
public:
    OptionsFileLock() = default;
    ~OptionsFileLock();
    OptionsFileLock(const OptionsFileLock&) = delete;
    OptionsFileLock& operator=(const OptionsFileLock&) = delete;

    // Takes the lock of optionsFile, waiting up to timeoutMs for another
    // process to let go of it. False (error() says why: EWOULDBLOCK when the
    // time ran out) when it could not be had.
    bool Acquire(const std::string& optionsFile, int timeoutMs = kDefaultWaitMs);
    void Release();
    bool held() const { return fd_ >= 0; }
    int error() const { return error_; }

    static constexpr int kDefaultWaitMs = 10000;

private:
    int fd_ = -1;
    int error_ = 0;
};

// The name of the lock file of optionsFile.
std::string OptionsLockPath(const std::string& optionsFile);

// Takes into options what onDisk changed since baseline and options did not:
// - a data item that options holds as baseline held it, and onDisk holds
//   otherwise, takes onDisk's value; an item or key that neither options nor
//   baseline has, and onDisk has, is added;
// - the dictionary list (.\Dictionaries\EDICT) is merged by path: a
//   dictionary that onDisk lists and neither options nor baseline knew is
//   appended to options' list under the next number; one that options
//   dropped stays dropped.
// What options changed itself always stays. Logs every item taken over.
// Returns how many items and keys were taken over.
int MergeOutsideChanges(Registry& options, Registry& baseline, Registry& onDisk);

// Writes options to fileName, keeping what others wrote there since this
// process last read or wrote it (baseline): under the lock, the file is read
// again and merged (MergeOutsideChanges) before the store is written. On
// success baseline becomes what was written. False and *error as
// Registry::Save says when the file could not be written.
bool SaveOptionsKeepingOthers(Registry& options, Registry& baseline, const std::string& fileName, int* error = nullptr);

// A copy of the store as Save would write it (comments included).
Registry CopyOfOptions(Registry& options);

}  // namespace mirudex
