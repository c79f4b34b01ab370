#pragma once
// The one way the program reads its text files line by line: dictionaries,
// the kanji dictionary, the radical file, the marker table, the rule file of
// the reverse conjugation, the options file, the history, the study list and
// the update lists all go through it.
//
// A line is everything up to and including its LF; the last line of a file
// counts whether or not it ends with one. Every reader has a longest line it
// takes (for the dictionaries, the line buffer of the options less two
// bytes); a longer line is never cut into pieces or silently dropped: the
// reader reads past all of it and says so (Read::TooLong), so the caller can
// skip it, count it and tell the user.
//
// The file is opened in binary mode (no newline translation) and read in
// large blocks; Tell() gives the byte offset of the next line, which is what
// the indexes store. A read error ends the lines as the end of the file does
// and is kept (Error()), so that a reader can tell a file it read completely
// from one it could not. Text already in memory is read the same way
// (OpenText). Not copyable; closed on destruction. One thread at a time.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace mirudex {

class LineReader {
public:
    enum class Read {
        Line,     // a whole line, its LF included when it has one
        TooLong,  // a line longer than the limit: read past whole; the text holds its beginning
        End,      // nothing was left
    };

    LineReader() = default;
    explicit LineReader(const std::string& path) { Open(path); }
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // False when the file cannot be opened (errno tells why).
    bool Open(const std::string& path);
    // Reads text in memory, which must outlive the reading, as if it were a file.
    void OpenText(std::string_view text);
    void Close();
    bool IsOpen() const { return file_ != nullptr || inMemory_; }
    // The errno of the read that failed, 0 when every read so far worked.
    // After a failure ReadLine gives End.
    int Error() const { return error_; }

    // Moves to a byte offset; false when the file is not open or the seek fails.
    bool Seek(int64_t offset);
    // Offset of the next byte a read returns.
    int64_t Tell() const { return position_; }

    // The next line of 8-bit text. maxBytes is the longest line taken, its
    // LF included. On TooLong, line holds the first maxBytes bytes.
    Read ReadLine(std::string& line, size_t maxBytes);
    // The next line of UTF-16LE text (the file's byte-order mark, if any, is
    // the first unit of the first line). maxUnits counts units, the LF
    // included. An odd byte at the very end of the file is not a unit.
    Read ReadLine(std::u16string& line, size_t maxUnits);

private:
    bool Fill();
    void Reserve(size_t size);

    std::FILE* file_ = nullptr;
    std::string_view text_;  // OpenText
    bool inMemory_ = false;
    int error_ = 0;
    // Never zero-filled: reading a small file touches only the pages it fills
    // of a large block.
    std::unique_ptr<char[]> block_;
    size_t blockSize_ = 0;
    size_t blockPos_ = 0;
    size_t blockEnd_ = 0;
    int64_t position_ = 0;
    bool sequential_ = false;  // large blocks once reading goes on past one fill
};

// The longest line, LF included, that a line buffer of bufferSize bytes
// holds: the program's readers take at most bufferSize - 2 characters.
constexpr size_t LineLimit(int bufferSize) { return bufferSize > 2 ? static_cast<size_t>(bufferSize - 2) : 1; }

// True when line ends with LF.
inline bool EndsWithLineFeed(std::string_view line) { return !line.empty() && line.back() == '\n'; }
// Removes trailing CR and LF characters.
void TrimLineEnd(std::string& line);
void TrimLineEnd(std::u16string& line);

}  // namespace mirudex
