#include "dict/LineFile.h"

#include <algorithm>
#include <cstring>

namespace mirudex::dict {

namespace {
// After a seek only a small block is read (one entry is usually wanted);
// reading on past it switches to large blocks.
constexpr size_t kSeekBlock = 16 * 1024;
constexpr size_t kSequentialBlock = 512 * 1024;
}  // namespace

LineFile::~LineFile() { Close(); }

bool LineFile::Open(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    position_ = 0;
    blockPos_ = blockEnd_ = 0;
    sequential_ = true;
    return file_ != nullptr;
}

void LineFile::Close()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    blockPos_ = blockEnd_ = 0;
    position_ = 0;
}

bool LineFile::Seek(int64_t offset)
{
    if (!file_ || offset < 0)
        return false;
    // A seek inside the block already read costs nothing.
    const int64_t blockStart = position_ - static_cast<int64_t>(blockPos_);
    if (offset >= blockStart && offset <= blockStart + static_cast<int64_t>(blockEnd_)) {
        blockPos_ = static_cast<size_t>(offset - blockStart);
        position_ = offset;
        return true;
    }
    if (std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        return false;
    position_ = offset;
    blockPos_ = blockEnd_ = 0;
    sequential_ = offset == 0;
    return true;
}

bool LineFile::Fill()
{
    if (!file_)
        return false;
    const size_t want = sequential_ ? kSequentialBlock : kSeekBlock;
    sequential_ = true;
    if (block_.size() < want)
        block_.resize(want);
    blockPos_ = 0;
    blockEnd_ = std::fread(block_.data(), 1, want, file_);
    return blockEnd_ > 0;
}

bool LineFile::ReadLine(std::string& line, int bufferSize)
{
    line.clear();
    const size_t max = bufferSize > 2 ? static_cast<size_t>(bufferSize - 2) : 1;
    while (line.size() < max) {
        if (blockPos_ == blockEnd_ && !Fill())
            return false;
        const char* start = block_.data() + blockPos_;
        const size_t avail = std::min(blockEnd_ - blockPos_, max - line.size());
        const void* lf = std::memchr(start, '\n', avail);
        const size_t take = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) + 1 : avail;
        line.append(start, take);
        blockPos_ += take;
        position_ += static_cast<int64_t>(take);
        if (lf)
            return true;
    }
    return true;
}

bool LineFile::SkipRestOfLine()
{
    for (;;) {
        if (blockPos_ == blockEnd_ && !Fill())
            return false;
        const char* start = block_.data() + blockPos_;
        const size_t avail = blockEnd_ - blockPos_;
        const void* lf = std::memchr(start, '\n', avail);
        const size_t take = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) + 1 : avail;
        blockPos_ += take;
        position_ += static_cast<int64_t>(take);
        if (lf)
            return true;
    }
}

void TrimLineEnd(std::string& line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
}

void CutAfterLastSlash(std::string& line)
{
    while (line.size() > 1 && line.back() != '/')
        line.pop_back();
}

}  // namespace mirudex::dict
