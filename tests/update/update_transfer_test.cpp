// HTTP transfers and the two update threads against a server of the test's
// own on 127.0.0.1.
#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "LoopbackServer.h"
#include "support/TestSupport.h"
#include "update/Crc32.h"
#include "update/HttpFetch.h"
#include "update/UpdateList.h"
#include "update/UpdateThreads.h"

namespace mirudex::update {
namespace {

using test::LoopbackServer;
using test::ReadFile;
using test::WriteFile;
using Mode = LoopbackServer::Mode;

constexpr const char* kHost = "127.0.0.1";
const std::string kList = "# updates.v2.txt\nNEWS\nID\nu1\nTYPE\n98\nAPPLIES TO\nAll\nFILE\nabc.txt:352441c2\n";

class UpdateTransfer : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        OpenLog();
        options_.port = server_.port();
        options_.timeout = std::chrono::milliseconds(3000);
        state_.servers = {{{kHost, "one/updates.v2.txt", "one/files"}, {kHost, "two/updates.v2.txt", "two/files"}}};
        state_.port = server_.port();
        state_.timeout = std::chrono::milliseconds(3000);
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

TEST_F(UpdateTransfer, RequestBytesAndRawBody)
{
    std::string body;
    for (int i = 0; i < 1000; ++i)
        body += static_cast<char>(i % 251);  // binary, longer than one receive block
    server_.Serve("dir/file.bin", body);
    FetchReport report;
    ASSERT_TRUE(FetchHttpFile(kHost, "dir/file.bin", "local.bin", options_, &report));
    EXPECT_EQ(ReadFile("local.bin"), body);
    EXPECT_TRUE(report.kept);
    EXPECT_EQ(report.bytes, body.size());
    EXPECT_EQ(report.crc, Crc32(BuildCrcTable(), body));
    ASSERT_EQ(server_.Requests().size(), 1u);
    EXPECT_EQ(server_.Requests()[0], "GET http://127.0.0.1/dir/file.bin\r\n");
    EXPECT_NE(Log().find("File received okay.\n"), std::string::npos);
    // No parsing: whatever the server sends (here its "not found" page) is the file.
    ASSERT_TRUE(FetchHttpFile(kHost, "nothing", "page.html", options_));
    EXPECT_NE(ReadFile("page.html").find("404"), std::string::npos);
}

TEST_F(UpdateTransfer, FailuresLeaveTheOldFileAlone)
{
    const std::string old = "the user's old file\n";
    const std::string big(5000, 'b');
    server_.Serve("reset", {big, Mode::ResetMidway});
    server_.Serve("hang", {big, Mode::Hang});
    server_.Serve("huge", big);
    const struct {
        std::string name;
        std::function<bool()> fetch;
        std::string logLine;
    } cases[] = {
        {"reset", [&] { return FetchHttpFile(kHost, "reset", "f", options_); }, "Receive error.\n"},
        {"refused",
         [&] {
             FetchOptions o = options_;
             o.port = LoopbackServer::ClosedPort();
             return FetchHttpFile(kHost, "x", "f", o);
         },
         "Connect failed.\n"},
        {"no host", [&] { return FetchHttpFile("", "x", "f", options_); }, "Invalid host.\n"},
        {"too long", [&] { return FetchHttpFile(kHost, std::string(1100, 'p'), "f", options_); }, "too long"},
        {"over the limit",
         [&] {
             FetchOptions o = options_;
             o.maxBytes = 1000;
             return FetchHttpFile(kHost, "huge", "f", o);
         },
         "longer than 1000 bytes"},
        {"crc refused",
         [&] {
             FetchOptions o = options_;
             o.keep = [](std::uint32_t) { return false; };
             FetchReport report;
             const bool ok = FetchHttpFile(kHost, "huge", "f", o, &report);
             return ok && report.kept;
         },
         "File received okay.\n"},
        // Last: the server stays silent on this connection until the test ends.
        {"timeout",
         [&] {
             FetchOptions o = options_;
             o.timeout = std::chrono::milliseconds(200);
             return FetchHttpFile(kHost, "hang", "f", o);
         },
         "Receive error.\n"},
    };
    for (const auto& c : cases) {
        WriteFile("f", old);
        EXPECT_FALSE(c.fetch()) << c.name;
        EXPECT_EQ(ReadFile("f"), old) << c.name;
        EXPECT_NE(Log().find(c.logLine), std::string::npos) << c.name;
    }
    // Nothing left behind beside the file.
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        files += entry.path().filename().string().rfind("f.", 0) == 0;
    EXPECT_EQ(files, 0u);
    // A missing local directory fails after the request.
    server_.Serve("ok", "ok");
    EXPECT_FALSE(FetchHttpFile(kHost, "ok", "no-dir/f", options_));
    // The request line limit is 1023 bytes.
    EXPECT_EQ(HttpRequestLine("h", std::string(1023 - 15, 'p')).size(), 1023u);
    EXPECT_TRUE(HttpRequestLine("h", std::string(1023 - 14, 'p')).empty());
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
    const struct {
        std::string name;
        LoopbackServer::Reply one;
        LoopbackServer::Reply two;
        bool valid;
        std::vector<std::string> paths;
    } cases[] = {
        {"first good", {kList}, {kList}, true, {"one/updates.v2.txt"}},
        {"first without marker", {"NEWS\nID\nx\n"}, {kList}, true, {"one/updates.v2.txt", "two/updates.v2.txt"}},
        {"first reset", {kList, Mode::ResetMidway}, {kList}, true, {"one/updates.v2.txt", "two/updates.v2.txt"}},
        {"first closes", {"", Mode::CloseAtOnce}, {kList}, true, {"one/updates.v2.txt", "two/updates.v2.txt"}},
        {"both bad", {"<html>404</html>\n"}, {"# updates.v2"}, false, {"one/updates.v2.txt", "two/updates.v2.txt"}},
    };
    size_t seen = 0;
    for (const auto& c : cases) {
        server_.Serve("one/updates.v2.txt", c.one);
        server_.Serve("two/updates.v2.txt", c.two);
        ASSERT_TRUE(Load_Thread_CheckForUpdates(state_, kListFileName)) << c.name;
        ASSERT_TRUE(WaitForThread()) << c.name;
        EXPECT_EQ(state_.checkResult.load(), c.valid) << c.name;
        // The list is evaluated on the check's thread; a failed check offers
        // nothing, whatever a former check left in the list file.
        EXPECT_EQ(state_.checkedListOpened, c.valid) << c.name;
        EXPECT_EQ(state_.checkedList.applicable.size(), c.valid ? 1u : 0u) << c.name;
        EXPECT_EQ(state_.checkedList.downloadList,
                  c.valid ? std::vector<std::string>{"abc.txt:352441c2"} : std::vector<std::string>{})
            << c.name;
        const auto paths = server_.Paths();
        EXPECT_EQ(std::vector<std::string>(paths.begin() + seen, paths.end()), c.paths) << c.name;
        seen = paths.size();
        if (c.valid) {
            EXPECT_EQ(ReadFile(kListFileName), kList) << c.name;
        }
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
    std::filesystem::create_directory("data");
    server_.Serve("one/files/abc.txt", "abd");  // wrong contents on the first server
    server_.Serve("two/files/abc.txt", "abc");
    server_.Serve("one/files/data/words.txt", "abc");
    server_.Serve("one/files/bad.txt", "xyz");
    server_.Serve("two/files/bad.txt", "xyz");
    server_.Serve("one/files/caps.txt", "abc");
    server_.Serve("two/files/caps.txt", "abc");
    WriteFile("bad.txt", "old contents\n");
    const struct {
        std::string entry;
        bool ok;
        std::vector<std::string> paths;
        std::string local;  // what the local file holds afterwards ("-" for none)
    } cases[] = {
        {"abc.txt:352441c2", true, {"one/files/abc.txt", "two/files/abc.txt"}, "abc"},
        {"data/words.txt:352441c2", true, {"one/files/data/words.txt"}, "abc"},
        {"bad.txt:352441c2", false, {"one/files/bad.txt", "two/files/bad.txt"}, "old contents\n"},
        {"caps.txt:352441C2", false, {"one/files/caps.txt", "two/files/caps.txt"}, "-"},
        {"nocrc.txt", false, {"one/files/nocrc.txt", "two/files/nocrc.txt"}, "-"},
        {"../evil.txt:352441c2", false, {}, "-"},
        {"/tmp/evil.txt:352441c2", false, {}, "-"},
        {"sub/../../evil:1", false, {}, "-"},
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
    EXPECT_TRUE(has(u"Getting file (abc.txt) from (127.0.0.1)..."));
    EXPECT_TRUE(has(u"CRC for abc.txt FAILED."));
    EXPECT_TRUE(has(u"Getting file (abc.txt) from (127.0.0.1)... OKAY!"));
    EXPECT_TRUE(has(u"The file name (../evil.txt) was refused."));

    // A failed entry does not stop the rest; an empty list is a success.
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {"bad.txt:352441c2", "abc.txt:352441c2"}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_FALSE(state_.downloadOk.load());
    EXPECT_EQ(server_.Paths().back(), "two/files/abc.txt");
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_TRUE(state_.downloadOk.load());
}

TEST_F(UpdateTransfer, ADownloadOverTheLimitIsRefusedAndTheOldFileKept)
{
    EXPECT_EQ(UpdateState().maxDownloadBytes, 256u << 20);  // the build's default
    const std::string old = "the old file\n";
    WriteFile("abc.txt", old);
    server_.Serve("one/files/abc.txt", {std::string(4096, 'e'), Mode::Endless});
    server_.Serve("two/files/abc.txt", std::string(300000, 'x'));  // finite, but over the limit too
    state_.maxDownloadBytes = 200000;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {"abc.txt:352441c2"}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_FALSE(state_.downloadOk.load());
    EXPECT_EQ(ReadFile("abc.txt"), old);
    EXPECT_NE(Log().find("one/files/abc.txt is longer than 200000 bytes"), std::string::npos);
    EXPECT_NE(Log().find("two/files/abc.txt is longer than 200000 bytes"), std::string::npos);
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        files += entry.path().filename().string().rfind("abc.txt.", 0) == 0;
    EXPECT_EQ(files, 0u);  // no temporary file left behind
}

TEST_F(UpdateTransfer, UnreachableServersFailTheDownload)
{
    state_.port = LoopbackServer::ClosedPort();
    ASSERT_TRUE(Load_Thread_GetUpdates(state_, {"abc.txt:352441c2"}));
    ASSERT_TRUE(WaitForThread());
    EXPECT_FALSE(state_.downloadOk.load());
    const auto statuses = Statuses();
    ASSERT_FALSE(statuses.empty());
    EXPECT_EQ(statuses.back(), u"Getting file (abc.txt) from (127.0.0.1)... FAILED!");
    ASSERT_TRUE(Load_Thread_CheckForUpdates(state_, kListFileName));
    ASSERT_TRUE(WaitForThread());
    EXPECT_FALSE(state_.checkResult.load());
}

}  // namespace
}  // namespace mirudex::update
