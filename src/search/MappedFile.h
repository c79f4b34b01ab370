#pragma once
// A whole file mapped read-only into memory for one search. Searches that
// look at many lines of a dictionary read them this way instead of seeking
// per line; only the pages looked at are read. The mapping of a file is kept
// for later searches while the file stays the same (device, inode, size and
// modification time): a search after the first finds the pages it touches
// mapped already. At most a few files are kept; any thread.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace mirudex::search {

class MappedFile {
public:
    MappedFile() = default;
    explicit MappedFile(const std::string& path) { Open(path); }
    ~MappedFile();
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // False when the file cannot be opened or mapped (an empty file maps as empty).
    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return open_; }
    std::string_view bytes() const;

    struct Mapping;

private:
    std::shared_ptr<const Mapping> mapping_;
    bool open_ = false;
};

// The line starting at offset in a mapped file, its LF included, when the
// line reader with this buffer size would give the same bytes: the line ends
// in an LF before the file's last byte and fits the buffer. Empty otherwise
// (the reader decides then).
std::string_view PlainLineAt(std::string_view bytes, int64_t offset, int bufferSize);

// The first position at or after from where needle occurs in text with ASCII
// letters compared case-insensitively (needle must be lower case), or npos.
size_t FindCaseInsensitive(std::string_view text, std::string_view needle, size_t from = 0);

}  // namespace mirudex::search
