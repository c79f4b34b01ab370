#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "DictTestUtil.h"
#include "core/DebugLog.h"
#include "core/LineReader.h"
#include "core/OptionNames.h"
#include "dict/Dictionary.h"
#include "dict/IndexFile.h"
#include "dict/IndexIdentity.h"

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
        d.encoding = encoding_;
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

    std::string encoding_ = "EUC-JP";

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

TEST_F(DictionaryTest, DamagedLinesCostOnlyThemselvesAndAreCounted)
{
    registry_.SetINT(opt::buffer::kEDICT, 40);
    const std::string lines[] = {
        "A [a] /one/\n",
        "B [b] /" + std::string(60, 'x') + "/\n",  // longer than the line buffer
        "C [c] /three/\n",
        "\n",                      // blank
        "\r\n",                    // blank
        Euc("語 [") + "\n",        // no slash
        Euc("見出しだけ") + "\n",  // only a headword
        "D [d] /four/",            // the last line, without its line end
    };
    std::string text;
    for (const auto& line : lines)
        text += line;
    WriteDict(text);
    OpenLog();
    const Dictionary d = Load();
    ASSERT_EQ(d.count, 3);
    const std::u16string words[] = {u"A", u"C", u"D"};
    const size_t lineOf[] = {0, 2, 7};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(d.index[i].word, words[i]);
        EXPECT_EQ(d.index[i].offset, static_cast<int32_t>(text.find(lines[lineOf[i]]))) << i;
    }
    EXPECT_EQ(d.skipped.tooLong, 1);
    EXPECT_EQ(d.skipped.blank, 2);
    EXPECT_EQ(d.skipped.noSlash, 2);
    EXPECT_EQ(d.skipped.undecoded, 0);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    const std::string log = Log();
    EXPECT_NE(log.find("line 2 of DICT/test is longer than the line buffer (40)"), std::string::npos);
    EXPECT_NE(log.find("line 6 of DICT/test has no meanings"), std::string::npos);
    EXPECT_NE(log.find("DICT/test: 5 damaged lines skipped (1 longer than the line buffer, 2 without '/', 2 "
                       "blank); 3 entries loaded.\n"),
              std::string::npos);

    // A larger buffer is another way of reading the file: the index is made
    // again and the long line is in it.
    registry_.SetINT(opt::buffer::kEDICT, 5000);
    const Dictionary larger = Load();
    ASSERT_EQ(larger.count, 4);
    EXPECT_EQ(larger.index[1].word, u"B");
}

TEST_F(DictionaryTest, CountLinesInFileCountsLinesAndRewinds)
{
    registry_.SetINT(opt::buffer::kEDICT, 10);
    WriteDict("short\n0123456789abc\nend", "lines.txt");
    LineReader file("lines.txt");
    EXPECT_EQ(CountLinesInFile(file, registry_), 3);  // the long line counts once, the last line too
    EXPECT_EQ(file.Tell(), 0);
}

TEST_F(DictionaryTest, IndexRoundTripEqualsTextLoad)
{
    WriteDict(Sample());
    const Dictionary fromText = Load();
    ASSERT_TRUE(fs::exists("DICT/test.mxi"));
    OpenLog();
    const Dictionary fromIndex = Load();
    ASSERT_EQ(fromIndex.count, fromText.count);
    for (int i = 0; i < fromText.count; ++i) {
        EXPECT_EQ(fromIndex.index[i].word, fromText.index[i].word);
        EXPECT_EQ(fromIndex.index[i].kana, fromText.index[i].kana);
        EXPECT_EQ(fromIndex.index[i].offset, fromText.index[i].offset);
    }
    EXPECT_NE(Log().find("EDICT_Index_Load: Number of entries: 4 (in 'DICT/test')\n"), std::string::npos);

    // The layout, byte for byte, as readers that know nothing of the
    // identity read it; the identity comes after the last entry.
    const std::string bytes = mirudex::test::ReadFile("DICT/test.mxi");
    ASSERT_GE(bytes.size(), 14u);
    EXPECT_EQ(bytes.substr(0, 14), std::string("M\0X\0I\0003\0\n\0\4\0\0\0", 14));
    EXPECT_EQ(bytes.substr(14, 5), std::string("\2\xe5\x65\x2c\x67", 5));  // 日本
    const auto found = ParseIdentityTrailer(bytes);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->identity.size, Sample().size());
    EXPECT_EQ(found->identity.encoding, "EUC-JP");
    EXPECT_EQ(found->identity.lineBuffer, 5000);
    size_t entriesEnd = 14;
    for (const auto& entry : fromText.index)
        entriesEnd += 1 + 2 * entry.word.size() + 1 + 2 * entry.kana.size() + 4;
    EXPECT_EQ(entriesEnd + found->trailerBytes, bytes.size());
}

// Each way an index can stop belonging to its dictionary; the index is made
// again, silently, and gives what a fresh one gives.
TEST_F(DictionaryTest, IndexOfAnotherDictionaryOrReadAnotherWayIsMadeAgain)
{
    struct Case {
        const char* name;
        std::function<void()> change;
        const char* reason;  // in the log line
    };
    const std::string replacement = Euc("寝子 [ねこ] /exceedingly/very/\n") + Euc("猫 [ねこ] /(n) cat/\n");
    const Case cases[] = {
        {"replaced by an older-dated file",
         [&] {
             WriteDict(replacement);
             fs::last_write_time("DICT/test", fs::last_write_time("DICT/test.mxi") - std::chrono::hours(24 * 365));
         },
         "size, modification time, contents differs"},
        {"same size, same time, other contents",
         [&] {
             const auto time = fs::last_write_time("DICT/test");
             std::string text = Sample();
             text[text.size() - 3] = 'X';  // (P) -> (X)
             WriteDict(text);
             fs::last_write_time("DICT/test", time);
         },
         "contents differs"},
        {"index copied from another dictionary",
         [&] {
             WriteDict(replacement, "DICT/other");
             Dictionary other;
             other.path = "DICT/other";
             other.encoding = "EUC-JP";
             EDICT_Index_Load(other, registry_);
             fs::copy_file("DICT/other.mxi", "DICT/test.mxi", fs::copy_options::overwrite_existing);
         },
         "differs"},
        {"another line buffer", [&] { registry_.SetINT(opt::buffer::kEDICT, 4000); }, "line buffer size differs"},
        {"another encoding", [&] { encoding_ = "EUC-JP-MS"; }, "encoding differs"},
        {"an index of an earlier program",
         [&] {
             const std::string bytes = mirudex::test::ReadFile("DICT/test.mxi");
             const auto found = ParseIdentityTrailer(bytes);
             ASSERT_TRUE(found.has_value());
             mirudex::test::WriteFile("DICT/test.mxi", bytes.substr(0, bytes.size() - found->trailerBytes));
         },
         "does not say what it was made from"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        registry_.SetINT(opt::buffer::kEDICT, 5000);
        encoding_ = "EUC-JP";
        WriteDict(Sample());
        fs::remove("DICT/test.mxi");
        Load();
        c.change();
        dlog::Close();
        OpenLog();
        const Dictionary reused = Load();
        const std::string log = Log();
        EXPECT_NE(log.find(c.reason), std::string::npos) << log;
        EXPECT_EQ(log.find("Number of entries"), std::string::npos);
        EXPECT_TRUE(platform_.MessageBoxes().empty());

        fs::remove("DICT/test.mxi");
        const Dictionary fresh = Load();
        ASSERT_EQ(reused.count, fresh.count);
        for (int i = 0; i < fresh.count; ++i) {
            EXPECT_EQ(reused.index[i].word, fresh.index[i].word) << i;
            EXPECT_EQ(reused.index[i].kana, fresh.index[i].kana) << i;
            EXPECT_EQ(reused.index[i].offset, fresh.index[i].offset) << i;
        }
        // The index made again is used from now on.
        dlog::Close();
        OpenLog();
        EXPECT_EQ(Load().count, fresh.count);
        EXPECT_NE(Log().find("Number of entries"), std::string::npos);
    }
}

// Another program's index file (or an older one) is the user's to replace;
// one this program wrote that was damaged since is made again without asking.
TEST_F(DictionaryTest, IncorrectIndexAsksAndFollowsTheAnswerDamagedOneIsMadeAgain)
{
    struct Case {
        const char* name;
        std::string indexBytes;
        Answer answer;
        bool asks;
        bool rewritten;
    };
    WriteDict(Sample());
    int error = 0;
    const auto identity = IdentityOfFile("DICT/test", "EUC-JP", 5000, error);
    ASSERT_TRUE(identity.has_value());
    Load();
    const std::string good = mirudex::test::ReadFile("DICT/test.mxi");
    const std::string olderMagic("M\0X\0I\0002\0\n\0\1\0\0\0", 14);
    std::string shortIndex("M\0X\0I\0003\0\n\0\x09\0\0\0", 14);
    shortIndex += std::string("\1A\0\1A\0\0\0\0\0", 10);  // one entry of the nine promised
    shortIndex += IdentityTrailer(*identity, ChecksumOf(shortIndex));
    const Case cases[] = {
        {"older magic, Yes", olderMagic, Answer::Yes, true, true},
        {"older magic, No", olderMagic, Answer::No, true, false},
        {"short index", shortIndex, Answer::No, false, true},
        {"empty file", "", Answer::No, false, true},
        {"cut within the magic", good.substr(0, 5), Answer::No, false, true},
        {"cut after the count", good.substr(0, 14), Answer::No, false, true},
        {"cut within an entry", good.substr(0, 20), Answer::No, false, true},
        {"cut within the identity", good.substr(0, good.size() - 3), Answer::No, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        mirudex::test::WriteFile("DICT/test.mxi", c.indexBytes);
        platform_.Clear();
        platform_.ScriptAnswers({c.answer});
        const Dictionary d = Load();
        EXPECT_EQ(d.count, 4);
        EXPECT_EQ(d.index[0].word, u"日本");
        EXPECT_EQ(d.index[3].kana, u"ねこ");
        const auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(boxes[0].caption, u"Note:");
            EXPECT_EQ(boxes[0].buttons, platform::Buttons::YesNo);
            EXPECT_EQ(boxes[0].text.substr(0, 50), u"This file: DICT/test.mxi, is not a correct index f");
        }
        const std::string after = mirudex::test::ReadFile("DICT/test.mxi");
        EXPECT_EQ(after != c.indexBytes, c.rewritten);
        if (c.rewritten) {
            EXPECT_EQ(after, good);
        }
    }
}

TEST_F(DictionaryTest, IndexingOffReadsAndWritesNoIndex)
{
    registry_.SetBOOL(opt::dictionaries::kIndexing, false);
    WriteDict(Sample());
    mirudex::test::WriteFile("DICT/test.mxi", "garbage");
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

TEST_F(DictionaryTest, LinesThatDoNotDecodeAreLeftOutAndToldOnce)
{
    struct Case {
        const char* name;
        std::string text;
        std::string encoding;
        int count;          // entries kept
        int undecoded;      // lines that failed
        int firstBad;       // their first line number
        const char* words;  // the beginning of the one box's text
    };
    const std::string utf8 = "猫 [ねこ] /(n) cat/\n犬 [いぬ] /(n) dog/\nA [a] /x/\n";
    const Case cases[] = {
        {"bad word and bad reading among good lines",
         "A [a] /x/\n\xFF\xFF /bad/\nB [\xFF\xFF] /bad kana/\n" + Euc("猫 [ねこ] /cat/\n"), "EUC-JP", 2, 2, 2,
         "2 lines of the dictionary 'Test' (DICT/test) could not be converted from the encoding 'EUC-JP'; the "
         "first of them is line 2."},
        {"UTF-8 file declared EUC-JP", utf8, "EUC-JP", 1, 2, 1, "2 lines of the dictionary"},
        {"nothing converts", "\xFF\xFF /a/\n\xFE\xFE /b/\n", "EUC-JP", 0, 2, 1, "2 lines of the dictionary"},
        {"an encoding nobody knows (a typo)", utf8, "EUC-PJ", 0, 3, 1,
         "The encoding 'EUC-PJ' of the dictionary 'Test' (DICT/test) is not known, so none of its 3 lines could be "
         "converted (the first of them is line 1)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteDict(c.text);
        // An index an earlier program wrote from the failed lines goes too.
        mirudex::test::WriteFile("DICT/test.mxi", std::string("M\0X\0I\0003\0\n\0\1\0\0\0\0\0\0\0\0\0", 20));
        encoding_ = c.encoding;
        platform_.Clear();
        const Dictionary d = Load();
        EXPECT_EQ(d.count, c.count);
        for (const auto& entry : d.index)
            EXPECT_FALSE(entry.word.empty());
        EXPECT_EQ(d.skipped.undecoded, c.undecoded);
        EXPECT_EQ(d.skipped.firstUndecoded, c.firstBad);
        const auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text.substr(0, std::char_traits<char>::length(c.words)), U(c.words));
        EXPECT_NE(boxes[0].text.find(c.count == 0 ? u"The dictionary is not used." : u"Those lines are left out."),
                  std::u16string::npos);
        EXPECT_FALSE(fs::exists("DICT/test.mxi"));
    }
}

// A path that cannot even be looked at is a dictionary that could not be
// opened: logged, shown once, and the load goes on. Nothing is thrown.
TEST_F(DictionaryTest, PathsThatCannotBeCheckedAreFilesThatCouldNotBeOpened)
{
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string path;
        size_t boxes;
    };
    const Case cases[] = {
        {"dictionary is a link to itself", [] { fs::create_symlink("loop", "DICT/loop"); }, "DICT/loop", 1},
        {"a folder in the dictionary's place", [] { fs::create_directories("DICT/folder"); }, "DICT/folder", 1},
        {"a file in the folder's place", [] { mirudex::test::WriteFile("NOTDIR", "x"); }, "NOTDIR/edict", 1},
        {"simply not there", [] {}, "DICT/missing", 0},
    };
    fs::create_directories("DICT");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.make();
        platform_.Clear();
        dlog::Close();
        OpenLog();
        Dictionary d;
        EXPECT_NO_THROW(d = Load(c.path));
        EXPECT_EQ(d.count, 0);
        EXPECT_NE(Log().find("EDICT_Index_Load: ERROR: " + c.path + " not opened.\n"), std::string::npos);
        const auto boxes = platform_.MessageBoxes();
        ASSERT_EQ(boxes.size(), c.boxes);
        if (c.boxes) {
            EXPECT_NE(boxes[0].text.find(U("could not be opened")), std::u16string::npos);
        }
    }

    // An index file that links to itself is replaced by a good one.
    WriteDict(Sample());
    fs::create_symlink("test.mxi", "DICT/test.mxi");
    platform_.Clear();
    EXPECT_EQ(Load().count, 4);
    EXPECT_TRUE(platform_.MessageBoxes().empty());
    EXPECT_FALSE(fs::is_symlink("DICT/test.mxi"));
    EXPECT_EQ(Load().count, 4);
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
    EXPECT_EQ(EDICT_Index_Load(d, registry_, StopToken(&stop)), LoadOutcome::Stopped);
    EXPECT_EQ(d.count, 0);
    EXPECT_TRUE(d.index.empty());
}

}  // namespace
}  // namespace mirudex::dict::test

namespace mirudex::dict::test {
namespace {

// The line form is told from the file unless the options name it; an index
// made for one form is made again when the dictionary is read as the other.
TEST_F(DictTest, TheLineFormComesFromTheOptionsOrTheFile)
{
    const std::string plain = "猫 [ねこ] /(n) cat/\n犬 [いぬ] /(n) dog/\n";
    const std::string edict2 = "犬 [いぬ] /(n) dog/EntL1/\n猫;貓 [ねこ] /(n) cat/EntL2X/\n";
    struct Case {
        const char* name;
        std::string text;
        std::string format;
        LineForm form;
        size_t records;
    };
    const Case cases[] = {
        {"plain", plain, "", LineForm::Edict, 2},
        {"EDICT2 told by its ids", edict2, "", LineForm::Edict2, 3},
        {"EDICT2 told by its forms", "猫;貓 [ねこ] /(n) cat/\n", "", LineForm::Edict2, 2},
        {"EDICT2 read as plain", edict2, "EDICT", LineForm::Edict, 2},
        {"plain read as EDICT2", plain, "EDICT2", LineForm::Edict2, 2},
    };
    registry_.SetBOOL(opt::dictionaries::kIndexing, true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        mirudex::test::WriteFile("d", c.text);
        for (const std::string& format : {std::string(), c.format}) {
            Dictionary d;
            d.path = "d";
            d.encoding = "UTF-8";
            d.format = format;
            ASSERT_EQ(EDICT_Index_Load(d, registry_), LoadOutcome::Done);
            if (format == c.format) {
                EXPECT_EQ(d.form, c.form);
                EXPECT_EQ(d.index.size(), c.records);
            }
        }
        std::filesystem::remove("d.mxi");
        std::filesystem::remove("d.mxs");
    }
}

// The description a dictionary file gives of itself on its first line:
// EDICT's and ENAMDICT's pseudo-entry, KANJIDIC's comment; an ordinary first
// entry, or a line not in the encoding, is none.
TEST_F(DictTest, TheHeaderLineOfADictionaryFile)
{
    struct Case {
        const char* name;
        std::string bytes;
        const char* encoding;
        std::u16string header;
    };
    const Case cases[] = {
        {"EDICT in EUC-JP",
         Euc("　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files/Copyright Electronic "
             "Dictionary Research & Development Group - 2021/Created: 2021-02-03/\n"),
         "EUC-JP",
         u"EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files / Copyright Electronic "
         u"Dictionary Research & Development Group - 2021 / Created: 2021-02-03"},
        {"header in UTF-8 with CRLF", "？？？ /ENAMDICT/Created: 2021-02-03/\r\n", "UTF-8",
         u"ENAMDICT / Created: 2021-02-03"},
        {"KANJIDIC's comment", "# KANJIDIC JIS X 0208 Kanji Information File/Copyright EDRDG - 2016/2022-08-23/\n",
         "EUC-JP", u"KANJIDIC JIS X 0208 Kanji Information File / Copyright EDRDG - 2016 / 2022-08-23"},
        {"an ordinary entry", Euc("猫 [ねこ] /(n) cat/\n"), "EUC-JP", u""},
        {"not EUC-JP", "\xff\xfe /x/\n", "EUC-JP", u""},
        {"empty", "", "EUC-JP", u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(DictionaryHeader(c.bytes, c.encoding), c.header);
        mirudex::test::WriteFile("h", c.bytes + Euc("犬 [いぬ] /(n) dog/\n"));
        EXPECT_EQ(ReadDictionaryHeader("h", c.encoding), c.header);
    }
    EXPECT_EQ(ReadDictionaryHeader("no such file", "EUC-JP"), u"");
}

}  // namespace
}  // namespace mirudex::dict::test

namespace mirudex::dict::test {
namespace {

// Every written form and every reading of an EDICT2 line is in exactly one
// record of the line, a reading beside the headword it belongs to where it
// can be: the records grow with the forms, not with their product. The index
// file gives back the same records.
TEST_F(DictTest, EachFormOfAnEdict2LineIsInOneRecord)
{
    using Records = std::vector<std::pair<std::u16string, std::u16string>>;
    struct Case {
        const char* line;
        Records records;
    };
    const Case cases[] = {
        {"猫;貓 [ねこ;びょう] /(n) cat/", {{u"猫", u"ねこ"}, {u"貓", u""}, {u"", u"びょう"}}},
        // A reading restricted to a headword goes with it.
        {"空く;開く [あく;すく(空く)] /x/", {{u"空く", u"あく"}, {u"開く", u""}, {u"", u"すく"}}},
        {"甲;乙;丙 [へい(丙);おつ(乙,丙);こう] /x/", {{u"甲", u"こう"}, {u"乙", u"おつ"}, {u"丙", u"へい"}}},
        {"あっと言う間;あっという間;あっとゆう間 [あっというま(あっと言う間,あっという間);"
         "あっとゆうま(あっとゆう間)] /x/",
         {{u"あっと言う間", u"あっというま"}, {u"あっという間", u""}, {u"あっとゆう間", u"あっとゆうま"}}},
        // Restricted to no headword of the line; a headword twice.
        {"語 [ご(誤)] /x/", {{u"語", u""}, {u"", u"ご"}}},
        {"猫;猫 [ねこ] /x/", {{u"猫", u"ねこ"}, {u"猫", u""}}},
        // No readings: the headwords are their own readings.
        {"ネコ;ねこ(ik) /(n) cat/", {{u"ネコ", u"ネコ"}, {u"ねこ", u"ねこ"}}},
    };
    registry_.SetBOOL(opt::dictionaries::kIndexing, true);
    auto load = [this] {
        Dictionary d;
        d.path = "d";
        d.encoding = "UTF-8";
        d.format = std::string(kEdict2FormName);
        EXPECT_EQ(EDICT_Index_Load(d, registry_), LoadOutcome::Done);
        return d;
    };
    auto records = [](const Dictionary& d) {
        Records out;
        for (const IndexEntry e : d.index)
            out.emplace_back(e.word, e.kana);
        return out;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        mirudex::test::WriteFile("d", std::string(c.line) + "\n");
        fs::remove("d.mxi");
        fs::remove("d.mxs");
        EXPECT_EQ(records(load()), c.records);
        ASSERT_TRUE(fs::exists("d.mxi"));
        fs::remove("d.mxs");  // the records of the index file itself
        EXPECT_EQ(records(load()), c.records);
    }

    // Many forms: 400 headwords and 300 readings, unrestricted, then each
    // reading restricted to one headword.
    registry_.SetINT(opt::buffer::kEDICT, 100'000);
    for (const bool restricted : {false, true}) {
        SCOPED_TRACE(restricted);
        std::u16string headwords, readings;
        size_t formUnits = 0;
        for (int i = 0; i < 400; ++i) {
            const std::u16string h = {char16_t(0x4E00 + i), char16_t(0x5E00 + i)};
            headwords += (i ? u";" : u"") + h;
            formUnits += h.size();
            if (i < 300) {
                const std::u16string r = {char16_t(0x3041 + i % 80), char16_t(0x3041 + i / 80), u'ー'};
                readings += (i ? u";" : u"") + r + (restricted ? u"(" + h + u")" : u"");
                formUnits += r.size();
            }
        }
        const std::string line = Utf16ToUtf8(headwords + u" [" + readings + u"] /(n) many/EntL1/\n");
        mirudex::test::WriteFile("d", line + "犬 [いぬ] /(n) dog/EntL2/\n");
        fs::remove("d.mxi");
        fs::remove("d.mxs");
        for (int pass = 0; pass < 2; ++pass) {
            const Dictionary d = load();
            ASSERT_EQ(d.index.size(), (restricted ? 400u : 400u + 299u) + 1u);
            size_t units = 0;
            for (size_t i = 0; i + 1 < d.index.size(); ++i) {
                EXPECT_EQ(d.index[i].offset, 0);
                units += d.index[i].word.size() + d.index[i].kana.size();
            }
            EXPECT_EQ(units, formUnits);
            EXPECT_EQ(d.index[d.index.size() - 1].offset, static_cast<int64_t>(line.size()));
        }
        // An index of a few bytes a form, not of a few bytes a pair.
        EXPECT_LT(fs::file_size("d.mxi"), 16 * line.size());
    }
}

}  // namespace
}  // namespace mirudex::dict::test
