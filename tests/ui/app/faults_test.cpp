// Fault injection: every file the user owns is saved at exit into a full file
// system and into a read-only folder. The files stay exactly as they were,
// and the user is told of each one.
#include <sys/mount.h>
#include <unistd.h>

#include <QTimer>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>

#include "core/DefaultOptions.h"
#include "core/Registry.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/search/SearchEdit.h"
#include "ui/support/UiTestSupport.h"
#include "update/UpdateList.h"
#include "userdata/AppBindings.h"

namespace mirudex::ui {
namespace {

namespace fs = std::filesystem;

// A small file system of its own over a folder, while alive (root only).
class Tmpfs {
public:
    explicit Tmpfs(const fs::path& where) : where_(where)
    {
        fs::create_directory(where_);
        mounted_ = geteuid() == 0 && mount("tmpfs", where_.c_str(), "tmpfs", 0, "size=512k") == 0;
    }
    ~Tmpfs()
    {
        if (mounted_)
            umount2(where_.c_str(), MNT_DETACH);
    }
    Tmpfs(const Tmpfs&) = delete;
    Tmpfs& operator=(const Tmpfs&) = delete;
    bool mounted() const { return mounted_; }
    bool MakeReadOnly() { return mount(nullptr, where_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0; }

private:
    fs::path where_;
    bool mounted_ = false;
};

// Writes until the file system has no room left.
void Fill(const fs::path& file)
{
    std::ofstream out(file, std::ios::binary);
    const std::string block(4096, 'f');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {}
}

class FaultsTest : public test::UiTest {
protected:
    // The user's files of earlier runs, in the folder the program works in.
    void WriteUserFiles()
    {
        fs::create_directory("DICT");
        test::WriteFile("DICT/edict", "\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n");
        Registry options;
        options.LoadFromText(DefaultOptionsText());
        options.SetBOOL(".\\Misc\\FirstTime", false);
        ASSERT_TRUE(options.Save("Options.mxreg"));
        test::WriteFile("history.dat", std::string("o\0l\0d\0\n\0", 8));
        test::WriteFile("studylist.default", "\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n");
        test::WriteFile(update::kInstallLogName, "earlier-update\n");
        for (const char* name : kFiles)
            before_.push_back(test::ReadFile(name));
    }

    // One run of the program that changes every file: a search, an entry
    // added to the study list, another window size. Then File > Exit.
    void RunAndExit()
    {
        registry_.SetBOOL(".\\Misc\\FirstTime", false);
        WholeProgram whole(registry_);
        auto& [store, rules, state, services, program, panes] = whole;
        program.Start();
        ASSERT_EQ(state.edict_results[search::kStudyList].size(), 1u);

        SearchWindow* search = panes.searchWindow();
        search->edit()->selectAll();
        search->edit()->ReplaceSelection(QString::fromUtf16(u"ねこ"));
        search->OnCommand(ID_SEARCH_GO);
        ASSERT_EQ(state.edict_results[search::kResultList].size(), 1u);
        state.edict_results[search::kResultList][0].selected = true;
        EXPECT_EQ(userdata::AddToStudyList(state, search::kResultList), 1u);
        program.mainWindow()->resize(700, 500);
        EXPECT_FALSE(update::LogInstalledUpdate("new-update"));

        platform_.Clear();
        EXPECT_EQ(whole.Exit(), 0);
    }

    void ExpectFilesUnchangedAndUserTold(const std::u16string& reason)
    {
        for (size_t i = 0; i < before_.size(); ++i)
            EXPECT_EQ(test::ReadFile(kFiles[i]), before_[i]) << kFiles[i];
        const auto boxes = platform_.MessageBoxes();
        for (const char16_t* what :
             {u"your study list to the file studylist.default", u"your search history to the file history.dat",
              u"your settings to the file Options.mxreg"}) {
            int told = 0;
            for (const auto& box : boxes)
                if (box.text.find(what) != std::u16string::npos && box.text.find(reason) != std::u16string::npos)
                    ++told;
            EXPECT_EQ(told, 1) << mirudex::Utf16ToUtf8(what);
        }
    }

    static constexpr const char* kFiles[] = {"Options.mxreg", "history.dat", "studylist.default",
                                             update::kInstallLogName};
    std::vector<std::string> before_;
};

TEST_F(FaultsTest, FullFileSystem)
{
    Tmpfs disk(dir_ / "disk");
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    fs::current_path(disk.mounted() ? dir_ / "disk" : dir_);
    WriteUserFiles();
    Fill("filler");
    RunAndExit();
    ExpectFilesUnchangedAndUserTold(u"No space left on device");
    fs::current_path(dir_);
}

TEST_F(FaultsTest, ReadOnlyFolder)
{
    // Root writes into any folder: for root the folder is a file system
    // mounted read-only; for anyone else a folder without write permission.
    Tmpfs disk(dir_ / "disk");
    fs::current_path(dir_ / "disk");
    WriteUserFiles();
    std::u16string reason = u"Permission denied";
    if (disk.mounted()) {
        ASSERT_TRUE(disk.MakeReadOnly()) << errno;
        reason = u"Read-only file system";
    } else if (geteuid() == 0) {
        fs::current_path(dir_);
        GTEST_SKIP() << "root without the right to mount: no folder it cannot write into";
    } else {
        fs::permissions(".", fs::perms::owner_read | fs::perms::owner_exec);
    }
    RunAndExit();
    ExpectFilesUnchangedAndUserTold(reason);
    if (!disk.mounted())
        fs::permissions(".", fs::perms::owner_all);
    fs::current_path(dir_);
}

}  // namespace
}  // namespace mirudex::ui
