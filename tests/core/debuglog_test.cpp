#include <thread>
#include <vector>

#include "core/DebugLog.h"
#include "support/TestSupport.h"

using namespace mirudex;

class DebugLogTest : public test::WorkDirTest {};

TEST_F(DebugLogTest, FileStartsWithBomAndUsesBareLineFeeds)
{
    ASSERT_TRUE(dlog::Open());
    EXPECT_FALSE(dlog::Open()) << "a second open reports false";
    dlog::Write(u"Loading cursors...............");
    dlog::Write(u"OKAY\n");
    dlog::Write(u"%s %S %i\n", u"猫", "cat", 3);
    ASSERT_TRUE(dlog::Close());
    EXPECT_FALSE(dlog::Close());
    std::string raw = test::ReadFile("out.uni.txt");
    ASSERT_GE(raw.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(raw[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(raw[1]), 0xFE);
    EXPECT_EQ(raw.find('\r'), std::string::npos);
    EXPECT_EQ(Log(), "Loading cursors...............OKAY\n猫 cat 3\n");
}

TEST_F(DebugLogTest, LevelledLinesAndClosedLog)
{
    dlog::Write(u"dropped before open\n");
    OpenLog(1);
    dlog::WriteAt(1, u"level one\n");
    dlog::WriteAt(2, u"level two\n");
    dlog::Close();
    dlog::Write(u"dropped after close\n");
    EXPECT_EQ(Log(), "level one\n");
}

TEST_F(DebugLogTest, ReadsTheLevelLikePercentI)
{
    OpenLog();
    struct Case {
        const char* text;
        int level;
    } cases[] = {{"0x2", 2}, {"010", 8}, {"3\n", 3}, {"  1 extra", 1}, {"-1", -1}, {"junk", 0}};
    for (const auto& c : cases) {
        test::WriteFile("debug_level.dat", c.text);
        dlog::SetLevel(99);
        dlog::ReadLevel();
        EXPECT_EQ(dlog::Level(), c.level) << c.text;
    }
    std::remove("debug_level.dat");
    dlog::SetLevel(5);
    dlog::ReadLevel();
    EXPECT_EQ(dlog::Level(), 0);
    dlog::Close();
    EXPECT_EQ(Log(), "WARNING: Could not open 'debug_level.dat'.\n");
}

TEST_F(DebugLogTest, TwoThreadsWriteWholeLinesOnly)
{
    OpenLog();
    constexpr int kLines = 2000;
    auto writer = [](char16_t mark) {
        for (int i = 0; i < kLines; ++i)
            dlog::Write(u"%c%c%c%c%c%c%c%c%c%c %i\n", mark, mark, mark, mark, mark, mark, mark, mark, mark, mark, i);
    };
    std::thread a(writer, u'a');
    std::thread b(writer, u'b');
    a.join();
    b.join();
    dlog::Close();
    std::string log = Log();
    size_t start = 0;
    int count = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        std::string line = log.substr(start, end - start);
        ASSERT_GE(line.size(), 12u);
        char mark = line[0];
        EXPECT_EQ(line.substr(0, 10), std::string(10, mark)) << line;
        EXPECT_EQ(line[10], ' ');
        start = end + 1;
        ++count;
    }
    EXPECT_EQ(count, 2 * kLines);
}
