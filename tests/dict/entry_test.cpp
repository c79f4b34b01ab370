#include <gtest/gtest.h>

#include "DictTestUtil.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "dict/Dictionary.h"
#include "dict/Entry.h"

namespace mirudex::dict::test {
namespace {

class EntryTest : public DictTest {
protected:
    MarkerTable Markers(std::initializer_list<const char*> markers)
    {
        MarkerTable table;
        for (const char* m : markers)
            table.Add(U(m), U(std::string("desc ") + m));
        return table;
    }
};

TEST_F(EntryTest, LoadMarkersSkipsCommentsAndLinesWithoutTab)
{
    mirudex::test::WriteFile("partsofspeech.mxf",
                             "# comment\tnot a pair\n"
                             "n\tnoun (common)\r\n"
                             "no tab here\n"
                             "\n"
                             "vs\ttakes\tsuru\n"
                             "long\t" +
                                 std::string(1100, 'x') +
                                 "\n"
                                 "last\tline without end");
    OpenLog();
    MarkerTable table;
    LoadMarkers(table);
    ASSERT_EQ(table.size(), 3u);
    EXPECT_EQ(table.Description(u"n"), u"noun (common)");
    EXPECT_EQ(table.Description(u"vs"), u"takes\tsuru");
    EXPECT_EQ(table.Description(u"N"), u"");
    EXPECT_EQ(table.Description(u"long"), u"");  // too long for the marker reader: skipped, not cut
    EXPECT_EQ(table.Description(u"last"), u"line without end");
    const std::string log = Log();
    EXPECT_NE(log.find("ERROR: LoadMarkers(): could not find the TAB character <<no tab here>>.\n"), std::string::npos);
    EXPECT_NE(log.find("could not find the TAB character <<>>.\n"), std::string::npos);
}

// Markers that start with units of each range the table's quick refusal
// tells apart, an empty marker, and texts that are none of them.
TEST_F(EntryTest, DescriptionFindsEveryMarkerAndNothingElse)
{
    MarkerTable table;
    const std::u16string markers[] = {u"n", u"1", u"~", u"名詞", u"", u"abbrev", u"\u007fx"};
    for (const auto& m : markers)
        table.Add(m, u"about " + m);
    for (const auto& m : markers)
        EXPECT_EQ(table.Description(m), u"about " + m) << Utf16ToUtf8(m);
    for (const char16_t* none : {u"N", u"2", u"nn", u"abbreviation", u"名", u"\u0080", u"@", u"abbre", u"x"})
        EXPECT_EQ(table.Description(none), u"") << Utf16ToUtf8(none);
    table.Clear();
    EXPECT_EQ(table.Description(u"n"), u"");
    EXPECT_EQ(table.Description(u""), u"");
    table.Add(u"P", u"top");
    EXPECT_EQ(table.Description(u"P"), u"top");
    EXPECT_EQ(table.Description(u"n"), u"");
}

TEST_F(EntryTest, LoadMarkersWithoutFileLeavesTableEmpty)
{
    OpenLog();
    MarkerTable table;
    LoadMarkers(table);
    EXPECT_EQ(table.size(), 0u);
    EXPECT_NE(Log().find("ERROR: LoadMarkers(): Could not open partsofspeech.mxf\n"), std::string::npos);
}

TEST_F(EntryTest, SetInfoMovesKnownMarkersOut)
{
    struct Case {
        const char* name;
        std::vector<std::u16string> meanings;
        std::vector<std::u16string> expectedMeanings;
        std::vector<std::u16string> expectedInfo;
    };
    const Case cases[] = {
        {"listed group and top word",
         {u"(n,vs) study", u"(P)"},
         {u"study"},
         {u"desc n", u"desc vs", u"One of top 20,000 words"}},
        {"unknown part dropped with its group", {u"(n,xx) study"}, {u"study"}, {u"desc n"}},
        {"group at the end keeps the space before it", {u"to eat (vt)"}, {u"to eat "}, {u"desc vt"}},
        {"no known part: unchanged", {u"(see also X) word"}, {u"(see also X) word"}, {}},
        {"unclosed group without a marker", {u"word (see"}, {u"word (see"}, {}},
        {"unclosed group with a marker runs to the end", {u"word (n"}, {u"word "}, {u"desc n"}},
        {"two groups in a row", {u"(n) (vs) study"}, {u"study"}, {u"desc n", u"desc vs"}},
        {"middle group leaves one blank", {u"big (n) cat"}, {u"big cat"}, {u"desc n"}},
        {"group between a number and a gloss leaves one blank",
         {u"(n) (4) (abbr) wheelbarrow"},
         {u"(4) wheelbarrow"},
         {u"desc n", u"desc abbr"}},
        {"blanks the line itself doubles stay", {u"a  b (n)  c"}, {u"a  b  c"}, {u"desc n"}},
        {"parts are taken as they are", {u"(n, vs) x"}, {u"x"}, {u"desc n"}},
        {"(P) only as the last meaning", {u"(P)", u"cat"}, {u"(P)", u"cat"}, {}},
        {"sense numbers stay", {u"(n) (1) cat"}, {u"(1) cat"}, {u"desc n"}},
        {"same marker twice gives two infos", {u"(n) a", u"(n) b"}, {u"a", u"b"}, {u"desc n", u"desc n"}},
    };
    const MarkerTable markers = Markers({"n", "vs", "vt", "abbr"});
    for (const auto& c : cases) {
        Entry entry;
        entry.meanings = c.meanings;
        SetInfo(entry, markers);
        EXPECT_EQ(entry.meanings, c.expectedMeanings) << c.name;
        EXPECT_EQ(entry.info, c.expectedInfo) << c.name;
        EXPECT_EQ(entry.meaningsAsRead, c.meanings) << c.name;
    }
}

TEST_F(EntryTest, SetInfoLogsUnclosedGroupAndDoesNothingWithoutMeanings)
{
    OpenLog();
    Entry empty;
    SetInfo(empty, Markers({"n"}));
    EXPECT_TRUE(empty.info.empty());
    Entry entry;
    entry.meanings = {u"a (b"};
    SetInfo(entry, Markers({"n"}));
    EXPECT_NE(Log().find("SetInfo(): ERROR: could not find ending ')'.\n"), std::string::npos);
}

// The senses of an entry, one text each: its markers, then its glosses.
std::vector<std::string> SensesOf(const Entry& entry)
{
    std::vector<std::string> out;
    for (const Sense& sense : entry.senses) {
        std::string text;
        for (const SenseTag& tag : sense.tags)
            text += (text.empty() ? "" : ",") + Utf16ToUtf8(tag.marker);
        text += ":";
        for (const std::u16string& gloss : sense.glosses)
            text += " [" + Utf16ToUtf8(gloss) + "]";
        out.push_back(text);
    }
    return out;
}

// EDICT lines as Debian ships them (parts of speech on every sense), EDICT2
// lines (parts of speech only where they change), and lines without numbers:
// each sense keeps its own markers, each once, and its glosses lose the
// markers, the number and the blanks around them.
TEST_F(EntryTest, MeaningsAreGroupedIntoSensesWithTheirOwnTags)
{
    struct Case {
        const char* line;
        LineForm form;
        std::vector<std::string> senses;
        bool common;
        std::string grouped;  // SenseGroupedText with " | " between glosses
    };
    const Case cases[] = {
        {"猫 [ねこ] /(n) (1) cat (esp. the domestic cat)/(n) (2) shamisen/(n) (4) (abbr) wheelbarrow/(n) (6) (uk) "
         "(col) bottom/submissive partner/(P)/\n",
         LineForm::Edict,
         {"n: [cat (esp. the domestic cat)]", "n: [shamisen]", "n,abbr: [wheelbarrow]",
          "n,uk,col: [bottom] [submissive partner]"},
         true,
         "(n) (1) cat (esp. the domestic cat); (2) shamisen; (3) (abbr) wheelbarrow; (4) (uk) (col) bottom | "
         "submissive partner"},
        {"勉強 [べんきょう] /(n,vs) study/(P)/\n", LineForm::Edict, {"n,vs: [study]"}, true, "(n) (vs) study"},
        {"甲 [こう] /plain/(vt) second (vt) again/third/\n",
         LineForm::Edict,
         {"vt: [plain] [second again] [third]"},
         false,
         "(vt) plain | second again | third"},
        // Parts of speech hold for the senses after them until others are given.
        {"食べる(P);喰べる(iK) [たべる(P)] /(v1,vt) (1) to eat/(2) to live on/(P)/EntL1358280/\n",
         LineForm::Edict2,
         {"v1,vt: [to eat]", "v1,vt: [to live on]"},
         true,
         "(v1) (vt) (1) to eat; (2) to live on"},
        {"一寸 [ちょっと] /(adv) (1) (uk) a little/a bit/(int) (2) (uk) hey!/(3) (See 一寸見) a glance/EntL1X/\n",
         LineForm::Edict2,
         {"adv,uk: [a little] [a bit]", "int,uk: [hey!]", "int: [(See 一寸見) a glance]"},
         false,
         "(1) (adv) (uk) a little | a bit; (2) (int) (uk) hey!; (3) (int) (See 一寸見) a glance"},
        // A sense number that is no marker and a note are kept apart from the markers.
        {"甲 [こう] /(n) (12) (foo) x/(n) (13) y/\n",
         LineForm::Edict,
         {"n: [(foo) x]", "n: [y]"},
         false,
         "(n) (1) (foo) x; (2) y"},
        {"甲 [こう] /(P)/\n", LineForm::Edict, {}, true, ""},
    };
    MarkerTable program;
    LoadMarkers(program, mirudex::test::ProgramDataPath("partsofspeech.mxf").string());
    for (const Case& c : cases) {
        Dictionary dictionary;
        dictionary.encoding = "UTF-8";
        dictionary.form = c.form;
        Entry entry;
        FillEntryFromLine(c.line, dictionary, entry, IndexEntry{u"W", u"K", 0});
        SetInfo(entry, program);
        EXPECT_EQ(SensesOf(entry), c.senses) << c.line;
        EXPECT_EQ(entry.common, c.common) << c.line;
        EXPECT_EQ(Utf16ToUtf8(SenseGroupedText(entry, u" | ")), c.grouped) << c.line;
        for (const Sense& sense : entry.senses)
            for (const std::u16string& gloss : sense.glosses)
                EXPECT_EQ(gloss.find(u"  "), std::u16string::npos) << Utf16ToUtf8(gloss);
        // The flat lists are what they were: a reader of the old fields sees no change.
        for (const std::u16string& meaning : entry.meanings)
            EXPECT_EQ(meaning.find(u"  "), std::u16string::npos) << Utf16ToUtf8(meaning);
    }
    // A second SetInfo on the same entry does not pile up senses.
    Entry twice;
    twice.meanings = {u"(n) (1) a", u"(2) b"};
    SetInfo(twice, program);
    twice.meanings = {u"(n) c"};
    SetInfo(twice, program);
    EXPECT_EQ(SensesOf(twice), std::vector<std::string>{"n: [c]"});
}

TEST_F(EntryTest, TagsOfEverySenseAreSaidOnceAndTheRestStayWithTheirSense)
{
    Entry entry;
    entry.senses = {{{u"a"}, {{u"n", u"noun"}, {u"uk", u"kana"}}},
                    {{u"b"}, {{u"uk", u"kana"}, {u"n", u"noun"}, {u"col", u"colloquial"}}},
                    {{u"c"}, {{u"n", u"noun"}}}};
    EXPECT_EQ(TagsOfEverySense(entry), (std::vector<SenseTag>{{u"n", u"noun"}}));
    EXPECT_EQ(OwnTags(entry.senses[1], TagsOfEverySense(entry)),
              (std::vector<SenseTag>{{u"uk", u"kana"}, {u"col", u"colloquial"}}));
    EXPECT_EQ(SenseGroupedText(entry, u"/"), u"(n) (1) (uk) a; (2) (uk) (col) b; (3) c");
    EXPECT_TRUE(TagsOfEverySense(Entry{}).empty());
    EXPECT_EQ(SenseGroupedText(Entry{}, u"/"), u"");
}

class LoadInfoTest : public EntryTest {
protected:
    void SetUp() override
    {
        EntryTest::SetUp();
        lines_ = {Euc("勉強 [べんきょう] /(n,vs) study/(P)/\n"), "WORD /a//b/ junk\n", "NOSLASH\n",
                  Euc("猫 [ねこ] /cat/ x")};  // a last line without its end is read like any other
        std::string all;
        for (const auto& line : lines_) {
            offsets_.push_back(static_cast<int32_t>(all.size()));
            all += line;
        }
        mirudex::test::WriteFile("dict.txt", all);
        dictionary_.path = "dict.txt";
        dictionary_.name = "Test";
        dictionary_.encoding = "EUC-JP";
    }

    static std::string ReadAll() { return mirudex::test::ReadFile("dict.txt"); }

    IndexEntry At(size_t line, std::u16string word = u"W", std::u16string kana = u"K")
    {
        return IndexEntry{std::move(word), std::move(kana), offsets_[line]};
    }

    std::vector<std::string> lines_;
    std::vector<int32_t> offsets_;
    Dictionary dictionary_;
};

TEST_F(LoadInfoTest, ReadsMeaningsAndKeepsRawLine)
{
    Entry entry;
    LoadInfoInto(registry_, dictionary_, entry, At(0, u"勉強", u"べんきょう"));
    EXPECT_EQ(entry.word, u"勉強");
    EXPECT_EQ(entry.kana, u"べんきょう");
    EXPECT_EQ(entry.meanings, (std::vector<std::u16string>{u"(n,vs) study", u"(P)"}));
    EXPECT_EQ(entry.rawLine, lines_[0]);
    EXPECT_FALSE(entry.selected);
    SetInfo(entry, Markers({"n", "vs"}));
    EXPECT_EQ(entry.meanings, (std::vector<std::u16string>{u"study"}));
    EXPECT_EQ(entry.info, (std::vector<std::u16string>{u"desc n", u"desc vs", u"One of top 20,000 words"}));
}

TEST_F(LoadInfoTest, EmptyMeaningsSkippedAndLineWithoutSlashHasNone)
{
    LineReader file("dict.txt");
    Entry ab;
    LoadInfoInto(file, registry_, dictionary_, ab, At(1));
    EXPECT_EQ(ab.meanings, (std::vector<std::u16string>{u"a", u"b"}));
    Entry none;
    LoadInfoInto(file, registry_, dictionary_, none, At(2));
    EXPECT_TRUE(none.meanings.empty());
    EXPECT_EQ(none.rawLine, "NOSLASH\n");
}

TEST_F(LoadInfoTest, LastLineIsReadButEndOfFileAndMissingFileLeaveEntryUnfilled)
{
    OpenLog();
    Entry last;
    LoadInfoInto(registry_, dictionary_, last, At(3, u"猫", u"ねこ"));
    EXPECT_EQ(last.word, u"猫");
    EXPECT_EQ(last.meanings, (std::vector<std::u16string>{u"cat"}));
    EXPECT_EQ(last.rawLine, lines_[3]);
    LineReader file("dict.txt");
    Entry past;
    LoadInfoInto(file, registry_, dictionary_, past, IndexEntry{u"x", u"x", 100000});
    EXPECT_TRUE(past.word.empty());
    EXPECT_EQ(GetEdictLine(file, registry_, IndexEntry{u"x", u"x", static_cast<int32_t>(ReadAll().size())}),
              std::nullopt);
    // The caller's file stays usable.
    EXPECT_EQ(GetEdictLine(file, registry_, At(1)), std::optional<std::string>("WORD /a//b/"));
    EXPECT_EQ(GetEdictLine(file, registry_, At(3)), std::optional<std::string>(Euc("猫 [ねこ] /cat/")));

    Dictionary missing = dictionary_;
    missing.path = "nothere.txt";
    Entry entry;
    LoadInfoInto(registry_, missing, entry, At(0));
    EXPECT_TRUE(entry.word.empty());
    const std::string log = Log();
    EXPECT_EQ(log.find("ERROR: LoadInfoInto(): End of file found\n"), std::string::npos);
    EXPECT_NE(log.find("ERROR: LoadInfoInto(FILE*): End of file\n"), std::string::npos);
    EXPECT_NE(log.find("ERROR: GetEdictLine(): End of file\n"), std::string::npos);
    EXPECT_NE(log.find("ERROR: LoadInfoInto(): Could NOT open: nothere.txt\n"), std::string::npos);
}

TEST_F(LoadInfoTest, ConversionFailuresGiveOneMeaningEachAndOneLogLinePerDictionary)
{
    mirudex::test::WriteFile("bad.txt", "X /\xFF\xFE/\nY /\xFF\xFD/\n");
    Dictionary bad = dictionary_;
    bad.path = "bad.txt";
    Dictionary other = bad;
    other.name = "Other";
    OpenLog();
    for (const Dictionary* d : {&bad, &bad, &other}) {
        for (int32_t offset : {0, 7}) {
            Entry entry;
            LoadInfoInto(registry_, *d, entry, IndexEntry{u"X", u"X", offset});
            EXPECT_EQ(entry.word, u"X");
            EXPECT_EQ(entry.meanings,
                      (std::vector<std::u16string>{Utf8ToUtf16("ERROR in 'bad.txt' (" + d->name + ").")}));
        }
    }
    // Shown rows never raise a box; each dictionary is named once in the log.
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    const std::string log = Log();
    const std::string line = "ERROR: There was a problem converting the encoding to Unicode.\n";
    const size_t first = log.find(line);
    ASSERT_NE(first, std::string::npos);
    const size_t second = log.find(line, first + 1);
    ASSERT_NE(second, std::string::npos);
    EXPECT_EQ(log.find(line, second + 1), std::string::npos);
}

using JoinedTextsTest = EntryTest;

TEST_F(JoinedTextsTest, EqualTheFilledEntryForEveryShapeOfLine)
{
    const char* lines[] = {
        "勉強 [べんきょう] /(n,vs) study/(P)/\n",
        "猫 [ねこ] /(n) (1) cat/(2) (col) shamisen/(3) (X) (col) geisha/(4) (abbr) wheelbarrow/(P)/\n",
        "ねこ /(n) cat/\n",
        "甲 [こう] /(P)/\n",
        "甲 [こう] /(P)/(n) a noun after the mark/\n",
        "甲 [こう] /(n)(vs)(P)/\n",  // markers taken out of the last meaning leave the mark
        "甲 [こう] /trailing (P)/\n",
        "甲 [こう] /a//b///c/\n",
        "甲 [こう] / (n)  spaced   out  / /  /\n",
        "甲 [こう] / (n) lead/a (n) b (vs) c/(n) (n) twice/\n",
        "甲 [こう] /(n) /(vs)/\n",  // meanings that are only markers stay, empty
        "甲 [こう] /(unknown) thing (n)/((n)) nested/(n unclosed/\n",
        "甲 [こう] /(n,unknown,vt) mixed/(,)/(n,)/(,n) commas/\n",
        "甲 [こう] /100% cotton/back\\slash/%1/\n",
        "甲 [こう] /a/b\n",
        "甲 [こう] /a/b/ junk after the last slash\n",
        "甲 [こう] /a/\r\n",
        "甲 [こう] //\n",
        "甲 [こう] /(P)\n",
        "甲;乙 [こう] /(n) an EDICT2 line read as plain/EntL1234567X/\n",
        "NOSLASH\n",
        "/\n",
        "\n",
    };
    MarkerTable program;
    LoadMarkers(program, mirudex::test::ProgramDataPath("partsofspeech.mxf").string());
    ASSERT_GT(program.size(), 100u);
    // A table where the mark of the top words and a text with a comma are markers too.
    const MarkerTable own = Markers({"n", "vs", "P", "X", "n,vs", "unknown"});
    Dictionary dictionary;
    dictionary.encoding = "EUC-JP";
    for (const char* line : lines)
        for (const MarkerTable* markers : {static_cast<const MarkerTable*>(&program), &own})
            EXPECT_EQ(JoinedTextsDifferences(Euc(line), dictionary, *markers), "");
    // Another encoding is converted as FillEntryFromLine converts it.
    dictionary.encoding = "SHIFT_JIS";
    EXPECT_EQ(JoinedTextsDifferences(Sjis(lines[1]), dictionary, program), "");
}

TEST_F(JoinedTextsTest, LeavesLinesItCannotReadToTheEntry)
{
    Dictionary dictionary;
    dictionary.encoding = "EUC-JP";
    std::u16string info = u"x", meanings = u"y";
    // Bytes EUC-JP cannot hold: the entry says so.
    EXPECT_FALSE(JoinedTextsOfLine("\xff\xfe /a/\n", dictionary, MarkerTable(), u";", u";", info, meanings));
    EXPECT_EQ(info + meanings, u"");
    // An EDICT2 entry has its forms' tags as info, which only the entry gets.
    dictionary.form = LineForm::Edict2;
    EXPECT_FALSE(
        JoinedTextsOfLine(Euc("甲(P);乙 [こう] /a/EntL1X/\n"), dictionary, MarkerTable(), u";", u";", info, meanings));
}

}  // namespace
}  // namespace mirudex::dict::test
