#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "core/LineReader.h"
#include "support/TestSupport.h"

using namespace mirudex;

namespace {

using Read = LineReader::Read;

struct Got {
    Read read;
    std::string text;
    int64_t offset;  // where the line began
    bool operator==(const Got&) const = default;
};

class LineReaderTest : public test::WorkDirTest {
protected:
    std::vector<Got> ReadAll(const std::string& bytes, size_t max)
    {
        test::WriteFile("f.txt", bytes);
        LineReader file("f.txt");
        EXPECT_TRUE(file.IsOpen());
        std::vector<Got> lines;
        std::string line;
        for (;;) {
            const int64_t offset = file.Tell();
            const Read read = file.ReadLine(line, max);
            if (read == Read::End)
                break;
            lines.push_back({read, line, offset});
        }
        EXPECT_EQ(file.Tell(), static_cast<int64_t>(bytes.size()));
        EXPECT_EQ(file.Error(), 0);
        // The same text in memory reads the same way.
        LineReader text;
        text.OpenText(bytes);
        std::vector<Got> fromText;
        for (;;) {
            const int64_t offset = text.Tell();
            const Read read = text.ReadLine(line, max);
            if (read == Read::End)
                break;
            fromText.push_back({read, line, offset});
        }
        EXPECT_EQ(fromText, lines);
        return lines;
    }
};

TEST_F(LineReaderTest, EveryLineComesWholeOrIsReportedTooLong)
{
    struct Case {
        const char* name;
        std::string bytes;
        size_t max;
        std::vector<Got> lines;
    };
    const std::string huge(3 << 20, 'h');  // several blocks without a line end
    const Case cases[] = {
        {"empty file", "", 10, {}},
        {"last line without a line end", "a\nbc", 10, {{Read::Line, "a\n", 0}, {Read::Line, "bc", 2}}},
        {"line ends kept, CR too", "a\r\n\n", 10, {{Read::Line, "a\r\n", 0}, {Read::Line, "\n", 3}}},
        {"a line that just fits, LF included", "abcd\nx\n", 5, {{Read::Line, "abcd\n", 0}, {Read::Line, "x\n", 5}}},
        {"one byte more is too long, and costs only itself",
         "abcde\nx\n",
         5,
         {{Read::TooLong, "abcde", 0}, {Read::Line, "x\n", 6}}},
        {"a too long last line", "x\nabcdef", 5, {{Read::Line, "x\n", 0}, {Read::TooLong, "abcde", 2}}},
        {"a line over many blocks",
         huge + "\nend\n",
         4,
         {{Read::TooLong, "hhhh", 0}, {Read::Line, "end\n", static_cast<int64_t>(huge.size() + 1)}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadAll(c.bytes, c.max), c.lines) << c.name;
}

TEST_F(LineReaderTest, LinesAcrossBlockBordersAndSeeks)
{
    // Lines of 100 bytes over several of the reader's blocks.
    std::string bytes;
    for (int i = 0; i < 20000; ++i) {
        std::string line = std::to_string(i);
        line.resize(99, '.');
        bytes += line + "\n";
    }
    const auto lines = ReadAll(bytes, 100);
    ASSERT_EQ(lines.size(), 20000u);
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].read, Read::Line) << i;
        ASSERT_EQ(lines[i].offset, static_cast<int64_t>(i * 100)) << i;
        ASSERT_EQ(lines[i].text.substr(0, std::to_string(i).size()), std::to_string(i)) << i;
    }

    LineReader file("f.txt");
    std::string line;
    for (const int i : {15000, 3, 19999, 3, 0}) {
        ASSERT_TRUE(file.Seek(i * 100));
        ASSERT_EQ(file.ReadLine(line, 100), Read::Line);
        EXPECT_EQ(line.substr(0, std::to_string(i).size()), std::to_string(i));
        EXPECT_EQ(file.Tell(), (i + 1) * 100);
    }
    EXPECT_EQ(file.ReadLine(line, 100), Read::Line);
    EXPECT_FALSE(file.Seek(-1));
    EXPECT_TRUE(file.Seek(static_cast<int64_t>(bytes.size())));
    EXPECT_EQ(file.ReadLine(line, 100), Read::End);

    LineReader missing("nothere.txt");
    EXPECT_FALSE(missing.IsOpen());
    EXPECT_EQ(missing.ReadLine(line, 100), Read::End);
}

TEST_F(LineReaderTest, ReadErrorsEndTheLinesAndAreKept)
{
    // A directory opens like a file, but every read of it fails.
    std::filesystem::create_directory("dir");
    LineReader dir("dir");
    ASSERT_TRUE(dir.IsOpen());
    std::string line;
    EXPECT_EQ(dir.ReadLine(line, 100), Read::End);
    EXPECT_EQ(dir.Error(), EISDIR);
    EXPECT_EQ(dir.ReadLine(line, 100), Read::End);
    dir.Close();
    EXPECT_EQ(dir.Error(), 0);
}

TEST_F(LineReaderTest, Utf16LinesEndOnlyAtTheLineFeedUnit)
{
    auto bytesOf = [](std::u16string_view text) {
        std::string bytes;
        for (char16_t unit : text) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        return bytes;
    };
    // U+0A0A and U+300A hold the byte 0x0A without being line ends.
    const std::u16string text = u"\uFEFF\u0A0A\u300A\r\nabcdef\nlast";
    test::WriteFile("u.txt", bytesOf(text) + "\x41");  // and an odd byte at the end
    LineReader file("u.txt");
    std::u16string line;
    EXPECT_EQ(file.ReadLine(line, 5), Read::Line);
    EXPECT_EQ(line, u"\uFEFF\u0A0A\u300A\r\n");
    EXPECT_EQ(file.ReadLine(line, 5), Read::TooLong);
    EXPECT_EQ(line, u"abcde");
    EXPECT_EQ(file.ReadLine(line, 5), Read::Line);
    EXPECT_EQ(line, u"last");
    EXPECT_EQ(file.ReadLine(line, 5), Read::End);

    TrimLineEnd(line = u"x\r\n\r");
    EXPECT_EQ(line, u"x");
    std::string narrow = "y\n\r\n";
    TrimLineEnd(narrow);
    EXPECT_EQ(narrow, "y");
    EXPECT_EQ(LineLimit(5000), 4998u);
    EXPECT_EQ(LineLimit(0), 1u);
}

}  // namespace
