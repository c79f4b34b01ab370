#include "core/LineReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace mirudex {

namespace {
// After opening or a seek only a small block is read (one line, or the few
// that tell a file's form, is often all that is wanted); reading on past it
// switches to large blocks.
constexpr size_t kSeekBlock = 16 * 1024;
constexpr size_t kSequentialBlock = 512 * 1024;
}  // namespace

LineReader::~LineReader() { Close(); }

bool LineReader::Open(const std::string& path)
{
    Close();
    file_ = std::fopen(path.c_str(), "rb");
    position_ = 0;
    blockPos_ = blockEnd_ = 0;
    sequential_ = false;
    return file_ != nullptr;
}

void LineReader::OpenText(std::string_view text)
{
    Close();
    text_ = text;
    inMemory_ = true;
    sequential_ = true;
}

void LineReader::Close()
{
    if (file_) {
        std::fclose(file_);
        file_ = nullptr;
    }
    text_ = {};
    inMemory_ = false;
    error_ = 0;
    blockPos_ = blockEnd_ = 0;
    position_ = 0;
}

bool LineReader::Seek(int64_t offset)
{
    if (!IsOpen() || offset < 0)
        return false;
    // A seek inside the block already read costs nothing.
    const int64_t blockStart = position_ - static_cast<int64_t>(blockPos_);
    if (offset >= blockStart && offset <= blockStart + static_cast<int64_t>(blockEnd_)) {
        blockPos_ = static_cast<size_t>(offset - blockStart);
        position_ = offset;
        return true;
    }
    if (inMemory_ ? offset > static_cast<int64_t>(text_.size())
                  : std::fseek(file_, static_cast<long>(offset), SEEK_SET) != 0)
        return false;
    position_ = offset;
    blockPos_ = blockEnd_ = 0;
    sequential_ = offset == 0;
    return true;
}

void LineReader::Reserve(size_t size)
{
    // What the block held is not kept: it is filled again at once.
    if (blockSize_ < size) {
        block_ = std::make_unique_for_overwrite<char[]>(size);
        blockSize_ = size;
    }
}

bool LineReader::Fill()
{
    if (error_ != 0)
        return false;
    if (inMemory_) {
        // The next line starts at position_: the text is its own block.
        const size_t at = static_cast<size_t>(position_);
        blockPos_ = 0;
        blockEnd_ = text_.size() - std::min(at, text_.size());
        Reserve(std::min(blockEnd_, kSequentialBlock));
        blockEnd_ = std::min(blockEnd_, blockSize_);
        if (blockEnd_ == 0)
            return false;  // the end of the text (an empty one has no data pointer at all)
        std::memcpy(block_.get(), text_.data() + at, blockEnd_);
        return true;
    }
    if (!file_)
        return false;
    const size_t want = sequential_ ? kSequentialBlock : kSeekBlock;
    sequential_ = true;
    Reserve(want);
    blockPos_ = 0;
    errno = 0;
    blockEnd_ = std::fread(block_.get(), 1, want, file_);
    if (blockEnd_ < want && std::ferror(file_))
        error_ = errno != 0 ? errno : EIO;
    return blockEnd_ > 0;
}

LineReader::Read LineReader::ReadLine(std::string& line, size_t maxBytes)
{
    line.clear();
    const size_t max = std::max<size_t>(maxBytes, 1);
    size_t length = 0;  // of the whole line, also past what is kept
    for (;;) {
        if (blockPos_ == blockEnd_ && !Fill())
            break;
        const char* start = block_.get() + blockPos_;
        const size_t avail = blockEnd_ - blockPos_;
        const void* lf = std::memchr(start, '\n', avail);
        const size_t take = lf ? static_cast<size_t>(static_cast<const char*>(lf) - start) + 1 : avail;
        if (line.size() < max)
            line.append(start, std::min(take, max - line.size()));
        length += take;
        blockPos_ += take;
        position_ += static_cast<int64_t>(take);
        if (lf)
            break;
    }
    if (length == 0)
        return Read::End;
    return length > max ? Read::TooLong : Read::Line;
}

LineReader::Read LineReader::ReadLine(std::u16string& line, size_t maxUnits)
{
    line.clear();
    const size_t max = std::max<size_t>(maxUnits, 1);
    size_t length = 0;
    int low = -1;  // the first byte of a unit whose second byte is in the next block
    for (;;) {
        if (blockPos_ == blockEnd_ && !Fill())
            break;
        const auto byte = static_cast<unsigned char>(block_[blockPos_++]);
        ++position_;
        if (low < 0) {
            low = byte;
            continue;
        }
        const auto unit = static_cast<char16_t>(low | (byte << 8));
        low = -1;
        if (line.size() < max)
            line.push_back(unit);
        ++length;
        if (unit == u'\n')
            break;
    }
    if (length == 0)
        return Read::End;
    return length > max ? Read::TooLong : Read::Line;
}

void TrimLineEnd(std::string& line)
{
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
}

void TrimLineEnd(std::u16string& line)
{
    while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r'))
        line.pop_back();
}

}  // namespace mirudex
