#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

#include "DictTestUtil.h"
#include "dict/Dictionary.h"
#include "dict/IndexFile.h"
#include "dict/LineFile.h"

namespace mirudex::dict::test {
namespace {

namespace fs = std::filesystem;
using platform::Answer;

class DictionaryTest : public DictTest {
protected:
    Dictionary Load(const std::string& path = "DICT/test", StopToken stop = {})
    {
        Dictionary d;
        d.path = path;
        d.name = "Test";
        d.encoding = "EUC-JP";
        EXPECT_EQ(EDICT_Index_Load(d, registry_, stop), LoadOutcome::Done);
        EXPECT_EQ(d.count, static_cast<int32_t>(d.index.size()));
        return d;
    }

    void WriteDict(const std::string& text, const std::string& path = "DICT/test")
    {
        if (fs::path(path).has_parent_path())
            fs::create_directories(fs::path(path).parent_path());
        mirudex::test::WriteFile(path, text);
    }

    // A dictionary file that looks older than its index.
    void MakeDictOlder(const std::string& path = "DICT/test")
    {
        fs::last_write_time(path, fs::last_write_time(path) - std::chrono::hours(1));
    }

    static std::string Sample()
    {
        return Euc("日本 [にほん] /(n) Japan/\n") + Euc("カタカナ /(n) katakana/\n") + Euc("語 [ご /x/\n") +
               Euc("猫 [ねこ] /(n) cat/(P)/\n");
    }
};

TEST_F(DictionaryTest, LoadsWordsReadingsAndOffsetsFromText)
{
    WriteDict(Sample());
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 4);
    const std::string sample = Sample();
    struct Expect {
        std::u16string word, kana;
        size_t offset;
    };
    const Expect expected[] = {
        {u"日本", u"にほん", 0},
        {u"カタカナ", u"カタカナ", sample.find(Euc("カタカナ"))},
        {u"語", u"ご", sample.find(Euc("語"))},
        {u"猫", u"ねこ", sample.find(Euc("猫"))},
    };
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(d.index[i].word, expected[i].word) << i;
        EXPECT_EQ(d.index[i].kana, expected[i].kana) << i;
        EXPECT_EQ(d.index[i].offset, static_cast<int32_t>(expected[i].offset)) << i;
    }
    const std::string log = Log();
    EXPECT_NE(log.find("WARNING: Dictionary 'DICT/test' has an error on line 3 (it's missing the ending kana "
                       "bracket).\n   Mirudex is attempting to work around the problem.\n"),
              std::string::npos);
    EXPECT_TRUE(fs::exists("DICT/test.mxi"));
}

TEST_F(DictionaryTest, MalformedHeadwordsStillBecomeEntries)
{
    WriteDict(
        " [x] /a/\n"      // space first: whole line is the word
        "NOSPACE/a/\n"    // no space
        "W [ /a/\n"       // reading with no room for a bracket
        "V [abc]/a/\n");  // no space after the reading: rest of the line
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 4);
    EXPECT_EQ(d.index[0].word, u" [x] /a/");
    EXPECT_EQ(d.index[0].kana, d.index[0].word);
    EXPECT_EQ(d.index[1].word, u"NOSPACE/a/");
    EXPECT_EQ(d.index[2].word, u"W");
    EXPECT_EQ(d.index[2].kana, u" /a/");
    EXPECT_EQ(d.index[3].kana, u"abc]/a/");
    const std::string log = Log();
    EXPECT_NE(log.find("EDICT_Index_Load(): God-awful error #1\n"), std::string::npos);
    EXPECT_NE(log.find("EDICT_Index_Load(): God-awful error #2\n"), std::string::npos);
}

TEST_F(DictionaryTest, TooLongLineStopsTheLoadAndLastLineNeedsItsEnd)
{
    registry_.SetINT(".\\Buffer\\EDICT", 40);
    WriteDict("A [a] /one/\n" + std::string("B [b] /") + std::string(60, 'x') + "/\nC [c] /three/\n");
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 1);
    EXPECT_EQ(d.index[0].word, u"A");
    EXPECT_NE(Log().find("EDICT_Index_Load: ERROR: (Loading Dictionary from EDICT) Increase the Edict_Buffer_Size "
                         "for DICT/test.\n"),
              std::string::npos);
    EXPECT_NE(Log().find("CountLinesInFile: ERROR: Increase the edict buffer size.\n"), std::string::npos);

    registry_.SetINT(".\\Buffer\\EDICT", 5000);
    WriteDict("A [a] /one/\nB [b] /two/");
    fs::remove("DICT/test.mxi");
    EXPECT_EQ(Load().count, 1);
}

TEST_F(DictionaryTest, CountLinesInFileCountsReadsAndRewinds)
{
    registry_.SetINT(".\\Buffer\\EDICT", 10);
    WriteDict("short\n0123456789abc\nend", "lines.txt");
    LineFile file("lines.txt");
    EXPECT_EQ(CountLinesInFile(file, registry_), 3);  // the long line counts twice
    EXPECT_EQ(file.Tell(), 0);
}

TEST_F(DictionaryTest, IndexRoundTripEqualsTextLoad)
{
    WriteDict(Sample());
    const Dictionary fromText = Load();
    ASSERT_TRUE(fs::exists("DICT/test.mxi"));
    MakeDictOlder();
    OpenLog();
    const Dictionary fromIndex = Load();
    ASSERT_EQ(fromIndex.count, fromText.count);
    for (int i = 0; i < fromText.count; ++i) {
        EXPECT_EQ(fromIndex.index[i].word, fromText.index[i].word);
        EXPECT_EQ(fromIndex.index[i].kana, fromText.index[i].kana);
        EXPECT_EQ(fromIndex.index[i].offset, fromText.index[i].offset);
    }
    EXPECT_NE(Log().find("EDICT_Index_Load: Number of entries: 4 (in 'DICT/test')\n"), std::string::npos);

    // The layout, byte for byte.
    const std::string bytes = mirudex::test::ReadFile("DICT/test.mxi");
    ASSERT_GE(bytes.size(), 14u);
    EXPECT_EQ(bytes.substr(0, 14), std::string("M\0X\0I\0003\0\n\0\4\0\0\0", 14));
    EXPECT_EQ(bytes.substr(14, 5), std::string("\2\xe5\x65\x2c\x67", 5));  // 日本
}

TEST_F(DictionaryTest, IndexFileIsUsedWithoutTheDictionary)
{
    WriteDict(Sample());
    Load();
    MakeDictOlder();
    WriteDict("", "DICT/other");
    fs::copy_file("DICT/test.mxi", "DICT/other.mxi");
    MakeDictOlder("DICT/other");
    EXPECT_EQ(Load("DICT/other").count, 4);
}

TEST_F(DictionaryTest, StaleIndexIsRebuilt)
{
    WriteDict(Sample());
    Load();
    // The dictionary is edited after the index was made.
    WriteDict(Euc("犬 [いぬ] /dog/\n"));
    fs::last_write_time("DICT/test.mxi", fs::last_write_time("DICT/test") - std::chrono::hours(1));
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 1);
    EXPECT_EQ(d.index[0].word, u"犬");
    EXPECT_NE(Log().find("is older than 'DICT/test'"), std::string::npos);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    MakeDictOlder();
    EXPECT_EQ(Load().count, 1);  // the new index
}

TEST_F(DictionaryTest, IncorrectIndexAsksAndFollowsTheAnswer)
{
    struct Case {
        const char* name;
        std::string indexBytes;
        Answer answer;
        bool rewritten;
    };
    const std::string olderMagic("M\0X\0I\0002\0\n\0\1\0\0\0", 14);
    std::string shortIndex("M\0X\0I\0003\0\n\0\x09\0\0\0", 14);
    shortIndex += std::string("\1A\0\1A\0\0\0\0\0", 10);  // one entry of the nine promised
    const Case cases[] = {
        {"older magic, Yes", olderMagic, Answer::Yes, true}, {"older magic, No", olderMagic, Answer::No, false},
        {"short index, Yes", shortIndex, Answer::Yes, true}, {"short index, No", shortIndex, Answer::No, false},
        {"empty file, No", "", Answer::No, false},
    };
    for (const auto& c : cases) {
        WriteDict(Sample());
        mirudex::test::WriteFile("DICT/test.mxi", c.indexBytes);
        MakeDictOlder();
        platform_.Clear();
        platform_.ScriptAnswers({c.answer});
        const Dictionary d = Load();
        EXPECT_EQ(d.count, 4) << c.name;
        EXPECT_EQ(d.index[0].word, u"日本") << c.name;
        const auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u) << c.name;
        EXPECT_EQ(boxes[0].caption, u"Note:");
        EXPECT_EQ(boxes[0].buttons, platform::Buttons::YesNo);
        EXPECT_EQ(boxes[0].text.substr(0, 50), u"This file: DICT/test.mxi, is not a correct index f");
        const bool rewritten = mirudex::test::ReadFile("DICT/test.mxi") != c.indexBytes;
        EXPECT_EQ(rewritten, c.rewritten) << c.name;
    }
}

TEST_F(DictionaryTest, IndexingOffReadsAndWritesNoIndex)
{
    registry_.SetBOOL(".\\Dictionaries\\Indexing", false);
    WriteDict(Sample());
    mirudex::test::WriteFile("DICT/test.mxi", "garbage");
    MakeDictOlder();
    EXPECT_EQ(Load().count, 4);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_EQ(mirudex::test::ReadFile("DICT/test.mxi"), "garbage");
}

TEST_F(DictionaryTest, EmptyOrMissingDictionaryWritesNoIndex)
{
    WriteDict("");
    EXPECT_EQ(Load().count, 0);
    EXPECT_FALSE(fs::exists("DICT/test.mxi"));
    OpenLog();
    EXPECT_EQ(Load("DICT/missing").count, 0);
    EXPECT_FALSE(fs::exists("DICT/missing.mxi"));
    EXPECT_NE(Log().find("EDICT_Index_Load: ERROR: DICT/missing not opened.\n"), std::string::npos);
}

TEST_F(DictionaryTest, OverlongWordIsNeverWrittenToTheIndex)
{
    const std::string longWord(300, 'w');
    WriteDict("A [a] /x/\n" + longWord + " /long/\n");
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 2);
    EXPECT_EQ(d.index[1].word.size(), 300u);  // in memory the word is whole
    EXPECT_FALSE(fs::exists("DICT/test.mxi"));
    const std::string log = Log();
    EXPECT_NE(log.find("WARNING: either word or kana is > 255 characters long!\n"), std::string::npos);
    EXPECT_NE(log.find("will load from its text"), std::string::npos);
}

TEST_F(DictionaryTest, UnconvertibleWordIsEmptyAndWarned)
{
    WriteDict("\xFF\xFF /bad/\nA [\xFF\xFF] /bad kana/\n");
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 2);
    EXPECT_EQ(d.index[0].word, u"");
    EXPECT_EQ(d.index[0].kana, u"");
    EXPECT_EQ(d.index[1].word, u"A");
    EXPECT_EQ(d.index[1].kana, u"");
    const std::string log = Log();
    EXPECT_NE(log.find("ERROR: Could not convert word to Unicode: <<"), std::string::npos);
    EXPECT_NE(log.find("ERROR: Could not convert kana to Unicode: <<"), std::string::npos);
    EXPECT_NE(log.find("WARNING: either word or kana is 0 characters long!\n"), std::string::npos);
}

TEST_F(DictionaryTest, StopRequestLeavesNothingHalfBuilt)
{
    std::string text;
    for (int i = 0; i < 5000; ++i)
        text += "W" + std::to_string(i) + " [k] /m/\n";
    WriteDict(text);
    std::atomic<bool> stop{true};
    Dictionary d;
    d.path = "DICT/test";
    d.encoding = "EUC-JP";
    EXPECT_EQ(EDICT_Index_Load(d, registry_, StopToken(&stop)), LoadOutcome::Stopped);
    EXPECT_EQ(d.count, 0);
    EXPECT_TRUE(d.index.empty());
    EXPECT_FALSE(fs::exists("DICT/test.mxi"));

    // From an index file too.
    EXPECT_EQ(Load().count, 5000);
    MakeDictOlder();
    EXPECT_EQ(EDICT_Index_Load(d, registry_, StopToken(&stop)), LoadOutcome::Stopped);
    EXPECT_EQ(d.count, 0);
    EXPECT_TRUE(d.index.empty());
}

}  // namespace
}  // namespace mirudex::dict::test
