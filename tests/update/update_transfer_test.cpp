// Transfers and the two update threads against a plain HTTP server of the
// test's own on 127.0.0.1 (HTTPS with its certificate check is tested
// against nginx in the download tests).
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <thread>

#include "LoopbackServer.h"
#include "support/TestSupport.h"
#include "update/Crc32.h"
#include "update/HttpFetch.h"
#include "update/Sha256.h"
#include "update/UpdateList.h"
#include "update/UpdateThreads.h"

namespace mirudex::update {
namespace {

using test::LoopbackServer;
using test::ReadFile;
using test::WriteFile;
using Mode = LoopbackServer::Mode;

constexpr const char* kHost = "127.0.0.1";
// The CRC-32 and SHA-256 of "abc".
const std::string kAbc = "352441c2:ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const std::string kList = "# updates.v2.txt\nNEWS\nID\nu1\nTYPE\n98\nAPPLIES TO\nAll\nFILE\nDICT/abc:" + kAbc + "\n";

class UpdateTransfer : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        OpenLog();
        options_.scheme = "http";
        options_.port = server_.port();
        options_.timeout = std::chrono::milliseconds(3000);
        state_.servers = {{{kHost, "one/updates.v2.txt", "one/files"}, {kHost, "two/updates.v2.txt", "two/files"}}};
        state_.scheme = "http";
        state_.port = server_.port();
        state_.timeout = std::chrono::milliseconds(3000);
        std::filesystem::create_directory("DICT");
        state_.SetStatusSink([this](const std::u16string& text) {
            std::lock_guard lock(statusMutex_);
            statuses_.push_back(text);
        });
    }
    void TearDown() override
    {
        StopUpdateThread(state_);
        WorkDirTest::TearDown();
    }

    // Waits (bounded) for the update thread to end, as the updater window does.
    bool WaitForThread()
    {
        for (int i = 0; i < 1000 && UpdateThreadRunning(state_); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (UpdateThreadRunning(state_))
            return false;
        JoinUpdateThread(state_);
        return true;
    }
    std::vector<std::u16string> Statuses()
    {
        std::lock_guard lock(statusMutex_);
        return statuses_;
    }

    LoopbackServer server_;
    FetchOptions options_;
    UpdateState state_;
    std::mutex statusMutex_;
    std::vector<std::u16string> statuses_;
};

TEST_F(UpdateTransfer, RequestAndBody)
{
    std::string body;
    for (int i = 0; i < 1000; ++i)
        body += static_cast<char>(i % 251);  // binary, longer than one receive block
    server_.Serve("dir/file.bin", body);
    FetchReport report;
    ASSERT_TRUE(FetchHttpFile(kHost, "dir/file.bin", "local.bin", options_, &report));
    EXPECT_EQ(ReadFile("local.bin"), body);
    EXPECT_TRUE(report.kept);
    EXPECT_EQ(report.failure, FetchReport::Failure::None);
    EXPECT_EQ(report.bytes, body.size());
    EXPECT_EQ(report.crc, Crc32(BuildCrcTable(), body));
    EXPECT_EQ(report.sha256, Sha256Hex(body));
    ASSERT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(server_.Requests()[0].rfind("GET /dir/file.bin HTTP/1.1\r\n", 0), 0u) << server_.Requests()[0];
    EXPECT_NE(Log().find("File received okay.\n"), std::string::npos);
    EXPECT_EQ(FetchUrl("updates.example", "a/b.txt", {}), "https://updates.example/a/b.txt");
}

TEST_F(UpdateTransfer, FailuresLeaveTheOldFileAlone)
{
    const std::string old = "the user's old file\n";
    const std::string big(5000, 'b');
    server_.Serve("reset", {big, Mode::ResetMidway});
    server_.Serve("hang", {big, Mode::Hang});
    server_.Serve("huge", big);
    server_.Serve("endless", {big, Mode::Endless});
    using Failure = FetchReport::Failure;
    const struct {
        std::string name;
        std::function<bool(FetchReport&)> fetch;
        std::string logLine;
        Failure failure;
    } cases[] = {
        {"reset", [&](FetchReport& r) { return FetchHttpFile(kHost, "reset", "f", options_, &r); }, "Receive error.\n",
         Failure::Transfer},
        {"refused",
         [&](FetchReport& r) {
             FetchOptions o = options_;
             o.port = LoopbackServer::ClosedPort();
             return FetchHttpFile(kHost, "x", "f", o, &r);
         },
         "Connect failed.\n", Failure::Unreachable},
        {"no host", [&](FetchReport& r) { return FetchHttpFile("", "x", "f", options_, &r); }, "Invalid host.\n",
         Failure::Unreachable},
        {"a host that is a path", [&](FetchReport& r) { return FetchHttpFile("a/b", "x", "f", options_, &r); },
         "Invalid host.\n", Failure::Unreachable},
        {"not found", [&](FetchReport& r) { return FetchHttpFile(kHost, "nothing", "f", options_, &r); }, "404",
         Failure::Transfer},
        {"over the limit",
         [&](FetchReport& r) {
             FetchOptions o = options_;
             o.maxBytes = 1000;
             return FetchHttpFile(kHost, "huge", "f", o, &r);
         },
         "huge is longer than 1000 bytes", Failure::Transfer},
        {"endless",
         [&](FetchReport& r) {
             FetchOptions o = options_;
             o.maxBytes = 100000;
             return FetchHttpFile(kHost, "endless", "f", o, &r);
         },
         "endless is longer than 100000 bytes", Failure::Transfer},
        {"sums refused",
         [&](FetchReport& r) {
             FetchOptions o = options_;
             o.keep = [](std::uint32_t, const std::string&) { return false; };
             const bool ok = FetchHttpFile(kHost, "huge", "f", o, &r);
             return ok && r.kept;
         },
         "File received okay.\n", Failure::None},
        // Last: the server stays silent on this connection until the test ends.
        {"timeout",
         [&](FetchReport& r) {
             FetchOptions o = options_;
             o.timeout = std::chrono::milliseconds(200);
             return FetchHttpFile(kHost, "hang", "f", o, &r);
         },
         "Receive error.\n", Failure::Transfer},
    };
    for (const auto& c : cases) {
        WriteFile("f", old);
        FetchReport report;
        EXPECT_FALSE(c.fetch(report)) << c.name;
        EXPECT_EQ(report.failure, c.failure) << c.name;
        EXPECT_FALSE(report.kept) << c.name;
        EXPECT_EQ(ReadFile("f"), old) << c.name;
        EXPECT_NE(Log().find(c.logLine), std::string::npos) << c.name;
    }
    // Nothing left behind beside the file.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        files += entry.path().filename().string().rfind("f.", 0) == 0;
    EXPECT_EQ(files, 0u);
    // A missing local directory fails.
    server_.Serve("ok", "ok");
    EXPECT_FALSE(FetchHttpFile(kHost, "ok", "no-dir/f", options_));
}

TEST_F(UpdateTransfer, StopRequestEndsAHangingTransferPromptly)
{
    server_.Serve("hang", {std::string(4000, 'h'), Mode::Hang});
    std::atomic<bool> stop{false};
    options_.stop = &stop;
    options_.timeout = std::chrono::milliseconds(20000);
    std::thread stopper([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(FetchHttpFile(kHost, "hang", "f", options_));
    stopper.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(std::filesystem::exists("f"));
}

TEST_F(UpdateTransfer, CheckTriesTheNextServerUntilAValidList)
{
    using Outcome = UpdateState::CheckOutcome;
    const struct {
        std::string name;
        LoopbackServer::Reply one;
        LoopbackServer::Reply two;
        Outcome outcome;
        std::vector<std::string> paths;
    } cases[] = {
        {"first good", {kList}, {kList}, Outcome::ListFetched, {"one/updates.v2.txt"}},
        {"first without marker",
         {"NEWS\nID\nx\n"},
         {kList},
         Outcome::ListFetched,
         {"one/updates.v2.txt", "two/updates.v2.txt"}},
        {"first reset",
         {kList, Mode::ResetMidway},
         {kList},
         Outcome::ListFetched,
         {"one/updates.v2.txt", "two/updates.v2.txt"}},
        {"first closes",
         {"", Mode::CloseAtOnce},
         {kList},
         Outcome::ListFetched,
         {"one/updates.v2.txt", "two/updates.v2.txt"}},
        {"both bad",
         {"<html>404</html>\n"},
         {"# updates.v2"},
         Outcome::NoList,
         {"one/updates.v2.txt", "two/updates.v2.txt"}},
    };
    size_t seen = 0;
    for (const auto& c : cases) {
        const bool valid = c.outcome == Outcome::ListFetched;
        server_.Serve("one/updates.v2.txt", c.one);
        server_.Serve("two/updates.v2.txt", c.two);
        ASSERT_TRUE(Load_Thread_CheckForUpdates(state_, kListFileName)) << c.name;
        ASSERT_TRUE(WaitForThread()) << c.name;
        EXPECT_EQ(state_.checkResult.load(), valid) << c.name;
        EXPECT_EQ(state_.checkOutcome.load(), c.outcome) << c.name;
        // The list is evaluated on the check's thread; a failed check offers
        // nothing, whatever a former check left in the list file.
        EXPECT_EQ(state_.checkedListOpened, valid) << c.name;
        EXPECT_EQ(state_.checkedList.applicable.size(), valid ? 1u : 0u) << c.name;
        EXPECT_EQ(state_.checkedList.downloadList,
                  valid ? std::vector<std::string>{"DICT/abc:" + kAbc} : std::vector<std::string>{})
            << c.name;
        const auto paths = server_.Paths();
        EXPECT_EQ(std::vector<std::string>(paths.begin() + seen, paths.end()), c.paths) << c.name;
        seen = paths.size();
        // A failed check leaves the list of the last good one as it was.
        EXPECT_EQ(ReadFile(kListFileName), kList) << c.name;
        EXPECT_FALSE(std::filesystem::exists(std::string(kListFileName) + ".download")) << c.name;
    }
    EXPECT_EQ(Statuses().front(), u"Checking server for updates... (127.0.0.1)...");
}

TEST_F(UpdateTransfer, SecondStartIsRefusedWhileAThreadRuns)
{
    server_.Serve("one/updates.v2.txt", {kList, Mode::Hang});
    ASSERT_TRUE(Load_Thread_CheckForUpdates(state_, kListFileName));
    EXPECT_FALSE(Load_Thread_CheckForUpdates(state_, kListFileName));
    EXPECT_FALSE(Load_Thread_GetUpdates(state_, {"a:1"}));
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
              u"There is still a update going on.  Load_Thread_CheckForUpdates() will not open a new one.");
    EXPECT_EQ(boxes[1].text, u"There is still a update going on.  Load_Thread_GetUpdates() will not open a new one.");
    EXPECT_EQ(boxes[0].caption, u"Error");
    // Escape's way: the thread stops at once and the flag is clear.
    const auto start = std::chrono::steady_clock::now();
    StopUpdateThread(state_);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(UpdateThreadRunning(state_));
    EXPECT_FALSE(state_.checkResult.load());
}

TEST_F(UpdateTransfer, DownloadChecksEachFileAndTriesTheSecondServer)
{
    const std::string abcSha = Sha256Hex("abc");
    server_.Serve("one/files/DICT/abc", "abd");  // wrong contents on the first server
    server_.Serve("two/files/DICT/abc", "abc");
    server_.Serve("one/files/partsofspeech.mxf", "abc");
    server_.Serve("one/files/DICT/bad", "xyz");
    server_.Serve("two/files/DICT/bad", "xyz");
    server_.Serve("one/files/DICT/caps", "abc");
    server_.Serve("two/files/DICT/caps", "abc");
    server_.Serve("one/files/DICT/upper", "abc");
    WriteFile("DICT/bad", "old contents\n");
    const struct {
        std::string entry;
        bool ok;
        std::vector<std::string> paths;
        std::string local;  // what the local file holds afterwards ("-" for none)
    } cases[] = {
        {"DICT/abc:" + kAbc, true, {"one/files/DICT/abc", "two/files/DICT/abc"}, "abc"},
        {"partsofspeech.mxf:" + kAbc, true, {"one/files/partsofspeech.mxf"}, "abc"},
        {"DICT/bad:" + kAbc, false, {"one/files/DICT/bad", "two/files/DICT/bad"}, "old contents\n"},
        {"DICT/caps:352441C2:" + abcSha, false, {"one/files/DICT/caps", "two/files/DICT/caps"}, "-"},
        // The SHA-256 may be written in capitals, as some tools print it.
        {"DICT/upper:352441c2:BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD",
         true,
         {"one/files/DICT/upper"},
         "abc"},
        {"DICT/nocrc", false, {}, "-"},
        {"../evil.txt:" + kAbc, false, {}, "-"},
        {"/tmp/evil.txt:" + kAbc, false, {}, "-"},
        {"DICT/../../evil:" + kAbc, false, {}, "-"},
    };
    size_t seen = 0;
    for (const auto& c : cases) {
        ASSERT_TRUE(Load_Thread_GetUpdates(state_, {c.entry})) << c.entry;
        ASSERT_TRUE(WaitForThread()) << c.entry;
        EXPECT_EQ(state_.downloadOk.load(), c.ok) << c.entry;
        const auto paths = server_.Paths();
        EXPECT_EQ(std::vector<std::string>(paths.begin() + seen, paths.end()), c.paths) << c.entry;
        seen = paths.size();
        const std::string name = SplitFileEntry(c.entry).name;
        if (c.local == "-") {
            EXPECT_FALSE(std::filesystem::exists(name)) << c.entry;
        } else {
            EXPECT_EQ(ReadFile(name), c.local) << c.entry;
        }
    }
    EXPECT_FALSE(std::filesystem::exists("../evil.txt"));
    const auto statuses = Statuses();
    auto has = [&](const std::u16string& text) {
        return std::find(statuses.begin(), statuses.end(), text) != statuses.end();
    };
    EXPECT_TRUE(has(u"Getting file (DICT/abc) from (127.0.0.1)..."));
    EXPECT_TRUE(has(u"CRC for DICT/bad FAILED."));
    EXPECT_TRUE(has(u"CRC for DICT/caps FAILED."));
    EXPECT_TRUE(has(u"Getting file (DICT/abc) from (127.0.0.1)... OKAY!"));
    EXPECT_TRUE(has(u"The file name (../evil.txt) was refused."));
    EXPECT_TRUE(has(u"The list gives no SHA-256 for DICT/nocrc; it is not installed."));

    // A failed entry does not stop the rest; an empty list is a success.
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {"DICT/bad:" + kAbc, "DICT/abc:" + kAbc}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_FALSE(state_.downloadOk.load());
    EXPECT_EQ(server_.Paths().back(), "two/files/DICT/abc");
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_TRUE(state_.downloadOk.load());
}

// A file whose CRC-32 the list gives rightly but whose contents are another
// (a CRC is easily forged: four bytes more make any CRC) is refused by its
// SHA-256; a list without a SHA-256 installs nothing.
TEST_F(UpdateTransfer, ATamperedFileIsRefused)
{
    const std::string real = "古い [ふるい] /(adj-i) old/\n";
    const std::string tampered = "古い [ふるい] /(adj-i) new/\n";
    WriteFile("DICT/edict", real);
    server_.Serve("one/files/DICT/edict", tampered);
    server_.Serve("two/files/DICT/edict", tampered);
    const std::string crc = CrcText(Crc32(BuildCrcTable(), tampered));
    for (const std::string& entry : {"DICT/edict:" + crc + ":" + Sha256Hex(real), "DICT/edict:" + crc}) {
        ASSERT_TRUE(Load_Thread_GetUpdates(state_, {entry}));
        ASSERT_TRUE(WaitForThread());
        EXPECT_FALSE(state_.downloadOk.load()) << entry;
        EXPECT_EQ(ReadFile("DICT/edict"), real) << entry;
    }
    EXPECT_EQ(server_.Paths().size(), 2u);  // the list without a SHA-256 fetched nothing
    const auto statuses = Statuses();
    EXPECT_NE(std::find(statuses.begin(), statuses.end(), u"SHA-256 for DICT/edict FAILED."), statuses.end());
}

// Only the program's data files may be replaced: never the user's own files,
// never outside the working folder, never through a symbolic link.
TEST_F(UpdateTransfer, AnUpdateMayOnlyReplaceTheProgramsDataFiles)
{
    const std::string outside =
        (std::filesystem::current_path().parent_path() / ("mirudex-outside-" + std::to_string(::getpid()))).string();
    WriteFile(outside, "outside\n");
    std::filesystem::create_directory("links");
    std::filesystem::create_symlink(outside, "DICT/linked");
    std::filesystem::create_directory_symlink(std::filesystem::current_path() / "links", "DICT2");
    std::filesystem::create_symlink("../Options.mxreg", "DICT/options");
    const std::vector<std::string> userFiles = {"Options.mxreg", "studylist.default", "my words.list",  "history.dat",
                                                "Updates.mxf",   "updates.v2.txt",    "debug_level.dat"};
    for (const std::string& name : userFiles)
        WriteFile(name, "the user's " + name + "\n");
    std::vector<std::string> refused = userFiles;
    for (const char* name : {"DICT/edict.mxi", "DICT/edict.mxs", "DICT/sub/edict", "DICT/linked", "DICT/options",
                             "DICT2/edict", "data/words.txt", "edict", "./Options.mxreg", "DICT/./edict"})
        refused.push_back(name);
    for (const std::string& name : refused) {
        server_.Serve("one/files/" + name, "abc");
        ASSERT_TRUE(Load_Thread_GetUpdates(state_, {name + ":" + kAbc}));
        ASSERT_TRUE(WaitForThread());
        EXPECT_FALSE(state_.downloadOk.load()) << name;
    }
    EXPECT_TRUE(server_.Paths().empty());
    for (const std::string& name : userFiles)
        EXPECT_EQ(ReadFile(name), "the user's " + name + "\n");
    EXPECT_EQ(ReadFile(outside), "outside\n");
    EXPECT_TRUE(std::filesystem::is_empty("links"));
    std::filesystem::remove(outside);

    for (const char* name : {"DICT/edict", "DICT/JMdict_e.edict2", "DICT/kanjidic", "partsofspeech.mxf",
                             "fuzzysearch.uni.dat", "radkfile.dat"})
        EXPECT_TRUE(ReplaceableByUpdate(name)) << name;
}

TEST_F(UpdateTransfer, ADownloadOverTheLimitIsRefusedAndTheOldFileKept)
{
    EXPECT_EQ(UpdateState().maxDownloadBytes, 256u << 20);  // the build's default
    const std::string old = "the old file\n";
    WriteFile("DICT/abc", old);
    server_.Serve("one/files/DICT/abc", {std::string(4096, 'e'), Mode::Endless});
    server_.Serve("two/files/DICT/abc", std::string(300000, 'x'));  // finite, but over the limit too
    state_.maxDownloadBytes = 200000;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {"DICT/abc:" + kAbc}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(state_.downloadOk.load());
    EXPECT_EQ(ReadFile("DICT/abc"), old);
    EXPECT_NE(Log().find("one/files/DICT/abc is longer than 200000 bytes"), std::string::npos);
    EXPECT_NE(Log().find("two/files/DICT/abc is longer than 200000 bytes"), std::string::npos);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("DICT"))
        files += entry.path().filename().string().rfind("abc.", 0) == 0;
    EXPECT_EQ(files, 0u);  // no temporary file left behind
}

TEST_F(UpdateTransfer, UnreachableServersFailTheCheckAndTheDownload)
{
    state_.port = LoopbackServer::ClosedPort();
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {"DICT/abc:" + kAbc}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_FALSE(state_.downloadOk.load());
    const auto statuses = Statuses();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), u"Getting file (DICT/abc) from (127.0.0.1)... FAILED!");
    ASSERT_TRUE(Load_Thread_CheckForUpdates(state_, kListFileName));
    ASSERT_TRUE(WaitForThread());
    EXPECT_FALSE(state_.checkResult.load());
    EXPECT_EQ(state_.checkOutcome.load(), UpdateState::CheckOutcome::Unreachable);
    EXPECT_FALSE(std::filesystem::exists(kListFileName));
}

}  // namespace
}  // namespace mirudex::update
