#pragma once
// A dictionary-type text file read line by line, the way every reader of the
// program reads its files: a read takes at most (buffer size - 2) bytes of a
// line, through its LF when that fits; a read that reaches the end of the
// file ends the loop, so a last line without a line end is never used.
//
// The file is opened in binary mode (no newline translation) and read in
// large blocks; Tell() gives the byte offset of the next read, which is what
// the indexes store. Not copyable; closed on destruction. One thread at a time.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace mirudex::dict {

class LineFile {
public:
    LineFile() = default;
    explicit LineFile(const std::string& path) { Open(path); }
    ~LineFile();
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    bool Open(const std::string& path);
    void Close();
    bool IsOpen() const { return file_ != nullptr; }

    // Moves to a byte offset; false when the file is not open or the seek fails.
    bool Seek(int64_t offset);
    // Offset of the next byte a read returns.
    int64_t Tell() const { return position_; }

    // Reads one line (or its first bufferSize - 2 bytes) into line, LF
    // included when it was reached. False when the read reached the end of
    // the file; line then holds whatever was read before the end.
    bool ReadLine(std::string& line, int bufferSize);

    // Skips the rest of the current line, through its LF. False at the end of the file.
    bool SkipRestOfLine();

private:
    bool Fill();

    std::FILE* file_ = nullptr;
    std::vector<char> block_;
    size_t blockPos_ = 0;
    size_t blockEnd_ = 0;
    int64_t position_ = 0;
    bool sequential_ = false;  // large blocks once reading goes on past one fill
};

// True when line ends with LF (the read took the whole line).
inline bool EndsWithLineFeed(const std::string& line) { return !line.empty() && line.back() == '\n'; }
// Removes trailing CR and LF characters.
void TrimLineEnd(std::string& line);
// Cuts the line back from its end until its last character is '/', stopping
// when one character is left.
void CutAfterLastSlash(std::string& line);

}  // namespace mirudex::dict
