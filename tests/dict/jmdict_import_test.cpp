#include <gtest/gtest.h>
#include <zlib.h>

#include <atomic>
#include <filesystem>

#include "DictTestUtil.h"
#include "core/Registry.h"
#include "dict/DictionaryOptions.h"
#include "dict/Edict2Line.h"
#include "dict/GzipReader.h"
#include "dict/JmdictImport.h"

namespace mirudex::dict::test {
namespace {

std::string Sample() { return mirudex::test::ReadFile(mirudex::test::FixturePath("jmdict-sample.xml")); }

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

void WriteGzip(const std::string& path, const std::string& bytes)
{
    gzFile file = gzopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(gzwrite(file, bytes.data(), static_cast<unsigned>(bytes.size())), static_cast<int>(bytes.size()));
    gzclose(file);
}

class JmdictImportTest : public DictTest {};

TEST_F(JmdictImportTest, EveryEntryBecomesOneEdict2Line)
{
    std::string out;
    const ImportOutcome outcome = ImportJmdictText(Sample(), out, kJmdictDefaultLanguage);
    ASSERT_EQ(outcome.status, ImportStatus::Done) << outcome.error;
    EXPECT_EQ(outcome.entries, 12);
    EXPECT_EQ(outcome.withoutGloss, 1);  // only a German gloss
    const std::vector<std::string> expected = {
        // Senses numbered, each with its own tags; the German gloss left out; a cross-reference.
        "猫(P) [ねこ(P);ネコ] /(n) (1) cat (esp. the domestic cat)/(2) (uk,col) shamisen/(3) (See 手押し車) "
        "wheelbarrow/(P)/EntL1467640/",
        // A written form outside the Basic Multilingual Plane.
        "𠮟る;叱る(P) [しかる(P)] /(v5r,vt) to scold/to tell off/(P)/EntL1305920/",
        // A restricted reading, and a sense for one reading only.
        "空く;開く [あく;すく(空く)] /(v5k,vi) (1) to open/(2) (すく only) to become empty/EntL1586270/",
        // Kana only: the reading is the headword.
        "ありがとう(P) /(int) thank you/thanks/(P)/EntL1206900/",
        "食べる(P);喰べる(iK) [たべる(P)] /(v1,vt) (1) to eat/(2) to live on (e.g. a salary)/(P)/EntL1358280/",
        // Parts of speech change at the second sense.
        "本(P) [ほん(P)] /(n) (1) book/volume/(pref) (2) main/head/(P)/EntL1522150/",
        "一寸(ateji) [ちょっと] /(adv) (1) (uk) a little/a bit/(int) (2) (uk) hey!/EntL1009510/",
        "パン /(n) (por: pão) bread/EntL1101670/",
        // A dialect; a literal gloss whose slash must not split it.
        "勉強(P) [べんきょう(P)] /(n,vs) (1) study/(2) (ksb:) discount/(lit) effort \u2215 trying "
        "hard/(P)/EntL1403040/",
        "日本(P) [にっぽん;にほん(P)] /(n) Japan/(P)/EntL1582710/",
        "電算機 [でんさんき] /(n) (comp) (dated) computer/EntL2077290/",
        "行く(P);逝く;往く(oK) [いく(P);ゆく] /(v5k,vi) (1) to go/to move (towards)/(2) (逝く only) to "
        "die/(P)/EntL1578850/",
    };
    EXPECT_EQ(Lines(out), expected);
    EXPECT_EQ(outcome.longestLine, expected[0].size() + 1);

    // What the importer writes, the EDICT2 reader reads back.
    const Edict2Line first = ParseEdict2Line(U(expected[2]));
    ASSERT_EQ(first.readings.size(), 2u);
    EXPECT_EQ(first.readings[1].restrictedTo, std::vector<std::u16string>{u"空く"});
    EXPECT_EQ(first.entryId, u"EntL1586270");
    for (const std::string& line : Lines(out))
        EXPECT_TRUE(LooksLikeEdict2(line)) << line;
}

TEST_F(JmdictImportTest, AnotherLanguageKeepsOnlyItsGlosses)
{
    std::string out;
    const ImportOutcome outcome = ImportJmdictText(Sample(), out, "ger");
    ASSERT_EQ(outcome.status, ImportStatus::Done);
    EXPECT_EQ(Lines(out), (std::vector<std::string>{"猫(P) [ねこ(P);ネコ] /(n) Katze/(P)/EntL1467640/",
                                                    "独語 [どくご] /(n) Selbstgespräch/EntL2830000/"}));
    EXPECT_EQ(ImportJmdictText(Sample(), out, "xxx").status, ImportStatus::NotJmdict);
}

TEST_F(JmdictImportTest, EntitiesGivenExpandedAreMappedBackToTheirNames)
{
    // A file whose tags come as their descriptions (declared in its DTD).
    const std::string xml =
        "<!DOCTYPE JMdict [<!ENTITY n \"noun (common)\">]><JMdict><entry><ent_seq>7</ent_seq><r_ele><reb>ねこ</reb>"
        "</r_ele><sense><pos>noun (common)</pos><gloss>cat &amp; co</gloss></sense></entry></JMdict>";
    std::string out;
    ASSERT_EQ(ImportJmdictText(xml, out, "eng").status, ImportStatus::Done);
    EXPECT_EQ(out, "ねこ /(n) cat & co/EntL7/\n");
}

TEST_F(JmdictImportTest, FilesPlainOrCompressedAndWhatGoesWrong)
{
    const std::string sample = Sample();
    mirudex::test::WriteFile("JMdict_e", sample);
    WriteGzip("JMdict_e.gz", sample);
    std::string whole = mirudex::test::ReadFile("JMdict_e.gz");
    mirudex::test::WriteFile("cut.gz", whole.substr(0, whole.size() / 2));
    std::string corrupt = whole;
    corrupt[corrupt.size() - 6] ^= 0x55;  // the check sum of the data
    mirudex::test::WriteFile("corrupt.gz", corrupt);
    mirudex::test::WriteFile("cut.xml", sample.substr(0, sample.size() - 40));
    mirudex::test::WriteFile("notes.xml", "<notes><note>hi</note></notes>");

    struct Case {
        const char* input;
        ImportStatus status;
    };
    const Case cases[] = {
        {"JMdict_e", ImportStatus::Done},         {"JMdict_e.gz", ImportStatus::Done},
        {"cut.gz", ImportStatus::Damaged},        {"corrupt.gz", ImportStatus::Damaged},
        {"cut.xml", ImportStatus::Damaged},       {"notes.xml", ImportStatus::NotJmdict},
        {"missing.gz", ImportStatus::CannotOpen},
    };
    std::string expected;
    ImportJmdictText(sample, expected, "eng");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        std::filesystem::remove("out.edict2");
        std::vector<double> progress;
        const ImportOutcome outcome =
            ImportJmdict(c.input, "out.edict2", "eng", [&progress](double p) { progress.push_back(p); });
        EXPECT_EQ(outcome.status, c.status) << outcome.error;
        if (c.status == ImportStatus::Done) {
            EXPECT_EQ(mirudex::test::ReadFile("out.edict2"), expected);
            ASSERT_FALSE(progress.empty());
            EXPECT_DOUBLE_EQ(progress.back(), 1.0);
        } else {
            // Nothing half-written is left behind, and the user hears why.
            EXPECT_FALSE(std::filesystem::exists("out.edict2"));
            EXPECT_FALSE(ImportFailureText(outcome, c.input).empty());
            EXPECT_FALSE(outcome.error.empty());
        }
    }
    std::string error;
    EXPECT_TRUE(CheckGzipFile("JMdict_e.gz", error)) << error;
    EXPECT_FALSE(CheckGzipFile("cut.gz", error));
    EXPECT_FALSE(CheckGzipFile("corrupt.gz", error));
    EXPECT_FALSE(CheckGzipFile("JMdict_e", error));
}

TEST_F(JmdictImportTest, AStopRequestWritesNothingAndKeepsTheOldDictionary)
{
    mirudex::test::WriteFile("JMdict_e", Sample());
    mirudex::test::WriteFile("out.edict2", "old\n");
    std::atomic<bool> stop{true};
    const ImportOutcome outcome = ImportJmdict("JMdict_e", "out.edict2", "eng", {}, StopToken(&stop));
    EXPECT_EQ(outcome.status, ImportStatus::Stopped);
    EXPECT_EQ(mirudex::test::ReadFile("out.edict2"), "old\n");
}

TEST_F(JmdictImportTest, TheImportedDictionaryIsRegisteredOnceWithRoomForItsLines)
{
    EXPECT_EQ(ImportedDictionaryPath("/tmp/JMdict_e.gz"), "DICT\\JMdict_e.edict2");
    EXPECT_EQ(ImportedDictionaryPath("JMdict.xml"), "DICT\\JMdict.edict2");
    EXPECT_EQ(ImportedDictionaryPath(".gz"), "DICT\\.gz.edict2");

    const int before = registry_.GetINT(opt::dictionaries::edict::kNumber);
    EXPECT_EQ(FindConfiguredDictionary(registry_, "DICT\\JMdict_e.edict2"), -1);
    const int n = RegisterDictionary(registry_, "DICT\\JMdict_e.edict2", "JMdict", "UTF-8", true);
    EXPECT_EQ(n, before);
    EXPECT_EQ(registry_.GetINT(opt::dictionaries::edict::kNumber), before + 1);
    EXPECT_EQ(FindConfiguredDictionary(registry_, "DICT\\JMdict_e.edict2"), n);
    EXPECT_EQ(registry_.GetString(opt::dictionaries::edict::Encoding(n)), "UTF-8");
    EXPECT_TRUE(registry_.GetBOOL(opt::dictionaries::edict::On(n)));

    registry_.SetINT(opt::buffer::kEDICT, 5000);
    EXPECT_FALSE(EnsureLineBuffer(registry_, 4998));
    EXPECT_TRUE(EnsureLineBuffer(registry_, 4999));
    EXPECT_EQ(registry_.GetINT(opt::buffer::kEDICT), 6000);
}

}  // namespace
}  // namespace mirudex::dict::test
