// The listening side of the one running Mirudex, driven by real clients on
// threads of their own while the event loop runs: a request is answered and
// queued, one that can never be a request and one that never finishes are
// dropped, and the socket goes with the server.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTest>
#include <filesystem>
#include <future>

#include "desktop/InstanceChannel.h"
#include "support/TestSupport.h"
#include "ui/app/SingleInstance.h"

using namespace mirudex;
using desktop::InstanceRequest;

namespace {

class SingleInstanceServerTest : public test::WorkDirTest {
protected:
    std::string Socket() const { return (dir_ / "mirudex.socket").string(); }

    // Sends raw bytes (then, when done, nothing more) and returns what comes
    // back before the server closes the connection (or 5 s pass).
    static std::string Exchange(const std::string& socket, const std::string& bytes, bool done = true)
    {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un a{};
        a.sun_family = AF_UNIX;
        std::snprintf(a.sun_path, sizeof(a.sun_path), "%s", socket.c_str());
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof(a)) != 0) {
            ::close(fd);
            return "(no connection)";
        }
        (void)!::write(fd, bytes.data(), bytes.size());
        if (done)
            ::shutdown(fd, SHUT_WR);
        timeval wait{5, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof(wait));
        std::string reply;
        char buffer[64];
        for (ssize_t n; (n = ::read(fd, buffer, sizeof(buffer))) > 0;)
            reply.append(buffer, static_cast<size_t>(n));
        ::close(fd);
        return reply;
    }

    // Runs the event loop until the client's exchange is over.
    static std::string Run(std::future<std::string>& exchange)
    {
        while (exchange.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
            QTest::qWait(10);
        return exchange.get();
    }
};

TEST_F(SingleInstanceServerTest, AnswersRequestsAndDropsWhatCanNeverBeOne)
{
    struct Case {
        const char* name;
        std::string bytes;
        std::string reply;
        size_t queued;  // requests waiting for the window afterwards
    };
    const InstanceRequest search{InstanceRequest::Kind::Search, "ねこ"};
    const Case cases[] = {
        {"a search", desktop::EncodeRequest(search), "OK\n", 1},
        {"a show", desktop::EncodeRequest({}), "OK\n", 2},
        {"not a request", "HELLO\n", "", 2},
        {"a request cut short, then the client leaves", desktop::EncodeRequest(search).substr(0, 12), "", 2},
    };
    ui::SingleInstance server;
    ASSERT_TRUE(server.Listen(QString::fromStdString(Socket())));
    EXPECT_TRUE(server.listening());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto exchange = std::async(std::launch::async, [&] { return Exchange(Socket(), c.bytes); });
        EXPECT_EQ(Run(exchange), c.reply);
        QTest::qWait(20);
        EXPECT_EQ(server.pending(), c.queued);
    }
}

// A client running as another user is refused unheard, even when the socket
// lets it in.
TEST_F(SingleInstanceServerTest, AClientOfAnotherUserIsRefused)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root to connect as another user";
    ui::SingleInstance server;
    ASSERT_TRUE(server.Listen(QString::fromStdString(Socket())));
    auto exchange = std::async(std::launch::async, [&] {
        // This thread alone runs as another user (the kernel keeps
        // credentials per thread); it still reaches files as root.
        if (::syscall(SYS_setresuid, -1, 65534, -1) != 0)
            return std::string("(not changed)");
        ::syscall(SYS_setfsuid, 0);
        std::string reply = Exchange(Socket(), desktop::EncodeRequest({InstanceRequest::Kind::Search, "ねこ"}));
        ::syscall(SYS_setresuid, -1, 0, -1);
        return reply;
    });
    EXPECT_EQ(Run(exchange), "");
    QTest::qWait(20);
    EXPECT_EQ(server.pending(), 0u);
    // This user's own request still goes through.
    auto own = std::async(std::launch::async, [&] { return Exchange(Socket(), desktop::EncodeRequest({})); });
    EXPECT_EQ(Run(own), "OK\n");
    QTest::qWait(20);
    EXPECT_EQ(server.pending(), 1u);
}

TEST_F(SingleInstanceServerTest, AClientThatSendsNothingIsDroppedAndTheSocketGoesWithTheServer)
{
    {
        ui::SingleInstance server;
        ASSERT_TRUE(server.Listen(QString::fromStdString(Socket())));
        auto silent = std::async(std::launch::async, [&] { return Exchange(Socket(), "", false); });
        const auto t0 = std::chrono::steady_clock::now();
        EXPECT_EQ(Run(silent), "");
        EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5)) << "dropped by the server";
        EXPECT_EQ(server.pending(), 0u);
        EXPECT_TRUE(std::filesystem::exists(Socket()));
    }
    EXPECT_FALSE(std::filesystem::exists(Socket()));
}

}  // namespace
