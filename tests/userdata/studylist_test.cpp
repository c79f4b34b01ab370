#include <filesystem>
#include <vector>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/Dictionary.h"
#include "dict/Entry.h"
#include "support/TestSupport.h"
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
        for (const dict::IndexEntry& index : d.index) {
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
        return StudyListContext{options_,
                                markers_,
                                [this, outcome](dict::Dictionary& d) {
                                    ++loads_;
                                    indexingDuringLoad_ = options_.GetBOOL(".\\Dictionaries\\Indexing");
                                    if (outcome == LoadWait::Finished)
                                        dict::EDICT_Index_Load(d, options_);
                                    return outcome;
                                },
                                {"EUC-JP", "UTF-8"}};
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

TEST_F(StudyListTest, EntryFromAUtf8DictionaryComesBackIntact)
{
    test::WriteFile("utf8dict", kStudyUtf8);
    std::vector<dict::Entry> results = EntriesOf("utf8dict", "UTF-8");
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results[0].word, u"勉強");

    std::vector<dict::Entry> list;
    AddToStudyList(results, list);
    StudyListContext context = Context();
    ASSERT_TRUE(SaveStudyList(list, "u.list", context.sourceEncodings));
    EXPECT_EQ(test::ReadFile("u.list"), kStudyEuc);

    std::vector<dict::Entry> loaded;
    ASSERT_TRUE(LoadStudyList(loaded, context, "u.list", false));
    ASSERT_EQ(loaded.size(), 1u);
    ExpectSameEntry(loaded[0], results[0]);
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
    ASSERT_TRUE(SaveStudyList(list, "k.list", std::vector<std::string>{"UTF-8"}));
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
    ASSERT_TRUE(SaveStudyList(loaded, "again.list", std::vector<std::string>{"UTF-8"}));
    EXPECT_EQ(test::ReadFile("again.list"), test::ReadFile("k.list"));
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
    CloseStudyList(list, options_);
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

TEST(StudyListPathTest, StoredFormIsRelativeToTheProgramDirectory)
{
    struct Case {
        std::string chosen, programDir, stored;
    };
    const std::vector<Case> cases = {
        {"/opt/mirudex/lists/a.txt", "/opt/mirudex/", "lists/a.txt"},
        {"/opt/mirudex/a.txt", "/opt/mirudex/", "a.txt"},
        {"/opt/mirudex/", "/opt/mirudex/", "/opt/mirudex/"},  // not longer than the directory
        {"/opt/mirudexx/a.txt", "/opt/mirudex/", "/opt/mirudexx/a.txt"},
        {"/home/u/a.txt", "/opt/mirudex/", "/home/u/a.txt"},
        {"/home/u/a.txt", "", "/home/u/a.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredStudyListPath(c.chosen, c.programDir), c.stored) << c.chosen;

    const std::string dir = ProgramDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ(dir.back(), '/');
    EXPECT_TRUE(std::filesystem::exists(dir + "userdata_tests"));
    EXPECT_EQ(StoredStudyListPath(dir + "lists/a.txt"), "lists/a.txt");
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
    ASSERT_TRUE(SaveStudyList(list, "real.list", context.sourceEncodings));
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
