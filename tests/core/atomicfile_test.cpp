#include <sys/stat.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "core/AtomicFile.h"
#include "support/TestSupport.h"

using namespace mirudex;
namespace fs = std::filesystem;

namespace {

class AtomicFileTest : public test::WorkDirTest {
protected:
    static std::set<std::string> Names(const fs::path& dir)
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.insert(e.path().filename().string());
        return names;
    }
};

TEST_F(AtomicFileTest, WritesGoThroughSymbolicLinks)
{
    struct Case {
        const char* name;
        std::string link;                                        // the path the program writes
        std::string target;                                      // the file that must change
        std::vector<std::pair<std::string, std::string>> links;  // link -> what it points to
    };
    fs::create_directories("real/sub");
    fs::create_directories("elsewhere");
    const std::string abs = (fs::current_path() / "real" / "abs.txt").string();
    const Case cases[] = {
        {"relative link", "Options.mxreg", "real/opts.txt", {{"Options.mxreg", "real/opts.txt"}}},
        {"absolute link", "abs.mxreg", abs, {{"abs.mxreg", abs}}},
        {"link to a link, relative to its own folder",
         "chain",
         "real/sub/end.txt",
         {{"chain", "real/mid"}, {"real/mid", "sub/end.txt"}}},
        {"link whose file is not there yet", "dangling", "elsewhere/new.txt", {{"dangling", "elsewhere/new.txt"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const auto& [link, to] : c.links)
            fs::create_symlink(to, link);
        if (std::string(c.name) != "link whose file is not there yet")
            test::WriteFile(c.target, "old");
        EXPECT_EQ(ResolveLinks(c.link), c.target);
        ASSERT_TRUE(WriteFileAtomically(c.link, "new"));
        for (const auto& [link, to] : c.links) {
            EXPECT_TRUE(fs::is_symlink(link)) << link;
            EXPECT_EQ(fs::read_symlink(link), to);
        }
        EXPECT_EQ(test::ReadFile(c.link), "new");
        EXPECT_EQ(test::ReadFile(c.target), "new");
    }
    // The temporaries lay beside the targets and are gone.
    EXPECT_EQ(Names("real"), (std::set<std::string>{"abs.txt", "mid", "opts.txt", "sub"}));
    EXPECT_EQ(Names("elsewhere"), (std::set<std::string>{"new.txt"}));
    EXPECT_EQ(ResolveLinks("plain.txt"), "plain.txt");
}

TEST_F(AtomicFileTest, PermissionsOfTheReplacedFileAreKept)
{
    test::WriteFile("private.txt", "old");
    chmod("private.txt", 0600);
    ASSERT_TRUE(WriteFileAtomically("private.txt", "new"));
    struct stat st {};
    ASSERT_EQ(stat("private.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_TRUE(WriteFileAtomically("fresh.txt", "x"));
    ASSERT_EQ(stat("fresh.txt", &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
}

TEST_F(AtomicFileTest, LeftoversOfAnInterruptedWriteAreRemovedAndNothingElse)
{
    const std::vector<std::string> leftovers = {
        "studylist.default.k3J9qZ~",  // ours
        "studylist.default.000000~",  // ours: any six letters and digits before the ~
        "studylist.default.aB3xYz",   // as earlier versions named them
        "studylist.default.q7WpL2",
    };
    const std::vector<std::string> kept = {
        "studylist.default",     "studylist.default.backup",     "studylist.default.Backup", "studylist.default.BACKUP",
        "studylist.default.old", "studylist.default.2024-1",     "studylist.default.bak001", "studylist.defaultaB3xYz",
        "other.list.aB3xYz",     "studylist.default.aB3xYz.txt",
    };
    for (const auto& name : leftovers)
        test::WriteFile(name, "x");
    for (const auto& name : kept)
        test::WriteFile(name, "x");
    fs::create_directory("studylist.default.dIrEc1");  // not a file
    EXPECT_EQ(RemoveLeftoverTemporaries("studylist.default"), static_cast<int>(leftovers.size()));
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert("studylist.default.dIrEc1");
    EXPECT_EQ(Names("."), expected);

    // Through a link, the leftovers beside the target go; the next write of
    // a file also clears them first.
    fs::create_directory("data");
    fs::create_symlink("data/list.txt", "list");
    test::WriteFile("data/list.txt.Xy12Ab", "left");
    test::WriteFile("data/list.txt.123456~", "left");
    ASSERT_TRUE(WriteFileAtomically("list", "new"));
    EXPECT_EQ(Names("data"), (std::set<std::string>{"list.txt"}));
}

TEST_F(AtomicFileTest, FailuresSayWhy)
{
    int error = 0;
    EXPECT_FALSE(WriteFileAtomically("no/such/dir/file.txt", "x", &error));
    EXPECT_EQ(error, ENOENT);
    fs::create_directory("adir");
    EXPECT_FALSE(WriteFileAtomically("adir", "x", &error));
    EXPECT_EQ(error, EISDIR);
    EXPECT_EQ(Names("."), (std::set<std::string>{"adir"}));
}

}  // namespace
