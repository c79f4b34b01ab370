// Checks on Debian's dictionary files, prepared by scripts/setup-data.sh.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <thread>

#include "DictTestUtil.h"
#include "core/LineReader.h"
#include "dict/DictionaryStore.h"
#include "dict/IndexTable.h"
#include "dict/KanjiTerms.h"
#include "text/CharClass.h"

namespace mirudex::dict::test {
namespace {

namespace fs = std::filesystem;

class RealDataTest : public DictTest {
protected:
    void SetUp() override
    {
        DictTest::SetUp();
        real_ = mirudex::test::RealDataDir();
        if (real_.empty())
            GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
        // Links in the working directory, so index files land there.
        fs::create_directories("DICT");
        fs::create_symlink(fs::canonical(real_ / "DICT" / "edict"), "DICT/edict");
        fs::create_symlink(fs::canonical(real_ / "DICT" / "kanjidic"), "DICT/kanjidic");
    }

    std::optional<IndexEntry> Find(const Dictionary& d, std::u16string_view word, std::u16string_view kana)
    {
        auto it = std::find_if(d.index.begin(), d.index.end(),
                               [&](const IndexEntry& e) { return e.word == word && e.kana == kana; });
        return it == d.index.end() ? std::nullopt : std::optional<IndexEntry>(*it);
    }

    fs::path real_;
};

TEST_F(RealDataTest, EdictLoadsFromTextAndFromItsIndex)
{
    DictionaryStore store;
    LoadMarkers(store.marker_table, mirudex::test::ProgramDataPath("partsofspeech.mxf").string());
    ASSERT_GT(store.marker_table.size(), 200u);

    ASSERT_EQ(LoadAllEDICTS(store, registry_), LoadOutcome::Done);
    // EDICT, and the names dictionary (not linked here: its file is missing, which is no error).
    ASSERT_EQ(store.edict_dictionaries.size(), 2u);
    EXPECT_EQ(store.edict_dictionaries[1]->count, 0);
    const Dictionary& fromText = *store.edict_dictionaries[0];
    EXPECT_EQ(fromText.count, 267381);
    // Debian's EDICT has no line the load would skip.
    EXPECT_EQ(fromText.skipped.Damaged(), 0);
    EXPECT_EQ(fromText.skipped.undecoded, 0);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    ASSERT_TRUE(fs::exists("DICT/edict.mxi"));
    EXPECT_EQ(store.kanji_index.count, 6355);

    const auto neko = Find(fromText, u"猫", u"ねこ");
    const auto nihon = Find(fromText, u"日本", u"にほん");
    const auto benkyou = Find(fromText, u"勉強", u"べんきょう");
    ASSERT_TRUE(neko && nihon && benkyou);

    Entry entry;
    LoadInfoInto(registry_, fromText, entry, *benkyou);
    SetInfo(entry, store.marker_table);
    EXPECT_EQ(entry.meanings[0], u"(1) study");
    ASSERT_FALSE(entry.info.empty());
    EXPECT_EQ(entry.info.front(), u"noun (common) (futsuumeishi)");
    EXPECT_EQ(entry.info.back(), u"One of top 20,000 words");

    Entry cat;
    LoadInfoInto(registry_, fromText, cat, *neko);
    SetInfo(cat, store.marker_table);
    EXPECT_EQ(cat.meanings.front(), u"(1) cat (esp. the domestic cat, Felis catus)");
    EXPECT_NE(std::find(cat.info.begin(), cat.info.end(), u"abbreviation"), cat.info.end());
    EXPECT_NE(std::find(cat.info.begin(), cat.info.end(), u"word usually written using kana alone"), cat.info.end());

    // The index file read back equals the index built from the text.
    Dictionary fromIndex;
    fromIndex.path = fromText.path;
    fromIndex.encoding = fromText.encoding;
    OpenLog();
    ASSERT_EQ(EDICT_Index_Load(fromIndex, registry_), LoadOutcome::Done);
    EXPECT_NE(Log().find("EDICT_Index_Load: Number of entries: 267381"), std::string::npos);
    ASSERT_EQ(fromIndex.count, fromText.count);
    for (int32_t i = 0; i < fromText.count; ++i) {
        const auto& a = fromIndex.index[static_cast<size_t>(i)];
        const auto& b = fromText.index[static_cast<size_t>(i)];
        if (a.word != b.word || a.kana != b.kana || a.offset != b.offset) {
            ADD_FAILURE() << "entry " << i << " differs";
            break;
        }
    }
}

// The process's own resident memory in megabytes, from /proc/self/statm:
// resident pages less shared ones. Pages of mapped files (the companion file
// a load maps, the dictionary) count as shared: they are the page cache's,
// which the system takes back at will, and are left out.
double OwnMemoryMB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0, shared = 0;
    statm >> size >> resident >> shared;
    return static_cast<double>(resident - shared) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// A program that built EDICT's index at its start (and the search
// structures at its first searches) ends up holding no more of its own
// memory than one that found the index files: the built images give way
// to the files once written, and the build's free memory goes back.
TEST_F(RealDataTest, ABuildGivesItsMemoryBackOnceTheIndexFilesAreWritten)
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "a sanitizer's allocator holds freed memory back on purpose";
#endif
    constexpr double kGoalMB = 10;
    auto load = [&] {
        Dictionary d;
        d.path = "DICT/edict";
        d.encoding = "EUC-JP";
        EXPECT_EQ(EDICT_Index_Load(d, registry_), LoadOutcome::Done);
        EXPECT_EQ(d.count, 267381);
        return d;
    };
    const double start = OwnMemoryMB();
    // On a thread of its own, as the program's load and search workers do
    // (a thread's allocations come from a heap arena of their own).
    Dictionary cold;
    std::thread([&] { cold = load(); }).join();
    ASSERT_TRUE(fs::exists("DICT/edict.mxi") && fs::exists(CompanionFilePath("DICT/edict")));
    const double afterCold = OwnMemoryMB() - start;
    // Every search structure, built as the first searches need them.
    std::thread([&] { PrepareStructures(cold, kAllStructures); }).join();
    ASSERT_TRUE(cold.index.Has(kAllStructures));
    const double afterStructures = OwnMemoryMB() - start;
    // The index still answers from the file it now reads.
    const auto neko = Find(cold, u"猫", u"ねこ");
    ASSERT_TRUE(neko.has_value());
    EXPECT_FALSE(cold.index.Exact(IndexTable::Field::Kana, u"ネコ").empty());
    cold.Free();

    const double beforeWarm = OwnMemoryMB();
    Dictionary warm = load();
    PrepareStructures(warm, kAllStructures);
    const double afterWarm = OwnMemoryMB() - beforeWarm;
    EXPECT_TRUE(Find(warm, u"猫", u"ねこ").has_value());

    EXPECT_LE(afterCold, afterWarm + kGoalMB) << "own memory after the build, MB";
    EXPECT_LE(afterStructures, afterWarm + kGoalMB) << "own memory after the structures' build, MB";
}

TEST_F(RealDataTest, TheNamesDictionaryIsTheSecondSwitchedOffAndFindsNames)
{
    if (!fs::exists(real_ / "DICT" / "enamdict"))
        GTEST_SKIP() << "no names dictionary (scripts/setup-data.sh links Debian's enamdict)";
    fs::create_symlink(fs::canonical(real_ / "DICT" / "enamdict"), "DICT/enamdict");
    DictionaryStore store;
    ASSERT_EQ(LoadAllEDICTS(store, registry_), LoadOutcome::Done);
    ASSERT_EQ(store.edict_dictionaries.size(), 2u);
    const Dictionary& names = *store.edict_dictionaries[1];
    EXPECT_FALSE(names.on);
    EXPECT_GT(names.count, 700000);
    EXPECT_EQ(names.skipped.Damaged(), 0);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    const auto yamada = Find(names, u"山田", u"やまだ");
    ASSERT_TRUE(yamada.has_value());
    Entry entry;
    LoadInfoInto(registry_, names, entry, *yamada);
    ASSERT_FALSE(entry.meanings.empty());
    EXPECT_NE(entry.meanings[0].find(u"Yamada"), std::u16string::npos);
}

TEST_F(RealDataTest, EveryMarkerGroupOfEdictIsKnown)
{
    // Every parenthesised group of the dictionary that is made only of
    // marker-like parts (no blanks) is either all known markers or sense
    // numbers and (P), so no marker of the real file shows up in a meaning.
    MarkerTable markers;
    LoadMarkers(markers, mirudex::test::ProgramDataPath("partsofspeech.mxf").string());
    LineReader file(platform::FilePath("DICT\\edict"));
    std::string line;
    std::u16string text;
    std::vector<std::u16string> unknown;
    while (file.ReadLine(line, LineLimit(5000)) != LineReader::Read::End) {
        if (text::ConvertEncodingToWide(line, "EUC-JP", "UTF-16LE", text) != 0)
            continue;
        for (size_t open = text.find(u'('); open != std::u16string::npos; open = text.find(u'(', open + 1)) {
            const size_t close = text.find(u')', open);
            if (close == std::u16string::npos)
                break;
            const std::u16string group = text.substr(open + 1, close - open - 1);
            if (group.empty() || group.find_first_of(u" ()") != std::u16string::npos || group == u"P")
                continue;
            size_t start = 0;
            bool anyKnown = false;
            std::vector<std::u16string> parts;
            for (;;) {
                const size_t comma = group.find(u',', start);
                parts.push_back(group.substr(start, comma - start));
                if (comma == std::u16string::npos)
                    break;
                start = comma + 1;
            }
            for (const auto& p : parts)
                anyKnown = anyKnown || !markers.Description(p).empty();
            if (!anyKnown)
                continue;  // a group of words: stays in the meaning
            for (const auto& p : parts) {
                if (markers.Description(p).empty() && std::find(unknown.begin(), unknown.end(), p) == unknown.end())
                    unknown.push_back(p);
            }
        }
    }
    std::string list;
    for (const auto& u : unknown)
        list += Utf16ToUtf8(u) + " ";
    EXPECT_TRUE(unknown.empty()) << "markers missing from partsofspeech.mxf: " << list;
}

TEST_F(RealDataTest, KanjidicRecordsAndRadicals)
{
    KanjiIndex index;
    ASSERT_EQ(KANJIDIC_Index_Load(index, registry_), LoadOutcome::Done);
    const KanjiIndexEntry* neko = FindKanji(index, 0x732B);  // 猫
    ASSERT_NE(neko, nullptr);
    KanjiRecord record;
    LoadKANJIDICInfoInto(index, registry_, record, neko);
    EXPECT_EQ(record.strokes, 11);
    EXPECT_NE(std::find(record.onReadings.begin(), record.onReadings.end(), u"ビョウ"), record.onReadings.end());
    EXPECT_NE(std::find(record.kunReadings.begin(), record.kunReadings.end(), u"ねこ"), record.kunReadings.end());
    EXPECT_NE(std::find(record.meanings.begin(), record.meanings.end(), u"cat"), record.meanings.end());
    EXPECT_GT(record.frequency, 0);

    RadicalTable radicals;
    ASSERT_EQ(LoadRadicalInfo(radicals, Widen((real_ / "radkfile.dat").string()), registry_), 0);
    EXPECT_EQ(radicals.count(), 248);
    EXPECT_EQ(radicals.records[0].radical, u'一');
    EXPECT_EQ(radicals.records[0].strokes, 1);
    EXPECT_NE(radicals.records[0].kanji.find(u'一'), std::u16string::npos);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

// The index of Debian's KANJIDIC: written on the first load, read back on the
// next, and holding every meaning and reading of every kanji's record under
// that kanji.
TEST_F(RealDataTest, KanjidicIndexHoldsEveryMeaningAndReadingOfEveryRecord)
{
    KanjiIndex built;
    ASSERT_EQ(KANJIDIC_Index_Load(built, registry_), LoadOutcome::Done);
    ASSERT_TRUE(fs::exists("DICT/kanjidic.mxk"));
    KanjiIndex read;
    OpenLog();
    ASSERT_EQ(KANJIDIC_Index_Load(read, registry_), LoadOutcome::Done);
    EXPECT_NE(Log().find("KANJIDIC_Index_Load: Number of entries: 6355"), std::string::npos) << Log();
    ASSERT_TRUE(built.terms && read.terms);
    EXPECT_EQ(built.terms->bytes(), read.terms->bytes());
    ASSERT_EQ(read.count, built.count);

    auto holds = [&](KanjiTerms::Table table, const std::u16string& text, uint32_t entry) {
        const size_t i = read.terms->LowerBound(table, text);
        if (i >= read.terms->TermCount(table) || read.terms->Term(table, i) != text)
            return false;
        std::vector<uint32_t> postings;
        read.terms->AppendPostings(table, i, postings);
        return std::binary_search(postings.begin(), postings.end(), entry);
    };
    size_t texts = 0;
    for (uint32_t e = 0; e < static_cast<uint32_t>(read.count); ++e) {
        EXPECT_EQ(read.entries[e].code, built.entries[e].code);
        EXPECT_EQ(read.entries[e].offset, built.entries[e].offset);
        KanjiRecord r;
        LoadKANJIDICInfoInto(read, registry_, r, &read.entries[e]);
        for (const auto& m : r.meanings)
            EXPECT_TRUE(holds(KanjiTerms::kMeanings, m, e)) << e;
        for (const auto* list : {&r.onReadings, &r.kunReadings, &r.nanori, &r.radicalReadings})
            for (const auto& reading : *list) {
                EXPECT_TRUE(holds(KanjiTerms::kReadings, reading, e)) << e;
                EXPECT_TRUE(holds(KanjiTerms::kFoldedReadings, text::ToKatakana(reading), e)) << e;
                ++texts;
            }
        texts += r.meanings.size();
    }
    EXPECT_GT(texts, 20000u);
}

// Every line of Debian's EDICT gives the same joined texts read straight from
// the line as through a filled entry (tests/dict/entry_test.cpp).
TEST_F(RealDataTest, JoinedTextsOfEveryLineEqualTheFilledEntry)
{
    MarkerTable markers;
    LoadMarkers(markers, mirudex::test::ProgramDataPath("partsofspeech.mxf").string());
    Dictionary dictionary;
    dictionary.encoding = "EUC-JP";
    const std::string all = mirudex::test::ReadFile("DICT/edict");
    size_t lines = 0, differing = 0;
    std::string first;
    for (size_t begin = 0; begin < all.size();) {
        const size_t end = std::min(all.find('\n', begin), all.size() - 1) + 1;
        const std::string line = all.substr(begin, end - begin);
        begin = end;
        ++lines;
        std::string differences = JoinedTextsDifferences(line, dictionary, markers);
        if (!differences.empty() && differing++ == 0)
            first = std::move(differences);
    }
    EXPECT_EQ(lines, 267381u);  // every line of the file
    EXPECT_EQ(differing, 0u) << first;
}

}  // namespace
}  // namespace mirudex::dict::test
