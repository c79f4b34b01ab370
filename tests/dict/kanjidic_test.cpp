#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>

#include "DictTestUtil.h"
#include "core/OptionNames.h"
#include "dict/IndexIdentity.h"
#include "dict/KanjiTerms.h"
#include "dict/Kanjidic.h"

namespace mirudex::dict::test {
namespace {

class KanjidicTest : public DictTest {
protected:
    // Writes the lines (UTF-8, converted to EUC-JP) as DICT/kanjidic and builds the index.
    KanjiIndex Build(const std::vector<std::string>& lines)
    {
        std::filesystem::create_directories("DICT");
        std::string text;
        for (const auto& line : lines)
            text += Euc(line) + "\n";
        mirudex::test::WriteFile("DICT/kanjidic", text);
        KanjiIndex index;
        EXPECT_EQ(KANJIDIC_Index_Load(index, registry_), LoadOutcome::Done);
        return index;
    }

    KanjiRecord Record(const KanjiIndex& index, int i)
    {
        KanjiRecord record;
        LoadKANJIDICInfoInto(index, registry_, record, &index.entries.at(static_cast<size_t>(i)));
        return record;
    }
};

using Texts = std::vector<std::u16string>;

// Every term of one table of the index with the codes of its kanji, as the
// lookups give them.
using TermMap = std::map<std::u16string, std::vector<uint16_t>>;
TermMap TermsOf(const KanjiIndex& index, KanjiTerms::Table table)
{
    TermMap out;
    if (!index.terms)
        return out;
    const KanjiTerms& terms = *index.terms;
    for (size_t i = 0; i < terms.TermCount(table); ++i) {
        const std::u16string_view term = terms.Term(table, i);
        EXPECT_EQ(terms.LowerBound(table, term), i);
        if (i > 0) {
            EXPECT_LT(terms.Term(table, i - 1), term);
        }
        std::vector<uint32_t> postings;
        terms.AppendPostings(table, i, postings);
        for (uint32_t p : postings)
            out[std::u16string(term)].push_back(index.entries.at(p).code);
    }
    return out;
}

// What a load gives: entries (code, offset) and all three tables.
struct Loaded {
    std::vector<std::pair<uint16_t, int32_t>> entries;
    TermMap tables[KanjiTerms::kTableCount];
    bool operator==(const Loaded&) const = default;
};
Loaded Contents(const KanjiIndex& index)
{
    Loaded out;
    for (const KanjiIndexEntry& e : index.entries)
        out.entries.emplace_back(e.code, e.offset);
    for (int t = 0; t < KanjiTerms::kTableCount; ++t)
        out.tables[t] = TermsOf(index, static_cast<KanjiTerms::Table>(t));
    return out;
}

TEST_F(KanjidicTest, IndexTakesCodesAndSkipsComments)
{
    OpenLog();
    const KanjiIndex index = Build({
        "# KANJIDIC comment line", "亜 3021 U4e9c N43 S7 ア つ.ぐ {Asia}", "唖 3022 U5516 S10 ア {mute}",
        "# another comment", "娃 3023 U5a03", "X 3024 N1 {no code}",
        "亞 3025 u4E9E",  // no " U": lowercase field
    });
    ASSERT_EQ(index.count, 5);
    const uint16_t codes[] = {0x4E9C, 0x5516, 0x5A03, 0, 0};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(index.entries[static_cast<size_t>(i)].code, codes[i]) << i;
    EXPECT_EQ(FindKanji(index, 0x5516), &index.entries[1]);
    EXPECT_EQ(FindKanji(index, 0), &index.entries[3]);
    EXPECT_EQ(FindKanji(index, 0x1234), nullptr);
    const std::string log = Log();
    EXPECT_NE(log.find("KANJIDIC_Index_Load: There are 7 lines in DICT\\kanjidic\n"), std::string::npos);
    EXPECT_NE(log.find("KANJIDIC_Index_Load(): ERROR: Unicode not found (index: 3)\n"), std::string::npos);
    EXPECT_NE(log.find("KANJIDIC_Index_Load(): ERROR: Unicode not found (index: 4)\n"), std::string::npos);
}

TEST_F(KanjidicTest, CodeReadFromTheRightOfTheFourCharacters)
{
    const KanjiIndex index = Build({"a U4E9C", "b U4e9c", "c Ug123", "d U12", "e U20b9f"});
    const uint16_t codes[] = {0x4E9C, 0x4E9C, 0x123, 0x12, 0x20B9};
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(index.entries[i].code, codes[i]) << i;
}

TEST_F(KanjidicTest, RecordFields)
{
    struct Case {
        std::string line;
        Texts on, kun, nanori, radical, meanings;
        uint16_t frequency;
        uint8_t strokes;
    };
    const Case cases[] = {
        {"亜 3021 U4e9c S7 S8 F1509 ア つ.ぐ T1 や つぎ {Asia} {come after}",
         {u"ア"},
         {u"つ.ぐ"},
         {u"や", u"つぎ"},
         {},
         {u"Asia", u"come after"},
         1509,
         7},
        {"亜 3021 U4e9c ア つ.ぐ T2 や つぎ {Asia}", {u"ア"}, {u"つ.ぐ"}, {}, {u"や", u"つぎ"}, {u"Asia"}, 0, 0},
        {"亜 3021 U4e9c T1 や T2 つぎ {x}", {}, {}, {u"や"}, {u"つぎ"}, {u"x"}, 0, 0},
        {"一 306C U4e00 B1 G1 S1 F2 イチ イツ ひと- ひと.つ {one} {",
         {u"イチ", u"イツ"},
         {u"ひと-", u"ひと.つ"},
         {},
         {},
         {u"one", u""},
         2,
         1},
        {"碁 U7881 S13 ゴ -ご {Go}", {u"ゴ"}, {u"-ご"}, {}, {}, {u"Go"}, 0, 13},
        // Characters outside the kana table: the long-vowel mark and full-width letters.
        {"x U1234 ケーキ ＡＢ１ {cake}", {u"ケーキ"}, {}, {}, {}, {u"cake"}, 0, 0},
        // A reading at the very end has no end and is taken as empty.
        {"x U1234 S3 ア", {}, {u""}, {}, {}, {}, 0, 3},
    };
    std::vector<std::string> lines;
    for (const auto& c : cases)
        lines.push_back(c.line);
    const KanjiIndex index = Build(lines);
    ASSERT_EQ(index.count, static_cast<int32_t>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        const KanjiRecord r = Record(index, static_cast<int>(i));
        EXPECT_EQ(r.code, index.entries[i].code) << c.line;
        EXPECT_EQ(r.onReadings, c.on) << c.line;
        EXPECT_EQ(r.kunReadings, c.kun) << c.line;
        EXPECT_EQ(r.nanori, c.nanori) << c.line;
        EXPECT_EQ(r.radicalReadings, c.radical) << c.line;
        EXPECT_EQ(r.meanings, c.meanings) << c.line;
        EXPECT_EQ(r.frequency, c.frequency) << c.line;
        EXPECT_EQ(r.strokes, c.strokes) << c.line;
    }
}

TEST_F(KanjidicTest, FailuresLeaveRecordUnfilled)
{
    OpenLog();
    KanjiIndex index = Build({"亜 U4e9c S7 {Asia}"});
    KanjiRecord record;
    LoadKANJIDICInfoInto(index, registry_, record, nullptr);
    EXPECT_TRUE(record.meanings.empty());
    KanjiIndexEntry past{1, 100000};
    LoadKANJIDICInfoInto(index, registry_, record, &past);
    EXPECT_TRUE(record.meanings.empty());
    std::filesystem::remove("DICT/kanjidic");
    LoadKANJIDICInfoInto(index, registry_, record, &index.entries[0]);
    EXPECT_EQ(record.strokes, 0);
    KanjiIndex missing;
    EXPECT_EQ(KANJIDIC_Index_Load(missing, registry_), LoadOutcome::Done);
    EXPECT_EQ(missing.count, 0);
    const std::string log = Log();
    EXPECT_NE(log.find("LoadKANJIDICInfoInto(): ERROR: index is NULL.\n"), std::string::npos);
    EXPECT_NE(log.find("LoadKANJIDICInfoInto(): ERROR: File DICT\\kanjidic not opened.\n"), std::string::npos);
    EXPECT_NE(log.find("ERROR: KANJIDIC_Index_Load(): Couldn't open DICT\\kanjidic\n"), std::string::npos);
}

TEST_F(KanjidicTest, LineLongerThanTheBufferIsSkippedAloneAndLastLineIsRead)
{
    registry_.SetINT(opt::buffer::kKANJIDIC, 20);
    OpenLog();
    KanjiIndex index = Build({"亜 U4e9c S7 {Asia} {a long meaning here}", "唖 U5516 S10"});
    ASSERT_EQ(index.count, 1);
    EXPECT_EQ(index.entries[0].code, 0x5516);
    EXPECT_NE(Log().find("line 1 is longer than the KANJIDIC buffer (20); it is skipped"), std::string::npos);

    registry_.SetINT(opt::buffer::kKANJIDIC, 2000);
    mirudex::test::WriteFile("DICT/kanjidic", Euc("亜 U4e9c S7 {Asia}\n唖 U5516 S10 {dumb}"));
    ASSERT_EQ(KANJIDIC_Index_Load(index, registry_), LoadOutcome::Done);
    ASSERT_EQ(index.count, 2);
    KanjiRecord last;
    LoadKANJIDICInfoInto(index, registry_, last, &index.entries[1]);
    EXPECT_EQ(last.meanings, (std::vector<std::u16string>{u"dumb"}));
}

const std::vector<std::string> kIndexedLines = {
    "# KANJIDIC comment line",     "亜 3021 U4e9c G8 S7 S8 F1509 ア つ.ぐ T1 や つぎ {Asia} {come after}",
    "X 3024 N1 {no code} {Asia}",  "猫 U732b S11 ビョウ ねこ T2 ねこ {cat} {",
    "唖 3022 U5516 S10 ア {mute}",
};

TEST_F(KanjidicTest, IndexFileHoldsEveryTextAndIsReadBackInsteadOfTheDictionary)
{
    const KanjiIndex built = Build(kIndexedLines);
    ASSERT_EQ(built.count, 4);
    ASSERT_TRUE(built.terms);
    EXPECT_TRUE(std::filesystem::exists("DICT/kanjidic.mxk"));
    const Loaded fromText = Contents(built);
    EXPECT_EQ(fromText.tables[KanjiTerms::kMeanings], (TermMap{{u"", {0x732B}},
                                                               {u"Asia", {0x4E9C, 0}},
                                                               {u"cat", {0x732B}},
                                                               {u"come after", {0x4E9C}},
                                                               {u"mute", {0x5516}},
                                                               {u"no code", {0}}}));
    // Every kind of reading, once per kanji however often it has it.
    EXPECT_EQ(fromText.tables[KanjiTerms::kReadings], (TermMap{{u"ア", {0x4E9C, 0x5516}},
                                                               {u"つぎ", {0x4E9C}},
                                                               {u"つ.ぐ", {0x4E9C}},
                                                               {u"ねこ", {0x732B}},
                                                               {u"や", {0x4E9C}},
                                                               {u"ビョウ", {0x732B}}}));
    EXPECT_EQ(fromText.tables[KanjiTerms::kFoldedReadings], (TermMap{{u"ア", {0x4E9C, 0x5516}},
                                                                     {u"ツギ", {0x4E9C}},
                                                                     {u"ツ.グ", {0x4E9C}},
                                                                     {u"ネコ", {0x732B}},
                                                                     {u"ビョウ", {0x732B}},
                                                                     {u"ヤ", {0x4E9C}}}));

    // The next load takes everything from the index file and reads no line.
    OpenLog();
    KanjiIndex again;
    ASSERT_EQ(KANJIDIC_Index_Load(again, registry_), LoadOutcome::Done);
    EXPECT_EQ(Contents(again), fromText);
    const std::string log = Log();
    EXPECT_NE(log.find("KANJIDIC_Index_Load: Number of entries: 4 (in 'DICT\\kanjidic')\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("There are"), std::string::npos) << log;
    for (int i = 0; i < again.count; ++i) {
        const KanjiRecord r = Record(again, i), s = Record(built, i);
        EXPECT_EQ(r.meanings, s.meanings);
        EXPECT_EQ(r.kunReadings, s.kunReadings);
    }

    // Without indexing no file is read or written; the searched texts are built all the same.
    std::filesystem::remove("DICT/kanjidic.mxk");
    registry_.SetBOOL(opt::dictionaries::kIndexing, false);
    const KanjiIndex unindexed = Build(kIndexedLines);
    EXPECT_FALSE(std::filesystem::exists("DICT/kanjidic.mxk"));
    EXPECT_EQ(Contents(unindexed), fromText);
}

TEST_F(KanjidicTest, ChangedDictionaryGetsItsIndexMadeAgain)
{
    struct Case {
        const char* what;
        std::function<void()> change;
        const char* reason;
    };
    const Case cases[] = {
        {"a line added",
         [] {
             mirudex::test::WriteFile("DICT/kanjidic",
                                      mirudex::test::ReadFile("DICT/kanjidic") + Euc("一 U4e00 イチ {one}\n"));
         },
         "size"},
        {"a meaning changed in place (same size)",
         [] {
             std::string bytes = mirudex::test::ReadFile("DICT/kanjidic");
             bytes.replace(bytes.find("{mute}"), 6, "{mutE}");
             const auto time = std::filesystem::last_write_time("DICT/kanjidic");
             mirudex::test::WriteFile("DICT/kanjidic", bytes);
             std::filesystem::last_write_time("DICT/kanjidic", time);  // only the contents tell
         },
         "contents"},
        {"touched",
         [] {
             std::filesystem::last_write_time(
                 "DICT/kanjidic", std::filesystem::last_write_time("DICT/kanjidic") + std::chrono::seconds(2));
         },
         "modification time"},
        {"read with another line buffer", [this] { registry_.SetINT(opt::buffer::kKANJIDIC, 1000); },
         "line buffer size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        registry_.SetINT(opt::buffer::kKANJIDIC, 2000);
        Build(kIndexedLines);
        c.change();
        OpenLog();
        KanjiIndex changed;
        ASSERT_EQ(KANJIDIC_Index_Load(changed, registry_), LoadOutcome::Done);
        EXPECT_NE(Log().find(std::string("KANJIDIC_Index_Load: index file (DICT\\kanjidic.mxk) not used (") + c.reason),
                  std::string::npos)
            << Log();
        // What the text gives now, built without any index file.
        const Loaded now = Contents(changed);
        std::filesystem::rename("DICT/kanjidic.mxk", "old.mxk");
        KanjiIndex fresh;
        ASSERT_EQ(KANJIDIC_Index_Load(fresh, registry_), LoadOutcome::Done);
        EXPECT_EQ(now, Contents(fresh));
        // The file written for the change is used from then on.
        KanjiIndex reread;
        OpenLog();
        ASSERT_EQ(KANJIDIC_Index_Load(reread, registry_), LoadOutcome::Done);
        EXPECT_NE(Log().find("Number of entries"), std::string::npos);
        EXPECT_EQ(Contents(reread), now);
        std::filesystem::remove("old.mxk");
    }
}

TEST_F(KanjidicTest, DamagedIndexFileIsNeverTrusted)
{
    const Loaded good = Contents(Build(kIndexedLines));
    const std::string file = mirudex::test::ReadFile("DICT/kanjidic.mxk");
    const auto found = ParseIdentityTrailer(file);
    ASSERT_TRUE(found);
    const std::string image = file.substr(0, file.size() - found->trailerBytes);
    // A file with a sound trailer around another image: only the layout's own checks stand in its way.
    auto resealed = [&](std::string other) { return other + IdentityTrailer(found->identity, ChecksumOf(other)); };
    auto patched = [&](size_t at, uint32_t value) {
        std::string other = image;
        std::memcpy(other.data() + at, &value, 4);
        return resealed(other);
    };
    const size_t terms = 48 + 4 * 8;  // after the header and four entries
    uint32_t termCounts[3];
    std::memcpy(termCounts, image.data() + 16, sizeof termCounts);
    const size_t postings = terms + 16 * (termCounts[0] + termCounts[1] + termCounts[2]);
    struct Case {
        const char* what;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"empty", "", "unreadable"},
        {"cut short", file.substr(0, file.size() / 2), "no identity"},
        {"cut before its trailer", image, "no identity"},
        {"a byte changed",
         [&] {
             std::string b = file;
             b[image.size() - 3] ^= 0x20;
             return b;
         }(),
         "contents checksum"},
        {"another version", patched(8, kKanjiIndexVersion + 1), "another version"},
        {"more entries than it holds", patched(12, 5), "sections do not fit the file"},
        {"a text beyond the pool", patched(terms + 4, 100000), "a term out of bounds"},
        {"postings beyond their list", patched(terms + 8, 100000), "a term out of bounds"},
        {"a posting naming no entry", patched(postings, 4), "a posting out of bounds"},
        {"another magic", resealed("MXI3" + image.substr(4)), "not an index of the kanji dictionary"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        mirudex::test::WriteFile("DICT/kanjidic.mxk", c.bytes);
        OpenLog();
        KanjiIndex index;
        ASSERT_EQ(KANJIDIC_Index_Load(index, registry_), LoadOutcome::Done);
        EXPECT_NE(Log().find(std::string("index file (DICT\\kanjidic.mxk) not used (") + c.reason), std::string::npos)
            << Log();
        EXPECT_EQ(Contents(index), good);
        EXPECT_EQ(mirudex::test::ReadFile("DICT/kanjidic.mxk"), file) << "made again";
    }
}

TEST_F(KanjidicTest, StopLeavesIndexEmpty)
{
    std::atomic<bool> stop{true};
    Build({"亜 U4e9c"});
    KanjiIndex index;
    EXPECT_EQ(KANJIDIC_Index_Load(index, registry_, StopToken(&stop)), LoadOutcome::Stopped);
    EXPECT_EQ(index.count, 0);
    EXPECT_TRUE(index.entries.empty());
}

}  // namespace
}  // namespace mirudex::dict::test
