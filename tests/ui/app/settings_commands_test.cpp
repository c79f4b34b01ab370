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
#include "ui/app/WholeProgram.h"
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
        whole = std::make_unique<WholeProgram>(registry_);
        whole->program.Start();
        main = whole->program.mainWindow();
        ConnectSettingsCommands(*main, whole->state, whole->program.resources(), whole->panes);
    }
    void TearDown() override
    {
        whole.reset();
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

    std::unique_ptr<WholeProgram> whole;
    MainWindow* main = nullptr;
};

TEST_F(SettingsCommandsTest, SettingsAreRefusedWhileAWorkerRuns)
{
    for (bool lock : {false, true}) {
        whole->state.thread_searching = !lock;
        whole->state.SEARCH_LOCK = lock;
        platform_.Clear();
        EXPECT_FALSE(RunDialog<SettingsDialog>(ID_SETTINGS, [](SettingsDialog& d) { d.reject(); }));
        ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
        EXPECT_EQ(platform_.MessageBoxes()[0].caption, u"Note");
    }
    whole->state.thread_searching = false;
    whole->state.SEARCH_LOCK = false;
}

TEST_F(SettingsCommandsTest, FontsAndColoursReachTheRealWindows)
{
    ResultWindow* results = whole->panes.resultWindow(0);
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
    SearchEdit* edit = whole->panes.searchWindow()->edit();
    EXPECT_EQ(edit->font().families().value(0), "IPAGothic");
    EXPECT_EQ(edit->palette().color(QPalette::Base), QColor(0, 255, 0));
}

TEST_F(SettingsCommandsTest, AddDictionaryOpensAndIsRefusedDuringASearch)
{
    EXPECT_TRUE(RunDialog<AddDictionaryDialog>(ID_ADD_DICT, [](AddDictionaryDialog& d) {
        EXPECT_EQ(d.findChild<QLineEdit*>("1004")->text(), "EUC-JP");
        QTest::mouseClick(d.findChild<QPushButton*>("2"), Qt::LeftButton);
    }));
    whole->state.SEARCH_LOCK = true;
    EXPECT_FALSE(RunDialog<AddDictionaryDialog>(ID_ADD_DICT, [](AddDictionaryDialog& d) { d.reject(); }));
    whole->state.SEARCH_LOCK = false;
}

}  // namespace
}  // namespace mirudex::ui
