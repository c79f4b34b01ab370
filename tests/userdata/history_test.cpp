#include <filesystem>
#include <vector>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "support/TestSupport.h"
#include "userdata/History.h"
#include "userdata_test_support.h"

using namespace mirudex;
using namespace mirudex::userdata;

namespace {

std::string Utf16Le(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

std::vector<std::u16string> Items(const HistoryList& list) { return list.items(); }

class HistoryTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        options_.LoadFromText(DefaultOptionsText());
    }
    Registry options_;
    HistoryList list_;
};

TEST_F(HistoryTest, OrderSurvivesRestarts)
{
    for (const char16_t* s : {u"a", u"b", u"c"})
        AddToHistory(list_, options_, s);
    EXPECT_EQ(Items(list_), (std::vector<std::u16string>{u"c", u"b", u"a"}));

    OpenLog();
    ASSERT_TRUE(SaveHistory(list_, options_));
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16Le(u"c\nb\na\n"));  // no BOM, LF only, top first
    EXPECT_NE(Log().find("History saved.\n"), std::string::npos);

    // Two more runs: the list reads as it was left, and a new search goes on top.
    HistoryList second;
    LoadHistory(second, options_);
    EXPECT_EQ(Items(second), (std::vector<std::u16string>{u"c", u"b", u"a"}));
    EXPECT_NE(Log().find("Loading history...............      String added: c.\n"), std::string::npos);
    EXPECT_NE(Log().find("OKAY\n"), std::string::npos);
    AddToHistory(second, options_, u"d");
    ASSERT_TRUE(SaveHistory(second, options_));
    HistoryList third;
    LoadHistory(third, options_);
    EXPECT_EQ(Items(third), (std::vector<std::u16string>{u"d", u"c", u"b", u"a"}));
    ASSERT_TRUE(SaveHistory(third, options_));
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16Le(u"d\nc\nb\na\n"));
}

TEST_F(HistoryTest, EqualSearchesAreNotMerged)
{
    AddToHistory(list_, options_, u"ねこ");
    AddToHistory(list_, options_, u"ねこ");
    EXPECT_EQ(list_.size(), 2u);
}

TEST_F(HistoryTest, ReadingFollowsTheLineRules)
{
    const std::u16string longest(kHistoryItemLimit - 1, u'x');  // with its line feed, just fits
    struct Case {
        const char* name;
        std::string file;
        std::vector<std::u16string> expected;  // top first
    };
    const std::vector<Case> cases = {
        {"empty line gives an empty item", Utf16Le(u"a\n\nb\n"), {u"a", u"", u"b"}},
        {"last line without line feed is an item", Utf16Le(u"a\nb"), {u"a", u"b"}},
        {"carriage returns before the line feed are dropped", Utf16Le(u"a\r\r\n"), {u"a"}},
        {"empty file", "", {}},
        {"odd trailing byte is not a unit", Utf16Le(u"a\n") + "x", {u"a"}},
        {"a long search comes back whole", Utf16Le(longest + u"\nb\n"), {longest, u"b"}},
        {"a longer line is left out whole, not cut into items",
         Utf16Le(u"a\n" + std::u16string(kHistoryItemLimit, u'x') + u"\nb\n"),
         {u"a", u"b"}},
        {"non-ASCII text", Utf16Le(u"日本語\n猫\n"), {u"日本語", u"猫"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::WriteFile("history.dat", c.file);
        HistoryList list;
        LoadHistory(list, options_);
        EXPECT_EQ(Items(list), c.expected);
        EXPECT_TRUE(list.unreadableFile().empty());
    }
}

TEST_F(HistoryTest, LoadingStopsAtMaxAndLogsAtLevelTwo)
{
    test::WriteFile("history.dat", Utf16Le(u"1\n2\n3\n4\n"));
    options_.SetINT(".\\Search\\RecentList\\Max", 2);
    OpenLog(2);
    LoadHistory(list_, options_);
    EXPECT_EQ(Items(list_), (std::vector<std::u16string>{u"1", u"2"}));
    const std::string log = Log();
    EXPECT_NE(log.find("   Found history: 1\n\n"), std::string::npos);
    EXPECT_EQ(log.find("Found history: 3"), std::string::npos);  // not read at all
    EXPECT_NE(log.find("History loaded.\n"), std::string::npos);
    EXPECT_EQ(log.find("OKAY"), std::string::npos);

    // A file of 100,000 searches: only the first forty are read.
    std::u16string many;
    for (int i = 0; i < 100000; ++i)
        many += u"item\n";
    test::WriteFile("history.dat", Utf16Le(many));
    options_.SetINT(".\\Search\\RecentList\\Max", 40);
    dlog::Close();
    OpenLog(0);
    HistoryList big;
    LoadHistory(big, options_);
    EXPECT_EQ(big.size(), 40u);
    size_t added = 0;
    const std::string bigLog = Log();
    for (size_t at = 0; (at = bigLog.find("String added", at)) != std::string::npos; ++at)
        ++added;
    EXPECT_EQ(added, 40u);
}

TEST_F(HistoryTest, MissingFileIsLoggedAndLeavesTheListEmpty)
{
    for (int level : {0, 2}) {
        SCOPED_TRACE(level);
        dlog::Close();
        OpenLog(level);
        HistoryList list;
        LoadHistory(list, options_);
        EXPECT_TRUE(list.empty());
        EXPECT_TRUE(list.unreadableFile().empty());  // the exit save may make one
        const std::string log = Log();
        EXPECT_NE(log.find("   ERROR: Could not open history.dat.\n"), std::string::npos);
        EXPECT_EQ(log.find("FAILED\n") != std::string::npos, level < 2);
    }
}

TEST_F(HistoryTest, FileThatCannotBeReadIsNeverWrittenOver)
{
    // A directory where the file should be: start-up goes on with an empty
    // list, and the exit leaves the path alone and says why.
    std::filesystem::create_directory("history.dat");
    test::WriteFile("history.dat/keep", "x");
    OpenLog();
    LoadHistory(list_, options_);
    EXPECT_TRUE(list_.empty());
    EXPECT_EQ(list_.unreadableFile(), "Is a directory");
    EXPECT_NE(Log().find("ERROR: Could not read history.dat (Is a directory).\n"), std::string::npos);
    AddToHistory(list_, options_, u"new");
    EXPECT_FALSE(SaveHistory(list_, options_));
    EXPECT_EQ(test::ReadFile("history.dat/keep"), "x");
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(u"your search history to the file history.dat"), std::u16string::npos);
    EXPECT_NE(boxes[0].text.find(u"could not be read when Mirudex started (Is a directory)"), std::u16string::npos);
}

TEST_F(HistoryTest, MaximumLimitsTheList)
{
    options_.SetINT(".\\Search\\RecentList\\Max", 0);
    AddToHistory(list_, options_, u"a");
    EXPECT_TRUE(list_.empty());

    options_.SetINT(".\\Search\\RecentList\\Max", 40);
    for (const char16_t* s : {u"a", u"b", u"c", u"d", u"e"})
        AddToHistory(list_, options_, s);
    ApplyHistoryMax(list_, options_, 2);
    EXPECT_EQ(Items(list_), (std::vector<std::u16string>{u"e", u"d"}));
    EXPECT_EQ(options_.GetINT(".\\Search\\RecentList\\Max"), 2);

    ClearHistory(list_, options_, 7);
    EXPECT_TRUE(list_.empty());
    EXPECT_EQ(options_.GetINT(".\\Search\\RecentList\\Max"), 7);
}

TEST_F(HistoryTest, SwitchesLeaveTheListAndTheFileAlone)
{
    test::WriteFile("history.dat", Utf16Le(u"old\n"));
    // Disabled: nothing added, nothing read or written.
    options_.SetBOOL(".\\Search\\RecentList\\Enabled", false);
    AddToHistory(list_, options_, u"a");
    LoadHistory(list_, options_);
    EXPECT_TRUE(list_.empty());
    list_.Insert(0, u"new");
    EXPECT_FALSE(SaveHistory(list_, options_));
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16Le(u"old\n"));

    // Enabled but not restored: this run's history is lost, the file stays.
    options_.SetBOOL(".\\Search\\RecentList\\Enabled", true);
    options_.SetBOOL(".\\Search\\RecentList\\Load", false);
    HistoryList other;
    LoadHistory(other, options_);
    EXPECT_TRUE(other.empty());
    EXPECT_FALSE(SaveHistory(list_, options_));
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16Le(u"old\n"));
}

TEST_F(HistoryTest, FailedSaveKeepsTheOldFile)
{
    test::WriteFile("history.dat", Utf16Le(u"old\n"));
    AddToHistory(list_, options_, std::u16string(2000, u'n'));
    OpenLog();
    bool saved = true;
    {
        test::FileSizeLimit limit(1024);  // the new file cannot be written completely
        saved = SaveHistory(list_, options_);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16Le(u"old\n"));
    EXPECT_NE(Log().find("ERROR: Could not open history.dat.\n"), std::string::npos);
    // The user is told which file was not saved and why.
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].text.find(u"history.dat:\n\nFile too large."), std::u16string::npos);
}

struct RecordingObserver : HistoryObserver {
    std::vector<std::string> calls;
    void BeforeInsert(size_t row) override { calls.push_back("+" + std::to_string(row)); }
    void AfterInsert() override { calls.push_back("+"); }
    void BeforeRemove(size_t row) override { calls.push_back("-" + std::to_string(row)); }
    void AfterRemove() override { calls.push_back("-"); }
    void BeforeReset() override { calls.push_back("reset"); }
    void AfterReset() override { calls.push_back("reset done"); }
};

TEST_F(HistoryTest, ObserverSeesEveryChange)
{
    RecordingObserver observer;
    list_.SetObserver(&observer);
    options_.SetINT(".\\Search\\RecentList\\Max", 1);
    AddToHistory(list_, options_, u"a");
    AddToHistory(list_, options_, u"b");
    ClearHistory(list_, options_, 1);
    list_.SetObserver(nullptr);
    EXPECT_EQ(observer.calls, (std::vector<std::string>{"+0", "+", "+0", "+", "-1", "-", "reset", "reset done"}));
}

}  // namespace
