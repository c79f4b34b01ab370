#include "dict/IndexFile.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "core/AtomicFile.h"

namespace mirudex::dict {

namespace {

constexpr size_t kBlockSize = 1 << 20;
// The magic line is read like a text line of at most this many units.
constexpr size_t kMagicLineUnits = 98;
// Smallest entry: two length bytes and the offset.
constexpr int64_t kMinEntryBytes = 6;
constexpr int kStopCheckInterval = 4096;

// Reads a file in large blocks and hands out contiguous byte runs.
class BlockReader {
public:
    explicit BlockReader(std::FILE* file) : file_(file), buffer_(kBlockSize) {}

    // n contiguous bytes (n <= kBlockSize), or nullptr when the file ends first.
    const unsigned char* Take(size_t n)
    {
        if (end_ - pos_ < n && !Refill(n))
            return nullptr;
        const unsigned char* p = buffer_.data() + pos_;
        pos_ += n;
        taken_ += static_cast<int64_t>(n);
        return p;
    }
    // Bytes handed out so far: the file offset of the next Take.
    int64_t taken() const { return taken_; }

private:
    bool Refill(size_t n)
    {
        const size_t left = end_ - pos_;
        std::memmove(buffer_.data(), buffer_.data() + pos_, left);
        pos_ = 0;
        end_ = left;
        while (end_ < n) {
            const size_t got = std::fread(buffer_.data() + end_, 1, buffer_.size() - end_, file_);
            if (got == 0)
                return false;
            end_ += got;
        }
        return true;
    }

    std::FILE* file_;
    std::vector<unsigned char> buffer_;
    size_t pos_ = 0;
    size_t end_ = 0;
    int64_t taken_ = 0;
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

int32_t ReadInt32(const unsigned char* p)
{
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

void AppendInt32(std::string& out, int32_t value)
{
    const auto v = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
                           static_cast<char>((v >> 16) & 0xFF), static_cast<char>((v >> 24) & 0xFF)};
    out.append(bytes, 4);
}

void AppendUnitsTo(std::u16string& pool, const unsigned char* p, size_t units)
{
    const size_t at = pool.size();
    pool.resize(at + units);
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(pool.data() + at, p, units * 2);
    } else {
        for (size_t i = 0; i < units; ++i)
            pool[at + i] = static_cast<char16_t>(p[2 * i] | (p[2 * i + 1] << 8));
    }
}

void AppendUnits(std::string& out, std::u16string_view text)
{
    out.push_back(static_cast<char>(text.size() & 0xFF));
    if constexpr (std::endian::native == std::endian::little) {
        out.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
    } else {
        for (char16_t unit : text) {
            out.push_back(static_cast<char>(unit & 0xFF));
            out.push_back(static_cast<char>(unit >> 8));
        }
    }
}

IndexRead ReadEntries(BlockReader& reader, int32_t count, IndexRecords& out, StopToken stop)
{
    out.records.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
        if (i % kStopCheckInterval == 0 && stop.StopRequested())
            return IndexRead::Stopped;
        IndexRecords::Record record;
        const unsigned char* p = reader.Take(1);
        if (!p)
            return IndexRead::Short;
        size_t units = *p;
        if (!(p = reader.Take(units * 2 + 1)))
            return IndexRead::Short;
        record.word = static_cast<uint32_t>(out.pool.size());
        record.wordLength = static_cast<uint32_t>(units);
        AppendUnitsTo(out.pool, p, units);
        const size_t wordUnits = units;
        const unsigned char* wordBytes = p;
        units = p[units * 2];
        if (!(p = reader.Take(units * 2 + 4)))
            return IndexRead::Short;
        if (units == wordUnits && std::memcmp(p, wordBytes, units * 2) == 0) {
            // Usually a reading-less line: the reading is the word, stored once.
            record.kana = record.word;
        } else {
            record.kana = static_cast<uint32_t>(out.pool.size());
            AppendUnitsTo(out.pool, p, units);
        }
        record.kanaLength = static_cast<uint32_t>(units);
        record.offset = ReadInt32(p + units * 2);
        out.records.push_back(record);
    }
    return IndexRead::Loaded;
}

std::atomic<bool> contentsChecked{true};

// Whether the first `end` bytes of the file have the checksum `expected`.
bool ContentsMatch(std::FILE* file, int64_t end, uint64_t expected)
{
    if (std::fseek(file, 0, SEEK_SET) != 0)
        return false;
    std::vector<char> block(kBlockSize);
    ContentsChecksum checksum;
    for (int64_t left = end; left > 0;) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(left, kBlockSize));
        if (std::fread(block.data(), 1, want, file) != want)
            return false;
        checksum.Add(std::string_view(block.data(), want));
        left -= static_cast<int64_t>(want);
    }
    return checksum.Value() == expected;
}

// Opens the file and checks its magic line, identity and (with checkContents)
// its contents. On Loaded the file is open, fileSize and entriesEnd set.
IndexRead OpenChecked(const std::string& filePath, const IndexIdentity& current, std::string& difference,
                      std::unique_ptr<std::FILE, FileCloser>& file, int64_t& entriesEnd, int64_t& fileSize,
                      bool checkContents)
{
    difference.clear();
    file.reset(std::fopen(filePath.c_str(), "rb"));
    if (!file)
        return IndexRead::Missing;
    std::fseek(file.get(), 0, SEEK_END);
    fileSize = std::ftell(file.get());
    std::fseek(file.get(), 0, SEEK_SET);

    {
        // The first line, read as UTF-16 text through its LF.
        unsigned char head[kMagicLineUnits * 2];
        const size_t got = std::fread(head, 1, sizeof head, file.get());
        std::u16string first;
        for (size_t i = 0; i + 1 < got; i += 2) {
            const auto unit = static_cast<char16_t>(head[i] | (head[i + 1] << 8));
            first.push_back(unit);
            if (unit == u'\n')
                break;
        }
        if (first != kIndexMagic) {
            // A file cut short within the magic (an empty one) is damaged, not another program's.
            const bool cutMagic = got < kIndexMagic.size() * 2 && std::memcmp(head,
                                                                              "M\0X\0I\0"
                                                                              "3\0\n\0",
                                                                              got) == 0;
            return cutMagic ? IndexRead::Damaged : IndexRead::WrongMagic;
        }
    }

    // What the index was made from decides before its entries are read.
    const auto found = ReadIdentityTrailer(file.get(), fileSize);
    if (!found)
        return IndexRead::NoIdentity;
    difference = IdentityDifference(found->identity, current);
    if (!difference.empty())
        return IndexRead::OtherSource;
    entriesEnd = fileSize - static_cast<int64_t>(found->trailerBytes);
    const int64_t header = static_cast<int64_t>(kIndexMagic.size() * 2 + 4);
    if (entriesEnd < header)
        return IndexRead::Short;
    if (checkContents && !ContentsMatch(file.get(), entriesEnd, found->contents)) {
        difference = "contents checksum";
        return IndexRead::Damaged;
    }
    return IndexRead::Loaded;
}

}  // namespace

IndexRead CheckIndexFile(const std::string& filePath, const IndexIdentity& current, std::string& difference,
                         int64_t& fileSize, bool checkContents)
{
    std::unique_ptr<std::FILE, FileCloser> file;
    int64_t entriesEnd = 0;
    return OpenChecked(filePath, current, difference, file, entriesEnd, fileSize, checkContents);
}

void SetContentsChecked(bool checked) { contentsChecked = checked; }
bool ContentsChecked() { return contentsChecked; }

IndexRead ReadIndexFile(const std::string& filePath, IndexRecords& records, const IndexIdentity& current,
                        std::string& difference, StopToken stop)
{
    records = IndexRecords();
    std::unique_ptr<std::FILE, FileCloser> file;
    int64_t entriesEnd = 0, fileSize = 0;
    // A damaged index file is never read into records (nor copied into a companion).
    if (const IndexRead checked = OpenChecked(filePath, current, difference, file, entriesEnd, fileSize, true);
        checked != IndexRead::Loaded)
        return checked;

    const int64_t header = static_cast<int64_t>(kIndexMagic.size() * 2 + 4);
    if (std::fseek(file.get(), static_cast<long>(header - 4), SEEK_SET) != 0)
        return IndexRead::Short;
    BlockReader reader(file.get());
    const unsigned char* p = reader.Take(4);
    if (!p)
        return IndexRead::Short;
    const int32_t count = ReadInt32(p);
    // A count the file cannot hold is rejected before anything is allocated.
    if (count < 0 || (entriesEnd - header) / kMinEntryBytes < count)
        return IndexRead::Short;

    const IndexRead result = ReadEntries(reader, count, records, stop);
    // The entries must end exactly where the identity begins.
    if (result != IndexRead::Loaded || header - 4 + reader.taken() != entriesEnd) {
        records = IndexRecords();
        return result == IndexRead::Loaded ? IndexRead::Short : result;
    }
    return IndexRead::Loaded;
}

bool WriteIndexFile(AtomicFileWriter& writer, const IndexTable& entries, const IndexIdentity& identity)
{
    std::string out;
    out.reserve(kBlockSize + 1024);
    ContentsChecksum checksum;
    AppendUnits(out, kIndexMagic);
    out.erase(0, 1);  // the magic has no length byte
    AppendInt32(out, static_cast<int32_t>(entries.size()));
    for (const IndexEntry entry : entries) {
        AppendUnits(out, entry.word);
        AppendUnits(out, entry.kana);
        AppendInt32(out, static_cast<int32_t>(entry.offset));
        if (out.size() >= kBlockSize) {
            checksum.Add(out);
            if (!writer.Write(out))
                return false;
            out.clear();
        }
    }
    checksum.Add(out);
    out += IdentityTrailer(identity, checksum.Value());
    return writer.Write(out);
}

}  // namespace mirudex::dict
