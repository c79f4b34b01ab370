// The program with its real panes over the shared search state: a full start
// on a missing dictionary and a clean exit (with the level-0 log of both), and
// the study list commands reaching the study list routines.
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "core/DebugLog.h"
#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "search/Sorting.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/main/FocusRing.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/HistoryDropDown.h"
#include "ui/search/ReaderView.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchEdit.h"
#include "ui/search/SearchWindow.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

class AppWiringTest : public test::UiTest {};

TEST_F(AppWiringTest, FullStartAndCleanExitWithTheRealPanes)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetBOOL(".\\Window\\RememberSize", true);
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;

    program.Start();
    MainWindow* w = program.mainWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->clientArea()->pane(PaneId::Search), panes.searchWindow());
    EXPECT_EQ(w->clientArea()->pane(PaneId::Kanji), panes.kanjiWindow());
    EXPECT_EQ(w->clientArea()->pane(PaneId::StudyList), panes.resultWindow(1));
    EXPECT_FALSE(state.thread_searching);
    // The configured dictionaries are listed (their files are missing here):
    // EDICT, and the names dictionary, switched off.
    EXPECT_EQ(services.DictionaryCount(), 2);
    EXPECT_FALSE(services.DictionaryOn(1));
    EXPECT_EQ(platform_.LastStatus(0), u"Mirudex is ready to go.");
    EXPECT_NE(Log().find("EDICT_Index_Load: ERROR: "), std::string::npos);
    test::SaveShot(w, "main-window-real-panes");

    // Switching the dictionary off through the pop-up reaches the loaded record.
    services.SetDictionaryOn(0, false);
    EXPECT_FALSE(store.edict_dictionaries[0]->on);

    w->resize(900, 640);
    EXPECT_EQ(whole.Exit(), 0);
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_EQ(saved.GetINT(".\\Window\\Window_w"), 900);
    EXPECT_EQ(saved.GetINT(".\\Window\\Window_h"), 640);
    EXPECT_EQ(saved.GetINT(".\\Window\\Div_vert"), 145);
    EXPECT_NE(Log().find("Deleting EDICT 1 / 2...OKAY\nDeleting EDICT 2 / 2...OKAY\n"), std::string::npos);
    EXPECT_NE(Log().find("***   All done!   ***\n"), std::string::npos);
}

// From the search box, Tab visits every control of the window that takes the
// keyboard, in order (the panes, then the tool bars), and the pane that has
// it is framed; each control has a name a screen reader can say.
TEST_F(AppWiringTest, TabWalksEveryControlInOrderAndEachHasAName)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;
    program.Start();
    MainWindow* w = program.mainWindow();
    ASSERT_NE(w, nullptr);
    if (!w->studyListPaneShown())
        w->OnCommand(ID_WINDOW_STUDYLIST);
    if (!panes.searchWindow()->ReaderShown())
        w->OnCommand(ID_WINDOW_READER);
    ASSERT_TRUE(w->studyListPaneShown() && panes.searchWindow()->ReaderShown());
    w->show();
    w->activateWindow();
    MIRUDEX_WAIT_FOR(w->isActiveWindow());
    SearchWindow* search = panes.searchWindow();
    search->FocusSearchText();
    MIRUDEX_WAIT_FOR(search->edit()->hasFocus());

    std::vector<QWidget*> walk;
    for (int i = 0; i < 40; ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr) << i;
        if (!walk.empty() && focus == walk.front())
            break;  // round again
        walk.push_back(focus);
        QTest::keyClick(focus, Qt::Key_Tab);
    }
    auto at = [&](QWidget* control) {
        return static_cast<int>(std::find(walk.begin(), walk.end(), control) - walk.begin());
    };
    const int n = static_cast<int>(walk.size());
    ASSERT_EQ(at(search->edit()), 0);
    EXPECT_EQ(at(panes.kanjiWindow()), 1) << "the search box's Tab goes to the kanji pane";
    EXPECT_EQ(at(panes.resultWindow(0)), 2);
    EXPECT_EQ(at(panes.resultWindow(1)), 3);
    int previous = 3;
    for (QWidget* control : search->bands()->Controls()) {
        SCOPED_TRACE(control->objectName().toStdString());
        EXPECT_EQ(at(control), previous + 1) << "the tool bars' controls in their order";
        previous = at(control);
    }
    EXPECT_EQ(at(search->reader()), previous + 1);
    EXPECT_EQ(n, previous + 2) << "and then the search box again";
    EXPECT_EQ(at(search->historyList()), n) << "the history list is opened by Ctrl+Space, not reached by Tab";

    // Every control that takes Tab was visited, and each has a name.
    for (QWidget* child : w->findChildren<QWidget*>()) {
        if (!(child->focusPolicy() & Qt::TabFocus) || !child->isVisible() || !child->isEnabled() ||
            child == search->historyList() || child->focusProxy())
            continue;
        SCOPED_TRACE(child->metaObject()->className() + std::string(" ") + child->objectName().toStdString());
        EXPECT_LT(at(child), n) << "reached by Tab";
        QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(child);
        ASSERT_NE(a11y, nullptr);
        EXPECT_FALSE(a11y->text(QAccessible::Name).trimmed().isEmpty());
    }
    for (QWidget* pane : std::initializer_list<QWidget*>{panes.kanjiWindow(), panes.radicalWindow(),
                                                         panes.resultWindow(0), panes.resultWindow(1)})
        EXPECT_FALSE(pane->accessibleName().isEmpty() || pane->accessibleDescription().isEmpty());

    // The pane with the keyboard has a ring drawn around it.
    auto* ring = w->findChild<FocusRing*>();
    ASSERT_NE(ring, nullptr);
    panes.kanjiWindow()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ring->target(), panes.kanjiWindow());
    EXPECT_TRUE(ring->isVisible());
    EXPECT_EQ(ring->geometry(),
              QRect(panes.kanjiWindow()->mapTo(ring->parentWidget(), QPoint(0, 0)), panes.kanjiWindow()->size()));
    search->edit()->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(ring->isVisible()) << "the search box draws its own focus";
    panes.resultWindow(1)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(ring->target(), panes.resultWindow(1));

    // Shift+Tab walks back: from the study list to the results, the kanji pane, the search box.
    QTest::keyClick(panes.resultWindow(1), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(panes.resultWindow(0)->hasFocus());
    QTest::keyClick(panes.resultWindow(0), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(panes.kanjiWindow()->hasFocus());
    QTest::keyClick(panes.kanjiWindow(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(search->edit()->hasFocus());
    QTest::keyClick(search->edit(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(search->reader()->hasFocus());
    EXPECT_EQ(whole.Exit(), 0);
}

// A chosen Relevance sort is saved at exit and taken back at the next start,
// descending too; the kana order a click gives is saved the same way.
TEST_F(AppWiringTest, TheSavedRelevanceSortSurvivesARestart)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    registry_.SetINT(".\\Results\\Sort1", 6);
    registry_.SetBOOL(".\\Results\\Sort1 Asc", false);
    registry_.SetINT(".\\Results\\Sort2", 1);
    {
        WholeProgram whole(registry_);
        whole.program.Start();
        EXPECT_EQ(whole.state.edict_sort.primary.key, search::kSortRelevance);
        EXPECT_TRUE(whole.state.edict_sort.primary.descending);
        EXPECT_EQ(whole.state.edict_sort.secondary.key, search::kSortKana);
        EXPECT_EQ(whole.Exit(), 0);
    }
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_EQ(saved.GetINT(".\\Results\\Sort1"), 6);
    EXPECT_FALSE(saved.GetBOOL(".\\Results\\Sort1 Asc"));
    EXPECT_EQ(Log().find("The primary button to sort on is wrong"), std::string::npos);
    {
        WholeProgram again(saved);
        again.program.Start();
        EXPECT_EQ(again.state.edict_sort.primary.key, search::kSortRelevance);
        EXPECT_TRUE(again.state.edict_sort.primary.descending);
        // The kana order is one click away, and is kept in its turn.
        again.panes.resultWindow(0)->ClickHeaderItem(search::kSortKana);
        EXPECT_EQ(again.Exit(), 0);
    }
    Registry third;
    ASSERT_TRUE(third.Load("Options.mxreg"));
    EXPECT_EQ(third.GetINT(".\\Results\\Sort1"), 1);
    EXPECT_EQ(third.GetINT(".\\Results\\Sort2"), 6);
}

// The reading view switched on from the Window menu is on again after a
// restart, under the search box; switched off, it stays off.
TEST_F(AppWiringTest, TheReadingViewSurvivesARestart)
{
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    {
        WholeProgram whole(registry_);
        whole.program.Start();
        EXPECT_FALSE(whole.panes.searchWindow()->ReaderShown()) << "off by default";
        whole.program.mainWindow()->OnCommand(ID_WINDOW_READER);
        EXPECT_TRUE(whole.panes.searchWindow()->ReaderShown());
        EXPECT_EQ(whole.Exit(), 0);
    }
    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_TRUE(saved.GetBOOL(".\\Misc\\Reader"));
    {
        WholeProgram again(saved);
        again.program.Start();
        MainWindow* w = again.program.mainWindow();
        SearchWindow* search = again.panes.searchWindow();
        ASSERT_TRUE(search->ReaderShown());
        EXPECT_TRUE(w->action(ID_WINDOW_READER)->isChecked());
        EXPECT_TRUE(search->reader()->isVisible());
        EXPECT_GE(search->reader()->geometry().top(), search->edit()->geometry().bottom()) << "under the search box";
        EXPECT_GT(search->reader()->height(), 0);
        w->OnCommand(ID_WINDOW_READER);
        EXPECT_FALSE(search->reader()->isVisible());
        EXPECT_EQ(again.Exit(), 0);
    }
    Registry third;
    ASSERT_TRUE(third.Load("Options.mxreg"));
    EXPECT_FALSE(third.GetBOOL(".\\Misc\\Reader"));
}

TEST_F(AppWiringTest, LevelZeroStartAndExitLinesWithTheRealPanes)
{
    dlog::SetLevel(0);
    registry_.SetBOOL(".\\Misc\\FirstTime", false);
    WholeProgram whole(registry_);
    auto& [store, rules, state, services, program, panes] = whole;

    program.Start();
    EXPECT_EQ(whole.Exit(), 0);
    // The working directory holds no data files: every load reports its
    // failure, and no level-1 line appears.
    EXPECT_EQ(Log(),
              "Intializing GDI+..............OKAY\n"
              "Intializing Common Controls...OKAY\n"
              "Loading cursors...............OKAY\n"
              "Loading bitmaps...............OKAY\n"
              "Loading Fuzzy Search Data.....ERROR: LoadFuzzySearchInfo(): Couldn't open 'fuzzysearch.uni.dat'.\n"
              "FAILED\n"
              "Loading Result Window Fonts...OKAY\n"
              "Loading Result Window Colors..OKAY\n"
              "Loading Kanji Window Fonts....OKAY\n"
              "Loading Kanji Window Colors...OKAY\n"
              "Loading miscellaneous fonts...OKAY\n"
              "Creating main window...\n"
              "Main Window: WM_CREATE:\n"
              "Creating search window...\n"
              "Search Window: WM_CREATE:\n"
              "END: Search Window: WM_CREATE:\n"
              "(search window created)\n"
              "Creating result window...\n"
              "(result window created)\n"
              "Creating studylist window...\n"
              "(studylist window created)\n"
              "Creating kanji window...\n"
              "Kanji Window: WM_CREATE:\n"
              "END: Kanji Window: WM_CREATE:\n"
              "(kanji window created)\n"
              "Creating radical-lookup window...\n"
              "RadicalLookup Window: WM_CREATE:\n"
              "END: RadicalLookup Window: WM_CREATE\n"
              "(radical lookup window created)\n"
              "Divided vertically: 0.\n"
              "   Top: Window set.\n"
              "   Bottom: Divided horizontally: 0.\n"
              "   Bottom: Left: Window Set.\n"
              "   Bottom: Right: Window Set.\n"
              "END: Main Window: WM_CREATE\n"
              "Main window created okay.\n"
              "Loading history...............FAILED\n"
              "   ERROR: Could not open history.dat.\n"
              "ERROR: LoadMarkers(): Could not open partsofspeech.mxf\n"
              "ERROR: Could not find Radical Info file:\n"
              "   radkfile.dat\n"
              "Loading study list (studylist.default)...\n"
              "EDICT_Index_Load: ERROR: studylist.default not opened.\n"
              "Studylist loaded.\n"
              "Warning: ID_WINDOW_RADICALLOOKUP: Radical Lookup info has not been loaded yet.\n"
              "ERROR: KANJIDIC_Index_Load(): Couldn't open DICT\\kanjidic\n"
              "EDICT_Index_Load: ERROR: DICT\\edict not opened.\n"
              "EDICT_Index_Load: ERROR: DICT\\enamdict not opened.\n"
              "Saving study list......OKAY\n"
              "History saved.\n"
              "********************************\n"
              "***   Saving Options.mxreg   ***\n"
              "********************************\n"
              "Options.mxreg saved successfully.\n"
              "**************************\n"
              "***   Cleaning up...   ***\n"
              "**************************\n"
              "Deleting EDICT 1 / 2...OKAY\n"
              "Deleting EDICT 2 / 2...OKAY\n"
              "*********************\n"
              "***   All done!   ***\n"
              "*********************\n");
    EXPECT_EQ(platform_.LastStatus(0), u"Mirudex is ready to go.");
}

}  // namespace
}  // namespace mirudex::ui
