// The settings and Add Dictionary commands of the real program: refused
// while a worker runs, and the settings dialog changing the real result
// windows and search box.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/SettingsCommands.h"
#include "ui/common/CommandIds.h"
#include "ui/main/MainWindow.h"
#include "ui/search/SearchEdit.h"
#include "ui/settings/AddDictionaryDialog.h"
#include "ui/settings/SettingsDialog.h"
#include "ui/settings/SettingsHost.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

class SettingsCommandsTest : public test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        registry_.SetBOOL(".\\Misc\\FirstTime", false);
        state = std::make_unique<search::AppState>(registry_, store, &rules);
        services = std::make_unique<AppStateServices>(*state);
        program = std::make_unique<Program>(registry_, services.get());
        panes = std::make_unique<AppPaneFactory>(*state, program->resources(), *services);
        program->SetPaneFactory(panes.get());
        panes->WireProgram(*program, rules);
        program->Start();
        main = program->mainWindow();
        ConnectSettingsCommands(*main, *state, program->resources(), *panes);
    }
    void TearDown() override
    {
        program.reset();
        panes.reset();
        services.reset();
        state.reset();
        UiTest::TearDown();
    }

    // Runs command id; act is called with the modal dialog once it is up and
    // must close it. False when no dialog came up.
    template <typename Dialog>
    bool RunDialog(int id, const std::function<void(Dialog&)>& act)
    {
        bool seen = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || seen)
                return;
            seen = true;
            poll.stop();
            act(*dialog);
        });
        poll.start();
        main->OnCommand(id);
        return seen;
    }

    dict::DictionaryStore store;
    text::FuzzyRules rules;
    std::unique_ptr<search::AppState> state;
    std::unique_ptr<AppStateServices> services;
    std::unique_ptr<Program> program;
    std::unique_ptr<AppPaneFactory> panes;
    MainWindow* main = nullptr;
};

TEST_F(SettingsCommandsTest, SettingsAreRefusedWhileAWorkerRuns)
{
    for (bool lock : {false, true}) {
        state->thread_searching = !lock;
        state->SEARCH_LOCK = lock;
        platform_.Clear();
        EXPECT_FALSE(RunDialog<SettingsDialog>(ID_SETTINGS, [](SettingsDialog& d) { d.reject(); }));
        ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
        EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Note");
    }
    state->thread_searching = false;
    state->SEARCH_LOCK = false;
}

TEST_F(SettingsCommandsTest, FontsAndColoursReachTheRealWindows)
{
    ResultWindow* results = panes->resultWindow(0);
    const int entryBefore = results->entryHeight();
    platform_.ScriptFonts({platform::FontChoice{"IPAMincho", 40}, platform::FontChoice{"IPAGothic", 19}});
    platform_.ScriptColors({0x00FF00});
    const bool seen = RunDialog<SettingsDialog>(ID_SETTINGS, [](SettingsDialog& d) {
        d.SelectPage(6);
        QTest::mouseClick(d.page(6)->findChild<QPushButton*>("1001"), Qt::LeftButton);  // word font
        d.SelectPage(3);
        QTest::mouseClick(d.page(3)->findChild<QPushButton*>("1039"), Qt::LeftButton);  // search font
        QTest::mouseClick(d.page(3)->findChild<QPushButton*>("1041"), Qt::LeftButton);  // search background
        QTest::mouseClick(d.findChild<QPushButton*>("1"), Qt::LeftButton);
    });
    ASSERT_TRUE(seen);
    EXPECT_GT(results->entryHeight(), entryBefore);
    SearchEdit* edit = panes->searchWindow()->edit();
    EXPECT_EQ(edit->font().families().value(0), "IPAGothic");
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(SettingsCommandsTest, AddDictionaryOpensAndIsRefusedDuringASearch)
{
    EXPECT_TRUE(RunDialog<AddDictionaryDialog>(ID_ADD_DICT, [](AddDictionaryDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("1004")->text(), "EUC-JP");
        QTest::mouseClick(d.findChild<QPushButton*>("2"), Qt::LeftButton);
    }));
    state->SEARCH_LOCK = true;
    EXPECT_FALSE(RunDialog<AddDictionaryDialog>(ID_ADD_DICT, [](AddDictionaryDialog& d) { d.reject(); }));
    state->SEARCH_LOCK = false;
}

}  // namespace
}  // namespace mirudex::ui
