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

// Whatever a field holds, every entry stays one line with its own forms and
// meanings: line ends, slashes and the separators of forms cannot make
// another entry or move text from one part of a line to another.
TEST_F(JmdictImportTest, NoFieldCanInjectEntriesOrSplitALine)
{
    const std::string injected = "\n偽 [にせ] /injected fake entry/\n";
    auto entry = [](const std::string& inside) { return "<entry><ent_seq>1</ent_seq>" + inside + "</entry>"; };
    const std::string cat = "<k_ele><keb>猫</keb></k_ele><r_ele><reb>ねこ</reb></r_ele>";
    struct Case {
        const char* field;
        std::string xml;
        std::string line;  // what the entry becomes
    };
    const Case cases[] = {
        {"pos", entry(cat + "<sense><pos>n" + injected + "</pos><gloss>cat</gloss></sense>"),
         "猫 [ねこ] /(n 偽 [にせ] ∕injected fake entry∕ ) cat/EntL1/"},
        {"misc, field", entry(cat + "<sense><misc>a/b</misc><field>c,d)</field><gloss>cat</gloss></sense>"),
         "猫 [ねこ] /(a∕b,c，d）) cat/EntL1/"},
        {"dial", entry(cat + "<sense><dial>ksb" + injected + "</dial><gloss>cat</gloss></sense>"),
         "猫 [ねこ] /(ksb 偽 [にせ] ∕injected fake entry∕ :) cat/EntL1/"},
        {"ke_inf, re_inf: tag letters only",
         entry("<k_ele><keb>猫</keb><ke_inf>i K" + injected +
               "</ke_inf></k_ele><r_ele><reb>ねこ</reb><re_inf>(x)"
               "</re_inf></r_ele><sense><gloss>cat</gloss></sense>"),
         "猫(i-K-injected-fake-entry) [ねこ(x)] /cat/EntL1/"},
        {"ent_seq: digits only",
         "<entry><ent_seq>2" + injected + "</ent_seq>" + cat + "<sense><gloss>cat</gloss></sense></entry>",
         "猫 [ねこ] /cat/"},
        {"lsource xml:lang",
         entry(cat + "<sense><lsource xml:lang=\"en&#10;偽 [にせ] /injected/&#10;\">x</lsource><gloss>cat</gloss>"
                     "</sense>"),
         "猫 [ねこ] /(en 偽 [にせ] ∕injected∕ : x) cat/EntL1/"},
        {"forms: separators of forms, readings and groups",
         entry(
             "<k_ele><keb>猫 [x];\n(P)/&amp;#x41</keb></k_ele><r_ele><reb>ね,こ]</reb><re_restr>猫 [x];\n(P)/&amp;#x41"
             "</re_restr></r_ele><sense><gloss>cat</gloss></sense>"),
         "猫　［x］；　（P）∕＆#x41 [ね，こ］(猫　［x］；　（P）∕＆#x41)] /cat/EntL1/"},
        {"gloss, s_inf, xref",
         entry(cat + "<sense><s_inf>a\nb/c</s_inf><xref>x/y</xref><gloss>a/b\r\nc</gloss>"
                     "</sense>"),
         "猫 [ねこ] /(a b∕c) (See x∕y) a∕b c/EntL1/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        std::string out;
        const ImportOutcome outcome = ImportJmdictText("<JMdict>" + c.xml + "</JMdict>", out, "eng");
        ASSERT_EQ(outcome.status, ImportStatus::Done) << outcome.error;
        EXPECT_EQ(outcome.entries, 1);
        EXPECT_EQ(Lines(out), std::vector<std::string>{c.line});
        // Read back, the line has the entry's own forms and no more.
        const Edict2Line parsed = ParseEdict2Line(U(out));
        ASSERT_EQ(parsed.headwords.size(), 1u);
        EXPECT_EQ(parsed.readings.size(), 1u);
        if (std::string(c.field).starts_with("forms")) {
            EXPECT_EQ(parsed.headwords[0].text, U("猫　［x］；　（P）∕＆#x41"));
            EXPECT_EQ(parsed.readings[0].restrictedTo, std::vector<std::u16string>{parsed.headwords[0].text});
        }
    }

    // The file the fuzzing corpus keeps: three entries, three lines, and the
    // cat keeps its meaning.
    std::string out;
    const ImportOutcome outcome = ImportJmdictText(
        mirudex::test::ReadFile(std::filesystem::path(MIRUDEX_SOURCE_DIR) / "fuzz/corpus/jmdict_import/injection.xml"),
        out, "eng");
    ASSERT_EQ(outcome.status, ImportStatus::Done) << outcome.error;
    EXPECT_EQ(outcome.entries, 3);
    const std::vector<std::string> lines = Lines(out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(ParseEdict2Line(U(lines[0])).fields.back(), u"(P)");
    EXPECT_NE(lines[0].find(") cat/"), std::string::npos);
    for (const std::string& line : lines)
        EXPECT_NE(ParseEdict2Line(U(line)).headwords[0].text, u"にせ") << line;
}

// An element or a line beyond its bound leaves its entry out (counted), the
// rest of the file is imported, and the line buffer stays as small as the
// lines kept need. Markup beyond its bound, or a dictionary too large to be
// loaded, fails the import and leaves the old dictionary alone.
TEST_F(JmdictImportTest, AnEntryBeyondTheBoundsIsLeftOutAndCounted)
{
    ImportLimits limits;
    limits.element = 100;
    limits.line = 400;
    limits.markup = 1000;
    auto file = [](const std::string& entry) {
        return "<JMdict><entry><ent_seq>1</ent_seq><r_ele><reb>ねこ</reb></r_ele><sense><gloss>cat</gloss></sense>"
               "</entry>" +
               entry + "</JMdict>";
    };
    auto kana = [](const std::string& inside) {
        return "<entry><ent_seq>2</ent_seq><r_ele><reb>いぬ</reb></r_ele>" + inside + "</entry>";
    };
    std::string manyForms, manyGlosses, manySenses, manyEmpty;
    for (int i = 0; i < 60; ++i) {
        manyForms += "<k_ele><keb>犬" + std::to_string(i) + "</keb></k_ele>";
        manyGlosses += "<gloss>dog " + std::to_string(i) + "</gloss>";
        manySenses += "<sense><gloss>d</gloss></sense>";
    }
    for (int i = 0; i < 5000; ++i)
        manyEmpty += "<k_ele/>";
    struct Case {
        const char* name;
        std::string xml;
        int tooLarge;
    };
    const Case cases[] = {
        {"a gloss at the bound", file(kana("<sense><gloss>" + std::string(100, 'a') + "</gloss></sense>")), 0},
        {"a gloss beyond it", file(kana("<sense><gloss>" + std::string(101, 'a') + "</gloss></sense>")), 1},
        {"a form beyond it",
         file("<entry><k_ele><keb>" + std::string(101, 'k') + "</keb></k_ele>" +
              kana("<sense><gloss>dog</gloss></sense>").substr(7)),
         1},
        {"a tag beyond it", file(kana("<sense><pos>" + std::string(101, 'n') + "</pos><gloss>d</gloss></sense>")), 1},
        {"a source language beyond it",
         file(kana("<sense><lsource xml:lang=\"" + std::string(101, 'x') + "\">a</lsource><gloss>d</gloss></sense>")),
         1},
        {"many forms", file("<entry>" + manyForms + kana("<sense><gloss>dog</gloss></sense>").substr(7)), 1},
        {"many glosses", file(kana("<sense>" + manyGlosses + "</sense>")), 1},
        {"many senses", file(kana(manySenses)), 1},
        {"many empty elements", file("<entry>" + manyEmpty + kana("<sense><gloss>dog</gloss></sense>").substr(7)), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        const ImportOutcome outcome = ImportJmdictText(c.xml, out, "eng", limits);
        ASSERT_EQ(outcome.status, ImportStatus::Done) << outcome.error;
        EXPECT_EQ(outcome.tooLarge, c.tooLarge);
        EXPECT_EQ(outcome.entries, 2 - c.tooLarge);
        EXPECT_EQ(Lines(out).front(), "ねこ /cat/EntL1/");
        EXPECT_LE(outcome.longestLine, limits.line);
    }

    // A file: a large gloss in a small .gz (with the usual bounds), between two entries kept.
    std::string big =
        "<JMdict><entry><r_ele><reb>ねこ</reb></r_ele><sense><gloss>cat</gloss></sense></entry>"
        "<entry><r_ele><reb>ぞう</reb></r_ele><sense><gloss>";
    big.append(8 << 20, 'e');
    big +=
        "</gloss></sense></entry><entry><r_ele><reb>いぬ</reb></r_ele><sense><gloss>dog</gloss></sense></entry>"
        "</JMdict>";
    WriteGzip("big.xml.gz", big);
    ImportOutcome outcome = ImportJmdict("big.xml.gz", "out.edict2", "eng");
    ASSERT_EQ(outcome.status, ImportStatus::Done) << outcome.error;
    EXPECT_EQ(outcome.tooLarge, 1);
    EXPECT_EQ(mirudex::test::ReadFile("out.edict2"), "ねこ /cat/\nいぬ /dog/\n");
    registry_.SetINT(opt::buffer::kEDICT, 5000);
    EXPECT_FALSE(EnsureLineBuffer(registry_, outcome.longestLine));

    // Markup beyond its bound: a comment the parser would have to hold whole.
    mirudex::test::WriteFile("out.edict2", "old\n");
    mirudex::test::WriteFile("comment.xml", "<JMdict><!--" + std::string(600'000, 'c') + "--></JMdict>");
    outcome = ImportJmdict("comment.xml", "out.edict2", "eng", {}, {}, limits);
    EXPECT_EQ(outcome.status, ImportStatus::Damaged);
    EXPECT_NE(outcome.error.find("longer than 1000 bytes"), std::string::npos) << outcome.error;
    EXPECT_EQ(mirudex::test::ReadFile("out.edict2"), "old\n");

    // A dictionary larger than can be loaded.
    mirudex::test::WriteFile("JMdict_e", Sample());
    limits = {};
    limits.dictionary = 1000;
    outcome = ImportJmdict("JMdict_e", "out.edict2", "eng", {}, {}, limits);
    EXPECT_EQ(outcome.status, ImportStatus::TooLarge);
    EXPECT_NE(ImportFailureText(outcome, "JMdict_e").find(u"too large"), std::u16string::npos);
    EXPECT_EQ(mirudex::test::ReadFile("out.edict2"), "old\n");
}

// The priorities that make a common word are written as EDICT2 writes them:
// (P) on each such form and as the entry's last meaning; the others have no
// EDICT2 notation.
TEST_F(JmdictImportTest, CommonPrioritiesAreMarkedAsInEdict2)
{
    struct Case {
        const char* priority;
        bool common;
    };
    const Case cases[] = {{"news1", true}, {"news2", false}, {"ichi1", true}, {"ichi2", false}, {"spec1", true},
                          {"spec2", true}, {"gai1", true},   {"gai2", false}, {"nf01", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.priority);
        const std::string pri = c.priority;
        std::string out;
        ASSERT_EQ(ImportJmdictText("<JMdict><entry><ent_seq>1</ent_seq><k_ele><keb>猫</keb><ke_pri>" + pri +
                                       "</ke_pri></k_ele><r_ele><reb>ねこ</reb><re_pri>" + pri +
                                       "</re_pri></r_ele><sense><gloss>cat</gloss></sense></entry></JMdict>",
                                   out, "eng")
                      .status,
                  ImportStatus::Done);
        EXPECT_EQ(out, c.common ? "猫(P) [ねこ(P)] /cat/(P)/EntL1/\n" : "猫 [ねこ] /cat/EntL1/\n");
    }
}

// An imported entry read back has JMdict's senses, each with its own parts
// of speech (given once in the file, holding for the senses after it) and
// its own usage and field markers, each once.
TEST_F(JmdictImportTest, ImportedEntriesKeepTheirSensesAndTheirTags)
{
    std::string out;
    ASSERT_EQ(ImportJmdictText(Sample(), out, kJmdictDefaultLanguage).status, ImportStatus::Done);
    MarkerTable markers;
    LoadMarkers(markers, mirudex::test::ProgramDataPath("partsofspeech.mxf").string());
    Dictionary dictionary;
    dictionary.encoding = "UTF-8";
    dictionary.form = LineForm::Edict2;
    auto sensesOf = [&](std::string_view head) {
        std::vector<std::string> senses;
        for (const std::string& line : Lines(out)) {
            if (line.rfind(head, 0) != 0)
                continue;
            Entry entry;
            FillEntryFromLine(line + "\n", dictionary, entry, IndexEntry{u"W", u"K", 0});
            SetInfo(entry, markers);
            for (const Sense& sense : entry.senses) {
                std::string text;
                for (const SenseTag& tag : sense.tags)
                    text += Utf16ToUtf8(tag.marker) + " ";
                for (const std::u16string& gloss : sense.glosses)
                    text += "[" + Utf16ToUtf8(gloss) + "]";
                senses.push_back(text);
            }
        }
        return senses;
    };
    EXPECT_EQ(sensesOf("猫(P)"), (std::vector<std::string>{"n [cat (esp. the domestic cat)]", "n uk col [shamisen]",
                                                           "n [(See 手押し車) wheelbarrow]"}));
    EXPECT_EQ(sensesOf("本(P)"), (std::vector<std::string>{"n [book][volume]", "pref [main][head]"}));
    EXPECT_EQ(sensesOf("勉強(P)"),
              (std::vector<std::string>{"n vs [study]", "n vs ksb: [discount][(lit) effort \u2215 trying hard]"}));
    EXPECT_EQ(sensesOf("電算機"), (std::vector<std::string>{"n comp dated [computer]"}));
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
    // Whatever a file held, the buffer stays within its bound and positive
    // (a 2.1 GB line once made it negative, and then nothing was found).
    for (const size_t longest : {kLargestLineBuffer - 2, kLargestLineBuffer - 1, size_t{2'202'009'999}, SIZE_MAX}) {
        registry_.SetINT(opt::buffer::kEDICT, 5000);
        EXPECT_TRUE(EnsureLineBuffer(registry_, longest));
        EXPECT_EQ(registry_.GetINT(opt::buffer::kEDICT), static_cast<int>(kLargestLineBuffer));
    }
    registry_.SetINT(opt::buffer::kEDICT, -2092957296);
    EXPECT_TRUE(EnsureLineBuffer(registry_, 100));
    EXPECT_EQ(registry_.GetINT(opt::buffer::kEDICT), 1000);
    // A buffer the user made larger is left alone.
    registry_.SetINT(opt::buffer::kEDICT, 5'000'000);
    EXPECT_FALSE(EnsureLineBuffer(registry_, SIZE_MAX));
    EXPECT_EQ(registry_.GetINT(opt::buffer::kEDICT), 5'000'000);
}

}  // namespace
}  // namespace mirudex::dict::test
