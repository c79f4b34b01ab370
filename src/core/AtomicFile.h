#pragma once
// Rewriting a user's file without ever losing it: the new contents go to a
// temporary file in the same directory, which replaces the old file only when
// everything was written and flushed. A failure leaves the old file as it was.
//
// A path that is a symbolic link stays one: the file it points to (followed
// through every link) is the one replaced, and the temporary file lies beside
// that file. The temporary file is named "<name>.XXXXXX~"; one that a crash
// left behind is removed by the next write of the same file, or earlier by
// RemoveLeftoverTemporaries.

#include <cstdio>
#include <string>
#include <string_view>

namespace mirudex {

class AtomicFileWriter {
public:
    AtomicFileWriter() = default;
    ~AtomicFileWriter();  // abandons an uncommitted write
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // Creates the temporary file beside path (or beside the file a link at
    // path points to); false when it cannot be created.
    bool Open(const std::string& path);
    // The stream to write to while open.
    std::FILE* file() const { return file_; }
    bool Write(std::string_view bytes);
    // How much a commit guards against a crash of the whole system.
    enum class Durability {
        // Synced to the disk before it replaces the old file: the user's own data.
        Synced,
        // Not synced: for files derived from others (index files), where a
        // file lost in a system crash is noticed and made again.
        Unsynced,
    };
    // Flushes (and syncs) and renames over the target. False (and the target
    // untouched) when any write failed or the rename fails.
    bool Commit(Durability durability = Durability::Synced);
    void Abandon();

    // The errno of the first step that failed (0 when none did): what a
    // message to the user names as the reason.
    int Error() const { return error_; }

private:
    void Fail(int error);

    std::string target_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    int error_ = 0;
};

// Writes bytes to path through AtomicFileWriter. On failure, *error (when
// given) is the errno of the step that failed.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, int* error = nullptr);

// The file that path names once every symbolic link is followed (relative
// link targets are taken from the link's directory). A path that is no link
// comes back as it is; a link to a file that does not exist yet gives the
// path of that file, which a write then creates.
std::string ResolveLinks(const std::string& path);

// Removes the temporary files that an interrupted rewrite of path left beside
// the file it names. Only regular files named like our temporaries are
// touched: "<name>.XXXXXX~", and "<name>.XXXXXX" as earlier versions named
// them, where the six characters are letters and digits with an upper-case
// letter after the first and a lower-case one (as the system's random names
// almost always have; a person's "<name>.backup" or "<name>.Backup" does not
// qualify). Returns how many were removed.
int RemoveLeftoverTemporaries(const std::string& path);

}  // namespace mirudex
