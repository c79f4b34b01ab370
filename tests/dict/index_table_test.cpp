// The in-memory index and its companion file: lookups against a walk over
// every record, the companion made, reused and made again, several records
// of one line, and dictionaries too large for the index file.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <functional>

#include "DictTestUtil.h"
#include "core/DebugLog.h"
#include "core/OptionNames.h"
#include "dict/Dictionary.h"
#include "dict/IndexIdentity.h"
#include "dict/IndexTable.h"
#include "text/CharClass.h"
#include "text/EucJp.h"

namespace mirudex::dict::test {
namespace {

namespace fs = std::filesystem;
using Field = IndexTable::Field;

std::u16string Fold(std::u16string_view t) { return text::ToKatakana(t); }

// Every lookup of the table against the same question asked of every record.
TEST(IndexTableTest, LookupsEqualAWalkOverEveryRecord)
{
    const char* words[][2] = {
        {"猫", "ねこ"},
        {"ネコ", "ネコ"},
        {"子猫", "こねこ"},
        {"猫舌", "ねこじた"},
        {"招き猫", "まねきねこ"},
        {"犬", "いぬ"},
        {"猫", "びょう"},
        {"ねこねこ", "ねこねこ"},
        {"日本", "にほん"},
        {"日本語", "にほんご"},
        {"二本", "にほん"},
        {"あ", "あ"},
        {"ア", "ア"},
        {"長い言葉です", "ながいことばです"},
    };
    IndexRecords records;
    std::string bytes;
    for (const auto& w : words) {
        const std::u16string word = U(w[0]), kana = U(w[1]);
        records.Add(static_cast<int64_t>(bytes.size()), word, kana, word == kana);
        bytes += "x /a/\n";
    }
    IndexTable table;
    ASSERT_TRUE(table.Adopt(BuildIndexImage(records, bytes)));
    ASSERT_EQ(table.size(), std::size(words));

    auto walk = [&](Field field, auto test) {
        std::vector<uint32_t> out;
        for (uint32_t r = 0; r < table.size(); ++r) {
            const IndexEntry e = table[r];
            if (test(Fold(field == Field::Word ? e.word : e.kana)))
                out.push_back(r);
        }
        return out;
    };
    for (Field field : {Field::Word, Field::Kana}) {
        for (const char* q :
             {"ねこ", "ネコ", "猫", "にほん", "日本", "あ", "ア", "ねこねこ", "ながいことばです", "なし", ""}) {
            SCOPED_TRACE(q);
            const std::u16string f = Fold(U(q));
            EXPECT_EQ(table.Exact(field, f), walk(field, [&](std::u16string_view t) { return t == f; }));
            EXPECT_EQ(table.Prefix(field, f), walk(field, [&](std::u16string_view t) { return t.starts_with(f); }));
            EXPECT_EQ(table.Suffix(field, f), walk(field, [&](std::u16string_view t) { return t.ends_with(f); }));
            EXPECT_EQ(table.PrefixCount(field, f), table.Prefix(field, f).size());
            if (f.size() == 2) {
                const auto grams = table.Grams(field, f[0], f[1]);
                EXPECT_EQ(std::vector<uint32_t>(grams.begin(), grams.end()),
                          walk(field, [&](std::u16string_view t) { return t.find(f) != std::u16string_view::npos; }));
            }
            if (f.size() == 1) {
                const auto grams = table.Grams(field, f[0], 0);
                EXPECT_EQ(std::vector<uint32_t>(grams.begin(), grams.end()),
                          walk(field, [&](std::u16string_view t) { return t.find(f) != std::u16string_view::npos; }));
            }
        }
    }
}

TEST(IndexTableTest, EnglishWordsOfEveryLine)
{
    IndexRecords records;
    const std::string lines[] = {"a [b] /(n) Cat/(P)/\n", "c /to run; running/\n", "d /catalogue/scat/\n",
                                 "CAT /no words before the slash count/\n"};
    std::string bytes;
    for (const std::string& line : lines) {
        records.Add(static_cast<int64_t>(bytes.size()), u"w", u"w", true);
        bytes += line;
    }
    IndexTable table;
    ASSERT_TRUE(table.Adopt(BuildIndexImage(records, bytes)));
    auto postings = [](std::span<const uint32_t> s) { return std::vector<uint32_t>(s.begin(), s.end()); };
    EXPECT_EQ(postings(table.WordPostings("cat")), (std::vector<uint32_t>{0}));
    EXPECT_EQ(postings(table.WordPostings("p")), (std::vector<uint32_t>{0}));
    EXPECT_TRUE(table.WordPostings("ca").empty());
    struct Case {
        const char* text;
        std::vector<std::vector<uint32_t>> starting, ending, containing;
    };
    const Case cases[] = {
        {"cat", {{0}, {2}}, {{0}, {2}}, {{0}, {2}, {2}}},
        {"run", {{1}, {1}}, {{1}}, {{1}, {1}}},
        {"zzz", {}, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::vector<std::span<const uint32_t>> lists;
        auto take = [&]() {
            std::vector<std::vector<uint32_t>> out;
            for (auto s : lists)
                out.push_back(postings(s));
            std::sort(out.begin(), out.end());
            lists.clear();
            return out;
        };
        table.WordsStartingWith(c.text, lists);
        EXPECT_EQ(take(), c.starting);
        table.WordsEndingWith(c.text, lists);
        EXPECT_EQ(take(), c.ending);
        table.WordsContaining(c.text, lists);
        EXPECT_EQ(take(), c.containing);
    }
}

// Groups of structures added to a table that lacks them give the image that
// building everything at once gives, and records looked at before stay valid.
TEST(IndexTableTest, StructuresAddedLaterEqualThoseBuiltAtOnce)
{
    IndexRecords records;
    std::string bytes;
    const char* lines[][3] = {
        {"猫", "ねこ", "/(n) cat/(P)/"}, {"子猫", "こねこ", "/kitten/"}, {"ネコ", "ネコ", "/Cat/"}};
    for (const auto& l : lines) {
        records.Add(static_cast<int64_t>(bytes.size()), U(l[0]), U(l[1]), std::string(l[0]) == l[1]);
        bytes += std::string("x ") + l[2] + "\n";
    }
    const auto whole = BuildIndexImage(records, bytes);
    for (unsigned first : {0u, unsigned{kSortedOrders}, unsigned{kGramPostings}, unsigned{kEnglishWords},
                           unsigned{kSortedOrders | kEnglishWords}}) {
        SCOPED_TRACE(first);
        IndexTable table;
        ASSERT_TRUE(table.Adopt(BuildIndexImage(records, bytes, first)));
        EXPECT_EQ(table.structures(), first);
        const IndexEntry before = table[1];
        for (unsigned next : {unsigned{kGramPostings}, unsigned{kAllStructures}})
            table.AddStructures(next, bytes);
        EXPECT_TRUE(table.Has(kAllStructures));
        EXPECT_EQ(table.bytes(), whole->bytes());
        EXPECT_EQ(before.word, u"子猫");
        EXPECT_EQ(table.Exact(Field::Kana, u"ネコ"), (std::vector<uint32_t>{0, 2}));
    }
}

TEST(IndexTableTest, DamagedImagesAreRefusedOrStayInside)
{
    IndexRecords records;
    records.Add(0, u"猫", u"ねこ", false);
    const auto image = BuildIndexImage(records, "猫 [ねこ] /cat/\n");
    const std::string good(image->bytes());
    class Bytes final : public IndexImage {
    public:
        explicit Bytes(std::string b) : b_(std::move(b)) {}
        std::string_view bytes() const override { return b_; }

    private:
        std::string b_;
    };
    IndexTable table;
    EXPECT_TRUE(table.Adopt(std::make_shared<Bytes>(good)));
    EXPECT_FALSE(table.Adopt(std::make_shared<Bytes>(good.substr(0, good.size() / 2)))) << "cut short";
    EXPECT_FALSE(table.Adopt(std::make_shared<Bytes>("MXS1IDX\n"))) << "a header only";
    std::string version = good;
    version[8] = 9;
    EXPECT_FALSE(table.Adopt(std::make_shared<Bytes>(version))) << "another version";
    // Every byte after the header changed in turn: whatever is adopted is looked up without a fault.
    for (size_t i = 16; i < good.size(); i += 7) {
        std::string damaged = good;
        damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
        if (!table.Adopt(std::make_shared<Bytes>(damaged)))
            continue;
        for (const IndexEntry e : table)
            EXPECT_LE(e.word.size(), good.size());
        table.Prefix(Field::Kana, u"ネ");
        table.Suffix(Field::Word, u"猫");
        table.WordPostings("cat");
    }
}

TEST(EucJpTest, DecodesAsIconvDoesOrLeavesItToIconv)
{
    std::string text;
    // Every two-byte code, the half-width katakana, some of JIS X 0212, ASCII.
    for (int lead = 0xA1; lead <= 0xFE; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail) {
            const std::string code{static_cast<char>(lead), static_cast<char>(trail)};
            std::u16string fast, slow;
            const bool decoded = text::DecodeEucJp(code, fast);
            const bool converted =
                text::ConvertToWideQuietly(code, "EUC-JP", "UTF-16LE", slow) == text::Conversion::Converted;
            if (decoded) {
                ASSERT_TRUE(converted) << lead << " " << trail;
                ASSERT_EQ(fast, slow) << lead << " " << trail;
            }
        }
    for (const std::string& sample : {std::string("\x8E\xB1\x8E\xDD"), std::string("\x8F\xB0\xA1"),
                                      std::string("plain ascii /(n)/"), std::string("\xC7\xAD")}) {
        std::u16string fast, slow;
        ASSERT_TRUE(text::DecodeEucJp(sample, fast));
        ASSERT_EQ(text::ConvertToWideQuietly(sample, "EUC-JP", "UTF-16LE", slow), text::Conversion::Converted);
        EXPECT_EQ(fast, slow);
    }
    std::u16string out;
    for (const std::string& bad : {std::string("\xC7"), std::string("\x80"), std::string("a\0b", 3)})
        EXPECT_FALSE(text::DecodeEucJp(bad, out)) << "left to iconv";
    EXPECT_TRUE(text::IsEucJp("euc-jp"));
    EXPECT_FALSE(text::IsEucJp("EUC-JP-MS"));
}

class CompanionTest : public DictTest {
protected:
    Dictionary Load(StopToken stop = {}, LoadOutcome expected = LoadOutcome::Done, unsigned structures = 0)
    {
        Dictionary d;
        d.path = "test";
        d.name = "Test";
        d.encoding = "EUC-JP";
        EXPECT_EQ(EDICT_Index_Load(d, registry_, stop, structures), expected);
        return d;
    }
    static std::vector<std::u16string> Words(const Dictionary& d)
    {
        std::vector<std::u16string> out;
        for (const IndexEntry e : d.index)
            out.emplace_back(e.word);
        return out;
    }
    void SetUp() override
    {
        DictTest::SetUp();
        mirudex::test::WriteFile("test", Euc("猫 [ねこ] /(n) cat/(P)/\n犬 [いぬ] /(n) dog/\n日本 [にほん] /Japan/\n"));
    }
};

TEST_F(CompanionTest, MadeWithTheIndexUsedAfterwardsAndMadeAgainWhenItDoesNotFit)
{
    const auto fresh = Words(Load());
    ASSERT_EQ(fresh.size(), 3u);
    ASSERT_TRUE(fs::exists("test.mxi"));
    ASSERT_TRUE(fs::exists(CompanionFilePath("test")));
    const auto made = fs::last_write_time(CompanionFilePath("test"));

    // Used as it is.
    Dictionary again = Load();
    EXPECT_EQ(Words(again), fresh);
    EXPECT_EQ(again.index.indexFileSize(), fs::file_size("test.mxi"));
    EXPECT_EQ(fs::last_write_time(CompanionFilePath("test")), made);

    struct Case {
        const char* name;
        std::function<void()> spoil;
    };
    const Case cases[] = {
        {"missing", [] { fs::remove(CompanionFilePath("test")); }},
        {"damaged", [] { mirudex::test::WriteFile(CompanionFilePath("test"), "MXS1IDX\ngarbage"); }},
        {"cut short", [] { fs::resize_file(CompanionFilePath("test"), 200); }},
        {"of another index file",
         [] {
             // The companion says it was written beside an index file of another size.
             std::string other = mirudex::test::ReadFile(CompanionFilePath("test"));
             other[kCompanionIndexSizeAt] = static_cast<char>(other[kCompanionIndexSizeAt] + 1);
             mirudex::test::WriteFile(CompanionFilePath("test"), other);
         }},
        {"of another dictionary",
         [] {
             std::string mxs = mirudex::test::ReadFile(CompanionFilePath("test"));
             const auto found = ParseIdentityTrailer(mxs);
             ASSERT_TRUE(found);
             IndexIdentity other = found->identity;
             other.size += 1;
             mxs.resize(mxs.size() - found->trailerBytes);
             mirudex::test::WriteFile(CompanionFilePath("test"), mxs + IdentityTrailer(other, found->contents));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.spoil();
        const Dictionary d = Load();
        EXPECT_EQ(Words(d), fresh);
        // Made again beside the index file, and used at the next load.
        IndexTable reread;
        std::string difference;
        int error = 0;
        const auto identity = IdentityOfFile("test", "EUC-JP", registry_.GetINT(opt::buffer::kEDICT), error);
        ASSERT_TRUE(identity);
        ASSERT_TRUE(reread.Adopt(MapCompanionFile(CompanionFilePath("test"), *identity, difference))) << difference;
        EXPECT_EQ(reread.indexFileSize(), fs::file_size("test.mxi"));
    }
}

TEST_F(CompanionTest, AStopRequestAndIndexingOff)
{
    Load();
    std::atomic<bool> stop{true};
    const Dictionary stopped = Load(StopToken(&stop), LoadOutcome::Stopped);
    EXPECT_TRUE(stopped.index.empty());

    // Without index files the same structures are built in memory.
    fs::remove("test.mxi");
    fs::remove(CompanionFilePath("test"));
    registry_.SetBOOL(opt::dictionaries::kIndexing, false);
    Dictionary d = Load();
    EXPECT_EQ(d.index.structures(), 0u);
    PrepareStructures(d, kAllStructures);
    EXPECT_FALSE(fs::exists(CompanionFilePath("test")));
    EXPECT_EQ(d.index.Exact(Field::Kana, u"ネコ"), (std::vector<uint32_t>{0}));
    EXPECT_TRUE(d.index.HasWords());
}

// A load from the text builds the records only; structures built for a
// search are written into the companion and mapped by the next load.
TEST_F(CompanionTest, StructuresBuiltForASearchAreKeptInTheCompanion)
{
    Dictionary cold = Load();
    EXPECT_EQ(cold.index.structures(), 0u);
    PrepareStructures(cold, kEnglishWords);
    Dictionary warm = Load();
    EXPECT_EQ(warm.index.structures(), unsigned{kEnglishWords});
    EXPECT_EQ(std::vector<uint32_t>(warm.index.WordPostings("dog").begin(), warm.index.WordPostings("dog").end()),
              (std::vector<uint32_t>{1}));
    PrepareStructures(warm, kAllStructures);
    const auto written = fs::last_write_time(CompanionFilePath("test"));
    Dictionary whole = Load();
    EXPECT_TRUE(whole.index.Has(kAllStructures));
    EXPECT_EQ(whole.index.Exact(Field::Kana, u"イヌ"), (std::vector<uint32_t>{1}));
    PrepareStructures(whole, kAllStructures);
    EXPECT_EQ(fs::last_write_time(CompanionFilePath("test")), written) << "nothing to add: not written";

    // A dictionary changed since its load gets structures in memory, no companion.
    fs::remove(CompanionFilePath("test"));
    Dictionary fresh = Load();
    const auto bare = fs::last_write_time(CompanionFilePath("test"));
    mirudex::test::WriteFile("test", Euc("猫 [ねこ] /(n) cat/(P)/\n犬 [いぬ] /(n) dog/\n日本 [にほん] /Japan!/\n"));
    PrepareStructures(fresh, kSortedOrders);
    EXPECT_TRUE(fresh.index.Has(kSortedOrders));
    EXPECT_EQ(fs::last_write_time(CompanionFilePath("test")), bare);
}

// Structures wanted with a load from the text are built from its records at
// once and written in the one companion: the same file, byte for byte, as a
// load followed by the first search that needs them writes.
TEST_F(CompanionTest, StructuresWantedWithTheLoadAreWrittenOnceAsASearchWouldWriteThem)
{
    for (const unsigned wanted : {unsigned{kAllStructures}, unsigned{kRanks}, unsigned{kSortedOrders | kGramPostings},
                                  unsigned{kEnglishWords}}) {
        SCOPED_TRACE(wanted);
        fs::remove("test.mxi");
        fs::remove(CompanionFilePath("test"));
        Dictionary twoSteps = Load();
        PrepareStructures(twoSteps, wanted);
        const std::string expected = mirudex::test::ReadFile(CompanionFilePath("test"));
        const std::string index = mirudex::test::ReadFile("test.mxi");
        twoSteps.Free();

        fs::remove("test.mxi");
        fs::remove(CompanionFilePath("test"));
        Dictionary atOnce = Load({}, LoadOutcome::Done, wanted);
        EXPECT_EQ(atOnce.index.structures(), wanted);
        EXPECT_EQ(mirudex::test::ReadFile("test.mxi"), index);
        EXPECT_EQ(mirudex::test::ReadFile(CompanionFilePath("test")), expected);
        const auto written = fs::last_write_time(CompanionFilePath("test"));
        PrepareStructures(atOnce, wanted);
        EXPECT_EQ(fs::last_write_time(CompanionFilePath("test")), written) << "nothing to add: not written";
        if (wanted & kRanks)
            EXPECT_LT(atOnce.index.EntryRank(0), atOnce.index.EntryRank(1)) << "猫 (P) ranks before 犬";
        atOnce.Free();

        // A load that finds the index file without its companion makes the
        // companion again with them; one that finds both leaves them be.
        fs::remove(CompanionFilePath("test"));
        Dictionary fromIndex = Load({}, LoadOutcome::Done, wanted);
        EXPECT_EQ(fromIndex.index.structures(), wanted);
        EXPECT_EQ(mirudex::test::ReadFile(CompanionFilePath("test")), expected);
        fromIndex.Free();
        Dictionary warm = Load({}, LoadOutcome::Done, wanted);
        EXPECT_EQ(warm.index.structures(), wanted);
    }

    // With indexing off they are built in memory, and no file is written.
    fs::remove("test.mxi");
    fs::remove(CompanionFilePath("test"));
    registry_.SetBOOL(opt::dictionaries::kIndexing, false);
    const Dictionary inMemory = Load({}, LoadOutcome::Done, kAllStructures);
    EXPECT_TRUE(inMemory.index.Has(kAllStructures));
    EXPECT_EQ(inMemory.index.Exact(Field::Kana, u"ニホン"), (std::vector<uint32_t>{2}));
    EXPECT_FALSE(fs::exists("test.mxi"));
    EXPECT_FALSE(fs::exists(CompanionFilePath("test")));
}

// A flipped bit anywhere in either file is found: the damaged file (or the
// damaged group of structures) is made again, the user is not asked, the
// searches give what a fresh index gives, and a damaged index file never
// passes its damage on to a new companion.
TEST_F(CompanionTest, AFlippedBitInEitherFileIsFoundAndMadeAgain)
{
    struct Case {
        const char* name;
        const char* file;  // "mxi" or "mxs"
        int section;       // of the companion's section table; -1: an offset from the start
        size_t offset;     // from the start, or into the section
        const char* logged;
    };
    // Sections as the companion's table numbers them.
    constexpr int kRecordsSection = 4, kPoolSection = 5, kKanaSortedSection = 7, kTokenPostingsSection = 19;
    const Case cases[] = {
        {"index file: the count", "mxi", -1, 10, "index file (test.mxi) is damaged (contents checksum)"},
        {"index file: a reading", "mxi", -1, 10 + 4 + 1 + 2 + 1 + 1, "is damaged (contents checksum)"},
        {"index file: the last offset", "mxi", -1, 0, "is damaged (contents checksum)"},  // set below
        {"companion: the header", "mxs", -1, 12, "companion file (test.mxs) is damaged (header checksum)"},
        {"companion: the section table", "mxs", -1, 32 + 5 * 24 + 8, "is damaged (header checksum)"},
        {"companion: a record's offset", "mxs", kRecordsSection, 24, "is damaged (records checksum)"},
        {"companion: the texts", "mxs", kPoolSection, 2, "is damaged (records checksum)"},
        {"companion: a sorted order", "mxs", kKanaSortedSection, 4, "is damaged (structures 1)"},
        {"companion: the English postings", "mxs", kTokenPostingsSection, 0, "is damaged (structures 4)"},
    };
    {
        Dictionary d = Load();
        PrepareStructures(d, kAllStructures);
    }
    const std::string goodMxi = mirudex::test::ReadFile("test.mxi");
    const std::string goodMxs = mirudex::test::ReadFile(CompanionFilePath("test"));
    const size_t lastOffset = goodMxi.size() - ParseIdentityTrailer(goodMxi)->trailerBytes - 4;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mirudex::test::WriteFile("test.mxi", goodMxi);
        mirudex::test::WriteFile(CompanionFilePath("test"), goodMxs);
        const bool mxi = std::string(c.file) == "mxi";
        std::string bytes = mxi ? goodMxi : goodMxs;
        size_t at = c.offset == 0 && mxi ? lastOffset : c.offset;
        if (c.section >= 0) {
            uint64_t start = 0;
            std::memcpy(&start, bytes.data() + 32 + c.section * 24, 8);
            at += start;
        }
        ASSERT_LT(at, bytes.size());
        bytes[at] = static_cast<char>(bytes[at] ^ 0x10);
        mirudex::test::WriteFile(mxi ? "test.mxi" : CompanionFilePath("test"), bytes);

        dlog::Close();
        OpenLog();
        Dictionary d = Load();
        PrepareStructures(d, kAllStructures);
        EXPECT_NE(Log().find(c.logged), std::string::npos) << Log();
        EXPECT_TRUE(platform_.MessageBoxes().empty());
        EXPECT_EQ(Words(d), (std::vector<std::u16string>{u"猫", u"犬", u"日本"}));
        EXPECT_EQ(d.index[0].kana, u"ねこ");
        EXPECT_EQ(d.index[2].offset,
                  static_cast<int64_t>(Euc("猫 [ねこ] /(n) cat/(P)/\n犬 [いぬ] /(n) dog/\n").size()));
        EXPECT_EQ(d.index.Exact(Field::Kana, u"ネコ"), (std::vector<uint32_t>{0}));
        EXPECT_EQ(d.index.Prefix(Field::Kana, u"イ"), (std::vector<uint32_t>{1}));
        EXPECT_EQ(std::vector<uint32_t>(d.index.WordPostings("dog").begin(), d.index.WordPostings("dog").end()),
                  (std::vector<uint32_t>{1}));

        // Both files are sound again, and the next load maps the companion and finds nothing amiss.
        dlog::Close();
        OpenLog();
        Dictionary again = Load();
        PrepareStructures(again, kAllStructures);
        EXPECT_EQ(Log().find("damaged"), std::string::npos) << Log();
        EXPECT_EQ(again.index.Exact(Field::Kana, u"ネコ"), (std::vector<uint32_t>{0}));
        EXPECT_EQ(mirudex::test::ReadFile("test.mxi").substr(0, lastOffset), goodMxi.substr(0, lastOffset));
    }
}

TEST_F(CompanionTest, DictionariesOf2GiBOrMoreAreRefusedWithAMessage)
{
    {
        std::FILE* f = std::fopen("huge", "wb");
        ASSERT_TRUE(f);
        std::fclose(f);
    }
    fs::resize_file("huge", (uint64_t{1} << 31));  // sparse: nothing is written
    Dictionary d;
    d.path = "huge";
    d.name = "Huge";
    d.encoding = "EUC-JP";
    EXPECT_EQ(EDICT_Index_Load(d, registry_), LoadOutcome::Done);
    EXPECT_EQ(d.count, 0);
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(u"2 GB or larger"), std::u16string::npos);
    EXPECT_FALSE(fs::exists("huge.mxi"));
}

}  // namespace
}  // namespace mirudex::dict::test
