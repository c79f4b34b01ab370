// Ending the program from outside: SIGTERM sent to a running program process
// (the real mirudex, and the program as main() builds it after a search) runs
// the shutdown of File > Exit, and a second signal during that shutdown ends
// it at once without a half-written file. In-process: the handler's request
// reaches the quit and the unattended mode.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <optional>
#include <thread>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "support/TestSupport.h"
#include "ui/app/ShutdownSignals.h"
#include "ui/common/QuitRequest.h"

extern char** environ;

namespace mirudex::ui {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The machine may be busy: generous bounds, never fixed sleeps.
constexpr auto kPatience = 120s;

std::string Utf16LeOf(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

// A program process with its standard output on a pipe.
class Child {
public:
    // environment: "NAME=value" entries that replace or add to this process's.
    Child(const std::string& program, const std::vector<std::string>& args,
          const std::vector<std::string>& environment = {})
    {
        std::vector<std::string> env(environment);
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('=') + 1);
            if (std::none_of(environment.begin(), environment.end(),
                             [&name](const std::string& mine) { return mine.rfind(name, 0) == 0; }))
                env.push_back(entry);
        }
        std::vector<char*> envp;
        for (std::string& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0)
            return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
            pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        stdout_ = out[0];
        fcntl(stdout_, F_SETFL, O_NONBLOCK);
    }
    ~Child()
    {
        if (pid_ > 0 && !status_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (stdout_ >= 0)
            close(stdout_);
    }
    bool started() const { return pid_ > 0; }
    void Signal(int signal) { kill(pid_, signal); }

    // Waits until the output holds text; false when the process ended or time ran out.
    bool WaitForOutput(const std::string& text)
    {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < end) {
            char buffer[256];
            const ssize_t got = read(stdout_, buffer, sizeof buffer);
            if (got > 0)
                output_.append(buffer, static_cast<size_t>(got));
            if (output_.find(text) != std::string::npos)
                return true;
            if (got == 0)
                return false;
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }
    // The wait status, or nullopt when the process did not end in time.
    std::optional<int> WaitForEnd()
    {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (!status_ && std::chrono::steady_clock::now() < end) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                status_ = status;
            else
                std::this_thread::sleep_for(20ms);
        }
        return status_;
    }

private:
    pid_t pid_ = -1;
    int stdout_ = -1;
    std::string output_;
    std::optional<int> status_;
};

class SignalsTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        // A working directory as a user has it: a dictionary, options without
        // the first-time messages, a history and a study list of earlier runs.
        fs::create_directory("DICT");
        test::WriteFile("DICT/edict", "\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n");
        test::WriteFile("DICT/kanjidic", "\xc7\xad 732b U732b S11 F1702 \xa5\xd3\xa5\xe7\xa5\xa6 {cat}\n");
        Registry options;
        options.LoadFromText(DefaultOptionsText());
        options.SetBOOL(".\\Misc\\FirstTime", false);
        ASSERT_TRUE(options.Save("Options.mxreg"));
        test::WriteFile("history.dat", Utf16LeOf(u"earlier\n"));
        test::WriteFile("studylist.default", "\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n");
        test::WriteFile("debug_level.dat", "1");
    }

    // Waits until the debug log holds text.
    static bool WaitForLog(const std::string& text)
    {
        const auto end = std::chrono::steady_clock::now() + kPatience;
        while (std::chrono::steady_clock::now() < end) {
            if (fs::exists("out.uni.txt") && test::ReadLogUtf8().find(text) != std::string::npos)
                return true;
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    static void ExpectOrderlyShutdownLines(const std::string& log)
    {
        for (const char* line :
             {"SIGTERM received: shutting down.\n", "Saving study list......OKAY\n", "History saved.\n",
              "***   Saving Options.mxreg   ***\n", "Options.mxreg saved successfully.\n", "***   All done!   ***\n"})
            EXPECT_NE(log.find(line), std::string::npos) << line;
    }
};

TEST_F(SignalsTest, SigtermAfterASearchSavesLikeFileExit)
{
    Child child(MIRUDEX_SIGNAL_PROGRAM, {"ねこ"});
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.WaitForOutput("ready\n"));
    child.Signal(SIGTERM);
    const std::optional<int> status = child.WaitForEnd();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    // The search of this run is on top of the history, the earlier one kept.
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16LeOf(u"ねこ\nearlier\n"));
    EXPECT_EQ(test::ReadFile("studylist.default"), "\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n");
    ExpectOrderlyShutdownLines(test::ReadLogUtf8());
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_GT(saved.GetINT(".\\Window\\Window_w"), 0);
}

TEST_F(SignalsTest, SigtermToTheRealProgramAfterASearchRunsItsShutdown)
{
    // Its own runtime folder, so that no other Mirudex of this user takes the
    // requests, and this folder as the working folder.
    fs::create_directory("runtime");
    fs::permissions("runtime", fs::perms::owner_all);
    const std::vector<std::string> environment = {"XDG_RUNTIME_DIR=" + (dir_ / "runtime").string(), "MIRUDEX_HOME="};
    const std::string workdir = dir_.string();
    Child child(MIRUDEX_PROGRAM, {"--workdir", workdir}, environment);
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(WaitForLog("C O M M E N C I N G    M A I N    M E S S A G E    L O O P\n"));
    // A second start hands its search to the running program and ends.
    Child second(MIRUDEX_PROGRAM, {"--workdir", workdir, "--search", "ねこ"}, environment);
    ASSERT_TRUE(second.started());
    const std::optional<int> secondStatus = second.WaitForEnd();
    ASSERT_TRUE(secondStatus.has_value());
    EXPECT_TRUE(WIFEXITED(*secondStatus) && WEXITSTATUS(*secondStatus) == 0);
    ASSERT_TRUE(WaitForLog("      SEARCH COMPLETE!\n"));

    child.Signal(SIGTERM);
    const std::optional<int> status = child.WaitForEnd();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status)) << "ended by signal " << WTERMSIG(*status);
    EXPECT_EQ(WEXITSTATUS(*status), 0);
    ExpectOrderlyShutdownLines(test::ReadLogUtf8());
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16LeOf(u"ねこ\nearlier\n"));
}

TEST_F(SignalsTest, TwoProgramsOnOneFolderLoseNoStudyListEntry)
{
    // Two runtime folders: the socket there does not tell one program of the other.
    for (const char* runtime : {"runtime1", "runtime2"}) {
        fs::create_directory(runtime);
        fs::permissions(runtime, fs::perms::owner_all);
    }
    const std::string workdir = dir_.string();
    auto environment = [this](const char* runtime, const char* study) {
        return std::vector<std::string>{"XDG_RUNTIME_DIR=" + (dir_ / runtime).string(),
                                        "MIRUDEX_HOME=", std::string("MIRUDEX_TEST_STUDY=") + study};
    };
    // The first adds 猫 to the list it loaded (犬).
    Child first(MIRUDEX_SIGNAL_PROGRAM, {"--desktop", "--workdir", workdir}, environment("runtime1", "ねこ"));
    ASSERT_TRUE(first.started());
    ASSERT_TRUE(first.WaitForOutput("ready\n"));
    // The second finds the folder taken: it hands its start to the first and
    // ends, without loading (or later saving) a list of its own.
    Child second(MIRUDEX_SIGNAL_PROGRAM, {"--desktop", "--workdir", workdir, "--search", "いぬ"},
                 environment("runtime2", "いぬ"));
    ASSERT_TRUE(second.started());
    const std::optional<int> secondStatus = second.WaitForEnd();
    ASSERT_TRUE(secondStatus.has_value());
    EXPECT_TRUE(WIFEXITED(*secondStatus) && WEXITSTATUS(*secondStatus) == 0);
    EXPECT_FALSE(second.WaitForOutput("ready\n"));
    ASSERT_TRUE(WaitForLog("Text exists: \xe3\x81\x84\xe3\x81\xac"));  // the first searched いぬ

    first.Signal(SIGTERM);
    const std::optional<int> status = first.WaitForEnd();
    ASSERT_TRUE(status.has_value());
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0);
    EXPECT_EQ(test::ReadFile("studylist.default"),
              "\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n");

    // Killed outright, the first holds the folder no longer: the next start runs there.
    Child killed(MIRUDEX_SIGNAL_PROGRAM, {"--desktop", "--workdir", workdir}, environment("runtime1", "いぬ"));
    ASSERT_TRUE(killed.WaitForOutput("ready\n"));
    killed.Signal(SIGKILL);
    ASSERT_TRUE(killed.WaitForEnd().has_value());
    Child next(MIRUDEX_SIGNAL_PROGRAM, {"--desktop", "--workdir", workdir}, environment("runtime2", "いぬ"));
    EXPECT_TRUE(next.WaitForOutput("ready\n"));
}

TEST_F(SignalsTest, SecondSignalDuringTheShutdownEndsAtOnceWithoutAHalfFile)
{
    const std::string optionsBefore = test::ReadFile("Options.mxreg");
    Child child(MIRUDEX_SIGNAL_PROGRAM, {"いぬ", "slow"});
    ASSERT_TRUE(child.started());
    ASSERT_TRUE(child.WaitForOutput("ready\n"));
    child.Signal(SIGTERM);
    ASSERT_TRUE(WaitForLog("***   Saving Options.mxreg   ***\n"));
    child.Signal(SIGINT);
    const std::optional<int> status = child.WaitForEnd();
    ASSERT_TRUE(status.has_value());
    ASSERT_TRUE(WIFEXITED(*status));
    EXPECT_EQ(WEXITSTATUS(*status), 128 + SIGINT);
    // What was saved before is whole; the options file was not reached and is as it was.
    EXPECT_EQ(test::ReadFile("history.dat"), Utf16LeOf(u"いぬ\nearlier\n"));
    EXPECT_EQ(test::ReadFile("Options.mxreg"), optionsBefore);
    EXPECT_EQ(test::ReadLogUtf8().find("All done!"), std::string::npos);
}

TEST_F(SignalsTest, RequestReachesTheQuitOnTheUserInterfaceThread)
{
    quit::Reset();
    bool unattended = false;
    {
        ShutdownSignals shutdown([&unattended] { unattended = true; });
        ASSERT_TRUE(shutdown.installed());
        QSignalSpy spy(&shutdown, &ShutdownSignals::shutdownRequested);
        OpenLog();
        ASSERT_EQ(raise(SIGHUP), 0);  // the handler only writes to the pipe
        EXPECT_FALSE(quit::Pending());
        QTRY_VERIFY(quit::Pending());
        EXPECT_TRUE(unattended);
        ASSERT_EQ(spy.count(), 1);
        EXPECT_EQ(spy.at(0).at(0).toInt(), SIGHUP);
        EXPECT_NE(Log().find("SIGHUP received: shutting down.\n"), std::string::npos);
    }
    // The former handlers are back.
    struct sigaction now {};
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    // The request also ended every event loop; one turn of the main loop
    // lets the next tests run theirs.
    quit::Reset();
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}

}  // namespace
}  // namespace mirudex::ui
