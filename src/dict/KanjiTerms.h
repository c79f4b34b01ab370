#pragma once
// The index file of the kanji dictionary: every kanji's code and line offset,
// and the texts a kanji search compares (meanings, readings, and readings
// folded to katakana), each distinct text once, sorted, with the kanji it
// belongs to. A search looks the text up here and reads from the kanji
// dictionary only the lines of the kanji it found.
//
// The file is named like the kanji dictionary with ".mxk" appended
// (DICT\kanjidic gives DICT\kanjidic.mxk) and ends with the identity trailer
// of IndexIdentity.h (encoding "EUC-JP", the .\Buffer\KANJIDIC line buffer),
// whose contents checksum covers every byte before it. It stands for the
// kanji dictionary only while that identity holds and every byte and
// reference checks out; otherwise it is made again.
//
// Layout (little-endian; every section starts on a multiple of 8 bytes):
//   header (48 bytes): magic "MXK1IDX\n", version (4), entry count (4), term
//     counts of the three tables (3 x 4), pool length in UTF-16 units (4),
//     posting count (4), 12 bytes of zeros;
//   entries: per kanji, code (2), zero (2), line offset (4, signed);
//   terms: meanings, then readings, then folded readings, each sorted by
//     UTF-16 code units: pool start in units (4), length in units (4), first
//     posting (4), posting count (4);
//   postings: entry numbers (4 each), ascending within a term;
//   pool: the texts of the terms, UTF-16LE.
//
// Threads: built and read on the load worker; afterwards only read, by any thread.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirudex::dict {

class IndexImage;
struct IndexIdentity;

inline constexpr std::string_view kKanjiIndexMagic = "MXK1IDX\n";
inline constexpr uint32_t kKanjiIndexVersion = 1;

// The index file beside the kanji dictionary at path.
std::string KanjiIndexFilePath(const std::string& kanjidicPath);

class KanjiTerms {
public:
    enum Table : int {
        kMeanings = 0,        // the texts in braces, as read (byte by byte)
        kReadings = 1,        // on, kun, nanori and radical readings, as read
        kFoldedReadings = 2,  // the same, each folded with ToKatakana
        kTableCount = 3,
    };

    // Takes an image (a mapped file, or one just built) when its layout holds
    // together: every section, text and posting within the image, postings
    // within the entries. nullptr, with problem set, otherwise. The contents
    // checksum is the caller's to check.
    static std::shared_ptr<const KanjiTerms> Adopt(std::shared_ptr<const IndexImage> image, std::string& problem);

    size_t EntryCount() const { return entryCount_; }
    // Entry i's code point and line offset.
    uint16_t Code(size_t i) const;
    int32_t Offset(size_t i) const;

    size_t TermCount(Table table) const { return termCount_[table]; }
    std::u16string_view Term(Table table, size_t i) const;
    // Appends the entry numbers of term i (ascending) to out.
    void AppendPostings(Table table, size_t i, std::vector<uint32_t>& out) const;
    // The first term not less than text (TermCount when there is none).
    size_t LowerBound(Table table, std::u16string_view text) const;

    // The image's own bytes (without any trailer).
    std::string_view bytes() const { return bytes_; }

private:
    const unsigned char* TermAt(Table table, size_t i) const;

    std::shared_ptr<const IndexImage> image_;
    std::string_view bytes_;
    size_t entryCount_ = 0;
    size_t termCount_[kTableCount] = {};
    size_t termStart_[kTableCount] = {};  // index of each table's first term
    const unsigned char* entries_ = nullptr;
    const unsigned char* terms_ = nullptr;
    const unsigned char* postings_ = nullptr;
    const char16_t* pool_ = nullptr;
};

// Makes the image from the kanji given one after the other, in file order.
class KanjiTermsBuilder {
public:
    // Starts the next entry.
    void AddKanji(uint16_t code, int32_t offset);
    // A meaning or reading of the entry last started.
    void AddMeaning(std::u16string_view meaning);
    void AddReading(std::u16string_view reading);
    // The image of everything added.
    std::string Build();

private:
    std::vector<std::pair<uint16_t, int32_t>> entries_;
    std::vector<std::pair<std::u16string, uint32_t>> pairs_[KanjiTerms::kTableCount];
};

// An image held in memory.
std::shared_ptr<const IndexImage> OwnedImage(std::string bytes);

// Maps the index file when it ends with the identity `current` and its
// contents match their checksum and hold together; nullptr otherwise, with
// problem naming the reason for the log ("missing" when there is no file).
std::shared_ptr<const KanjiTerms> MapKanjiIndexFile(const std::string& filePath, const IndexIdentity& current,
                                                    std::string& problem);

// Writes the image and its identity trailer atomically. False when that failed.
bool WriteKanjiIndexFile(const std::string& filePath, std::string_view image, const IndexIdentity& identity);

}  // namespace mirudex::dict
