#pragma once
// Reading a file that may be gzip-compressed: compressed files are inflated
// as they are read, others are read as they are. A damaged or cut-short
// compressed file is an error, never a silently shorter text. Not copyable;
// closed on destruction. One thread at a time.

#include <cstdint>
#include <string>

namespace mirudex::dict {

class GzipReader {
public:
    GzipReader() = default;
    ~GzipReader();
    GzipReader(const GzipReader&) = delete;
    GzipReader& operator=(const GzipReader&) = delete;

    // False when the file cannot be opened (error() says why).
    bool Open(const std::string& path);
    void Close();

    // Up to size bytes of text into buffer: the count read, 0 at the end of
    // the text, -1 on an error (error() says what).
    long Read(char* buffer, unsigned size);

    // Whether the file is gzip-compressed (known after Open).
    bool Compressed() const { return compressed_; }
    // Bytes of the file itself read so far, and the file's size: for progress.
    int64_t FileOffset() const;
    int64_t FileSize() const { return fileSize_; }
    // What went wrong, for the user.
    const std::string& error() const { return error_; }

private:
    void* file_ = nullptr;  // gzFile
    bool compressed_ = false;
    int64_t fileSize_ = 0;
    std::string error_;
};

// Whether the first bytes of a file are the gzip magic number.
bool HasGzipMagic(const std::string& path);

// Inflates the whole of a gzip file without keeping it: true when every
// member is complete and its check sums hold. error says what is wrong.
bool CheckGzipFile(const std::string& path, std::string& error);

}  // namespace mirudex::dict
