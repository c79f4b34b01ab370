#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "desktop/DesktopStart.h"
#include "desktop/FolderLock.h"
#include "desktop/InstanceChannel.h"
#include "desktop/WorkingFolder.h"
#include "support/TestSupport.h"
#include "text/Encoding.h"

namespace fs = std::filesystem;
using namespace mirudex;
using namespace mirudex::desktop;

namespace {

class WorkingFolderTest : public test::WorkDirTest {
protected:
    FolderInputs Inputs() const
    {
        FolderInputs in;
        in.currentDirectory = fs::current_path().string();
        in.home = (dir_ / "home").string();
        return in;
    }

    // Sources made of small files of our own.
    DataSources Sources()
    {
        fs::create_directories("src/data");
        test::WriteFile("src/data/partsofspeech.mxf", "markers");
        test::WriteFile("src/data/fuzzysearch.uni.dat", "rules");
        test::WriteFile("src/edict", "edict");
        test::WriteFile("src/kanjidic", "kanjidic");
        test::WriteFile("src/enamdict", "enamdict");
        // 亜 in EUC-JP; Shift-JIS has it as 88 9F.
        test::WriteFile("src/radkfile", "$ \xb0\xa1 1\n\xb0\xa1\n");
        DataSources s;
        s.dataDirectory = (dir_ / "src/data").string();
        s.edict = (dir_ / "src/edict").string();
        s.kanjidic = (dir_ / "src/kanjidic").string();
        s.names = (dir_ / "src/enamdict").string();
        s.radicalFiles = {(dir_ / "src/none").string(), (dir_ / "src/radkfile").string()};
        return s;
    }
};

TEST_F(WorkingFolderTest, RulesChooseInOrder)
{
    fs::create_directories("prepared");
    test::WriteFile("prepared/Options.mxreg", "");
    const std::string here = fs::current_path().string();
    struct Case {
        const char* name;
        std::optional<std::string> workdir;
        std::string homeVariable, current, xdg, home;
        std::string expected;
        FolderReason reason;
    };
    const std::string prepared = here + "/prepared";
    const Case cases[] = {
        {"--workdir first", "/w", "/m", prepared, "/x", "/h", "/w", FolderReason::Option},
        {"--workdir relative to the current folder", "sub/../w", "", here, "", "/h", here + "/w", FolderReason::Option},
        {"MIRUDEX_HOME before a prepared folder", {}, "/m", prepared, "/x", "/h", "/m", FolderReason::Environment},
        {"a prepared current folder", {}, "", prepared, "/x", "/h", prepared, FolderReason::Current},
        {"an unprepared one: XDG_DATA_HOME", {}, "", here, "/x", "/h", "/x/mirudex", FolderReason::Default},
        {"no XDG_DATA_HOME: under HOME", {}, "", here, "", "/h", "/h/.local/share/mirudex", FolderReason::Default},
        {"a relative XDG_DATA_HOME is ignored",
         {},
         "",
         here,
         "rel",
         "/h",
         "/h/.local/share/mirudex",
         FolderReason::Default},
    };
    for (const Case& c : cases) {
        FolderInputs in{c.workdir, c.homeVariable, c.current, c.xdg, c.home};
        std::string error;
        const auto choice = ChooseWorkingFolder(in, error);
        ASSERT_TRUE(choice) << c.name << ": " << error;
        EXPECT_EQ(choice->folder, c.expected) << c.name;
        EXPECT_EQ(choice->reason, c.reason) << c.name;
    }
    std::string error;
    EXPECT_FALSE(ChooseWorkingFolder(FolderInputs{{}, "", here, "", ""}, error)) << "no home at all";
    EXPECT_NE(error.find("MIRUDEX_HOME"), std::string::npos) << error;
    EXPECT_FALSE(ChooseWorkingFolder(FolderInputs{std::string(), "", here, "", "/h"}, error)) << "--workdir ''";
}

TEST_F(WorkingFolderTest, FirstPreparationFillsTheFolderAsTheScriptDoes)
{
    const DataSources sources = Sources();
    std::string error;
    const auto prepared = PrepareWorkingFolder("work/folder", sources, error);
    ASSERT_TRUE(prepared) << error;
    EXPECT_TRUE(prepared->created);
    EXPECT_TRUE(prepared->ok());
    EXPECT_EQ(fs::read_symlink("work/folder/DICT/edict"), sources.edict);
    EXPECT_EQ(fs::read_symlink("work/folder/DICT/kanjidic"), sources.kanjidic);
    EXPECT_EQ(fs::read_symlink("work/folder/DICT/enamdict"), sources.names);
    EXPECT_EQ(test::ReadFile("work/folder/radkfile.dat"), "$ \x88\x9f 1\n\x88\x9f\n");
    EXPECT_EQ(test::ReadFile("work/folder/partsofspeech.mxf"), "markers");
    EXPECT_EQ(test::ReadFile("work/folder/fuzzysearch.uni.dat"), "rules");
}

TEST_F(WorkingFolderTest, APreparationReplacesNothingTheFolderHolds)
{
    const DataSources sources = Sources();
    fs::create_directories("f/DICT");
    test::WriteFile("f/DICT/edict", "my own");
    fs::create_symlink("/nowhere/kanjidic", "f/DICT/kanjidic");
    test::WriteFile("f/radkfile.dat", "mine");
    test::WriteFile("f/fuzzysearch.uni.dat", "my rules");
    std::string error;
    const auto prepared = PrepareWorkingFolder("f", sources, error);
    ASSERT_TRUE(prepared);
    EXPECT_FALSE(prepared->created);
    EXPECT_EQ(test::ReadFile("f/DICT/edict"), "my own");
    EXPECT_EQ(fs::read_symlink("f/DICT/kanjidic"), "/nowhere/kanjidic");
    EXPECT_EQ(test::ReadFile("f/radkfile.dat"), "mine");
    EXPECT_EQ(test::ReadFile("f/fuzzysearch.uni.dat"), "my rules");
    EXPECT_EQ(test::ReadFile("f/partsofspeech.mxf"), "markers");
}

TEST_F(WorkingFolderTest, WhatCannotBeHadIsToldOnePerFile)
{
    DataSources sources = Sources();
    sources.edict = "/nonexistent/edict";
    sources.names = "/nonexistent/enamdict";
    sources.radicalFiles = {"/nonexistent/radkfile"};
    sources.dataDirectory.clear();
    std::string error;
    const auto prepared = PrepareWorkingFolder("f", sources, error);
    ASSERT_TRUE(prepared);
    EXPECT_TRUE(prepared->radicalFileMissing);
    ASSERT_EQ(prepared->problems.size(), 5u);
    EXPECT_NE(prepared->problems[0].find("install the edict package"), std::string::npos);
    EXPECT_NE(prepared->problems[1].find("install the enamdict package"), std::string::npos);
    EXPECT_NE(prepared->problems[2].find("xjdic"), std::string::npos);
    EXPECT_TRUE(fs::exists("f/DICT/kanjidic"));
    EXPECT_FALSE(fs::exists("f/radkfile.dat"));
}

TEST_F(WorkingFolderTest, EnteringPreparesOnlyAFolderWithoutOptions)
{
    const DataSources sources = Sources();
    const fs::path start = fs::current_path();
    FolderInputs in = Inputs();
    in.workdirOption = "new";
    std::string error;
    auto entered = EnterWorkingFolder(in, sources, error);
    ASSERT_TRUE(entered) << error;
    EXPECT_TRUE(entered->prepared);
    EXPECT_EQ(fs::current_path(), start / "new");
    EXPECT_TRUE(fs::exists("DICT/edict"));

    fs::current_path(start);
    fs::create_directories("old");
    test::WriteFile("old/Options.mxreg", "");
    in.workdirOption = "old";
    entered = EnterWorkingFolder(in, sources, error);
    ASSERT_TRUE(entered) << error;
    EXPECT_FALSE(entered->prepared);
    EXPECT_FALSE(fs::exists("DICT")) << "a prepared folder is used as it is";

    fs::current_path(start);
    test::WriteFile("plain", "");
    in.workdirOption = "plain";
    EXPECT_FALSE(EnterWorkingFolder(in, sources, error));
    EXPECT_NE(error.find("is not a folder"), std::string::npos) << error;
    EXPECT_EQ(fs::current_path(), start);
}

TEST(SharedIndexDirectory, BelowTheRootOfAnInstalledProgramOnly)
{
    const struct {
        const char* program;
        const char* shared;
    } cases[] = {
        {"/usr/bin", "/var/cache/mirudex"},
        {"/usr/bin/", "/var/cache/mirudex"},
        {"/tmp/root/usr/bin", "/tmp/root/var/cache/mirudex"},
        {"/tmp/root/usr/./bin", "/tmp/root/var/cache/mirudex"},
        {"/usr/local/bin", ""},
        {"/home/user/mirudex/build/src/app", ""},
        {"/bin", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SharedIndexDirectoryFor(c.program), c.shared) << c.program;
    // The tests run from the build folder: no shared index for them.
    EXPECT_EQ(SharedIndexDirectory(), "");
}

TEST(ProgramDataDirectory, FoundFromTheBuildTreeOrBesideAnInstall)
{
    const std::string dir = ProgramDataDirectory();
    ASSERT_FALSE(dir.empty());
    EXPECT_TRUE(fs::exists(fs::path(dir) / "fuzzysearch.uni.dat"));
}

}  // namespace

namespace {

// A process that takes the folder's lock, says so on a pipe and then waits to be killed.
pid_t LockInChild(const std::string& folder, const std::string& socket)
{
    int ready[2];
    if (pipe(ready) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        FolderLock lock;
        const char answer = lock.TryAcquire(folder, socket) == FolderLock::Result::Held ? 'y' : 'n';
        if (write(ready[1], &answer, 1) != 1)
            _exit(1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char answer = 0;
    const bool held = read(ready[0], &answer, 1) == 1 && answer == 'y';
    close(ready[0]);
    if (!held && child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
        return -1;
    }
    return child;
}

}  // namespace

TEST_F(WorkingFolderTest, OneProcessHoldsTheFolderAndADeadOneLetsGo)
{
    const std::string folder = dir_.string();
    // Not yet named: nothing to read.
    EXPECT_FALSE(ReadFolderLockHolder(folder).has_value());

    const pid_t first = LockInChild(folder, "/run/user/1/mirudex.socket");
    ASSERT_GT(first, 0);
    FolderLock second;
    EXPECT_EQ(second.TryAcquire(folder, "/other/mirudex.socket"), FolderLock::Result::Busy);
    EXPECT_FALSE(second.held());
    const std::optional<FolderLockHolder> holder = ReadFolderLockHolder(folder);
    ASSERT_TRUE(holder.has_value());
    EXPECT_EQ(holder->pid, first);
    EXPECT_EQ(holder->host, ThisHost());
    EXPECT_EQ(holder->socket, "/run/user/1/mirudex.socket");

    // Killed outright, it holds nothing any more.
    kill(first, SIGKILL);
    waitpid(first, nullptr, 0);
    EXPECT_EQ(second.TryAcquire(folder, "/other/mirudex.socket"), FolderLock::Result::Held);
    EXPECT_EQ(ReadFolderLockHolder(folder)->pid, getpid());
    EXPECT_EQ(ReadFolderLockHolder(folder)->socket, "/other/mirudex.socket");
    // Within one process too, a second lock of the same folder is refused.
    FolderLock third;
    EXPECT_EQ(third.TryAcquire(folder, ""), FolderLock::Result::Busy);
    second.Release();
    EXPECT_EQ(third.TryAcquire(folder, ""), FolderLock::Result::Held);

    // A folder where no lock file can be made.
    FolderLock nowhere;
    EXPECT_EQ(nowhere.TryAcquire((dir_ / "missing").string(), ""), FolderLock::Result::Failed);
    EXPECT_EQ(nowhere.error(), ENOENT);
}

namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const std::string& value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

}  // namespace

// The user's runtime folder may be the working folder itself: the socket's
// lock and the folder's lock are then in one folder, and a start must still
// get both (they are different files). A lock file an earlier version left
// under the single-instance lock's name takes nothing from the folder.
TEST_F(WorkingFolderTest, ARuntimeFolderThatIsTheWorkingFolderDoesNotTakeTheFolderFromItsOwnStart)
{
    const std::string folder = dir_.string();
    // A runtime folder is used only when it is the user's alone.
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::replace);
    test::WriteFile("Options.mxreg", "");
    std::string error;
    const auto paths = InstancePathsFor(folder.c_str(), nullptr, error);
    ASSERT_TRUE(paths) << error;
    ASSERT_EQ(fs::path(paths->lock).parent_path(), dir_);
    EXPECT_NE(fs::path(paths->lock).filename(), kFolderLockName);

    // An earlier version's folder lock file, naming a program long gone.
    test::WriteFile("mirudex.lock", "999999\nelsewhere\n/gone/mirudex.socket\n");
    const ScopedVariable runtime("XDG_RUNTIME_DIR", folder);
    const ScopedVariable home("MIRUDEX_HOME", "");
    DesktopStart start;
    BeginDesktopStart({"mirudex", "--workdir", folder}, start);
    EXPECT_EQ(start.exitStatus, -1);
    EXPECT_EQ(start.folderTaken, "");
    EXPECT_TRUE(start.lock.held());
    EXPECT_TRUE(start.folderLock.held());
    ASSERT_TRUE(start.paths);
    EXPECT_EQ(start.paths->lock, paths->lock);
    const std::optional<FolderLockHolder> holder = ReadFolderLockHolder(folder);
    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->pid, getpid());
    EXPECT_EQ(holder->socket, paths->socket);

    // A second start in the same place is handed over or refused, never let in.
    FolderLock second;
    EXPECT_EQ(second.TryAcquire(folder, ""), FolderLock::Result::Busy);
    InstanceLock secondInstance;
    EXPECT_FALSE(secondInstance.TryAcquire(paths->lock));
}
