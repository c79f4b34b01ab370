#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>

#include "DictTestUtil.h"
#include "dict/IndexIdentity.h"

namespace mirudex::dict::test {
namespace {

namespace fs = std::filesystem;

class IdentityTest : public DictTest {
protected:
    IndexIdentity Of(const std::string& path = "d.txt", const char* encoding = "EUC-JP", int buffer = 5000)
    {
        int error = -1;
        const auto identity = IdentityOfFile(path, encoding, buffer, error);
        EXPECT_TRUE(identity.has_value()) << path;
        EXPECT_EQ(error, 0);
        return identity.value_or(IndexIdentity{});
    }
};

TEST_F(IdentityTest, EveryChangeOfTheFileOrOfTheWayItIsReadShows)
{
    const std::string big = std::string(10000, 'a') + std::string(10000, 'b') + std::string(10000, 'c');
    struct Case {
        const char* name;
        std::function<void()> change;
        const char* encoding;
        int buffer;
        const char* difference;
    };
    const auto keepTime = [](const std::function<void()>& write) {
        const auto time = fs::last_write_time("d.txt");
        write();
        fs::last_write_time("d.txt", time);
    };
    const Case cases[] = {
        {"nothing", [] {}, "EUC-JP", 5000, ""},
        {"touched", [] { fs::last_write_time("d.txt", fs::last_write_time("d.txt") + std::chrono::nanoseconds(1)); },
         "EUC-JP", 5000, "modification time"},
        {"first kilobytes", [&] { keepTime([&] { mirudex::test::WriteFile("d.txt", "X" + big.substr(1)); }); },
         "EUC-JP", 5000, "contents"},
        {"last kilobytes", [&] { keepTime([&] { mirudex::test::WriteFile("d.txt", big.substr(1) + "X"); }); }, "EUC-JP",
         5000, "contents"},
        {"longer", [&] { keepTime([&] { mirudex::test::WriteFile("d.txt", big + "\n"); }); }, "EUC-JP", 5000,
         "size, contents"},
        {"encoding", [] {}, "UTF-8", 5000, "encoding"},
        {"line buffer", [] {}, "EUC-JP", 4000, "line buffer size"},
    };
    for (const Case& c : cases) {
        mirudex::test::WriteFile("d.txt", big);
        const IndexIdentity before = Of();
        c.change();
        const IndexIdentity after = Of("d.txt", c.encoding, c.buffer);
        EXPECT_EQ(IdentityDifference(before, after), c.difference) << c.name;
        EXPECT_EQ(before == after, std::string(c.difference).empty()) << c.name;
    }
    // The middle of a large file is not looked at: size, time and the ends are the cheap, sure signs.
    EXPECT_EQ(Of().size, big.size());
}

TEST_F(IdentityTest, TrailerRoundTripsAndAnythingElseIsNoTrailer)
{
    mirudex::test::WriteFile("d.txt", "");
    IndexIdentity identity = Of();  // an empty file has an identity too
    identity.encoding = "ISO-2022-JP-2";
    const std::string body = "entries of the file itself";
    const std::string file = body + IdentityTrailer(identity, 0x0123456789ABCDEFULL);

    const auto parsed = ParseIdentityTrailer(file);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->identity, identity);
    EXPECT_EQ(parsed->contents, 0x0123456789ABCDEFULL);
    EXPECT_EQ(parsed->trailerBytes, file.size() - body.size());

    mirudex::test::WriteFile("x.mxi", file);
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> open(std::fopen("x.mxi", "rb"), &std::fclose);
    const auto read = ReadIdentityTrailer(open.get(), static_cast<int64_t>(file.size()));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->identity, identity);
    EXPECT_EQ(read->trailerBytes, parsed->trailerBytes);

    std::string otherVersion = file;
    otherVersion[body.size()] = 1;  // the trailer of earlier programs, without the contents checksum
    std::string tooLong = file;
    tooLong[file.size() - 8] = '\x7f';  // a block longer than the file
    const std::string cases[] = {
        "",           "MXID",  body, file.substr(0, file.size() - 1), file.substr(1, 20) + file.substr(file.size() - 8),
        otherVersion, tooLong,
    };
    for (const std::string& bytes : cases)
        EXPECT_FALSE(ParseIdentityTrailer(bytes).has_value()) << bytes.size();
}

TEST(ContentsChecksumTest, AnyFlippedBitChangesItAndPiecesDoNotMatter)
{
    std::string bytes;
    for (int i = 0; i < 203; ++i)
        bytes.push_back(static_cast<char>(i * 37 + 11));
    const uint64_t whole = ChecksumOf(bytes);
    // Every length below a few lanes' worth, every piece boundary.
    for (size_t length :
         {size_t{0}, size_t{1}, size_t{7}, size_t{8}, size_t{31}, size_t{32}, size_t{33}, size_t{64}, bytes.size()}) {
        const std::string_view part = std::string_view(bytes).substr(0, length);
        for (size_t cut = 0; cut <= length; cut += 5) {
            ContentsChecksum pieces;
            pieces.Add(part.substr(0, cut));
            pieces.Add({});
            pieces.Add(part.substr(cut));
            EXPECT_EQ(pieces.Value(), ChecksumOf(part)) << length << " " << cut;
        }
    }
    for (size_t i = 0; i < bytes.size(); ++i)
        for (int bit = 0; bit < 8; ++bit) {
            std::string flipped = bytes;
            flipped[i] = static_cast<char>(flipped[i] ^ (1 << bit));
            ASSERT_NE(ChecksumOf(flipped), whole) << i << " " << bit;
        }
    EXPECT_NE(ChecksumOf(bytes.substr(0, 202)), whole);
    EXPECT_NE(ChecksumOf(bytes + '\0'), whole);
}

TEST_F(IdentityTest, WhatCannotBeLookedAtSaysWhy)
{
    struct Case {
        const char* name;
        std::function<void()> make;
        std::string path;
        int error;
    };
    const Case cases[] = {
        {"missing", [] {}, "none.txt", ENOENT},
        {"a link to itself", [] { fs::create_symlink("loop", "loop"); }, "loop", ELOOP},
        {"a folder", [] { fs::create_directory("folder"); }, "folder", EISDIR},
        {"a file as a folder", [] { mirudex::test::WriteFile("file", "x"); }, "file/edict", ENOTDIR},
        // A pipe would block a plain open: it is refused without waiting.
        {"a pipe", [] { ASSERT_EQ(::mkfifo("pipe", 0600), 0); }, "pipe", EINVAL},
    };
    for (const Case& c : cases) {
        c.make();
        int error = 0;
        EXPECT_FALSE(IdentityOfFile(c.path, "EUC-JP", 5000, error).has_value()) << c.name;
        EXPECT_EQ(error, c.error) << c.name;
    }
}

}  // namespace
}  // namespace mirudex::dict::test
