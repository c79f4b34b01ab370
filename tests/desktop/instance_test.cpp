#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <thread>

#include "desktop/InstanceChannel.h"
#include "desktop/ProgramArguments.h"
#include "support/TestSupport.h"

namespace fs = std::filesystem;
using namespace mirudex::desktop;

namespace {

using Kind = InstanceRequest::Kind;

TEST(InstanceRequest, RoundTripsWhateverTheText)
{
    const InstanceRequest requests[] = {{Kind::Show, ""},
                                        {Kind::Search, "ねこ"},
                                        {Kind::Search, "line\nbreak"},
                                        {Kind::Search, std::string(5000, 'a')}};
    for (const InstanceRequest& r : requests) {
        const std::string bytes = EncodeRequest(r) + "rest";
        InstanceRequest decoded;
        size_t used = 0;
        ASSERT_EQ(DecodeRequest(bytes, decoded, used), DecodeState::Done);
        EXPECT_EQ(decoded, r);
        EXPECT_EQ(bytes.substr(used), "rest");
        // Every shorter start is still incomplete, never wrong.
        for (size_t n = 0; n + 4 < bytes.size(); n += 1 + n / 8)
            EXPECT_EQ(DecodeRequest(bytes.substr(0, n), decoded, used), DecodeState::Incomplete) << n;
    }
}

TEST(InstanceRequest, RefusesWhatCanNeverBeOne)
{
    const char* bad[] = {"GET / HTTP/1.0\r\n",    "MIRUDEX/2 SHOW\n",
                         "MIRUDEX/1 OPEN\n",      "MIRUDEX/1 SEARCH\n",
                         "MIRUDEX/1 SEARCH -1\n", "MIRUDEX/1 SEARCH 99999999\n",
                         "MIRUDEX/1 SEARCH 1x\n", "MIRUDEX/1 SEARCH 000000000000000000000000000000000001\n"};
    for (const char* b : bad) {
        InstanceRequest r;
        size_t used = 0;
        EXPECT_EQ(DecodeRequest(b, r, used), DecodeState::Bad) << b;
    }
}

// A listener that takes one request and answers as told.
class FakeInstance {
public:
    FakeInstance(const std::string& path, std::string answer) : answer_(std::move(answer))
    {
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof(a.sun_path), "%s", path.c_str());
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof(a)), 0);
        EXPECT_EQ(::listen(fd_, 1), 0);
        thread_ = std::thread([this] {
            const int c = ::accept(fd_, nullptr, nullptr);
            std::string in;
            char buffer[256];
            InstanceRequest r;
            size_t used = 0;
            while (DecodeRequest(in, r, used) == DecodeState::Incomplete) {
                const ssize_t n = ::read(c, buffer, sizeof(buffer));
                if (n <= 0)
                    break;
                in.append(buffer, static_cast<size_t>(n));
            }
            received = r;
            if (!answer_.empty())
                (void)!::write(c, answer_.data(), answer_.size());
            ::close(c);
        });
    }
    ~FakeInstance()
    {
        thread_.join();
        ::close(fd_);
    }
    InstanceRequest received;

private:
    int fd_ = -1;
    std::string answer_;
    std::thread thread_;
};

class InstanceChannelTest : public mirudex::test::WorkDirTest {
protected:
    InstancePaths Paths() const { return {(dir_ / "s").string(), (dir_ / "l").string(), {}}; }
    // A socket file nobody listens at, as a program that crashed leaves it.
    static bool LeaveStaleSocket(const std::string& path)
    {
        const int stale = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof(a.sun_path), "%s", path.c_str());
        const bool bound = ::bind(stale, reinterpret_cast<sockaddr*>(&a), sizeof(a)) == 0;
        ::close(stale);
        return bound;
    }
};

TEST_F(InstanceChannelTest, HandsTheRequestToTheOneListening)
{
    {
        FakeInstance running(Paths().socket, "OK\n");
        InstanceLock lock;
        EXPECT_EQ(ClaimOrHandOver(Paths(), {Kind::Search, "ねこ"}, lock, 1000), Claim::HandedOver);
        EXPECT_FALSE(lock.held());
        fs::remove(Paths().socket);
        EXPECT_EQ(running.received, (InstanceRequest{Kind::Search, "ねこ"}));
    }
    {
        FakeInstance silent(Paths().socket, "");
        EXPECT_EQ(SendToRunningInstance(Paths().socket, {}, 1000), SendResult::Failed);
        fs::remove(Paths().socket);
    }
}

TEST_F(InstanceChannelTest, AStaleSocketIsReplacedAndALiveLockWaitedFor)
{
    // A socket file nobody listens at (its program crashed): this start listens.
    ASSERT_TRUE(LeaveStaleSocket(Paths().socket));
    ASSERT_TRUE(fs::exists(Paths().socket));
    InstanceLock first;
    EXPECT_EQ(ClaimOrHandOver(Paths(), {}, first, 1000), Claim::Listen);
    EXPECT_TRUE(first.held());

    // Another start while the first holds the lock but does not listen yet:
    // it waits, and gives up when the first never answers.
    InstanceLock second;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(ClaimOrHandOver(Paths(), {}, second, 300), Claim::Unanswered);
    EXPECT_GE(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(300));
    EXPECT_FALSE(second.held());

    // The first ends: its lock is free again.
    first.Release();
    EXPECT_EQ(ClaimOrHandOver(Paths(), {}, second, 300), Claim::Listen);
}

TEST(ProgramArguments, ReadsTheRequestAndPassesQtOptionsOn)
{
    struct Case {
        std::vector<std::string> argv;
        std::optional<InstanceRequest> request;
        std::vector<std::string> qt;
        std::optional<std::string> workdir;
    };
    const Case cases[] = {
        {{"mirudex"}, {}, {"mirudex"}, {}},
        {{"mirudex", "ねこ"}, InstanceRequest{Kind::Search, "ねこ"}, {"mirudex"}, {}},
        {{"mirudex", "to", "run"}, InstanceRequest{Kind::Search, "to run"}, {"mirudex"}, {}},
        {{"mirudex", "--search", "ねこ"}, InstanceRequest{Kind::Search, "ねこ"}, {"mirudex"}, {}},
        {{"mirudex", "--search=-x"}, InstanceRequest{Kind::Search, "-x"}, {"mirudex"}, {}},
        {{"mirudex", "--show"}, InstanceRequest{Kind::Show, ""}, {"mirudex"}, {}},
        {{"mirudex", "--", "--show"}, InstanceRequest{Kind::Search, "--show"}, {"mirudex"}, {}},
        // An empty text (nothing highlighted) only raises the window.
        {{"mirudex", "--search", ""}, InstanceRequest{Kind::Show, ""}, {"mirudex"}, {}},
        {{"mirudex", "--search="}, InstanceRequest{Kind::Show, ""}, {"mirudex"}, {}},
        {{"mirudex", " \n"}, InstanceRequest{Kind::Show, ""}, {"mirudex"}, {}},
        {{"m", "-platform", "offscreen", "--workdir", "d", "x"},
         InstanceRequest{Kind::Search, "x"},
         {"m", "-platform", "offscreen"},
         "d"},
    };
    for (const Case& c : cases) {
        std::string error;
        const auto parsed = ParseProgramArguments(c.argv, error);
        ASSERT_TRUE(parsed) << c.argv.back() << ": " << error;
        EXPECT_EQ(parsed->request, c.request) << c.argv.back();
        EXPECT_EQ(parsed->qtArguments, c.qt) << c.argv.back();
        EXPECT_EQ(parsed->workdir, c.workdir) << c.argv.back();
    }
    const std::vector<std::vector<std::string>> bad = {
        {"m", "a\xc0\xaf"}, {"m", "--search", "\xed\xa0\x80"}, {"m", "--bogus"},
        {"m", "--search"},  {"m", "--search", "a", "b"},       {"m", "--workdir"}};
    for (const auto& argv : bad) {
        std::string error;
        EXPECT_FALSE(ParseProgramArguments(argv, error)) << argv.back();
        EXPECT_FALSE(error.empty());
    }
    std::string error;
    EXPECT_EQ(ParseProgramArguments({"m", "-h"}, error)->action, ProgramArguments::Action::Help);
    EXPECT_EQ(ParseProgramArguments({"m", "--version"}, error)->action, ProgramArguments::Action::Version);
}

// The runtime folder is used only when it is this user's and nobody else may
// write into it; otherwise the private folder under TMPDIR (or /tmp) is.
TEST_F(InstanceChannelTest, ARuntimeFolderOthersMayWriteIntoIsNotUsed)
{
    const fs::path run = dir_ / "run";
    const std::string fallback = (dir_ / ("mirudex-" + std::to_string(::getuid()))).string();
    struct Case {
        const char* name;
        fs::perms mode;
        bool used;
    } cases[] = {
        {"private", fs::perms::owner_all, true},
        {"readable by all", fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read, true},
        {"mode 1777", fs::perms::all | fs::perms::sticky_bit, false},
        {"writable by the group", fs::perms::owner_all | fs::perms::group_write, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::create_directories(run);
        fs::permissions(run, c.mode);
        std::string error;
        const auto paths = InstancePathsFor(run.c_str(), dir_.c_str(), error);
        ASSERT_TRUE(paths) << error;
        EXPECT_EQ(paths->socket, (c.used ? run.string() : fallback) + "/mirudex.socket");
        EXPECT_EQ(paths->lock, (c.used ? run.string() : fallback) + "/mirudex.lock");
        EXPECT_EQ(paths->note.empty(), c.used) << paths->note;
        if (!c.used) {
            EXPECT_EQ(fs::status(fallback).permissions() & fs::perms::all, fs::perms::owner_all);
            EXPECT_NE(paths->note.find("is not this user's alone; using " + fallback), std::string::npos)
                << paths->note;
        }
    }
    // A folder that is no folder, or that belongs to another user.
    std::string error;
    EXPECT_EQ(InstancePathsFor((dir_ / "missing").c_str(), dir_.c_str(), error)->socket, fallback + "/mirudex.socket");
    if (::geteuid() == 0) {
        fs::permissions(run, fs::perms::owner_all);
        ASSERT_EQ(::chown(run.c_str(), 65534, 65534), 0);
        EXPECT_EQ(InstancePathsFor(run.c_str(), dir_.c_str(), error)->socket, fallback + "/mirudex.socket");
    }
    // No runtime folder at all: the fallback, without a note.
    const auto plain = InstancePathsFor(nullptr, dir_.c_str(), error);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->socket, fallback + "/mirudex.socket");
    EXPECT_TRUE(plain->note.empty());
}

// Runs body on a thread of its own whose effective user is another one (the
// kernel keeps credentials per thread; the raw calls change this thread's
// alone). Files are still reached as this user. False when it cannot be done.
bool AsAnotherUser(const std::function<void()>& body)
{
    bool changed = false;
    std::thread([&] {
        if (::syscall(SYS_setresuid, -1, 65534, -1) != 0)
            return;
        ::syscall(SYS_setfsuid, ::getuid());
        changed = ::geteuid() == 65534;
        if (changed)
            body();
        ::syscall(SYS_setresuid, -1, ::getuid(), -1);
    }).join();
    return changed;
}

// A listener of another user at the socket's place is never sent anything.
TEST_F(InstanceChannelTest, AListenerOfAnotherUserIsSentNothing)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to listen as another user";
    int listener = -1;
    ASSERT_TRUE(AsAnotherUser([&] {
        listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof(a.sun_path), "%s", Paths().socket.c_str());
        if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0 || ::listen(listener, 4) != 0)
            listener = -1;
    }));
    ASSERT_GE(listener, 0);
    EXPECT_EQ(SendToRunningInstance(Paths().socket, {Kind::Search, "secret"}, 1000), SendResult::Foreign);
    InstanceLock lock;
    EXPECT_EQ(ClaimOrHandOver(Paths(), {Kind::Search, "secret"}, lock, 300), Claim::Foreign);
    // The connections were made, and closed without a byte.
    for (int i = 0; i < 2; ++i) {
        const int c = ::accept(listener, nullptr, nullptr);
        ASSERT_GE(c, 0);
        char byte;
        EXPECT_EQ(::read(c, &byte, 1), 0);
        ::close(c);
    }
    ::close(listener);
}

TEST_F(InstanceChannelTest, TheListeningEndIsTheUsersAloneAndReplacesAStaleSocket)
{
    // A socket file nobody listens at any more.
    ASSERT_TRUE(LeaveStaleSocket(Paths().socket));

    std::string error;
    const int fd = ListenForInstances(Paths().socket, error);
    ASSERT_GE(fd, 0) << error;
    EXPECT_EQ(fs::status(Paths().socket).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(::accept(fd, nullptr, nullptr), -1) << "nobody waits: the socket does not block";
    EXPECT_EQ(errno, EAGAIN);

    // A later start's request arrives on it.
    std::thread answer([fd] {
        pollfd p{fd, POLLIN, 0};
        ASSERT_EQ(::poll(&p, 1, 5000), 1);
        const int c = ::accept(fd, nullptr, nullptr);
        std::string in;
        InstanceRequest r;
        size_t used = 0;
        char buffer[64];
        while (DecodeRequest(in, r, used) == DecodeState::Incomplete) {
            const ssize_t n = ::read(c, buffer, sizeof(buffer));
            if (n <= 0)
                break;
            in.append(buffer, static_cast<size_t>(n));
        }
        EXPECT_EQ(r, (InstanceRequest{InstanceRequest::Kind::Search, "ねこ"}));
        (void)!::write(c, kInstanceReply.data(), kInstanceReply.size());
        ::close(c);
    });
    EXPECT_EQ(SendToRunningInstance(Paths().socket, {InstanceRequest::Kind::Search, "ねこ"}, 5000),
              SendResult::Delivered);
    answer.join();
    ::close(fd);

    EXPECT_EQ(ListenForInstances((dir_ / std::string(200, 'x')).string(), error), -1);
    EXPECT_NE(error.find("too long"), std::string::npos) << error;
}

}  // namespace
