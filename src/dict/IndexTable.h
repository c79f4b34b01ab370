#pragma once
// The in-memory index of one dictionary and the search structures beside it,
// in one image that is also the layout of the companion file
// (<dictionary path>.mxs) kept beside the index file. A loaded image is
// either the companion file mapped read-only (nothing is copied at a warm
// start) or a buffer built from the dictionary's text or its index file.
//
// Records. One record per headword form: the line's byte offset (64-bit) and
// the headword and reading as views into the image. Records are in file
// order (offsets never decrease); a line may have several records (one per
// form), which are then neighbours with the same offset. Contract for every
// search over these records: a line is returned at most once per search call
// and dictionary (records of one line are told apart by their offset only).
//
// Search structures, all over the records' headwords and readings folded to
// katakana (text::ToKatakana) so that one structure serves folded and plain
// searches (a plain match is always a folded match; the caller verifies):
//   - the record numbers sorted by folded headword and by folded reading
//     (exact and begin searches: a binary search), with the first four
//     folded units of each as a 64-bit key beside them and every 256th key
//     again in a small section of samples, so that a lookup touches few pages;
//   - the same sorted by the folded text read backwards (end searches);
//   - postings of every folded character and pair of neighbouring
//     characters of headwords and of readings (middle and wildcard
//     searches: the rarest piece of the pattern gives the candidates);
//   - the English words of every line: maximal runs of ASCII letters after
//     lowering A..Z, taken from the line's first '/' to its end, each with
//     the records of the lines holding it, the first record of a line only
//     (English searches), and the words sorted by their backwards text;
//     beside each posting, the rank of the word in that line (Relevance.h);
//   - every record's own rank (Relevance.h), from its line and from how many
//     other headwords hold its headword.
// Postings and permutations are record numbers in ascending order within a
// key (sorted permutations: within an equal key).
//
// The records are always there; each group of search structures (the
// sorted orders, the postings of characters, the English words) may be
// missing: it is built when a search first needs it (AddStructures), so that
// a load from the dictionary's text costs little more than reading it. A
// search over a table that lacks a group walks every record instead, which
// gives the same results.
//
// Companion file layout (little-endian, every section 8-byte aligned):
//   magic "MXS1IDX\n" (8 bytes), version (4), record count (4), the size of
//   the index file it was written beside (8; a companion stands for that
//   index file only), the groups of structures it holds (8, Structure bits;
//   the sections of a missing group are empty), then per
//   section its offset, size in bytes and the checksum of its bytes
//   (8 + 8 + 8 each, kSectionCount of them), the sections, and last the
//   identity trailer of IndexIdentity.h, whose contents checksum is the
//   checksum of the header (everything before the first section). A file
//   whose version, identity, header checksum or section table does not fit
//   is not used; every number read from the file is checked where it is
//   used, so a damaged file can give wrong candidates (which the searches
//   verify) but never a read outside the image.
//
// Checksums. Hashing the whole companion at every start would cost more
// than the start itself (it is far larger than what a start reads), so a
// mapped image is checked in parts: the header when it is mapped, the records
// and their texts when the load adopts it (VerifyRecords), and each group of
// search structures when a search first needs it (DropDamaged, on the
// search's worker): a damaged group is dropped and built again from the
// records. Section checksums are read through the file, not the mapping, so
// a check does not make the mapped pages resident.
//
// Threads: built on the load worker; afterwards read from any thread, and
// changed only by AddStructures on the worker of a search, while no other
// thread looks at the dictionary. Views into the table (IndexEntry) stay
// valid across AddStructures.

#include <cstdint>
#include <iterator>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mirudex::dict {

struct IndexIdentity;

struct IndexEntry {
    std::u16string_view word;  // headword
    std::u16string_view kana;  // reading; the headword when the line has none
    int64_t offset = 0;        // byte offset of the line's first byte in the dictionary file
};

// The bytes of an image: mapped or owned.
class IndexImage {
public:
    virtual ~IndexImage() = default;
    virtual std::string_view bytes() const = 0;
    // The checksum (ChecksumOf) of size bytes at offset of bytes().
    virtual uint64_t Checksum(size_t offset, size_t size) const;
};

inline constexpr std::string_view kCompanionMagic = "MXS1IDX\n";
inline constexpr uint32_t kCompanionVersion = 5;
// Where the header holds the size of the index file the companion was written with.
inline constexpr size_t kCompanionIndexSizeAt = 16;

// The groups of search structures, as bits.
enum Structure : unsigned {
    kSortedOrders = 1,  // by headword and reading, forwards and backwards (Exact, Prefix, Suffix, counts)
    kGramPostings = 2,  // characters and pairs of characters (Grams)
    kEnglishWords = 4,  // the English words of every line (Word*), each posting with its rank
    kRanks = 8,         // every record's own rank (EntryRank)
    kAllStructures = 15,
};

class IndexTable {
public:
    IndexTable() = default;

    size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    IndexEntry operator[](size_t i) const;
    IndexEntry at(size_t i) const;  // an empty entry past the end
    void clear() { *this = IndexTable(); }

    class iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = IndexEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = IndexEntry;
        iterator() = default;
        iterator(const IndexTable* table, size_t i) : table_(table), i_(i) {}
        IndexEntry operator*() const { return (*table_)[i_]; }
        IndexEntry operator[](difference_type n) const { return (*table_)[i_ + static_cast<size_t>(n)]; }
        iterator& operator++() { return ++i_, *this; }
        iterator operator++(int) { return {table_, i_++}; }
        iterator& operator--() { return --i_, *this; }
        iterator operator--(int) { return {table_, i_--}; }
        iterator& operator+=(difference_type n) { return i_ += static_cast<size_t>(n), *this; }
        iterator& operator-=(difference_type n) { return i_ -= static_cast<size_t>(n), *this; }
        iterator operator+(difference_type n) const { return {table_, i_ + static_cast<size_t>(n)}; }
        friend iterator operator+(difference_type n, iterator it) { return it + n; }
        iterator operator-(difference_type n) const { return {table_, i_ - static_cast<size_t>(n)}; }
        difference_type operator-(const iterator& o) const { return static_cast<difference_type>(i_ - o.i_); }
        auto operator<=>(const iterator& o) const { return i_ <=> o.i_; }
        bool operator==(const iterator& o) const { return i_ == o.i_; }

    private:
        const IndexTable* table_ = nullptr;
        size_t i_ = 0;
    };
    iterator begin() const { return {this, 0}; }
    iterator end() const { return {this, count_}; }

    // Which text of a record a structure is about.
    enum class Field { Word, Kana };

    // Record numbers whose folded field equals / starts with `folded` (a text
    // already folded to katakana), in ascending order.
    std::vector<uint32_t> Exact(Field field, std::u16string_view folded) const;
    std::vector<uint32_t> Prefix(Field field, std::u16string_view folded) const;
    // Record numbers whose folded field ends with `folded`, ascending.
    std::vector<uint32_t> Suffix(Field field, std::u16string_view folded) const;
    // The postings of one folded character (second = 0) or pair of neighbouring
    // characters: every record whose folded field holds it, ascending.
    std::span<const uint32_t> Grams(Field field, char16_t first, char16_t second) const;
    // How many records Exact/Prefix/Suffix would give, without making the list.
    size_t PrefixCount(Field field, std::u16string_view folded) const;
    size_t SuffixCount(Field field, std::u16string_view folded) const;

    // English words (lower-case ASCII letters): the postings of one word, and
    // the words that start with, end with or contain a text, each word's
    // postings appended to out (not merged).
    std::span<const uint32_t> WordPostings(std::string_view word) const;
    // The same with the relevance of each line for the word searched alone,
    // one per posting: the word's rank in the line plus the entry's own
    // (Relevance.h, English), 255 at most; ranks is empty when the image has
    // none.
    struct RankedPostings {
        std::span<const uint32_t> postings;
        std::span<const uint8_t> ranks;
    };
    RankedPostings WordPostingsRanked(std::string_view word) const;
    // The ranks beside postings this table gave (WordPostings, Words*): empty
    // when the image has none or the span is not the table's.
    std::span<const uint8_t> RanksOf(std::span<const uint32_t> postings) const;
    // A record's own rank as stored (Relevance.h, EntryRank); 0 without kRanks.
    uint16_t EntryRank(size_t record) const;
    void WordsStartingWith(std::string_view text, std::vector<std::span<const uint32_t>>& out) const;
    void WordsEndingWith(std::string_view text, std::vector<std::span<const uint32_t>>& out) const;
    void WordsContaining(std::string_view text, std::vector<std::span<const uint32_t>>& out) const;
    // Whether the English structures exist (an image of an empty dictionary has none).
    bool HasWords() const { return tokenCount_ > 0; }
    // Whether every group of structures in `structures` (Structure bits) is there.
    bool Has(unsigned structures) const { return (structures_ & structures) == structures; }
    unsigned structures() const { return structures_; }
    // Builds the groups of `structures` the table lacks from its own records
    // (dictionaryBytes: the dictionary file's contents, for the English
    // words). The records and their texts stay where they are.
    void AddStructures(unsigned structures, std::string_view dictionaryBytes);

    // The size of the index file the image was written beside (0: none).
    uint64_t indexFileSize() const { return indexFileSize_; }
    // The image's bytes (the companion file without its trailer).
    std::string_view bytes() const { return image_ ? image_->bytes() : std::string_view(); }

    // Takes an image (the companion layout); false, leaving the table empty,
    // when its header or section table does not fit. built: the image was
    // made here, so its sections need no checking against their checksums.
    bool Adopt(std::shared_ptr<const IndexImage> image, bool built = false);

    // Takes `copy` (the held image as its companion file holds it, mapped)
    // in place of the held image, which is let go: the memory of an image
    // built here goes back once its file is written. Only for an image no
    // view has been taken into yet. False, keeping the held image, when the
    // copy's header is not the held image's.
    bool SwapForCopy(std::shared_ptr<const IndexImage> copy);

    // Whether the records and their texts match their checksums (true for a
    // built image, and once checked).
    bool VerifyRecords();
    // Checks the sections of the groups in `structures` not checked before
    // against their checksums; a group that does not match is dropped (Has
    // is then false for it, and AddStructures builds it again). Returns the
    // dropped groups (Structure bits).
    unsigned DropDamaged(unsigned structures);

private:
    struct Record;
    std::u16string_view Text(uint32_t start, uint32_t length) const;
    std::u16string_view FoldedText(uint32_t record, Field field) const;
    std::span<const uint32_t> Sorted(Field field, bool reversed) const;
    std::pair<size_t, size_t> PrefixRange(Field field, std::u16string_view folded, bool reversed) const;
    std::pair<size_t, size_t> KeyRange(Field field, bool reversed, uint64_t low, uint64_t high) const;
    std::string_view Token(uint32_t t) const;
    std::span<const uint32_t> TokenPostings(uint32_t t) const;
    std::pair<uint32_t, uint32_t> TokenRange(std::string_view prefix, bool reversed) const;

    std::shared_ptr<const IndexImage> image_;
    size_t count_ = 0;
    std::string_view sections_[32];
    size_t tokenCount_ = 0;
    uint64_t indexFileSize_ = 0;
    unsigned structures_ = 0;
    uint64_t checksums_[32] = {};
    // Groups (Structure bits, kRecordsChecked for the records) whose sections are known to be sound.
    unsigned checked_ = 0;
    // Images replaced by AddStructures: views into them may still be held.
    std::vector<std::shared_ptr<const IndexImage>> retired_;
};

// What a build of the index starts from: records in file order, their
// headwords and readings in one pool of UTF-16 units.
struct IndexRecords {
    struct Record {
        int64_t offset = 0;
        uint32_t word = 0, wordLength = 0;  // in the pool, in units
        uint32_t kana = 0, kanaLength = 0;
    };
    std::vector<Record> records;
    std::u16string pool;

    // Appends a record; the kana may be the word itself (then stored once).
    void Add(int64_t offset, std::u16string_view word, std::u16string_view kana, bool kanaIsWord);
    size_t size() const { return records.size(); }
};

// Builds the image: the records and the groups of search structures named
// (Structure bits). dictionaryBytes is the dictionary file's contents (for
// the English words; lines outside it give none).
std::shared_ptr<const IndexImage> BuildIndexImage(const IndexRecords& records, std::string_view dictionaryBytes,
                                                  unsigned structures = kAllStructures);

// The image's header as the companion file holds it, with the size of the
// index file it is written beside.
std::string CompanionHeader(std::string_view image, uint64_t indexFileSize);

// The companion file's name: the index file's name with its ".mxi" changed
// to ".mxs" (DICT\edict gives DICT\edict.mxs).
std::string CompanionFilePath(const std::string& dictionaryPath);

// Maps the companion file when it was made from the dictionary whose identity
// is `current` and its header matches its checksum; nullptr otherwise
// (missing, another version, another source, a damaged header).
// difference: what differs, for the log.
std::shared_ptr<const IndexImage> MapCompanionFile(const std::string& filePath, const IndexIdentity& current,
                                                   std::string& difference);

// A read-only mapping of a whole file (nullptr when it cannot be opened or mapped).
std::shared_ptr<const IndexImage> MapWholeFile(const std::string& filePath);

}  // namespace mirudex::dict
