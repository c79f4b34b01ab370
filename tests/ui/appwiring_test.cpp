// The program with its real panes over the shared search state: a full start
// on a missing dictionary and a clean exit, and the study list commands
// reaching the study list routines.
#include <QTimer>

#include "UiTestSupport.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/AppWiring.h"
#include "ui/CommandIds.h"

namespace mirudex::ui {
namespace {

class AppWiringTest : public test::UiTest {};

TEST_F(AppWiringTest, FullStartAndCleanExitWithTheRealPanes)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetBOOL(".\\Window\\RememberSize", true);
    dict::DictionaryStore store;
    text::FuzzyRules rules;
    search::AppState state(registry_, store, &rules);
    AppStateServices services(state);
    Program program(registry_, &services);
    AppPaneFactory panes(state, program.resources(), services);
    program.SetPaneFactory(&panes);
    panes.WireProgram(program, rules);

    program.Start();
    MainWindow* w = program.mainWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->clientArea()->pane(PaneId::Search), panes.searchWindow());
    EXPECT_EQ(w->clientArea()->pane(PaneId::Kanji), panes.kanjiWindow());
    EXPECT_EQ(w->clientArea()->pane(PaneId::StudyList), panes.resultWindow(1));
    EXPECT_FALSE(state.thread_searching);
    // The configured dictionary is listed (its file is missing here).
    EXPECT_EQ(services.DictionaryCount(), 1);
    EXPECT_EQ(platform_.LastStatus(0), u"Mirudex is ready to go.");
    EXPECT_NE(Log().find("EDICT_Index_Load: ERROR: "), std::string::npos);
    test::SaveShot(w, "main-window-real-panes");

    // Switching the dictionary off through the pop-up reaches the loaded record.
    services.SetDictionaryOn(0, false);
    EXPECT_FALSE(store.edict_dictionaries[0]->on);

    w->resize(900, 640);
    QTimer::singleShot(0, [w] { w->OnCommand(ID_EXIT); });
    program.RunLoop();
    EXPECT_EQ(program.Shutdown(), 0);
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_EQ(saved.GetINT(".\\Window\\Window_w"), 900);
    EXPECT_EQ(saved.GetINT(".\\Window\\Window_h"), 640);
    EXPECT_EQ(saved.GetINT(".\\Window\\Div_vert"), 145);
    EXPECT_NE(Log().find("Deleting EDICT 1 / 1...OKAY\n"), std::string::npos);
    EXPECT_NE(Log().find("***   All done!   ***\n"), std::string::npos);
}

}  // namespace
}  // namespace mirudex::ui
