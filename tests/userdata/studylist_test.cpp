#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/Entry.h"
#include "platform/api/Utf.h"
#include "support/TestSupport.h"
#include "userdata/Copy.h"
#include "userdata/LineRecoding.h"
#include "userdata/StudyList.h"
#include "userdata_test_support.h"

using namespace mirudex;
using namespace mirudex::userdata;

namespace {

// 勉強 [べんきょう] /(n,vs) study/(P)/ in EUC-JP and in UTF-8.
const std::string kStudyEuc = "\xca\xd9\xb6\xaf [\xa4\xd9\xa4\xf3\xa4\xad\xa4\xe7\xa4\xa6] /(n,vs) study/(P)/\n";
const std::string kStudyUtf8 = "勉強 [べんきょう] /(n,vs) study/(P)/\n";
const std::string kCatEuc = "\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n";

class StudyListTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
        markers_.Add(u"n", u"noun");
        markers_.Add(u"vs", u"suru verb");
    }

    // Every entry of a dictionary file, read as a search would, selected.
    std::vector<dict::Entry> EntriesOf(const std::string& path, const std::string& encoding)
    {
        dict::Dictionary d;
        d.path = path;
        d.name = path;
        d.encoding = encoding;
        options_.SetBOOL(".\\Dictionaries\\Indexing", false);
        dict::EDICT_Index_Load(d, options_);
        options_.SetBOOL(".\\Dictionaries\\Indexing", true);
        std::vector<dict::Entry> entries;
        int64_t lastOffset = -1;
        for (const dict::IndexEntry& index : d.index) {
            if (index.offset == lastOffset)
                continue;  // another form of an EDICT2 line: one row
            lastOffset = index.offset;
            dict::Entry e;
            dict::LoadInfoInto(options_, d, e, index);
            dict::SetInfo(e, markers_);
            e.selected = true;
            entries.push_back(std::move(e));
        }
        return entries;
    }

    // A runner that loads on this thread, as the worker would, or ends as scripted.
    StudyListContext Context(LoadWait outcome = LoadWait::Finished)
    {
        return StudyListContext{options_, markers_,
                                [this, outcome](dict::Dictionary& d) {
                                    ++loads_;
                                    indexingDuringLoad_ = options_.GetBOOL(".\\Dictionaries\\Indexing");
                                    if (outcome == LoadWait::Finished)
                                        dict::EDICT_Index_Load(d, options_);
                                    return outcome;
                                },
                                file_};
    }

    static void ExpectSameEntry(const dict::Entry& a, const dict::Entry& b)
    {
        EXPECT_EQ(a.word, b.word);
        EXPECT_EQ(a.kana, b.kana);
        EXPECT_EQ(a.meanings, b.meanings);
        EXPECT_EQ(a.info, b.info);
    }

    Registry options_;
    dict::MarkerTable markers_;
    StudyListFile file_;
    int loads_ = 0;
    bool indexingDuringLoad_ = true;
};

TEST_F(StudyListTest, TwoCopiesOfOneEntrySurviveSavingTwiceAndLoading)
{
    test::WriteFile("edict", kStudyEuc + kCatEuc);
    std::vector<dict::Entry> results = EntriesOf("edict", "EUC-JP");
    ASSERT_EQ(results.size(), 2u);
    results[1].selected = false;
    ASSERT_EQ(results[0].info.size(), 3u);  // noun, suru verb, top word

    std::vector<dict::Entry> list;
    EXPECT_EQ(AddToStudyList(results, list), 1u);
    EXPECT_EQ(AddToStudyList(results, list), 1u);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_FALSE(list[0].selected);
    EXPECT_TRUE(results[0].selected);

    OpenLog();
    ASSERT_TRUE(SaveStudyList(list, "my.list"));
    ASSERT_TRUE(SaveStudyList(list, "my.list"));
    EXPECT_EQ(test::ReadFile("my.list"), kStudyEuc + kStudyEuc);
    EXPECT_NE(Log().find("Saving study list......OKAY\n"), std::string::npos);

    StudyListContext context = Context();
    std::vector<dict::Entry> loaded;
    ASSERT_TRUE(LoadStudyList(loaded, context, "my.list", false));
    ASSERT_EQ(loaded.size(), 2u);
    for (const dict::Entry& e : loaded) {
        ExpectSameEntry(e, results[0]);
        EXPECT_EQ(e.rawLine, kStudyEuc);
    }
    // No index file is read or made for a study list, and indexing is on again afterwards.
    EXPECT_FALSE(indexingDuringLoad_);
    EXPECT_TRUE(options_.GetBOOL(".\\Dictionaries\\Indexing"));
    EXPECT_FALSE(std::filesystem::exists("my.list.mxi"));
    EXPECT_NE(Log().find("Loading study list (my.list)...\n"), std::string::npos);
    EXPECT_NE(Log().find("Studylist loaded.\n"), std::string::npos);
}

TEST_F(StudyListTest, EncodingComesFromTheEntrysDictionary)
{
    struct Case {
        const char* name;
        std::string line;      // as the dictionary holds it (UTF-8)
        std::string encoding;  // the dictionary's
        std::string saved;     // what the study list file gets
    };
    const Case cases[] = {
        // An ASCII headword reads the same in any encoding: only the
        // dictionary can say what the rest of the line is in.
        {"ASCII headword, kana reading", "CD [シーディー] /(n) compact disc/\n", "UTF-8",
         "CD [\xa5\xb7\xa1\xbc\xa5\xc7\xa5\xa3\xa1\xbc] /(n) compact disc/\n"},
        {"whole line in ASCII", "OK /okay/\n", "UTF-8", "OK /okay/\n"},
        {"kanji", kStudyUtf8, "UTF-8", kStudyEuc},
        {"from EUC-JP: unchanged", kCatEuc, "EUC-JP", kCatEuc},
        // What EUC-JP cannot hold is written as references, so the file
        // stays readable and the entry reads back as itself.
        {"hangul", "한국 [한국] /Korea/\n", "UTF-8", "&#xD55C;&#xAD6D; [&#xD55C;&#xAD6D;] /Korea/\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove("dict");
        test::WriteFile("dict", c.line);
        std::vector<dict::Entry> results = EntriesOf("dict", c.encoding);
        ASSERT_EQ(results.size(), 1u);
        EXPECT_EQ(results[0].encoding, c.encoding);
        std::vector<dict::Entry> list;
        AddToStudyList(results, list);
        platform_.Clear();
        ASSERT_TRUE(SaveStudyList(list, "s.list"));
        EXPECT_EQ(test::ReadFile("s.list"), c.saved);
        EXPECT_TRUE(platform_.MessageBoxes().empty());

        // Read back as the next start does: no conversion error, the same entry.
        StudyListContext context = Context();
        std::vector<dict::Entry> loaded;
        std::string unreadable;
        ASSERT_TRUE(LoadStudyList(loaded, context, "s.list", false, &unreadable));
        EXPECT_EQ(unreadable, "");
        ASSERT_EQ(loaded.size(), 1u);
        ExpectSameEntry(loaded[0], results[0]);
        EXPECT_EQ(loaded[0].meanings.back().find(u"ERROR in"), std::u16string::npos);
        EXPECT_TRUE(platform_.MessageBoxes().empty());
    }
}

// Characters EUC-JP cannot hold (hangul, kanji outside JIS X 0208/0212 such
// as 𠮟) are saved as character references and come back as themselves.
TEST_F(StudyListTest, CharactersEucJpCannotHoldComeBackFromTheirReferences)
{
    test::WriteFile("utf8dict",
                    "한국 [한국] /Korea/\n𠮟る [しかる] /(v5r,vt) to scold/\n勉強 [べんきょう] /&#x41; is A/\n");
    std::vector<dict::Entry> results = EntriesOf("utf8dict", "UTF-8");
    ASSERT_EQ(results.size(), 3u);
    std::vector<dict::Entry> list;
    AddToStudyList(results, list);
    OpenLog();
    ASSERT_TRUE(SaveStudyList(list, "k.list"));
    EXPECT_EQ(test::ReadFile("k.list"),
              "&#xD55C;&#xAD6D; [&#xD55C;&#xAD6D;] /Korea/\n&#x20B9F;\xa4\xeb "
              "[\xa4\xb7\xa4\xab\xa4\xeb] /(v5r,vt) to scold/\n" +
                  kStudyEuc.substr(0, kStudyEuc.find(" /")) + " /&#x41; is A/\n");
    EXPECT_NE(Log().find("saved as character references"), std::string::npos);

    std::vector<dict::Entry> loaded;
    StudyListContext context = Context();
    ASSERT_TRUE(LoadStudyList(loaded, context, "k.list", false));
    ASSERT_EQ(loaded.size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        ExpectSameEntry(loaded[i], results[i]);
    EXPECT_EQ(loaded[2].meanings[0], u"&#x41; is A");  // a reference the dictionary spelled out stays

    // Saved again, the file stays the same.
    ASSERT_TRUE(SaveStudyList(loaded, "again.list"));
    EXPECT_EQ(test::ReadFile("again.list"), test::ReadFile("k.list"));
}

// Entries of an EDICT2 dictionary (UTF-8, as an import writes it) go into the
// study list as their lines came, and read back as the same rows, mixed with
// a plain line; copying lays them out with all their forms.
TEST_F(StudyListTest, Edict2EntriesComeBackAsTheyWere)
{
    std::filesystem::copy_file(test::FixturePath("edict2-sample.txt"), "edict2");
    std::vector<dict::Entry> results = EntriesOf("edict2", "UTF-8");
    ASSERT_EQ(results.size(), 12u);
    test::WriteFile("plain", kStudyUtf8);
    std::vector<dict::Entry> plain = EntriesOf("plain", "UTF-8");
    results.insert(results.begin() + 1, plain.begin(), plain.end());

    std::vector<dict::Entry> list;
    AddToStudyList(results, list);
    ASSERT_TRUE(SaveStudyList(list, "e.list"));
    const std::string saved = test::ReadFile("e.list");
    EXPECT_NE(saved.find("&#x20B9F;\xa4\xeb;\xbc\xb8\xa4\xeb(P) [\xa4\xb7\xa4\xab\xa4\xeb(P)] /(v5r,vt) to scold/"),
              std::string::npos);
    EXPECT_NE(saved.find("/EntL1467640X/\n"), std::string::npos);  // the line as it came

    std::vector<dict::Entry> loaded;
    StudyListContext context = Context();
    ASSERT_TRUE(LoadStudyList(loaded, context, "e.list", false));
    ASSERT_EQ(loaded.size(), results.size());
    for (size_t i = 0; i < loaded.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameEntry(loaded[i], results[i]);
    }
    struct Case {
        size_t row;
        std::u16string copied;
    };
    const Case cases[] = {
        {0, u"猫 (ねこ;ネコ) :: (1) cat (esp. the domestic cat) | (2) (uk,col) shamisen"},
        {2, u"𠮟る;叱る (しかる) :: (v5r,vt) to scold | to tell off"},
        {3, u"空く;開く (あく;すく(空く)) :: (v5k,vi) (1) to open | (2) (すく only) to become empty"},
        {4, u"ありがとう (ありがとう) :: (int) thank you | thanks"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatEntry(loaded[c.row], options_), c.copied);
}

TEST(StudyListReferences, OnlyCharactersEucJpLacksAreReferenced)
{
    EXPECT_EQ(EucJpWithReferences(u"猫𠮟a"), std::optional<std::string>("\xc7\xad&#x20B9F;a"));
    EXPECT_EQ(EucJpWithReferences(u"\xD842"), std::nullopt);  // half a pair
    EXPECT_EQ(DecodeCharacterReferences(u"&#x20B9F;る &#x732B; &#x; &#xZZ; &#x20B9F"),
              u"𠮟る &#x732B; &#x; &#xZZ; &#x20B9F");
}

TEST_F(StudyListTest, LoadingReplacesOrAppends)
{
    test::WriteFile("a.list", kStudyEuc);
    test::WriteFile("b.list", kCatEuc + kCatEuc);
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    ASSERT_TRUE(OpenStudyList(list, context, "a.list"));
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "a.list");
    ASSERT_TRUE(ImportStudyList(list, context, "b.list"));
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "a.list");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].word, u"勉強");
    EXPECT_EQ(list[2].word, u"猫");
    ASSERT_TRUE(OpenStudyList(list, context, "b.list"));
    EXPECT_EQ(list.size(), 2u);

    // A file that cannot be opened loads nothing: Open leaves an empty list.
    ASSERT_TRUE(OpenStudyList(list, context, "missing.list"));
    EXPECT_TRUE(list.empty());
}

TEST_F(StudyListTest, StoppedOrRefusedLoadKeepsTheFormerList)
{
    test::WriteFile("a.list", kStudyEuc);
    test::WriteFile("b.list", kCatEuc);
    StudyListContext ok = Context();
    std::vector<dict::Entry> list;
    ASSERT_TRUE(OpenStudyList(list, ok, "a.list"));

    for (LoadWait outcome : {LoadWait::Stopped, LoadWait::Quit, LoadWait::Refused}) {
        SCOPED_TRACE(static_cast<int>(outcome));
        platform_.Clear();
        StudyListContext context = Context(outcome);
        EXPECT_FALSE(OpenStudyList(list, context, "b.list"));
        EXPECT_FALSE(ImportStudyList(list, context, "b.list"));
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0].word, u"勉強");
        EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "a.list");
        EXPECT_TRUE(options_.GetBOOL(".\\Dictionaries\\Indexing"));
        const bool aborted = outcome != LoadWait::Refused;
        EXPECT_EQ(platform_.LastStatus(0) == u"Studylist loading... aborted.", aborted);
    }
}

TEST_F(StudyListTest, ExitSavesOnlyWhenThereIsSomethingToSave)
{
    test::WriteFile("edict", kCatEuc);
    StudyListContext context = Context();
    const std::vector<dict::Entry> entries = EntriesOf("edict", "EUC-JP");

    // Empty list, no file: nothing written.
    options_.SetSTRING(".\\StudyList\\File", "");
    EXPECT_FALSE(SaveStudyListAtExit({}, context, false));
    EXPECT_FALSE(std::filesystem::exists(kDefaultStudyListFile));
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "");
    EXPECT_FALSE(options_.GetBOOL(".\\StudyList\\On"));

    // Entries, no file: studylist.default, and its name kept.
    std::vector<dict::Entry> list;
    AddToStudyList(entries, list);
    EXPECT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile(kDefaultStudyListFile), kCatEuc);
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), kDefaultStudyListFile);
    EXPECT_TRUE(options_.GetBOOL(".\\StudyList\\On"));

    // Close, then exit: the former file is not overwritten.
    CloseStudyList(list, context);
    EXPECT_TRUE(list.empty());
    EXPECT_FALSE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile(kDefaultStudyListFile), kCatEuc);

    // An empty list with a file set empties that file.
    options_.SetSTRING(".\\StudyList\\File", kDefaultStudyListFile);
    EXPECT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile(kDefaultStudyListFile), "");
}

TEST_F(StudyListTest, StartupLoadsTheConfiguredFile)
{
    test::WriteFile(kDefaultStudyListFile, kCatEuc);
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    EXPECT_TRUE(LoadStudyListAtStartup(list, context));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].kana, u"ねこ");
    EXPECT_EQ(platform_.LastStatus(0), u"Studylist loaded.");
}

TEST_F(StudyListTest, AListWhoseFileIsNotThereYetOrEmptyStartsEmptyAndIsWrittenAtExit)
{
    test::WriteFile("edict", kCatEuc);
    const std::vector<dict::Entry> entries = EntriesOf("edict", "EUC-JP");
    for (const bool savedEmpty : {false, true})
        for (const std::string& stored : {std::string(kDefaultStudyListFile), std::string("lists/mine.txt")}) {
            SCOPED_TRACE(stored + (savedEmpty ? " (saved empty)" : " (not there)"));
            std::filesystem::remove_all("lists");
            std::filesystem::remove(kDefaultStudyListFile);
            if (savedEmpty) {
                std::filesystem::create_directories("lists");
                test::WriteFile(stored, "");
            }
            options_.SetSTRING(".\\StudyList\\File", stored);
            StudyListContext context = Context();
            std::vector<dict::Entry> list;
            loads_ = 0;
            LoadStudyListAtStartup(list, context);
            EXPECT_TRUE(list.empty());
            EXPECT_EQ(loads_, 0) << "nothing to read: no load is started";
            EXPECT_EQ(platform_.LastStatus(0), u"Studylist loaded.");

            AddToStudyList(entries, list);
            std::filesystem::create_directories("lists");
            EXPECT_TRUE(SaveStudyListAtExit(list, context, true)) << "the list counts as read whole";
            EXPECT_EQ(test::ReadFile(stored), kCatEuc);
        }
}

TEST_F(StudyListTest, UnwritableFileLeavesTheOldOneIntact)
{
    test::WriteFile("edict", kStudyEuc);
    std::vector<dict::Entry> list;
    AddToStudyList(EntriesOf("edict", "EUC-JP"), list);
    list.resize(200, list[0]);
    test::WriteFile("old.list", kCatEuc);
    OpenLog();
    bool saved = true;
    {
        test::FileSizeLimit limit(1024);
        saved = SaveStudyList(list, "old.list");
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(test::ReadFile("old.list"), kCatEuc);
    EXPECT_NE(Log().find("Saving study list......FAILED\n"), std::string::npos);

    // A directory that does not exist.
    EXPECT_FALSE(SaveStudyList(list, "no/such/dir/x.list"));
}

TEST_F(StudyListTest, LinesWithoutALineFeedGetOne)
{
    dict::Entry e;
    e.word = u"x";
    e.rawLine = "x /y/";
    ASSERT_TRUE(SaveStudyList({e, e}, "x.list"));
    EXPECT_EQ(test::ReadFile("x.list"), "x /y/\nx /y/\n");
}

TEST(StudyListPathTest, StoredFormIsRelativeToTheWorkingDirectory)
{
    struct Case {
        std::string chosen, workingDir, stored;
    };
    const std::vector<Case> cases = {
        {"/home/u/mirudex/lists/a.txt", "/home/u/mirudex", "lists/a.txt"},
        {"/home/u/mirudex/a.txt", "/home/u/mirudex/", "a.txt"},
        {"/home/u/mirudex/", "/home/u/mirudex", "/home/u/mirudex/"},  // not longer than the directory
        {"/home/u/mirudexx/a.txt", "/home/u/mirudex", "/home/u/mirudexx/a.txt"},
        {"/opt/a.txt", "/home/u/mirudex", "/opt/a.txt"},
        {"/opt/a.txt", "", "/opt/a.txt"},
        {"/a.txt", "/", "/a.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredStudyListPath(c.chosen, c.workingDir), c.stored) << c.chosen;
}

// A list chosen in the working directory is stored relative to it, and the
// very file chosen is the one read and written again (never another file of
// that name elsewhere).
TEST_F(StudyListTest, TheStoredPathNamesTheFileThatWasChosen)
{
    std::filesystem::create_directory("lists");
    test::WriteFile("lists/a.list", kCatEuc);
    const std::string chosen = (std::filesystem::current_path() / "lists" / "a.list").string();
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    ASSERT_TRUE(OpenStudyList(list, context, chosen));
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "lists/a.list");
    ASSERT_EQ(list.size(), 1u);
    list.push_back(list[0]);
    ASSERT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile("lists/a.list"), kCatEuc + kCatEuc);
    EXPECT_EQ(StoredStudyListPath("/elsewhere/b.list"), "/elsewhere/b.list");
}

}  // namespace

namespace {

// The first lines of the real dictionary, once in EUC-JP and once in UTF-8,
// all go through the study list file and come back equal.
TEST_F(StudyListTest, RealDictionaryLinesSurviveTheFileInBothEncodings)
{
    const std::filesystem::path real = test::RealDataDir();
    if (real.empty())
        GTEST_SKIP() << "no real data directory";
    const std::string all = test::ReadFile(real / "DICT" / "edict");
    size_t end = 0;
    for (int lines = 0; lines < 1500 && end != std::string::npos; ++lines)
        end = all.find('\n', end + 1);
    ASSERT_NE(end, std::string::npos);
    const std::string euc = all.substr(0, end + 1);
    const std::optional<std::string> utf8 = ConvertQuietly(euc, "EUC-JP", "UTF-8");
    ASSERT_TRUE(utf8.has_value());
    test::WriteFile("edict", euc);
    test::WriteFile("edict.utf8", *utf8);

    std::vector<dict::Entry> list;
    const std::vector<dict::Entry> fromEuc = EntriesOf("edict", "EUC-JP");
    const std::vector<dict::Entry> fromUtf8 = EntriesOf("edict.utf8", "UTF-8");
    ASSERT_EQ(fromEuc.size(), fromUtf8.size());
    AddToStudyList(fromEuc, list);
    AddToStudyList(fromUtf8, list);

    StudyListContext context = Context();
    ASSERT_TRUE(SaveStudyList(list, "real.list"));
    EXPECT_EQ(test::ReadFile("real.list"), euc + euc);
    std::vector<dict::Entry> loaded;
    ASSERT_TRUE(LoadStudyList(loaded, context, "real.list", false));
    ASSERT_EQ(loaded.size(), list.size());
    for (size_t i = 0; i < loaded.size(); ++i) {
        SCOPED_TRACE(i);
        ExpectSameEntry(loaded[i], list[i]);
        if (HasFailure())
            break;
    }
}

}  // namespace

namespace {

// What one start of the program does with a study list file: load it, let
// the user add an entry, exit. The file must end as expected.
TEST_F(StudyListTest, AFileNotLoadedCompletelyIsNeverWrittenOver)
{
    const std::string json = "{\n  \"words\": [\"neko\", \"inu\"],\n  \"count\": 2\n}\n";
    const std::string withUndecodable = kCatEuc + "\xff\xfe [x] /broken/\n" + kCatEuc;
    struct Case {
        const char* name;
        std::function<void()> make;
        const char* reason;  // in the message box
    };
    const Case cases[] = {
        {"not a study list (JSON)", [&] { test::WriteFile("studylist.default", json); },
         "4 of its lines could not be read as entries"},
        {"a line that is not EUC-JP", [&] { test::WriteFile("studylist.default", withUndecodable); },
         "1 of its lines could not be read as entries"},
        {"a directory in its place",
         [] {
             std::filesystem::create_directory("studylist.default");
             test::WriteFile("studylist.default/keep", kCatEuc);
         },
         "Is a directory"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all("studylist.default");
        c.make();
        const std::string before = std::filesystem::is_directory("studylist.default")
                                       ? test::ReadFile("studylist.default/keep")
                                       : test::ReadFile("studylist.default");
        platform_.Clear();
        OpenLog();
        StudyListContext context = Context();
        std::vector<dict::Entry> list;
        LoadStudyListAtStartup(list, context);
        dict::Entry added;
        added.word = u"猫";
        added.rawLine = kCatEuc;
        list.push_back(added);
        EXPECT_FALSE(SaveStudyListAtExit(list, context, true));
        EXPECT_EQ(std::filesystem::is_directory("studylist.default") ? test::ReadFile("studylist.default/keep")
                                                                     : test::ReadFile("studylist.default"),
                  before);
        const auto boxes = platform_.MessageBoxes();
        ASSERT_FALSE(boxes.empty());
        EXPECT_NE(boxes.back().text.find(u"studylist.default"), std::u16string::npos);
        EXPECT_NE(boxes.back().text.find(Utf8ToUtf16(c.reason)), std::u16string::npos)
            << Utf16ToUtf8(boxes.back().text);
        dlog::Close();
        EXPECT_NE(Log().find("Saving study list......FAILED\n   studylist.default was left as it was"),
                  std::string::npos);
    }

    // File > Open on a file that is not a study list: the same at exit.
    test::WriteFile("words.json", json);
    platform_.Clear();
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    ASSERT_TRUE(OpenStudyList(list, context, "words.json"));
    EXPECT_FALSE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile("words.json"), json);
    EXPECT_EQ(platform_.MessageBoxes().size(), 1u);
}

TEST_F(StudyListTest, EveryLineIsReadWholeAndTheFileComesBackAsItWas)
{
    // Lines longer than the dictionaries' line buffer, and a last line
    // without a line end, are entries like any other.
    options_.SetINT(".\\Buffer\\EDICT", 100);
    const std::string longLine = "\xc7\xad [\xa4\xcd\xa4\xb3] /" + std::string(300, 'c') + "/\n";
    const std::string file = kCatEuc + longLine + kStudyEuc + kCatEuc.substr(0, kCatEuc.size() - 1);
    test::WriteFile("studylist.default", file);
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    LoadStudyListAtStartup(list, context);
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[1].meanings[0], std::u16string(300, u'c'));
    EXPECT_EQ(options_.GetINT(".\\Buffer\\EDICT"), 100);  // the dictionaries' setting is back
    EXPECT_TRUE(file_.unreadable.empty());
    ASSERT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile("studylist.default"), file + "\n");
}

TEST_F(StudyListTest, SaveAsThatFailsKeepsTheFileAndTheEntries)
{
    test::WriteFile("a.list", kCatEuc);
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    ASSERT_TRUE(OpenStudyList(list, context, "a.list"));
    dict::Entry added = list[0];
    list.push_back(added);  // an entry added during the run

    std::filesystem::create_directory("taken");
    std::vector<std::pair<std::string, std::u16string>> targets = {
        {"no/such/folder/b.list", u"No such file or directory"},
        {"taken", u"Is a directory"},
    };
    if (geteuid() != 0) {
        std::filesystem::create_directory("readonly");
        std::filesystem::permissions("readonly",
                                     std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
        targets.push_back({"readonly/b.list", u"Permission denied"});
    }
    for (const auto& [target, reason] : targets) {
        SCOPED_TRACE(target);
        platform_.Clear();
        EXPECT_FALSE(SaveStudyListAs(list, context, target));
        EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "a.list");
        EXPECT_EQ(list.size(), 2u);
        const auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_NE(boxes[0].text.find(reason), std::u16string::npos);
    }
    if (std::filesystem::exists("readonly"))
        std::filesystem::permissions("readonly", std::filesystem::perms::owner_all);
    // The exit save still goes to the list's own file, with every entry.
    ASSERT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile("a.list"), kCatEuc + kCatEuc);
    // A Save As that works moves the list to its new file.
    ASSERT_TRUE(SaveStudyListAs(list, context, "c.list"));
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "c.list");
    EXPECT_EQ(test::ReadFile("c.list"), kCatEuc + kCatEuc);
    // Names the options file holds only escaped: the next start reads the
    // same name back and loads the same list.
    for (const std::string name : {"week 1 :: verbs.list", " blank at the start.list", "line\nbreak.list"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(SaveStudyListAs(list, context, name));
        ASSERT_TRUE(options_.Save("Options.mxreg"));
        Registry next;
        ASSERT_TRUE(next.Load("Options.mxreg"));
        EXPECT_EQ(next.GetString(".\\StudyList\\File"), name);
        EXPECT_EQ(test::ReadFile(name), kCatEuc + kCatEuc);
    }
}

TEST_F(StudyListTest, SavingOverAFileNotReadCompletelyAsksFirst)
{
    const std::string json = "{\"a\": 1}\n";
    test::WriteFile("studylist.default", json);
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    LoadStudyListAtStartup(list, context);
    dict::Entry added;
    added.word = u"猫";
    added.rawLine = kCatEuc;
    list.push_back(added);

    platform_.ScriptAnswers({platform::Answer::No});
    EXPECT_FALSE(SaveStudyListToFile(list, context));
    EXPECT_EQ(test::ReadFile("studylist.default"), json);
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_EQ(platform_.MessageBoxes()[0].buttons, platform::Buttons::YesNo);

    platform_.ScriptAnswers({platform::Answer::Yes});
    EXPECT_TRUE(SaveStudyListToFile(list, context));
    EXPECT_EQ(test::ReadFile("studylist.default"), kCatEuc);
    // From now on the file holds the list: the exit saves without asking.
    platform_.Clear();
    EXPECT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(StudyListTest, ExitDoesNotReplaceADefaultFileTheListDidNotComeFrom)
{
    // The list of studylist.default is closed, new entries are collected,
    // and the program ends: the closed list stays, the new one goes beside it.
    test::WriteFile("studylist.default", kStudyEuc);
    StudyListContext context = Context();
    std::vector<dict::Entry> list;
    LoadStudyListAtStartup(list, context);
    CloseStudyList(list, context);
    dict::Entry added;
    added.word = u"猫";
    added.rawLine = kCatEuc;
    list.push_back(added);
    ASSERT_TRUE(SaveStudyListAtExit(list, context, true));
    EXPECT_EQ(test::ReadFile("studylist.default"), kStudyEuc);
    EXPECT_EQ(options_.GetString(".\\StudyList\\File"), "studylist.default.2");
    EXPECT_EQ(test::ReadFile("studylist.default.2"), kCatEuc);
}

}  // namespace
