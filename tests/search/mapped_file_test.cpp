// Mapped dictionary files: a mapping is kept for later searches while the
// file stays the same, and a changed file is mapped afresh.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

#include "search/MappedFile.h"
#include "support/TestSupport.h"

namespace mirudex::search::test {
namespace {

namespace fs = std::filesystem;

class MappedFileTest : public mirudex::test::WorkDirTest {
protected:
    static void Write(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    }
};

TEST_F(MappedFileTest, KeptWhileTheFileStaysTheSameAndMadeAgainWhenItChanges)
{
    Write("dict", "one line\n");
    MappedFile first("dict");
    ASSERT_TRUE(first.IsOpen());
    MappedFile again("dict");
    EXPECT_EQ(again.bytes().data(), first.bytes().data()) << "the same mapping";

    struct Change {
        const char* what;
        std::string text;
        bool touch;  // the modification time moved on by a second
    } changes[] = {
        {"longer", "one line\ntwo lines\n", false},
        {"same size, later time", "ONE LINE\nTWO LINES\n", true},
        {"empty", "", false},
    };
    for (const Change& c : changes) {
        Write("dict", c.text);
        if (c.touch)
            fs::last_write_time("dict", fs::last_write_time("dict") + std::chrono::seconds(1));
        MappedFile fresh("dict");
        ASSERT_TRUE(fresh.IsOpen()) << c.what;
        EXPECT_EQ(fresh.bytes(), c.text) << c.what;
    }

    MappedFile missing("no such file");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_TRUE(missing.bytes().empty());
    first.Close();
    EXPECT_TRUE(first.bytes().empty());
}

}  // namespace
}  // namespace mirudex::search::test
