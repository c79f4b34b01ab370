#include <gtest/gtest.h>

#include <atomic>

#include "DictTestUtil.h"
#include "core/OptionNames.h"
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
