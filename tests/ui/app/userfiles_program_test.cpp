// The program with its real panes and the user's own files: the study list
// pane shows its entries as soon as the program has started, and files kept
// elsewhere behind symbolic links stay linked when they are saved.
#include <QTimer>
#include <filesystem>

#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "support/TestSupport.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/search/SearchWindow.h"
#include "ui/support/UiTestSupport.h"
#include "userdata/History.h"

namespace mirudex::ui {
namespace {

const std::string kCatEuc = "\xc7\xad [\xa4\xcd\xa4\xb3] /(n) cat/\n";
const std::string kDogEuc = "\xb8\xa4 [\xa4\xa4\xa4\xcc] /(n) dog/\n";

class UserFilesProgramTest : public test::UiTest {};

TEST_F(UserFilesProgramTest, StudyListPaneShowsItsEntriesRightAfterStartup)
{
    mirudex::test::WriteFile("studylist.default", kCatEuc + kDogEuc + kCatEuc);
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetBOOL(".\\StudyList\\On", true);
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;
    // The window system's resize of the new window often arrives while the
    // dictionaries load, when the lists may not be read.
    program.parts().startLoadAllDictionaries = [&state, &panes, start = program.parts().startLoadAllDictionaries] {
        state.thread_searching = true;
        panes.resultWindow(1)->Relayout();
        state.thread_searching = false;
        return start();
    };

    program.Start();
    ResultWindow* study = panes.resultWindow(1);
    ASSERT_NE(study, nullptr);
    ASSERT_EQ(state.edict_results[1].size(), 3u);
    EXPECT_TRUE(study->isVisible());
    // Laid out for the three entries without any click or resize.
    EXPECT_EQ(study->visibleRows().first, 0);
    EXPECT_EQ(study->visibleRows().last, 2);

    EXPECT_EQ(whole.Exit(), 0);
}

TEST_F(UserFilesProgramTest, LinkedFilesStayLinksAndTheirFilesChange)
{
    // The user keeps the real files elsewhere (a synchronised folder) and
    // links them into the working folder.
    std::filesystem::create_directory("sync");
    mirudex::test::WriteFile("sync/studylist.txt", kCatEuc);
    mirudex::test::WriteFile("sync/history.txt", std::string("o\0l\0d\0\n\0", 8));
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    ASSERT_TRUE(registry_.Save("sync/options.txt"));
    const std::vector<std::pair<std::string, std::string>> links = {
        {"Options.mxreg", "sync/options.txt"},
        {"studylist.default", "sync/studylist.txt"},
        {"history.dat", "sync/history.txt"},
    };
    std::vector<std::string> before;
    for (const auto& [link, target] : links) {
        std::filesystem::create_symlink(target, link);
        before.push_back(mirudex::test::ReadFile(target));
    }

    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;
    program.Start();
    state.edict_results[1].push_back(state.edict_results[1].at(0));
    userdata::AddToHistory(panes.searchWindow()->history(), registry_, u"new");
    program.mainWindow()->resize(640, 480);
    EXPECT_EQ(whole.Exit(), 0);

    for (size_t i = 0; i < links.size(); ++i) {
        const auto& [link, target] = links[i];
        SCOPED_TRACE(link);
        EXPECT_TRUE(std::filesystem::is_symlink(link));
        EXPECT_EQ(std::filesystem::read_symlink(link), target);
        EXPECT_NE(mirudex::test::ReadFile(target), before[i]);
    }
    EXPECT_EQ(mirudex::test::ReadFile("sync/studylist.txt"), kCatEuc + kCatEuc);
    EXPECT_EQ(mirudex::test::ReadFile("sync/history.txt"), std::string("n\0e\0w\0\n\0o\0l\0d\0\n\0", 16));
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

}  // namespace
}  // namespace mirudex::ui
