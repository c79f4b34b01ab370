#include "dict/GzipReader.h"

#include <zlib.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>
#include <vector>

#include <sys/stat.h>

namespace mirudex::dict {

namespace {

gzFile File(void* file) { return static_cast<gzFile>(file); }

constexpr unsigned kInternalBuffer = 256 * 1024;

}  // namespace

GzipReader::~GzipReader() { Close(); }

bool GzipReader::Open(const std::string& path)
{
    Close();
    error_.clear();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error_ = std::error_code(errno, std::generic_category()).message();
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error_ = "not a regular file";
        return false;
    }
    fileSize_ = info.st_size;
    compressed_ = HasGzipMagic(path);
    errno = 0;
    gzFile file = gzopen(path.c_str(), "rb");
    if (!file) {
        error_ = errno ? std::error_code(errno, std::generic_category()).message() : "cannot be opened";
        return false;
    }
    gzbuffer(file, kInternalBuffer);
    file_ = file;
    return true;
}

void GzipReader::Close()
{
    if (file_)
        gzclose_r(File(file_));
    file_ = nullptr;
}

long GzipReader::Read(char* buffer, unsigned size)
{
    if (!file_)
        return -1;
    const int read = gzread(File(file_), buffer, size);
    int status = Z_OK;
    const char* message = gzerror(File(file_), &status);
    // A cut-short compressed file reads like its end with Z_BUF_ERROR set.
    if (read < 0 || (status != Z_OK && (read == 0 || status != Z_BUF_ERROR))) {
        error_ = status == Z_BUF_ERROR ? "the compressed file ends before its end (it is cut short)"
                                       : std::string("the compressed file is damaged (") + message + ")";
        return -1;
    }
    return read;
}

int64_t GzipReader::FileOffset() const { return file_ ? static_cast<int64_t>(gzoffset(File(file_))) : 0; }

bool HasGzipMagic(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    unsigned char magic[2] = {0, 0};
    in.read(reinterpret_cast<char*>(magic), 2);
    return in.gcount() == 2 && magic[0] == 0x1f && magic[1] == 0x8b;
}

bool CheckGzipFile(const std::string& path, std::string& error)
{
    if (!HasGzipMagic(path)) {
        error = "it is not a gzip-compressed file";
        return false;
    }
    GzipReader reader;
    if (!reader.Open(path)) {
        error = reader.error();
        return false;
    }
    std::vector<char> block(1 << 16);
    for (;;) {
        const long read = reader.Read(block.data(), static_cast<unsigned>(block.size()));
        if (read < 0) {
            error = reader.error();
            return false;
        }
        if (read == 0)
            return true;
    }
}

}  // namespace mirudex::dict
