#pragma once
// Rewriting a user's file without ever losing it: the new contents go to a
// temporary file in the same directory, which replaces the old file only when
// everything was written and flushed. A failure leaves the old file as it was.

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

    // Creates the temporary file beside path; false when it cannot be created.
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

private:
    std::string path_;
    std::string temp_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// Writes bytes to path through AtomicFileWriter.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace mirudex
