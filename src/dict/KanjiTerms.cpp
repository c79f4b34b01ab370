#include "dict/KanjiTerms.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "core/AtomicFile.h"
#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "text/CharClass.h"

namespace mirudex::dict {

namespace {

constexpr size_t kHeaderBytes = 48;
constexpr size_t kEntryBytes = 8;
constexpr size_t kTermBytes = 16;

uint32_t U32At(const unsigned char* p)
{
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
}

void PutU32(std::string& out, uint32_t v) { out.append(reinterpret_cast<const char*>(&v), 4); }

size_t RoundUp8(size_t n) { return (n + 7) & ~size_t{7}; }

class OwnedBytes final : public IndexImage {
public:
    explicit OwnedBytes(std::string bytes) : bytes_(std::move(bytes)) {}
    std::string_view bytes() const override { return bytes_; }

private:
    std::string bytes_;
};

}  // namespace

std::string KanjiIndexFilePath(const std::string& kanjidicPath) { return kanjidicPath + ".mxk"; }

std::shared_ptr<const IndexImage> OwnedImage(std::string bytes)
{
    return std::make_shared<OwnedBytes>(std::move(bytes));
}

void KanjiTermsBuilder::AddKanji(uint16_t code, int32_t offset) { entries_.emplace_back(code, offset); }

void KanjiTermsBuilder::AddMeaning(std::u16string_view meaning)
{
    if (!entries_.empty())
        pairs_[KanjiTerms::kMeanings].emplace_back(meaning, static_cast<uint32_t>(entries_.size() - 1));
}

void KanjiTermsBuilder::AddReading(std::u16string_view reading)
{
    if (entries_.empty())
        return;
    const auto entry = static_cast<uint32_t>(entries_.size() - 1);
    pairs_[KanjiTerms::kReadings].emplace_back(reading, entry);
    pairs_[KanjiTerms::kFoldedReadings].emplace_back(text::ToKatakana(reading), entry);
}

std::string KanjiTermsBuilder::Build()
{
    // Each table sorted by text and then entry, every pair once.
    for (auto& table : pairs_) {
        std::sort(table.begin(), table.end());
        table.erase(std::unique(table.begin(), table.end()), table.end());
    }
    size_t termCount = 0;
    size_t postingCount = 0;
    size_t poolUnits = 0;
    uint32_t distinct[KanjiTerms::kTableCount] = {};
    for (int t = 0; t < KanjiTerms::kTableCount; ++t) {
        const auto& table = pairs_[t];
        postingCount += table.size();
        for (size_t i = 0; i < table.size(); ++i)
            if (i == 0 || table[i].first != table[i - 1].first) {
                ++distinct[t];
                poolUnits += table[i].first.size();
            }
        termCount += distinct[t];
    }

    std::string out;
    out.reserve(kHeaderBytes + entries_.size() * kEntryBytes + termCount * kTermBytes + postingCount * 4 +
                poolUnits * 2 + 16);
    out.append(kKanjiIndexMagic);
    PutU32(out, kKanjiIndexVersion);
    PutU32(out, static_cast<uint32_t>(entries_.size()));
    for (uint32_t d : distinct)
        PutU32(out, d);
    PutU32(out, static_cast<uint32_t>(poolUnits));
    PutU32(out, static_cast<uint32_t>(postingCount));
    out.resize(kHeaderBytes, '\0');
    for (const auto& [code, offset] : entries_) {
        PutU32(out, code);
        PutU32(out, static_cast<uint32_t>(offset));
    }
    std::string postings;
    std::u16string pool;
    for (const auto& table : pairs_) {
        for (size_t i = 0; i < table.size();) {
            size_t end = i;
            while (end < table.size() && table[end].first == table[i].first)
                ++end;
            PutU32(out, static_cast<uint32_t>(pool.size()));
            PutU32(out, static_cast<uint32_t>(table[i].first.size()));
            PutU32(out, static_cast<uint32_t>(postings.size() / 4));
            PutU32(out, static_cast<uint32_t>(end - i));
            pool += table[i].first;
            for (size_t j = i; j < end; ++j)
                PutU32(postings, table[j].second);
            i = end;
        }
    }
    out += postings;
    out.resize(RoundUp8(out.size()), '\0');
    out.append(reinterpret_cast<const char*>(pool.data()), pool.size() * 2);
    return out;
}

std::shared_ptr<const KanjiTerms> KanjiTerms::Adopt(std::shared_ptr<const IndexImage> image, std::string& problem)
{
    problem.clear();
    if (!image) {
        problem = "missing";
        return nullptr;
    }
    auto terms = std::shared_ptr<KanjiTerms>(new KanjiTerms());
    const std::string_view bytes = image->bytes();
    const auto* base = reinterpret_cast<const unsigned char*>(bytes.data());
    if (bytes.size() < kHeaderBytes || bytes.substr(0, kKanjiIndexMagic.size()) != kKanjiIndexMagic) {
        problem = "not an index of the kanji dictionary";
        return nullptr;
    }
    if (U32At(base + 8) != kKanjiIndexVersion) {
        problem = "another version";
        return nullptr;
    }
    const uint64_t entryCount = U32At(base + 12);
    uint64_t termCount = 0;
    for (int t = 0; t < kTableCount; ++t) {
        terms->termStart_[t] = static_cast<size_t>(termCount);
        terms->termCount_[t] = U32At(base + 16 + 4 * static_cast<size_t>(t));
        termCount += terms->termCount_[t];
    }
    const uint64_t poolUnits = U32At(base + 28);
    const uint64_t postingCount = U32At(base + 32);
    const uint64_t entriesAt = kHeaderBytes;
    const uint64_t termsAt = entriesAt + entryCount * kEntryBytes;
    const uint64_t postingsAt = termsAt + termCount * kTermBytes;
    const uint64_t poolAt = (postingsAt + postingCount * 4 + 7) & ~uint64_t{7};
    if (poolAt + poolUnits * 2 != bytes.size()) {
        problem = "sections do not fit the file";
        return nullptr;
    }
    terms->entryCount_ = static_cast<size_t>(entryCount);
    terms->entries_ = base + entriesAt;
    terms->terms_ = base + termsAt;
    terms->postings_ = base + postingsAt;
    terms->pool_ = reinterpret_cast<const char16_t*>(base + poolAt);
    // Every reference is checked once here, so that lookups need not.
    for (uint64_t i = 0; i < termCount; ++i) {
        const unsigned char* p = terms->terms_ + i * kTermBytes;
        const uint64_t start = U32At(p), length = U32At(p + 4), first = U32At(p + 8), count = U32At(p + 12);
        if (start + length > poolUnits || first + count > postingCount || count == 0) {
            problem = "a term out of bounds";
            return nullptr;
        }
    }
    for (uint64_t i = 0; i < postingCount; ++i)
        if (U32At(terms->postings_ + i * 4) >= entryCount) {
            problem = "a posting out of bounds";
            return nullptr;
        }
    terms->bytes_ = bytes;
    terms->image_ = std::move(image);
    return terms;
}

uint16_t KanjiTerms::Code(size_t i) const { return static_cast<uint16_t>(U32At(entries_ + i * kEntryBytes)); }

int32_t KanjiTerms::Offset(size_t i) const { return static_cast<int32_t>(U32At(entries_ + i * kEntryBytes + 4)); }

const unsigned char* KanjiTerms::TermAt(Table table, size_t i) const
{
    return terms_ + (termStart_[table] + i) * kTermBytes;
}

std::u16string_view KanjiTerms::Term(Table table, size_t i) const
{
    const unsigned char* p = TermAt(table, i);
    return {pool_ + U32At(p), U32At(p + 4)};
}

void KanjiTerms::AppendPostings(Table table, size_t i, std::vector<uint32_t>& out) const
{
    const unsigned char* p = TermAt(table, i);
    const uint32_t first = U32At(p + 8);
    const uint32_t count = U32At(p + 12);
    const size_t at = out.size();
    out.resize(at + count);
    std::memcpy(out.data() + at, postings_ + static_cast<size_t>(first) * 4, static_cast<size_t>(count) * 4);
}

size_t KanjiTerms::LowerBound(Table table, std::u16string_view text) const
{
    size_t low = 0;
    size_t high = termCount_[table];
    while (low < high) {
        const size_t mid = low + (high - low) / 2;
        if (Term(table, mid) < text)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

std::shared_ptr<const KanjiTerms> MapKanjiIndexFile(const std::string& filePath, const IndexIdentity& current,
                                                    std::string& problem)
{
    problem.clear();
    auto image = MapWholeFile(filePath);
    if (!image) {
        std::error_code error;
        problem = std::filesystem::exists(filePath, error) ? "unreadable" : "missing";
        return nullptr;
    }
    const std::string_view bytes = image->bytes();
    const auto found = ParseIdentityTrailer(bytes);
    if (!found) {
        problem = "no identity";
        return nullptr;
    }
    problem = IdentityDifference(found->identity, current);
    if (!problem.empty())
        return nullptr;
    const size_t own = bytes.size() - found->trailerBytes;
    if (image->Checksum(0, own) != found->contents) {
        problem = "contents checksum";
        return nullptr;
    }
    // The terms see the image without its trailer.
    class Prefix final : public IndexImage {
    public:
        Prefix(std::shared_ptr<const IndexImage> whole, size_t size) : whole_(std::move(whole)), size_(size) {}
        std::string_view bytes() const override { return whole_->bytes().substr(0, size_); }

    private:
        std::shared_ptr<const IndexImage> whole_;
        size_t size_;
    };
    return KanjiTerms::Adopt(std::make_shared<Prefix>(std::move(image), own), problem);
}

bool WriteKanjiIndexFile(const std::string& filePath, std::string_view image, const IndexIdentity& identity)
{
    AtomicFileWriter writer;
    if (!writer.Open(filePath))
        return false;
    if (!writer.Write(image) || !writer.Write(IdentityTrailer(identity, ChecksumOf(image))))
        return false;
    return writer.Commit(AtomicFileWriter::Durability::Unsynced);
}

}  // namespace mirudex::dict
