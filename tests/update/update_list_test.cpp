// The update list, the install log, the selection rules, CRC-32 and the
// rich-text blocks.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TestSupport.h"
#include "update/Crc32.h"
#include "update/Sha256.h"
#include "update/UpdateList.h"
#include "update/UpdateText.h"

namespace mirudex::update {
namespace {

using test::ReadFile;
using test::WriteFile;

constexpr const char* kVersion = "1.0.7.502";

TEST(UpdateCrc, KnownValuesInTheListForm)
{
    const CrcTable table = BuildCrcTable();
    EXPECT_EQ(table[1], 0x77073096u);
    EXPECT_EQ(table[255], 0x2D02EF8Du);
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", "0"},
        {"abc", "352441c2"},
        {"123456789", "cbf43926"},
        {"The quick brown fox jumps over the lazy dog", "414fa339"},
        {std::string(1, '\0'), "d202ef8d"},
        {"a", "e8b7be43"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CrcText(Crc32(table, c.bytes)), c.text) << c.bytes;
    // Fed in pieces, the same value.
    std::uint32_t running = kCrcStart;
    for (char ch : std::string("123456789"))
        running = UpdateCrc(table, running, std::string_view(&ch, 1));
    EXPECT_EQ(FinishCrc(running), 0xCBF43926u);
    EXPECT_EQ(CrcText(0x0000abcdu), "abcd");  // no leading zeros
}

TEST(UpdateSha256, KnownValuesWholeAndInPieces)
{
    const struct {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // 56 bytes: the length no longer fits the first block.
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnopqrsmnopqrstnopq"
         "rstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Sha256Hex(c.bytes), c.text) << c.bytes.size();
        // Fed in pieces of every length up to 70 bytes, the same digest.
        for (size_t piece : {size_t{1}, size_t{3}, size_t{63}, size_t{64}, size_t{65}, size_t{70}}) {
            Sha256 sha;
            for (size_t at = 0; at < c.bytes.size() && at < 5000; at += piece)
                sha.Add(
                    std::string_view(c.bytes).substr(at, std::min(piece, std::min<size_t>(5000, c.bytes.size()) - at)));
            EXPECT_EQ(Sha256Text(sha.Finish()), Sha256Hex(c.bytes.substr(0, 5000))) << piece;
        }
        EXPECT_TRUE(IsSha256Text(c.text));
    }
    EXPECT_FALSE(IsSha256Text("352441c2"));
    EXPECT_FALSE(IsSha256Text(std::string(63, 'a') + "g"));
}

class UpdateFiles : public test::WorkDirTest {};

TEST_F(UpdateFiles, CrcOfAFileEqualsTheCrcOfItsBytes)
{
    const CrcTable table = BuildCrcTable();
    std::string big;
    for (int i = 0; i < 200000; ++i)
        big.push_back(static_cast<char>(i * 7 + (i >> 8)));
    WriteFile("big.bin", big);
    std::uint32_t crc = 0;
    ASSERT_TRUE(Crc32OfFile(table, "big.bin", crc));
    EXPECT_EQ(crc, Crc32(table, big));
    EXPECT_FALSE(Crc32OfFile(table, "missing.bin", crc));
}

TEST(UpdateVersion, PatternsAgainstThisVersion)
{
    const struct {
        const char* pattern;
        bool match;
    } cases[] = {
        {"1.0.7.502", true},   {"1.0.5+", true},     {"1.0.8-", true},      {"-1.0.8", true},     {"+1.0.6", true},
        {"1.0.8+", false},     {"1.0.10+", true},    {"-1.0.7.502", false}, {"1.0.7.502-", true}, {"1.0.7.502+", true},
        {"+1.0.7.502", false}, {"1.0.6", false},     {"", false},           {"-", false},         {"+", true},
        {"1.0.7.501-", false}, {"-1.0.7.503", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(VersionMatch(kVersion, c.pattern), c.match) << c.pattern;
    EXPECT_EQ(SelectionVersion("1.0.7.502 beta"), "1.0.7.502");
}

UpdateRecord Record(const std::string& id, const std::string& type, const std::string& appliesTo,
                    std::vector<std::string> files = {})
{
    UpdateRecord r;
    r.id = id;
    r.type = type;
    r.appliesTo = appliesTo;
    r.files = std::move(files);
    return r;
}

TEST(UpdateSelection, RulesForOneRecord)
{
    const std::vector<std::string> installed = {"old-1", ""};
    const struct {
        UpdateRecord record;
        bool applies;
    } cases[] = {
        {Record("a", "98", "All"), true},
        {Record("a", "All", "1.0.7.502"), true},
        {Record("a", "XP", "All"), false},
        {Record("a", "98 ", "All"), false},
        {Record("a", "", "All"), false},
        {Record("old-1", "98", "All"), false},
        {Record("", "98", "All"), false},  // an empty line of the log matches an empty id
        {Record("a", "98", "1.0.5+/1.0.9-"), true},
        {Record("a", "98", "1.0.8+/1.0.9-"), false},
        {Record("a", "98", "1.0.5+/1.0.6-"), false},
        {Record("a", "98", "1.0.5+"), true},
        {Record("a", "98", "1.0.6"), false},
        {Record("a", "98", "all"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(UpdateApplies(c.record, kVersion, installed), c.applies)
            << c.record.id << " " << c.record.type << " " << c.record.appliesTo;
}

TEST(UpdateSelection, LastApplicableRecordWithFilesIsChosen)
{
    std::vector<UpdateRecord> records = {
        Record("one", "98", "All", {"a.txt:1"}), Record("two", "98", "All", {"b.txt:2", "c.txt:3"}),
        Record("three", "98", "All"),              // applies, no files
        Record("four", "XP", "All", {"d.txt:4"}),  // other build: not offered
    };
    const UpdateSelection s = SelectUpdates(records, kVersion, {});
    ASSERT_EQ(s.applicable.size(), 3u);
    EXPECT_EQ(s.applicable[0].id, "one");
    EXPECT_EQ(s.applicable[2].id, "three");
    EXPECT_EQ(s.downloadList, (std::vector<std::string>{"b.txt:2", "c.txt:3"}));
    EXPECT_EQ(s.chosenId, "two");

    const UpdateSelection none = SelectUpdates({Record("x", "98", "All")}, kVersion, {});
    EXPECT_TRUE(none.downloadList.empty());
    EXPECT_TRUE(none.chosenId.empty());
}

TEST(UpdateListFormat, LinesAreReadAsTheProgramReadsTextFiles)
{
    // Every line whole, the last one too.
    EXPECT_EQ(ReadTextLines("a\r\nb\nc"), (std::vector<std::string>{"a\n", "b\n", "c"}));
    EXPECT_EQ(ReadTextLines("abcdefg\n"), (std::vector<std::string>{"abcdefg\n"}));
    EXPECT_EQ(ReadTextLines("x\rz\n"), (std::vector<std::string>{"x\rz\n"}));
    EXPECT_EQ(ReadTextLines(""), (std::vector<std::string>{}));
    EXPECT_TRUE(HasListMarker("# updates.v2.txt\nNEWS\n"));
    EXPECT_TRUE(HasListMarker("# updates.v2.txt\r\n"));
    EXPECT_TRUE(HasListMarker("# updates.v2.txt"));  // the only line, without its line end
    EXPECT_FALSE(HasListMarker("# updates.v2.txtX"));
    EXPECT_FALSE(HasListMarker("# updates.v2.txt \n"));
    EXPECT_FALSE(HasListMarker("<html>404</html>\n"));
    EXPECT_FALSE(HasListMarker(""));
}

TEST(UpdateListFormat, SectionsRecordsAndComments)
{
    const std::string list =
        "# updates.v2.txt\n"
        "ignored before any keyword\n"
        "DATE\n"
        "2026-12-01\n"
        "NEWS\n"  // the first NEWS keeps the record begun by DATE
        "Big news\r\n"
        "# a comment inside a section\n"
        "ID\n"
        "first-id\n"
        "real-id\n"
        "TYPE\n"
        "98\n"
        "APPLIES TO\n"
        "1.0.5+/1.0.9-\n"
        "INFO\n"
        "Line one\n"
        "Line two\n"
        "FILE\n"
        "data/words.txt:352441c2\n"
        "NEWS \n"  // trailing blank: not a keyword, a line of FILE
        "NEWS\n"
        "Second\n"
        "TYPE\n"
        "All\n"
        "ID\n"
        "second\n"
        "APPLIES TO\n"
        "All\n";
    const auto records = ParseUpdateList(list);
    ASSERT_EQ(records.size(), 2u);
    const UpdateRecord& a = records[0];
    EXPECT_EQ(a.dateText, "2026-12-01\\line ");
    EXPECT_EQ(a.newsText, "Big news\\line ");
    EXPECT_EQ(a.idText, "first-id\\line real-id\\line ");
    EXPECT_EQ(a.id, "real-id");
    EXPECT_EQ(a.type, "98");
    EXPECT_EQ(a.appliesTo, "1.0.5+/1.0.9-");
    EXPECT_EQ(a.infoLines, (std::vector<std::string>{"Line one", "Line two"}));
    EXPECT_EQ(a.infoText, "Line one\\line Line two\\line ");
    EXPECT_EQ(a.files, (std::vector<std::string>{"data/words.txt:352441c2", "NEWS "}));
    const UpdateRecord& b = records[1];
    EXPECT_EQ(b.id, "second");
    EXPECT_TRUE(b.files.empty());
    EXPECT_EQ(b.fileText, "(There are no files for this update)\\line");

    EXPECT_TRUE(ParseUpdateList("# updates.v2.txt\n").empty());
    // A last line without a line end is read like the others, a keyword too.
    const auto cut = ParseUpdateList("# updates.v2.txt\nNEWS\nFILE\na.txt:1\nb.txt:2");
    ASSERT_EQ(cut.size(), 1u);
    EXPECT_EQ(cut[0].files, (std::vector<std::string>{"a.txt:1", "b.txt:2"}));
    const auto keywordLast = ParseUpdateList("# updates.v2.txt\nNEWS\nFILE\na.txt:1\nNEWS");
    ASSERT_EQ(keywordLast.size(), 2u);
    EXPECT_EQ(keywordLast[0].files, (std::vector<std::string>{"a.txt:1"}));
}

TEST(UpdateListFormat, LongLinesAreReadWhole)
{
    const std::string longLine(20005, 'x');
    const auto records = ParseUpdateList("# updates.v2.txt\nNEWS\nINFO\n" + longLine + "\n");
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].infoLines, (std::vector<std::string>{longLine}));
    // A line that merely ends in "FILE" is no keyword.
    const std::string padded = std::string(10000, 'y') + "FILE\n";
    const auto r2 = ParseUpdateList("# updates.v2.txt\nNEWS\nINFO\n" + padded);
    ASSERT_EQ(r2.size(), 1u);
    EXPECT_EQ(r2[0].infoLines.size(), 1u);
    EXPECT_TRUE(r2[0].files.empty());
}

TEST_F(UpdateFiles, InstallLogIsReadAndAppended)
{
    EXPECT_TRUE(ReadInstalledUpdates().empty());
    ASSERT_TRUE(LogInstalledUpdate("first"));
    ASSERT_TRUE(LogInstalledUpdate("second"));
    EXPECT_EQ(ReadFile(kInstallLogName), "first\nsecond\n");
    EXPECT_EQ(ReadInstalledUpdates(), (std::vector<std::string>{"first", "second"}));

    // A log whose last line lost its line end keeps its ids apart.
    WriteFile(kInstallLogName, "a\r\nb");
    EXPECT_EQ(ReadInstalledUpdates(), (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(LogInstalledUpdate("c"));
    EXPECT_EQ(ReadFile(kInstallLogName), "a\r\nb\nc\n");
    EXPECT_EQ(ReadInstalledUpdates(), (std::vector<std::string>{"a", "b", "c"}));

    // An id of any length the list can name is recognised once installed.
    for (const size_t length : {97u, 98u, 99u, 300u, 9997u}) {
        const std::string id(length, 'z');
        std::filesystem::remove(kInstallLogName);
        ASSERT_TRUE(LogInstalledUpdate("before"));
        ASSERT_TRUE(LogInstalledUpdate(id));
        ASSERT_TRUE(LogInstalledUpdate("after"));
        EXPECT_EQ(ReadInstalledUpdates(), (std::vector<std::string>{"before", id, "after"})) << length;
        UpdateRecord record;
        record.id = id;
        record.type = "98";
        record.appliesTo = "All";
        EXPECT_FALSE(UpdateApplies(record, "1.0.7.502", ReadInstalledUpdates())) << length;
    }

    EXPECT_FALSE(LogInstalledUpdate("x", "no-such-dir/Updates.mxf"));
    // A directory in the log's place is no log, and cannot be written.
    std::filesystem::create_directory("dir.mxf");
    EXPECT_TRUE(ReadInstalledUpdates("dir.mxf").empty());
    EXPECT_FALSE(LogInstalledUpdate("x", "dir.mxf"));
    UpdateSelection s;
    EXPECT_FALSE(EvaluateUpdateList(s, kVersion, "dir.mxf"));
}

TEST_F(UpdateFiles, EvaluationSkipsInstalledUpdates)
{
    UpdateSelection s;
    EXPECT_FALSE(EvaluateUpdateList(s, kVersion));
    WriteFile(kListFileName,
              "# updates.v2.txt\nNEWS\nID\nu1\nTYPE\n98\nAPPLIES TO\nAll\nFILE\na.txt:1\n"
              "NEWS\nID\nu2\nTYPE\nAll\nAPPLIES TO\n-1.0.8\nFILE\nb.txt:2\n");
    ASSERT_TRUE(EvaluateUpdateList(s, kVersion));
    EXPECT_EQ(s.applicable.size(), 2u);
    EXPECT_EQ(s.chosenId, "u2");
    WriteFile(kInstallLogName, "u2\n");
    ASSERT_TRUE(EvaluateUpdateList(s, kVersion));
    ASSERT_EQ(s.applicable.size(), 1u);
    EXPECT_EQ(s.chosenId, "u1");
    EXPECT_EQ(s.downloadList, (std::vector<std::string>{"a.txt:1"}));
}

TEST(UpdateFileNames, SplitAndSafety)
{
    const struct {
        const char* entry;
        const char* name;
        const char* crc;
        const char* sha256;
    } splits[] = {
        {"a.txt:352441c2", "a.txt", "352441c2", ""},
        {"a.txt", "a.txt", "", ""},
        {":abc", ":abc", "", ""},
        {"a:b:c", "a", "b", "c"},
        {"a:b:c:d", "a", "b", "c:d"},
        {"a.txt:", "a.txt", "", ""},
        {"a::c", "a", "", "c"},
    };
    for (const auto& c : splits) {
        const FileEntry e = SplitFileEntry(c.entry);
        EXPECT_EQ(e.name, c.name) << c.entry;
        EXPECT_EQ(e.crcText, c.crc) << c.entry;
        EXPECT_EQ(e.sha256, c.sha256) << c.entry;
    }
    const struct {
        std::string name;
        bool safe;
    } names[] = {
        {"edict", true},         {"data/words.txt", true},
        {"a b.txt", true},       {"", false},
        {"/etc/passwd", false},  {"../outside", false},
        {"data/../../x", false}, {"data/..", false},
        {"./x", false},          {"data//x", false},
        {"data/", false},        {"..\\x", false},
        {"a\r\nHost: x", false}, {std::string("a\0b", 3), false},
        {"a\x7f", false},        {"..", false},
        {"...", true},
    };
    for (const auto& c : names)
        EXPECT_EQ(SafeUpdateFileName(c.name), c.safe) << c.name;
}

RichFormat FormatOf(const std::vector<RichPiece>& pieces, const std::string& text)
{
    for (const RichPiece& p : pieces)
        if (p.kind == RichPiece::Kind::Text && p.text == text)
            return p.format;
    ADD_FAILURE() << "no piece " << text;
    return {};
}

TEST(UpdateText, BlockShowsEachSectionInItsFormat)
{
    UpdateRecord r = ParseUpdateList(
        "# updates.v2.txt\nNEWS\nHeadline\nDATE\n2026-12-01\nAPPLIES TO\n1.0.5+\nINFO\nDo this {first}\n"
        "FILE\nedict:1\n")[0];
    const std::string block = UpdateBlockRtf(r);
    EXPECT_EQ(block.rfind("{\\rtf{\\colortbl;\\red128\\green128\\blue128;}{\\i\\fs26 2026-12-01\\line }", 0), 0u);
    const auto pieces = ParseRichText(block);

    const RichFormat date = FormatOf(pieces, "2026-12-01");
    EXPECT_TRUE(date.italic);
    EXPECT_FALSE(date.bold);
    EXPECT_EQ(date.halfPoints, 26);
    const RichFormat news = FormatOf(pieces, "Headline");
    EXPECT_TRUE(news.bold);
    EXPECT_FALSE(news.italic);
    EXPECT_EQ(news.halfPoints, 30);
    const RichFormat applies = FormatOf(pieces, "This applies to version: 1.0.5+");
    EXPECT_TRUE(applies.italic);
    EXPECT_TRUE(applies.hasColour);
    EXPECT_EQ(applies.red, 128);
    EXPECT_EQ(applies.blue, 128);
    EXPECT_EQ(applies.halfPoints, 20);
    // The list's text goes in as rich text: {first} is a group.
    const RichFormat info = FormatOf(pieces, "Do this first");
    EXPECT_EQ(info.leftIndentTwips, 360);
    EXPECT_FALSE(info.hasColour);
    const RichFormat files = FormatOf(pieces, "Files");
    EXPECT_TRUE(files.bold);
    EXPECT_EQ(files.halfPoints, 22);
    EXPECT_EQ(files.leftIndentTwips, 0);
    const RichFormat file = FormatOf(pieces, "edict:1");
    EXPECT_EQ(file.leftIndentTwips, 360);
    EXPECT_TRUE(file.hasColour);

    UpdateRecord none = ParseUpdateList("# updates.v2.txt\nNEWS\nx\n")[0];
    FormatOf(ParseRichText(UpdateBlockRtf(none)), "(There are no files for this update)");

    const auto sep = ParseRichText(UpdateSeparatorRtf());
    const RichFormat line = FormatOf(sep, "=======================================");
    EXPECT_TRUE(line.hasColour);
    EXPECT_EQ(line.red, 64);
    EXPECT_EQ(line.green, 64);
    EXPECT_EQ(line.blue, 255);
}

TEST(UpdateText, LongBlocksAreCutAndEscapesRead)
{
    UpdateRecord r;
    r.infoText = std::string(20000, 'i');
    const std::string block = UpdateBlockRtf(r);
    EXPECT_EQ(block.size(), kMaxBlockBytes);
    size_t shown = 0;
    for (const RichPiece& p : ParseRichText(block))
        shown += p.text.size();
    EXPECT_GT(shown, 9000u);

    const auto pieces = ParseRichText("{\\rtf a\\\\b\\{c\\}\\'e9\\par\\b0 d\\fs-5 e\\cf99 f}}}");
    std::string text;
    int breaks = 0;
    for (const RichPiece& p : pieces) {
        text += p.text;
        breaks += p.kind == RichPiece::Kind::Break;
    }
    EXPECT_EQ(text,
              "a\\b{c}\xe9"
              "def");
    EXPECT_EQ(breaks, 1);
    EXPECT_TRUE(ParseRichText("").empty());
    EXPECT_TRUE(ParseRichText("\\").empty());
    EXPECT_TRUE(ParseRichText("\\'4").size() <= 1);
}

}  // namespace
}  // namespace mirudex::update
