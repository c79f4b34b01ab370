#include "dict/IndexTable.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <numeric>
#include <type_traits>
#include <unordered_map>
#include <utility>

#include "dict/Edict2Line.h"
#include "dict/IndexIdentity.h"
#include "dict/Relevance.h"
#include "text/CharClass.h"

namespace mirudex::dict {

static_assert(std::endian::native == std::endian::little, "the index image is read in place as little-endian");

namespace {

enum Section : size_t {
    kWordSortedSamples,
    kKanaSortedSamples,
    kWordReversedSamples,
    kKanaReversedSamples,
    kRecords,
    kPool,
    kWordSorted,
    kKanaSorted,
    kWordReversed,
    kKanaReversed,
    kWordGramKeys,
    kWordGramStarts,
    kWordGramPostings,
    kKanaGramKeys,
    kKanaGramStarts,
    kKanaGramPostings,
    kTokenText,
    kTokenStarts,
    kTokenPostingStarts,
    kTokenPostings,
    kTokenReversed,
    kWordSortedKeys,
    kKanaSortedKeys,
    kWordReversedKeys,
    kKanaReversedKeys,
    kTokenPostingRanks,  // one byte per posting: the word's rank in that line plus the entry's own (Relevance.h)
    kRecordRanks,        // two bytes per record: the entry's own rank (Relevance.h)
    kSectionCount
};

// A sorted permutation's keys: the first four folded units of each text
// (read backwards for the backwards orders), the first in the high bits,
// a missing unit 0. Their numeric order is the texts' order as far as four
// units go, so a lookup reads the texts only to go further. Every
// kSampleStride-th key is kept again in a small section near the header: a
// lookup searches the samples and then one block of keys. (Every page of a
// mapping that is touched counts as memory in use, and the page cache hands
// out large pages: the fewer places a lookup touches the better.)
constexpr size_t kKeyUnits = 4;
constexpr size_t kSampleStride = 256;
using Key = uint64_t;

Key PackKey(std::u16string_view text, bool reversed)
{
    Key key = 0;
    for (size_t i = 0; i < kKeyUnits; ++i) {
        key <<= 16;
        if (i < text.size())
            key |= text::ToKatakana(reversed ? text[text.size() - 1 - i] : text[i]);
    }
    return key;
}

constexpr size_t kStructuresAt = kCompanionIndexSizeAt + 8;
constexpr size_t kSectionTableAt = kStructuresAt + 8;
constexpr size_t kSectionEntryBytes = 24;  // offset, size, checksum
constexpr size_t kHeaderBytes = kSectionTableAt + kSectionCount * kSectionEntryBytes;
// checked_'s bit for the records and their texts.
constexpr unsigned kRecordsChecked = 1u << 16;

// The sections of each group of structures.
struct Group {
    unsigned bit;
    std::initializer_list<Section> sections;
};
const Group kGroups[] = {
    {kSortedOrders,
     {kWordSortedSamples, kKanaSortedSamples, kWordReversedSamples, kKanaReversedSamples, kWordSorted, kKanaSorted,
      kWordReversed, kKanaReversed, kWordSortedKeys, kKanaSortedKeys, kWordReversedKeys, kKanaReversedKeys}},
    {kGramPostings,
     {kWordGramKeys, kWordGramStarts, kWordGramPostings, kKanaGramKeys, kKanaGramStarts, kKanaGramPostings}},
    {kEnglishWords,
     {kTokenText, kTokenStarts, kTokenPostingStarts, kTokenPostings, kTokenReversed, kTokenPostingRanks}},
    {kRanks, {kRecordRanks}},
};

struct StoredRecord {
    uint64_t offset;
    uint32_t word;
    uint32_t wordLength;
    uint32_t kana;
    uint32_t kanaLength;
};
static_assert(sizeof(StoredRecord) == 24);

class OwnedImage final : public IndexImage {
public:
    explicit OwnedImage(std::string data) : data_(std::move(data)) {}
    std::string_view bytes() const override { return data_; }

private:
    std::string data_;
};

// A mapped file; the file stays open so that checksums are read through it
// rather than through the mapping (pages read through the mapping stay
// resident, and a check reads every page of what it checks).
class MappedImage final : public IndexImage {
public:
    MappedImage(void* map, size_t size, int fd) : map_(map), size_(size), fd_(fd) {}
    ~MappedImage() override
    {
        if (map_)
            ::munmap(map_, size_);
        if (fd_ >= 0)
            ::close(fd_);
    }
    std::string_view bytes() const override { return {static_cast<const char*>(map_), size_}; }
    uint64_t Checksum(size_t offset, size_t size) const override
    {
        if (fd_ < 0 || offset > size_ || size > size_ - offset)
            return IndexImage::Checksum(offset, size);
        constexpr size_t kBlock = 1 << 18;
        std::vector<char> block(std::min(size, kBlock));
        ContentsChecksum checksum;
        for (size_t done = 0; done < size;) {
            const ssize_t got =
                ::pread(fd_, block.data(), std::min(size - done, kBlock), static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return ~IndexImage::Checksum(offset, size);  // unreadable: never a match
            checksum.Add(std::string_view(block.data(), static_cast<size_t>(got)));
            done += static_cast<size_t>(got);
        }
        return checksum.Value();
    }

private:
    void* map_;
    size_t size_;
    int fd_;
};

template <typename T>
std::span<const T> As(std::string_view section)
{
    return {reinterpret_cast<const T*>(section.data()), section.size() / sizeof(T)};
}

uint32_t Load32(const char* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}
uint64_t Load64(const char* p)
{
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
}

// Compares a, folded to katakana, against b (already folded), both read
// backwards; prefix: only the first b.size() units of a's backwards text count.
int CompareBackwards(std::u16string_view a, std::u16string_view b, bool prefix)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = text::ToKatakana(a[a.size() - 1 - i]);
        const char16_t y = b[b.size() - 1 - i];
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (prefix && a.size() >= b.size())
        return 0;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Compares a, folded to katakana, against b (already folded): 0 when a starts with b.
int ComparePrefix(std::u16string_view a, std::u16string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const char16_t x = text::ToKatakana(a[i]);
        if (x != b[i])
            return x < b[i] ? -1 : 1;
    }
    return a.size() >= b.size() ? 0 : -1;
}

int CompareBytesPrefix(std::string_view a, std::string_view b)
{
    const size_t n = std::min(a.size(), b.size());
    const int c = n == 0 ? 0 : std::memcmp(a.data(), b.data(), n);
    if (c != 0)
        return c < 0 ? -1 : 1;
    return a.size() >= b.size() ? 0 : -1;
}

int CompareBytesBackwards(std::string_view a, std::string_view b, bool prefix)
{
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(a[a.size() - 1 - i]);
        const auto y = static_cast<unsigned char>(b[b.size() - 1 - i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (prefix && a.size() >= b.size())
        return 0;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace

// ---------------------------------------------------------------- reading

uint64_t IndexImage::Checksum(size_t offset, size_t size) const
{
    const std::string_view all = bytes();
    if (offset > all.size())
        return ChecksumOf({});
    return ChecksumOf(all.substr(offset, size));
}

bool IndexTable::Adopt(std::shared_ptr<const IndexImage> image, bool built)
{
    *this = IndexTable();
    if (!image)
        return false;
    const std::string_view bytes = image->bytes();
    if (bytes.size() < kHeaderBytes || bytes.substr(0, 8) != kCompanionMagic ||
        Load32(bytes.data() + 8) != kCompanionVersion)
        return false;
    const size_t count = Load32(bytes.data() + 12);
    const uint64_t structures = Load64(bytes.data() + kStructuresAt);
    if (structures > kAllStructures)
        return false;
    std::string_view sections[kSectionCount];
    uint64_t checksums[kSectionCount];
    for (size_t s = 0; s < kSectionCount; ++s) {
        const char* entry = bytes.data() + kSectionTableAt + s * kSectionEntryBytes;
        const uint64_t offset = Load64(entry);
        const uint64_t size = Load64(entry + 8);
        checksums[s] = Load64(entry + 16);
        if (offset % 8 != 0 || offset < kHeaderBytes || offset > bytes.size() || size > bytes.size() - offset)
            return false;
        sections[s] = bytes.substr(offset, size);
    }
    // A group that is missing has nothing in its sections.
    for (const Group& g : kGroups)
        if (!(structures & g.bit))
            for (Section s : g.sections)
                if (!sections[s].empty())
                    return false;
    auto words = [&](size_t s) { return sections[s].size() / 4; };
    bool fits = sections[kRecords].size() == count * sizeof(StoredRecord) && sections[kPool].size() % 2 == 0;
    if (structures & kSortedOrders) {
        fits = fits && sections[kWordSorted].size() == count * 4 && sections[kKanaSorted].size() == count * 4 &&
               sections[kWordReversed].size() == count * 4 && sections[kKanaReversed].size() == count * 4 &&
               sections[kWordSortedKeys].size() == count * sizeof(Key) &&
               sections[kKanaSortedKeys].size() == count * sizeof(Key) &&
               sections[kWordReversedKeys].size() == count * sizeof(Key) &&
               sections[kKanaReversedKeys].size() == count * sizeof(Key);
        for (size_t k = 0; k < 4; ++k)
            if (sections[kWordSortedSamples + k].size() != (count + kSampleStride - 1) / kSampleStride * sizeof(Key))
                return false;
    }
    if (structures & kGramPostings)
        fits = fits && words(kWordGramStarts) == words(kWordGramKeys) + 1 &&
               words(kKanaGramStarts) == words(kKanaGramKeys) + 1;
    if (structures & kEnglishWords)
        fits = fits && words(kTokenStarts) == words(kTokenPostingStarts) &&
               (words(kTokenStarts) == 0 || words(kTokenReversed) + 1 == words(kTokenStarts)) &&
               sections[kTokenPostingRanks].size() == sections[kTokenPostings].size() / 4;
    if (structures & kRanks)
        fits = fits && sections[kRecordRanks].size() == count * 2;
    for (size_t s = kWordSorted; s < kTokenPostingRanks && fits; ++s)
        if (s != kTokenText && sections[s].size() % 4 != 0)
            return false;
    if (!fits)
        return false;
    image_ = std::move(image);
    count_ = count;
    indexFileSize_ = Load64(bytes.data() + kCompanionIndexSizeAt);
    std::copy(std::begin(sections), std::end(sections), sections_);
    std::copy(std::begin(checksums), std::end(checksums), checksums_);
    checked_ = built ? kAllStructures | kRecordsChecked : 0;
    tokenCount_ = words(kTokenStarts) == 0 ? 0 : words(kTokenStarts) - 1;
    structures_ = static_cast<unsigned>(structures);
    return true;
}

bool IndexTable::SwapForCopy(std::shared_ptr<const IndexImage> copy)
{
    if (!image_ || !copy)
        return false;
    const std::string_view held = image_->bytes();
    const std::string_view other = copy->bytes();
    // The header holds every section's place, size and checksum: the same
    // header (but for the index file's size, written in with the file)
    // stands for the same image.
    constexpr size_t kAfterIndexSize = kCompanionIndexSizeAt + 8;
    if (held.size() < kHeaderBytes || other.size() < held.size() ||
        held.substr(0, kCompanionIndexSizeAt) != other.substr(0, kCompanionIndexSizeAt) ||
        held.substr(kAfterIndexSize, kHeaderBytes - kAfterIndexSize) !=
            other.substr(kAfterIndexSize, kHeaderBytes - kAfterIndexSize))
        return false;
    auto retired = std::move(retired_);
    const unsigned checked = checked_;
    auto previous = image_;
    if (!Adopt(std::move(copy), true)) {
        Adopt(std::move(previous), true);
        checked_ = checked;
        retired_ = std::move(retired);
        return false;
    }
    checked_ = checked;
    retired_ = std::move(retired);
    return true;
}

namespace {

bool SectionIntact(const IndexImage& image, std::string_view section, uint64_t checksum)
{
    const auto offset = static_cast<size_t>(section.data() - image.bytes().data());
    return image.Checksum(offset, section.size()) == checksum;
}

}  // namespace

bool IndexTable::VerifyRecords()
{
    if (!image_ || (checked_ & kRecordsChecked))
        return true;
    if (!SectionIntact(*image_, sections_[kRecords], checksums_[kRecords]) ||
        !SectionIntact(*image_, sections_[kPool], checksums_[kPool]))
        return false;
    checked_ |= kRecordsChecked;
    return true;
}

unsigned IndexTable::DropDamaged(unsigned structures)
{
    unsigned dropped = 0;
    if (!image_)
        return 0;
    for (const Group& g : kGroups) {
        if (!(structures & structures_ & g.bit) || (checked_ & g.bit))
            continue;
        bool intact = true;
        for (Section s : g.sections)
            intact = intact && SectionIntact(*image_, sections_[s], checksums_[s]);
        if (intact) {
            checked_ |= g.bit;
            continue;
        }
        for (Section s : g.sections)
            sections_[s] = {};
        structures_ &= ~g.bit;
        dropped |= g.bit;
        if (g.bit == kEnglishWords)
            tokenCount_ = 0;
    }
    return dropped;
}

std::u16string_view IndexTable::Text(uint32_t start, uint32_t length) const
{
    const auto pool = As<char16_t>(sections_[kPool]);
    if (start > pool.size() || length > pool.size() - start)
        return {};
    return {pool.data() + start, length};
}

IndexEntry IndexTable::operator[](size_t i) const
{
    StoredRecord r;
    std::memcpy(&r, sections_[kRecords].data() + i * sizeof(StoredRecord), sizeof r);
    return IndexEntry{Text(r.word, r.wordLength), Text(r.kana, r.kanaLength), static_cast<int64_t>(r.offset)};
}

IndexEntry IndexTable::at(size_t i) const { return i < count_ ? (*this)[i] : IndexEntry{}; }

std::u16string_view IndexTable::FoldedText(uint32_t record, Field field) const
{
    if (record >= count_)
        return {};
    StoredRecord r;
    std::memcpy(&r, sections_[kRecords].data() + record * sizeof(StoredRecord), sizeof r);
    return field == Field::Word ? Text(r.word, r.wordLength) : Text(r.kana, r.kanaLength);
}

std::span<const uint32_t> IndexTable::Sorted(Field field, bool reversed) const
{
    const Section s = reversed ? (field == Field::Word ? kWordReversed : kKanaReversed)
                               : (field == Field::Word ? kWordSorted : kKanaSorted);
    return As<uint32_t>(sections_[s]);
}

namespace {

// The first position whose key is not below `key` (upper: above), found
// through the samples and then within one block of keys.
size_t Bound(std::span<const Key> samples, std::span<const Key> keys, Key key, bool upper)
{
    auto below = [&](Key k) { return upper ? k <= key : k < key; };
    const size_t j = static_cast<size_t>(std::partition_point(samples.begin(), samples.end(), below) - samples.begin());
    const size_t from = j == 0 ? 0 : std::min((j - 1) * kSampleStride, keys.size());
    const size_t to = std::min(j * kSampleStride, keys.size());
    return static_cast<size_t>(std::partition_point(keys.begin() + static_cast<std::ptrdiff_t>(from),
                                                    keys.begin() + static_cast<std::ptrdiff_t>(to), below) -
                               keys.begin());
}

}  // namespace

std::pair<size_t, size_t> IndexTable::KeyRange(Field field, bool reversed, uint64_t low, uint64_t high) const
{
    const size_t which = (reversed ? 2 : 0) + (field == Field::Word ? 0 : 1);
    const auto samples = As<Key>(sections_[kWordSortedSamples + which]);
    const auto keys = As<Key>(sections_[kWordSortedKeys + which]);
    return {Bound(samples, keys, low, false), Bound(samples, keys, high, true)};
}

std::pair<size_t, size_t> IndexTable::PrefixRange(Field field, std::u16string_view folded, bool reversed) const
{
    const auto sorted = Sorted(field, reversed);
    // The keys narrow the range to the texts that agree with the first
    // units; only a longer text is compared beyond them.
    const size_t known = std::min(folded.size(), kKeyUnits);
    const Key low = PackKey(folded, reversed);
    const Key high = known == 0 ? ~Key{0} : low | (known == kKeyUnits ? 0 : (Key{1} << (16 * (kKeyUnits - known))) - 1);
    const auto [lo, hi] = KeyRange(field, reversed, low, high);
    if (folded.size() <= kKeyUnits || lo >= hi)
        return {lo, hi};
    auto cmp = [&](uint32_t record) {
        const std::u16string_view text = FoldedText(record, field);
        return reversed ? CompareBackwards(text, folded, true) : ComparePrefix(text, folded);
    };
    const auto first = sorted.begin() + static_cast<std::ptrdiff_t>(lo);
    const auto last = sorted.begin() + static_cast<std::ptrdiff_t>(hi);
    const auto from = std::partition_point(first, last, [&](uint32_t r) { return cmp(r) < 0; });
    const auto to = std::partition_point(from, last, [&](uint32_t r) { return cmp(r) <= 0; });
    return {static_cast<size_t>(from - sorted.begin()), static_cast<size_t>(to - sorted.begin())};
}

namespace {

std::vector<uint32_t> Collect(std::span<const uint32_t> sorted, std::pair<size_t, size_t> range, size_t count)
{
    std::vector<uint32_t> out;
    out.reserve(range.second - range.first);
    for (size_t i = range.first; i < range.second; ++i)
        if (sorted[i] < count)
            out.push_back(sorted[i]);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

}  // namespace

std::vector<uint32_t> IndexTable::Exact(Field field, std::u16string_view folded) const
{
    if (folded.size() < kKeyUnits) {
        // A shorter text is all in its key: equal keys are equal texts.
        const Key key = PackKey(folded, false);
        return Collect(Sorted(field, false), KeyRange(field, false, key, key), count_);
    }
    std::vector<uint32_t> out = Prefix(field, folded);
    std::erase_if(out, [&](uint32_t r) { return FoldedText(r, field).size() != folded.size(); });
    return out;
}

std::vector<uint32_t> IndexTable::Prefix(Field field, std::u16string_view folded) const
{
    return Collect(Sorted(field, false), PrefixRange(field, folded, false), count_);
}

std::vector<uint32_t> IndexTable::Suffix(Field field, std::u16string_view folded) const
{
    return Collect(Sorted(field, true), PrefixRange(field, folded, true), count_);
}

size_t IndexTable::PrefixCount(Field field, std::u16string_view folded) const
{
    const auto range = PrefixRange(field, folded, false);
    return range.second - range.first;
}

size_t IndexTable::SuffixCount(Field field, std::u16string_view folded) const
{
    const auto range = PrefixRange(field, folded, true);
    return range.second - range.first;
}

std::span<const uint32_t> IndexTable::Grams(Field field, char16_t first, char16_t second) const
{
    const bool word = field == Field::Word;
    const auto keys = As<uint32_t>(sections_[word ? kWordGramKeys : kKanaGramKeys]);
    const auto starts = As<uint32_t>(sections_[word ? kWordGramStarts : kKanaGramStarts]);
    const auto postings = As<uint32_t>(sections_[word ? kWordGramPostings : kKanaGramPostings]);
    const uint32_t key = (static_cast<uint32_t>(first) << 16) | second;
    const auto it = std::lower_bound(keys.begin(), keys.end(), key);
    if (it == keys.end() || *it != key)
        return {};
    const size_t k = static_cast<size_t>(it - keys.begin());
    const uint32_t begin = starts[k];
    const uint32_t end = starts[k + 1];
    if (begin > end || end > postings.size())
        return {};
    return postings.subspan(begin, end - begin);
}

std::string_view IndexTable::Token(uint32_t t) const
{
    const auto starts = As<uint32_t>(sections_[kTokenStarts]);
    const std::string_view text = sections_[kTokenText];
    if (t >= tokenCount_)
        return {};
    const uint32_t begin = starts[t];
    const uint32_t end = starts[t + 1];
    if (begin > end || end > text.size())
        return {};
    return text.substr(begin, end - begin);
}

std::span<const uint32_t> IndexTable::TokenPostings(uint32_t t) const
{
    const auto starts = As<uint32_t>(sections_[kTokenPostingStarts]);
    const auto postings = As<uint32_t>(sections_[kTokenPostings]);
    if (t >= tokenCount_)
        return {};
    const uint32_t begin = starts[t];
    const uint32_t end = starts[t + 1];
    if (begin > end || end > postings.size())
        return {};
    return postings.subspan(begin, end - begin);
}

std::pair<uint32_t, uint32_t> IndexTable::TokenRange(std::string_view prefix, bool reversed) const
{
    const auto order = As<uint32_t>(sections_[kTokenReversed]);
    auto tokenAt = [&](uint32_t i) { return Token(reversed ? (i < order.size() ? order[i] : ~0u) : i); };
    auto cmp = [&](uint32_t i) {
        const std::string_view t = tokenAt(i);
        return reversed ? CompareBytesBackwards(t, prefix, true) : CompareBytesPrefix(t, prefix);
    };
    uint32_t lo = 0, hi = static_cast<uint32_t>(tokenCount_);
    while (lo < hi) {
        const uint32_t mid = lo + (hi - lo) / 2;
        if (cmp(mid) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    uint32_t end = lo;
    hi = static_cast<uint32_t>(tokenCount_);
    while (end < hi) {
        const uint32_t mid = end + (hi - end) / 2;
        if (cmp(mid) <= 0)
            end = mid + 1;
        else
            hi = mid;
    }
    return {lo, end};
}

std::span<const uint32_t> IndexTable::WordPostings(std::string_view word) const
{
    return WordPostingsRanked(word).postings;
}

IndexTable::RankedPostings IndexTable::WordPostingsRanked(std::string_view word) const
{
    const auto [lo, hi] = TokenRange(word, false);
    for (uint32_t t = lo; t < hi; ++t)
        if (Token(t) == word) {
            const auto postings = TokenPostings(t);
            return {postings, RanksOf(postings)};
        }
    return {};
}

std::span<const uint8_t> IndexTable::RanksOf(std::span<const uint32_t> postings) const
{
    const auto all = As<uint32_t>(sections_[kTokenPostings]);
    const auto ranks = As<uint8_t>(sections_[kTokenPostingRanks]);
    if (postings.empty() || postings.data() < all.data() || postings.data() + postings.size() > all.data() + all.size())
        return {};
    const size_t at = static_cast<size_t>(postings.data() - all.data());
    if (at + postings.size() > ranks.size())
        return {};
    return ranks.subspan(at, postings.size());
}

uint16_t IndexTable::EntryRank(size_t record) const
{
    const auto ranks = As<uint16_t>(sections_[kRecordRanks]);
    return record < ranks.size() ? ranks[record] : 0;
}

void IndexTable::WordsStartingWith(std::string_view text, std::vector<std::span<const uint32_t>>& out) const
{
    const auto [lo, hi] = TokenRange(text, false);
    for (uint32_t t = lo; t < hi; ++t)
        out.push_back(TokenPostings(t));
}

void IndexTable::WordsEndingWith(std::string_view text, std::vector<std::span<const uint32_t>>& out) const
{
    const auto order = As<uint32_t>(sections_[kTokenReversed]);
    const auto [lo, hi] = TokenRange(text, true);
    for (uint32_t i = lo; i < hi && i < order.size(); ++i)
        out.push_back(TokenPostings(order[i]));
}

void IndexTable::WordsContaining(std::string_view text, std::vector<std::span<const uint32_t>>& out) const
{
    for (uint32_t t = 0; t < tokenCount_; ++t)
        if (Token(t).find(text) != std::string_view::npos)
            out.push_back(TokenPostings(t));
}

// ---------------------------------------------------------------- building

void IndexRecords::Add(int64_t offset, std::u16string_view word, std::u16string_view kana, bool kanaIsWord)
{
    Record r;
    r.offset = offset;
    r.word = static_cast<uint32_t>(pool.size());
    r.wordLength = static_cast<uint32_t>(word.size());
    pool.append(word);
    if (kanaIsWord) {
        r.kana = r.word;
        r.kanaLength = r.wordLength;
    } else {
        r.kana = static_cast<uint32_t>(pool.size());
        r.kanaLength = static_cast<uint32_t>(kana.size());
        pool.append(kana);
    }
    records.push_back(r);
}

namespace {

// Stable sort of (key << 32 | record) pairs by key: two passes of 16 bits.
void SortByKey(std::vector<uint64_t>& pairs)
{
    std::vector<uint64_t> buffer(pairs.size());
    for (int shift : {32, 48}) {
        std::vector<uint32_t> counts(65537, 0);
        for (uint64_t p : pairs)
            ++counts[((p >> shift) & 0xFFFF) + 1];
        for (size_t i = 1; i < counts.size(); ++i)
            counts[i] += counts[i - 1];
        for (uint64_t p : pairs)
            buffer[counts[(p >> shift) & 0xFFFF]++] = p;
        pairs.swap(buffer);
    }
}

struct GramSections {
    std::vector<uint32_t> keys, starts, postings;
};

GramSections BuildGrams(const IndexRecords& in, const std::u16string& folded, bool word)
{
    std::vector<uint64_t> pairs;
    pairs.reserve(in.pool.size() * 2);
    std::vector<uint32_t> keys;
    for (size_t r = 0; r < in.records.size(); ++r) {
        const auto& rec = in.records[r];
        const std::u16string_view t =
            std::u16string_view(folded).substr(word ? rec.word : rec.kana, word ? rec.wordLength : rec.kanaLength);
        // Each key once per record (texts are short: a look back is enough).
        keys.clear();
        auto add = [&](uint32_t k) {
            if (std::find(keys.begin(), keys.end(), k) == keys.end()) {
                keys.push_back(k);
                pairs.push_back((static_cast<uint64_t>(k) << 32) | r);
            }
        };
        for (size_t i = 0; i < t.size(); ++i) {
            add(static_cast<uint32_t>(t[i]) << 16);
            if (i + 1 < t.size())
                add((static_cast<uint32_t>(t[i]) << 16) | t[i + 1]);
        }
    }
    SortByKey(pairs);
    GramSections g;
    g.postings.reserve(pairs.size());
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto key = static_cast<uint32_t>(pairs[i] >> 32);
        if (g.keys.empty() || g.keys.back() != key) {
            g.keys.push_back(key);
            g.starts.push_back(static_cast<uint32_t>(i));
        }
        g.postings.push_back(static_cast<uint32_t>(pairs[i]));
    }
    g.starts.push_back(static_cast<uint32_t>(pairs.size()));
    return g;
}

struct TokenSections {
    std::string text;
    std::vector<uint32_t> starts, postingStarts, postings, reversed;
    std::vector<uint8_t> ranks;  // beside postings
};

// Distinct byte strings, each with a number in order of first appearance.
class TokenTable {
public:
    TokenTable() : slots_(1 << 16, kEmpty) {}

    uint32_t Intern(std::string_view token)
    {
        uint64_t h = 1469598103934665603ull;
        for (unsigned char c : token)
            h = (h ^ c) * 1099511628211ull;
        size_t mask = slots_.size() - 1;
        for (size_t i = h & mask;; i = (i + 1) & mask) {
            const uint32_t id = slots_[i];
            if (id == kEmpty) {
                const auto fresh = static_cast<uint32_t>(starts_.size());
                starts_.push_back(static_cast<uint32_t>(text_.size()));
                text_.append(token);
                hashes_.push_back(h);
                slots_[i] = fresh;
                if (starts_.size() * 2 > slots_.size())
                    Grow();
                return fresh;
            }
            if (hashes_[id] == h && Get(id) == token)
                return id;
        }
    }
    size_t size() const { return starts_.size(); }
    std::string_view Get(uint32_t id) const
    {
        const size_t end = id + 1 < starts_.size() ? starts_[id + 1] : text_.size();
        return std::string_view(text_).substr(starts_[id], end - starts_[id]);
    }

private:
    static constexpr uint32_t kEmpty = ~0u;
    void Grow()
    {
        std::vector<uint32_t> bigger(slots_.size() * 2, kEmpty);
        const size_t mask = bigger.size() - 1;
        for (uint32_t id = 0; id < starts_.size(); ++id) {
            size_t i = hashes_[id] & mask;
            while (bigger[i] != kEmpty)
                i = (i + 1) & mask;
            bigger[i] = id;
        }
        slots_.swap(bigger);
    }
    std::vector<uint32_t> slots_;
    std::vector<uint32_t> starts_;
    std::vector<uint64_t> hashes_;
    std::string text_;
};

// entryRanks: each record's own rank (BuildEntryRanks), added to the rank of
// the word in the line, so that a posting's byte is the whole relevance of the
// line for a search of that word alone.
TokenSections BuildTokens(const IndexRecords& in, std::string_view bytes, std::span<const uint16_t> entryRanks)
{
    TokenTable table;
    std::vector<uint64_t> pairs;       // (token id << 32) | record
    std::vector<uint32_t> lastRecord;  // per token id: the last record it was listed for, + 1
    std::string token;
    int64_t previousOffset = -1;
    std::vector<uint32_t> lastPair;  // per token id: where its last pair is in pairs
    std::vector<uint8_t> pairRanks;  // per pair: the best rank of the word in its line
    for (size_t r = 0; r < in.records.size(); ++r) {
        const int64_t offset = in.records[r].offset;
        // Records of one line share its words: only the first one is listed.
        if (offset == previousOffset || offset < 0 || static_cast<uint64_t>(offset) >= bytes.size())
            continue;
        previousOffset = offset;
        const size_t begin = static_cast<size_t>(offset);
        size_t end = bytes.find('\n', begin);
        if (end == std::string_view::npos)
            end = bytes.size();
        const size_t slash = bytes.find('/', begin);
        if (slash == std::string_view::npos || slash >= end)
            continue;
        // The words of the meanings: an EDICT2 entry id is none.
        if (const size_t last = bytes.rfind('/', end - 1); last != std::string_view::npos && last > slash)
            end = slash + WithoutEntryId(bytes.substr(slash, last + 1 - slash)).size();
        auto list = [&](uint32_t id, uint32_t rank) {
            if (id >= lastRecord.size()) {
                lastRecord.resize(id + 1, 0);
                lastPair.resize(id + 1, 0);
            }
            const uint8_t stored = static_cast<uint8_t>(std::min<uint32_t>(rank, 255));
            if (lastRecord[id] != r + 1) {
                lastRecord[id] = static_cast<uint32_t>(r + 1);
                lastPair[id] = static_cast<uint32_t>(pairs.size());
                pairs.push_back((static_cast<uint64_t>(id) << 32) | r);
                pairRanks.push_back(stored);
            } else {
                uint8_t& kept = pairRanks[lastPair[id]];
                kept = std::min(kept, stored);
            }
        };
        ForEachMeaningWord(bytes.substr(slash, end - slash), [&](std::string_view run, uint32_t rank) {
            const bool anyUpper = std::any_of(run.begin(), run.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
            if (anyUpper) {
                token.assign(run);
                for (char& t : token)
                    if (t >= 'A' && t <= 'Z')
                        t = static_cast<char>(t + 32);
                list(table.Intern(token), rank);
            } else {
                list(table.Intern(run), rank);
            }
        });
    }
    TokenSections t;
    const size_t n = table.size();
    if (n == 0)
        return t;
    // Number the words in byte order.
    std::vector<std::pair<std::string_view, uint32_t>> words(n);
    for (uint32_t i = 0; i < n; ++i)
        words[i] = {table.Get(i), i};
    std::sort(words.begin(), words.end());
    std::vector<uint32_t> byText(n);
    for (uint32_t i = 0; i < n; ++i)
        byText[i] = words[i].second;
    std::vector<uint32_t> rank(n);
    for (uint32_t i = 0; i < n; ++i)
        rank[byText[i]] = i;
    for (uint32_t i = 0; i < n; ++i) {
        t.starts.push_back(static_cast<uint32_t>(t.text.size()));
        t.text.append(table.Get(byText[i]));
    }
    t.starts.push_back(static_cast<uint32_t>(t.text.size()));
    // Postings by word, records ascending within a word (a stable counting sort).
    t.postingStarts.assign(n + 1, 0);
    for (uint64_t p : pairs)
        ++t.postingStarts[rank[p >> 32] + 1];
    for (size_t i = 1; i <= n; ++i)
        t.postingStarts[i] += t.postingStarts[i - 1];
    t.postings.resize(pairs.size());
    t.ranks.resize(pairs.size());
    std::vector<uint32_t> next(t.postingStarts.begin(), t.postingStarts.end() - 1);
    for (size_t i = 0; i < pairs.size(); ++i) {
        const uint32_t at = next[rank[pairs[i] >> 32]]++;
        const uint32_t record = static_cast<uint32_t>(pairs[i]);
        t.postings[at] = record;
        const uint32_t own = record < entryRanks.size() ? EntryPenalty(entryRanks[record], true) : 0;
        t.ranks[at] = static_cast<uint8_t>(std::min<uint32_t>(pairRanks[i] + own, 255));
    }
    // The words read backwards, sorted as byte strings.
    std::string backwards(t.text.rbegin(), t.text.rend());
    auto back = [&](uint32_t i) {
        return std::string_view(backwards).substr(t.text.size() - t.starts[i + 1], t.starts[i + 1] - t.starts[i]);
    };
    t.reversed.resize(n);
    std::iota(t.reversed.begin(), t.reversed.end(), 0u);
    std::sort(t.reversed.begin(), t.reversed.end(), [&](uint32_t a, uint32_t b) { return back(a) < back(b); });
    return t;
}

// Every record's own rank (Relevance.h). Productivity: how many distinct
// headwords hold the record's headword as a shorter part of themselves,
// counted over every part of up to kMaxPart units of every headword, by hash.
constexpr size_t kMaxPart = 8;

uint64_t HashUnits(std::u16string_view text)
{
    uint64_t h = 1469598103934665603ull;
    for (char16_t c : text) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

bool IsKanaUnit(char16_t c) { return c < 0x80 || (c >= 0x3041 && c <= 0x30FF) || (c >= 0xFF61 && c <= 0xFF9F); }

uint64_t HashReading(char16_t kanji, std::u16string_view reading) { return HashUnits(reading) * 31 + kanji; }

// A single kanji is counted by the headwords that hold it read as it is
// read: 月 read つき stands in 月見 and, voiced, in 三日月; 経 read きょう
// stands in few words, where 経 read けい stands in many. One hash of
// (kanji, reading) per headword that holds the kanji so read, sorted.
template <typename Word>
std::vector<uint64_t> SingleKanjiReadings(const IndexRecords& in, Word&& word)
{
    const std::u16string_view pool(in.pool);
    auto kana = [&](size_t r) { return pool.substr(in.records[r].kana, in.records[r].kanaLength); };
    std::unordered_map<char16_t, std::vector<std::u16string_view>> readings;
    std::vector<std::pair<uint64_t, uint32_t>> distinct;
    for (size_t r = 0; r < in.records.size(); ++r) {
        const std::u16string_view w = word(r), k = kana(r);
        if (w.size() == 1 && !IsKanaUnit(w[0]) && !k.empty() && k != w) {
            auto& list = readings[w[0]];
            if (std::find(list.begin(), list.end(), k) == list.end())
                list.push_back(k);
        } else if (w.size() > 1) {
            distinct.emplace_back(HashUnits(w) * 1000003 ^ HashUnits(k), static_cast<uint32_t>(r));
        }
    }
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end(), [](auto x, auto y) { return x.first == y.first; }),
                   distinct.end());
    auto voiced = [](char16_t c) {
        constexpr std::u16string_view kVoiceable = u"かきくけこさしすせそたちつてとはひふへほ";
        return kVoiceable.find(c) != std::u16string_view::npos ? static_cast<char16_t>(c + 1) : c;
    };
    std::vector<uint64_t> hits;
    std::u16string voicedReading;
    for (const auto& [hash, r] : distinct) {
        const std::u16string_view w = word(r), k = kana(r);
        for (size_t i = 0; i < w.size(); ++i) {
            if (w.find(w[i]) != i)
                continue;
            const auto found = readings.find(w[i]);
            if (found == readings.end())
                continue;
            for (const std::u16string_view reading : found->second) {
                voicedReading.assign(reading);
                voicedReading[0] = voiced(voicedReading[0]);
                if (k.find(reading) != std::u16string_view::npos ||
                    (voicedReading[0] != reading[0] && k.find(voicedReading, 1) != std::u16string_view::npos))
                    hits.push_back(HashReading(w[i], reading));
            }
        }
    }
    std::sort(hits.begin(), hits.end());
    return hits;
}

std::vector<uint16_t> BuildEntryRanks(const IndexRecords& in, std::string_view bytes)
{
    const size_t n = in.records.size();
    auto word = [&](size_t r) {
        const auto& rec = in.records[r];
        return std::u16string_view(in.pool).substr(rec.word, rec.wordLength);
    };
    auto kana = [&](size_t r) {
        const auto& rec = in.records[r];
        return std::u16string_view(in.pool).substr(rec.kana, rec.kanaLength);
    };
    // Each distinct headword once: the records of one line often share one.
    std::vector<std::pair<uint64_t, uint32_t>> heads(n);
    for (size_t r = 0; r < n; ++r)
        heads[r] = {HashUnits(word(r)), static_cast<uint32_t>(r)};
    std::sort(heads.begin(), heads.end());
    heads.erase(std::unique(heads.begin(), heads.end(), [](auto x, auto y) { return x.first == y.first; }),
                heads.end());
    std::vector<uint64_t> parts, mine;
    parts.reserve(heads.size() * 8);
    for (const auto& [whole, r] : heads) {
        const std::u16string_view w = word(r);
        mine.clear();
        for (size_t i = 0; i < w.size(); ++i)
            for (size_t len = 1; len <= kMaxPart && i + len <= w.size(); ++len)
                if (len < w.size())
                    mine.push_back(HashUnits(w.substr(i, len)));
        std::sort(mine.begin(), mine.end());
        mine.erase(std::unique(mine.begin(), mine.end()), mine.end());
        parts.insert(parts.end(), mine.begin(), mine.end());
    }
    std::sort(parts.begin(), parts.end());
    const std::vector<uint64_t> readAs = SingleKanjiReadings(in, word);
    std::vector<uint16_t> ranks(n, 0);
    int64_t lastOffset = -1;
    std::string_view meanings;
    for (size_t r = 0; r < n; ++r) {
        const int64_t offset = in.records[r].offset;
        if (offset != lastOffset) {
            lastOffset = offset;
            meanings = {};
            if (offset >= 0 && static_cast<uint64_t>(offset) < bytes.size()) {
                const size_t begin = static_cast<size_t>(offset);
                size_t end = bytes.find('\n', begin);
                if (end == std::string_view::npos)
                    end = bytes.size();
                const size_t slash = bytes.find('/', begin);
                if (slash != std::string_view::npos && slash < end)
                    meanings = bytes.substr(slash, end - slash);
            }
        }
        auto holding = [&](std::u16string_view text) {
            const auto [lo, hi] = std::equal_range(parts.begin(), parts.end(), HashUnits(text));
            return ProductivitySteps(static_cast<uint32_t>(hi - lo), text.size());
        };
        uint32_t steps;
        if (const std::u16string_view w = word(r); w.size() == 1 && !IsKanaUnit(w[0])) {
            const auto [lo, hi] = std::equal_range(readAs.begin(), readAs.end(), HashReading(w[0], kana(r)));
            steps = std::max(holding(w), ProductivitySteps(static_cast<uint32_t>((hi - lo) / 4), 2));
        } else {
            steps = holding(w);
        }
        if (const std::u16string stem = VerbStem(meanings, word(r)); !stem.empty())
            steps = std::max(steps, holding(stem));
        ranks[r] = EntryRank(meanings, word(r), steps);
    }
    return ranks;
}

// The records sorted by their folded text (read backwards when reversed),
// equal texts in record order, and the key of each position. The keys are
// sorted by a radix sort (stable, so records stay in order); only runs of
// equal keys whose texts go on beyond the key are sorted by their texts.
void SortedRecords(const IndexRecords& in, const std::u16string& folded, bool word, bool reversed,
                   std::vector<uint32_t>& order, std::vector<Key>& keys)
{
    const size_t n = in.records.size();
    auto text = [&](uint32_t r) {
        const auto& rec = in.records[r];
        return std::u16string_view(folded).substr(word ? rec.word : rec.kana, word ? rec.wordLength : rec.kanaLength);
    };
    std::vector<std::pair<Key, uint32_t>> pairs(n), buffer(n);
    for (uint32_t r = 0; r < n; ++r)
        pairs[r] = {PackKey(text(r), reversed), r};
    std::vector<uint32_t> counts(65537);
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(counts.begin(), counts.end(), 0);
        for (const auto& p : pairs)
            ++counts[((p.first >> shift) & 0xFFFF) + 1];
        for (size_t i = 1; i < counts.size(); ++i)
            counts[i] += counts[i - 1];
        for (const auto& p : pairs)
            buffer[counts[(p.first >> shift) & 0xFFFF]++] = p;
        pairs.swap(buffer);
    }
    for (size_t i = 0; i < n;) {
        size_t j = i + 1;
        while (j < n && pairs[j].first == pairs[i].first)
            ++j;
        // Texts of four units or more may differ after the key.
        if (j - i > 1 && (pairs[i].first & 0xFFFF) != 0)
            std::stable_sort(pairs.begin() + static_cast<std::ptrdiff_t>(i),
                             pairs.begin() + static_cast<std::ptrdiff_t>(j), [&](const auto& a, const auto& b) {
                                 return reversed ? CompareBackwards(text(a.second), text(b.second), false) < 0
                                                 : text(a.second) < text(b.second);
                             });
        i = j;
    }
    order.resize(n);
    keys.resize(n);
    for (size_t i = 0; i < n; ++i) {
        keys[i] = pairs[i].first;
        order[i] = pairs[i].second;
    }
}

template <typename T>
std::string_view Bytes(const std::vector<T>& v)
{
    return {reinterpret_cast<const char*>(v.data()), v.size() * sizeof(T)};
}
std::string_view Bytes(const std::string& s) { return s; }

// Hands the heap's free memory back to the system: the allocator keeps
// what a build's vectors leave free, so that without this the memory of
// every step would stay counted against the process to the end.
void ReturnFreeMemory()
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

// The sections of an image being composed: a view of each, and the memory of
// those made for it, let go as soon as its bytes are in the image, so that
// the image and all of its parts are never in memory at once.
class Parts {
public:
    std::string_view operator[](size_t s) const { return views_[s]; }
    void View(size_t s, std::string_view bytes) { views_[s] = bytes; }
    template <typename Container>
    void Own(size_t s, Container&& contents)
    {
        auto held = std::make_shared<std::decay_t<Container>>(std::forward<Container>(contents));
        views_[s] = Bytes(*held);
        owners_[s] = std::move(held);
    }
    // Once the section's bytes are copied.
    void Release(size_t s)
    {
        views_[s] = {};
        if (owners_[s]) {
            owners_[s].reset();
            ReturnFreeMemory();
        }
    }

private:
    std::string_view views_[kSectionCount];
    std::shared_ptr<const void> owners_[kSectionCount];
};

// The records are stored as they are built: no copy of them is made.
static_assert(sizeof(IndexRecords::Record) == sizeof(StoredRecord) &&
              offsetof(IndexRecords::Record, offset) == offsetof(StoredRecord, offset) &&
              offsetof(IndexRecords::Record, word) == offsetof(StoredRecord, word) &&
              offsetof(IndexRecords::Record, wordLength) == offsetof(StoredRecord, wordLength) &&
              offsetof(IndexRecords::Record, kana) == offsetof(StoredRecord, kana) &&
              offsetof(IndexRecords::Record, kanaLength) == offsetof(StoredRecord, kanaLength));

}  // namespace

namespace {

// The image of the records `in`, with the groups `build` built and the groups
// `kept` taken from the sections of another image of the same records.
// keptChecksums: the checksums of the kept sections and of the records and
// texts as the other image holds them (nullptr for a new build), so that a
// damage in what was not yet checked is still found.
std::shared_ptr<const IndexImage> ComposeImage(const IndexRecords& in, std::string_view dictionaryBytes, unsigned build,
                                               const std::string_view* keptSections, const uint64_t* keptChecksums,
                                               unsigned kept)
{
    Parts parts;
    parts.View(kRecords, Bytes(in.records));
    parts.View(kPool, {reinterpret_cast<const char*>(in.pool.data()), in.pool.size() * 2});
    for (const Group& g : kGroups)
        if (kept & g.bit)
            for (Section s : g.sections)
                parts.View(s, keptSections[s]);

    // One group after another, each one's working memory gone before the next.
    // The English words' ranks hold the entries' own ranks: worked out for
    // them when the entry ranks are not being made.
    if (build & (kRanks | kEnglishWords)) {
        std::vector<uint16_t> entryRanks = BuildEntryRanks(in, dictionaryBytes);
        if (build & kEnglishWords) {
            TokenSections tokens = BuildTokens(in, dictionaryBytes, entryRanks);
            parts.Own(kTokenText, std::move(tokens.text));
            parts.Own(kTokenStarts, std::move(tokens.starts));
            parts.Own(kTokenPostingStarts, std::move(tokens.postingStarts));
            parts.Own(kTokenPostings, std::move(tokens.postings));
            parts.Own(kTokenReversed, std::move(tokens.reversed));
            parts.Own(kTokenPostingRanks, std::move(tokens.ranks));
        }
        if (build & kRanks)
            parts.Own(kRecordRanks, std::move(entryRanks));
        ReturnFreeMemory();
    }
    if (build & (kSortedOrders | kGramPostings)) {
        std::u16string folded = in.pool;
        for (char16_t& c : folded)
            c = text::ToKatakana(c);
        if (build & kGramPostings) {
            for (const bool word : {true, false}) {
                GramSections grams = BuildGrams(in, folded, word);
                parts.Own(word ? kWordGramKeys : kKanaGramKeys, std::move(grams.keys));
                parts.Own(word ? kWordGramStarts : kKanaGramStarts, std::move(grams.starts));
                parts.Own(word ? kWordGramPostings : kKanaGramPostings, std::move(grams.postings));
                ReturnFreeMemory();
            }
        }
        if (build & kSortedOrders) {
            constexpr Section kSorted[4] = {kWordSorted, kKanaSorted, kWordReversed, kKanaReversed};
            constexpr Section kKeys[4] = {kWordSortedKeys, kKanaSortedKeys, kWordReversedKeys, kKanaReversedKeys};
            for (size_t k = 0; k < 4; ++k) {
                std::vector<uint32_t> sorted;
                std::vector<Key> keys, samples;
                SortedRecords(in, folded, k % 2 == 0, k >= 2, sorted, keys);
                for (size_t i = 0; i < keys.size(); i += kSampleStride)
                    samples.push_back(keys[i]);
                parts.Own(kSorted[k], std::move(sorted));
                parts.Own(kKeys[k], std::move(keys));
                parts.Own(kWordSortedSamples + k, std::move(samples));
                ReturnFreeMemory();
            }
        }
    }

    size_t total = kHeaderBytes;
    for (size_t s = 0; s < kSectionCount; ++s)
        total += (parts[s].size() + 7) / 8 * 8;
    std::string image;
    image.reserve(total);
    image.append(kCompanionMagic);
    auto put32 = [&](uint32_t v) { image.append(reinterpret_cast<const char*>(&v), 4); };
    auto put64 = [&](uint64_t v) { image.append(reinterpret_cast<const char*>(&v), 8); };
    put32(kCompanionVersion);
    put32(static_cast<uint32_t>(in.records.size()));
    put64(0);  // the index file's size: set when the companion is written
    put64((build | kept) & kAllStructures);
    bool carried[kSectionCount] = {};
    if (keptChecksums) {
        carried[kRecords] = carried[kPool] = true;
        for (const Group& g : kGroups)
            if (kept & g.bit)
                for (Section s : g.sections)
                    carried[s] = true;
    }
    size_t at = kHeaderBytes;
    for (size_t s = 0; s < kSectionCount; ++s) {
        put64(at);
        put64(parts[s].size());
        put64(carried[s] ? keptChecksums[s] : ChecksumOf(parts[s]));
        at += (parts[s].size() + 7) / 8 * 8;
    }
    for (size_t s = 0; s < kSectionCount; ++s) {
        image.append(parts[s]);
        image.append((8 - parts[s].size() % 8) % 8, '\0');
        parts.Release(s);
    }
    return std::make_shared<OwnedImage>(std::move(image));
}

}  // namespace

std::shared_ptr<const IndexImage> BuildIndexImage(const IndexRecords& in, std::string_view dictionaryBytes,
                                                  unsigned structures)
{
    return ComposeImage(in, dictionaryBytes, structures & kAllStructures, nullptr, nullptr, 0);
}

void IndexTable::AddStructures(unsigned structures, std::string_view dictionaryBytes)
{
    const unsigned missing = structures & kAllStructures & ~structures_;
    if (missing == 0 || !image_)
        return;
    IndexRecords in;
    const auto pool = As<char16_t>(sections_[kPool]);
    in.pool.assign(pool.begin(), pool.end());
    in.records.resize(count_);
    for (size_t i = 0; i < count_; ++i) {
        StoredRecord r;
        std::memcpy(&r, sections_[kRecords].data() + i * sizeof(StoredRecord), sizeof r);
        in.records[i] = {static_cast<int64_t>(r.offset), r.word, r.wordLength, r.kana, r.kanaLength};
    }
    auto image = ComposeImage(in, dictionaryBytes, missing, sections_, checksums_, structures_);
    // The records of the old image may still be looked at through views.
    auto retired = std::move(retired_);
    retired.push_back(image_);
    const uint64_t indexFileSize = indexFileSize_;
    const unsigned checked = checked_;
    if (Adopt(std::move(image)))
        checked_ = checked | missing;
    else if (Adopt(retired.back()))
        checked_ = checked;
    retired_ = std::move(retired);
    indexFileSize_ = indexFileSize;
}

std::string CompanionHeader(std::string_view image, uint64_t indexFileSize)
{
    std::string header(image.substr(0, kHeaderBytes));
    if (header.size() == kHeaderBytes)
        std::memcpy(header.data() + kCompanionIndexSizeAt, &indexFileSize, 8);
    return header;
}

std::string CompanionFilePath(const std::string& dictionaryPath) { return dictionaryPath + ".mxs"; }

namespace {

std::shared_ptr<const IndexImage> MapOpenFile(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size <= 0) {
        ::close(fd);
        return nullptr;
    }
    const auto size = static_cast<size_t>(st.st_size);
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (map == MAP_FAILED) {
        ::close(fd);
        return nullptr;
    }
    // Lookups jump about: only the pages looked at are to be read.
    ::madvise(map, size, MADV_RANDOM);
    return std::make_shared<MappedImage>(map, size, fd);
}

}  // namespace

std::shared_ptr<const IndexImage> MapWholeFile(const std::string& filePath)
{
    const int fd = ::open(filePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    return MapOpenFile(fd);
}

std::shared_ptr<const IndexImage> MapCompanionFile(const std::string& filePath, const IndexIdentity& current,
                                                   std::string& difference)
{
    difference.clear();
    const int fd = ::open(filePath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    // The trailer and header are read, not mapped: a mapping reads whole large pages.
    std::FILE* file = ::fdopen(::dup(fd), "rb");
    if (!file) {
        ::close(fd);
        return nullptr;
    }
    std::fseek(file, 0, SEEK_END);
    const int64_t size = std::ftell(file);
    const auto found = ReadIdentityTrailer(file, size);
    std::string header(kHeaderBytes, '\0');
    const bool haveHeader = size >= static_cast<int64_t>(kHeaderBytes) && std::fseek(file, 0, SEEK_SET) == 0 &&
                            std::fread(header.data(), 1, kHeaderBytes, file) == kHeaderBytes;
    std::fclose(file);
    if (!found)
        difference = "no identity";
    else if (difference = IdentityDifference(found->identity, current);
             difference.empty() && (!haveHeader || ChecksumOf(header) != found->contents))
        difference = "header checksum";
    if (!difference.empty()) {
        ::close(fd);
        return nullptr;
    }
    return MapOpenFile(fd);
}

}  // namespace mirudex::dict
