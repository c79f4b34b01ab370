#include <gtest/gtest.h>

#include <atomic>

#include "DictTestUtil.h"
#include "core/LineReader.h"
#include "dict/DictionaryStore.h"
#include "dict/Radicals.h"

namespace mirudex::dict::test {
namespace {

class RadicalsTest : public DictTest {
protected:
    RadicalTable Load(const std::string& bytes)
    {
        mirudex::test::WriteFile("radkfile.dat", bytes);
        RadicalTable table;
        EXPECT_EQ(LoadRadicalInfo(table, u"radkfile.dat", registry_), 0);
        return table;
    }
};

TEST_F(RadicalsTest, RecordsFromDollarLines)
{
    const RadicalTable table =
        Load(Sjis("# comment\n"
                  "$ 一 1\n"
                  "亜唖\n"
                  "# comment between kanji lines\n"
                  "娃阿\r\n"
                  "$ ｜ 1 js01\n"
                  "$ 人 2 js02 more\n"
                  "人今\n"));
    ASSERT_EQ(table.count(), 3);
    struct Expect {
        char16_t radical;
        std::u16string kanji;
        uint8_t strokes, second;
        std::u16string remainder;
    };
    const Expect expected[] = {
        {u'一', u"亜唖娃阿", 1, 1, u"1"},
        {u'｜', u"", 1, 0, u"js01"},
        {u'人', u"人今", 2, 0, u"more"},
    };
    for (size_t i = 0; i < 3; ++i) {
        const RadicalRecord& r = table.records[i];
        EXPECT_EQ(r.radical, expected[i].radical) << i;
        EXPECT_EQ(r.kanji, expected[i].kanji) << i;
        EXPECT_EQ(r.kanjiSize, static_cast<int32_t>(expected[i].kanji.size()) + 1) << i;
        EXPECT_EQ(r.strokes, expected[i].strokes) << i;
        EXPECT_EQ(r.secondNumber, expected[i].second) << i;
        EXPECT_EQ(r.remainder, expected[i].remainder) << i;
        EXPECT_EQ(r.selected, 0);
    }
}

TEST_F(RadicalsTest, NumbersSecondFieldAndLinesBeforeTheFirstRadical)
{
    const RadicalTable table = Load(Sjis("亜\n$ 一 12 7\n唖\n$ 二 3 js01\nlast line without end"));
    ASSERT_EQ(table.count(), 2);
    EXPECT_EQ(table.records[0].kanji, u"亜唖");  // lines before the first '$' join the first radical
    EXPECT_EQ(table.records[0].strokes, 12);
    EXPECT_EQ(table.records[0].secondNumber, 7);
    EXPECT_EQ(table.records[0].remainder, u"7");                  // no further field: nothing dropped
    EXPECT_EQ(table.records[1].kanji, u"last line without end");  // read although it has no line end
}

TEST_F(RadicalsTest, LinesThatFailToConvert)
{
    OpenLog();
    // 0x85 0x40 is not a Shift-JIS character.
    const RadicalTable table =
        Load(Sjis("$ 一 1\n") + "\x85\x40\n" + Sjis("亜\n") + "$ \x85\x40 2\n" + Sjis("唖\n$ 人 2\n人\n"));
    ASSERT_EQ(table.count(), 3);
    EXPECT_EQ(table.records[0].kanji, u"亜");
    const RadicalRecord& failed = table.records[1];
    EXPECT_EQ(failed.radical, 0);
    EXPECT_EQ(failed.strokes, 0);
    EXPECT_TRUE(failed.kanji.empty());
    EXPECT_EQ(failed.kanjiSize, 0);
    EXPECT_EQ(table.records[2].radical, u'人');
    EXPECT_EQ(table.records[2].kanji, u"人");
    const std::string log = Log();
    EXPECT_NE(log.find("LoadRadicalInfo(): ERROR: ConvertEncoding() returned -1.\n"), std::string::npos);
    EXPECT_NE(log.find("LoadRadicalInfo: ERROR: ConvertEncoding() returned -1.\n"), std::string::npos);
}

TEST_F(RadicalsTest, MissingFileAndCounting)
{
    OpenLog();
    RadicalTable table;
    EXPECT_EQ(LoadRadicalInfo(table, u"nothere.dat", registry_), -1);
    EXPECT_EQ(table.count(), 0);
    EXPECT_NE(Log().find("ERROR: Could not find Radical Info file:\n   nothere.dat\n"), std::string::npos);

    registry_.SetINT(".\\Buffer\\RADKFILE", 8);
    mirudex::test::WriteFile("r.dat", "$ a 1\n#$ x\nabcdefghijk\n$ b 2\n");
    LineReader file("r.dat");
    EXPECT_EQ(CountRadsInFile(file, registry_), 2);
    EXPECT_EQ(file.Tell(), 0);
    EXPECT_NE(Log().find("CountRadsInFile: ERROR: Increase the raddat buffer size.\n"), std::string::npos);
}

TEST_F(RadicalsTest, AllDictionariesLoadShowsProgressAndHonoursStop)
{
    std::filesystem::create_directories("DICT");
    mirudex::test::WriteFile("DICT/kanjidic", Euc("亜 U4e9c S7 {Asia}\n"));
    mirudex::test::WriteFile("DICT/edict", Euc("猫 [ねこ] /cat/\n"));
    mirudex::test::WriteFile("DICT/second", Euc("犬 [いぬ] /dog/\n"));
    registry_.SetINT(".\\Dictionaries\\EDICT\\Number", 2);
    registry_.CD(".\\Dictionaries\\EDICT");
    registry_.MakeKey("1");
    registry_.CD(".");
    registry_.SetSTRING(".\\Dictionaries\\EDICT\\1\\Path", "DICT\\second");
    registry_.SetSTRING(".\\Dictionaries\\EDICT\\1\\Name", "Second");
    registry_.SetSTRING(".\\Dictionaries\\EDICT\\1\\Encoding", "EUC-JP");
    registry_.SetBOOL(".\\Dictionaries\\EDICT\\1\\On", false);

    DictionaryStore store;
    EXPECT_EQ(LoadAllEDICTS(store, registry_), LoadOutcome::Done);
    EXPECT_EQ(store.kanji_index.count, 1);
    ASSERT_EQ(store.edict_dictionaries.size(), 2u);
    EXPECT_EQ(store.edict_dictionaries[0]->name, "Standard EDICT");
    EXPECT_EQ(store.edict_dictionaries[0]->count, 1);
    EXPECT_TRUE(store.edict_dictionaries[0]->on);
    EXPECT_EQ(store.edict_dictionaries[1]->index.at(0).word, u"犬");
    EXPECT_FALSE(store.edict_dictionaries[1]->on);
    std::vector<std::u16string> texts;
    for (const auto& call : platform_.StatusTexts()) {
        EXPECT_EQ(call.part, 0);
        texts.push_back(call.text);
    }
    const std::vector<std::u16string> expected = {u"Loading KANJIDIC...",
                                                  u"Pre-loading EDICTs...",
                                                  u"Pre-loading EDICTs... OKAY",
                                                  u"Loading EDICT: DICT\\edict...",
                                                  u"Making index: DICT\\edict.mxi...",
                                                  u"EDICT (DICT\\edict) Loaded.",
                                                  u"Loading EDICT: DICT\\second...",
                                                  u"Making index: DICT\\second.mxi...",
                                                  u"EDICT (DICT\\second) Loaded.",
                                                  u"Okay!!"};
    EXPECT_EQ(texts, expected);

    std::atomic<bool> stop{true};
    DictionaryStore stopped;
    EXPECT_EQ(LoadAllEDICTS(stopped, registry_, StopToken(&stop)), LoadOutcome::Stopped);
    EXPECT_EQ(stopped.kanji_index.count, 0);
    EXPECT_TRUE(stopped.edict_dictionaries.empty());
}

}  // namespace
}  // namespace mirudex::dict::test
