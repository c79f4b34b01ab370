// A learner's first searches with the whole program on Debian's dictionaries
// and the default options: romaji typed with the input method and finished by
// Enter, romaji with conversion on, a kanji-information search's count, a
// copied text replacing the search text, and the panes after the window was
// made tiny and large again; the names dictionary switched on in the
// Dictionaries pop-up; dragged dividers after a restart.
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "dict/DictionaryStore.h"
#include "search/AppState.h"
#include "text/FuzzySearch.h"
#include "ui/app/AppWiring.h"
#include "ui/app/WholeProgram.h"
#include "ui/common/CommandIds.h"
#include "ui/kanji/KanjiWindow.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/main/DictionariesPopup.h"
#include "ui/main/MainWindow.h"
#include "ui/results/ResultWindow.h"
#include "ui/search/SearchBands.h"
#include "ui/search/SearchCommands.h"
#include "ui/search/SearchEdit.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

namespace fs = std::filesystem;

class FirstHourTest : public test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        real_ = test::RealDataDir();
        if (real_.empty())
            GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
        registry_.SetBOOL(opt::misc::kFirstTime, false);
        registry_.SetSTRING(opt::dictionaries::edict::Path(0), (real_ / "DICT" / "edict").string());
        registry_.SetSTRING(opt::dictionaries::kanjidic::kPath, (real_ / "DICT" / "kanjidic").string());
        registry_.SetSTRING(opt::dictionaries::radkfile::kPath, (real_ / "radkfile.dat").string());
    }

    void Start()
    {
        whole_ = std::make_unique<WholeProgram>(registry_);
        whole_->program.Start();
        ASSERT_NE(whole_->program.mainWindow(), nullptr);
        edit_ = whole_->panes.searchWindow()->edit();
    }

    void TearDown() override
    {
        if (whole_ && whole_->program.mainWindow())
            whole_->Exit();
        whole_.reset();
        UiTest::TearDown();
    }

    // Types keys into the search box as a hand would, then Enter.
    void TypeAndSearch(const char* keys)
    {
        edit_->selectAll();
        QTest::keyClick(edit_, Qt::Key_Delete);
        for (const char* k = keys; *k; ++k)
            QTest::keyClick(edit_, *k);
        QTest::keyClick(edit_, Qt::Key_Return);
    }

    bool Found(std::u16string_view word) const
    {
        for (const dict::Entry& e : whole_->state.edict_results[0])
            if (e.word == word)
                return true;
        return false;
    }

    fs::path real_;
    std::unique_ptr<WholeProgram> whole_;
    SearchEdit* edit_ = nullptr;
};

// The names dictionary is the second one, off: 山田 finds no Yamada until it
// is switched on with a right-click in the Dictionaries pop-up.
TEST_F(FirstHourTest, TheNamesDictionarySwitchedOnFindsNames)
{
    if (!fs::exists(real_ / "DICT" / "enamdict"))
        GTEST_SKIP() << "no names dictionary (scripts/setup-data.sh links Debian's enamdict)";
    registry_.SetSTRING(opt::dictionaries::edict::Path(1), (real_ / "DICT" / "enamdict").string());
    ASSERT_FALSE(registry_.GetBOOL(opt::dictionaries::edict::On(1)));
    Start();
    auto searchYamada = [&] {
        edit_->setPlainText(QStringLiteral("山田"));
        QTest::keyClick(edit_, Qt::Key_Return);
        int names = 0;
        for (const dict::Entry& e : whole_->state.edict_results[0])
            for (const std::u16string& meaning : e.meanings)
                names += meaning.find(u"Yamada") != std::u16string::npos;
        return names;
    };
    EXPECT_EQ(searchYamada(), 0);

    MainWindow* main = whole_->program.mainWindow();
    main->OnCommand(ID_DICTIONARIES);
    DictionariesPopup* popup = main->dictionariesPopup();
    QMenu* menu = popup->menu();
    ASSERT_NE(menu, nullptr);
    MIRUDEX_WAIT_FOR(menu->isVisible());
    QAction* names = popup->item(kPopupFirstDictionary + 1);
    ASSERT_NE(names, nullptr);
    EXPECT_FALSE(names->isChecked());
    const QPoint at = menu->actionGeometry(names).center();
    QTest::mousePress(menu, Qt::RightButton, {}, at);
    QTest::mouseRelease(menu, Qt::RightButton, {}, at);
    EXPECT_TRUE(registry_.GetBOOL(opt::dictionaries::edict::On(1)));
    menu->close();

    EXPECT_GT(searchYamada(), 0);
}

TEST_F(FirstHourTest, RomajiWithTheDefaultSettingsFindsItsWords)
{
    Start();
    ASSERT_TRUE(edit_->ImeOn()) << "the default options have the input method on";
    ASSERT_FALSE(whole_->panes.searchWindow()->RomajiConversion());
    struct Case {
        const char* typed;
        const char16_t* shown;
        const char16_t* word;
    };
    const Case cases[] = {
        {"hon", u"ほん", u"本"},     {"nihon", u"にほん", u"日本"},     {"gohan", u"ごはん", u"御飯"},
        {"kaban", u"かばん", u"鞄"}, {"shimbun", u"しんぶん", u"新聞"},
    };
    for (const Case& c : cases) {
        TypeAndSearch(c.typed);
        EXPECT_EQ(edit_->toPlainText().toStdU16String(), c.shown) << c.typed;
        EXPECT_TRUE(Found(c.word)) << c.typed;
    }
    // English typed with the input method on: the status bar says how to type it.
    TypeAndSearch("dog");
    EXPECT_TRUE(whole_->state.edict_results[0].empty());
    EXPECT_NE(platform_.LastStatus(0).find(u"CAPS LOCK"), std::u16string::npos);
}

TEST_F(FirstHourTest, RomajiWithConversionOnIsSearchedAsJapaneseWhenEnglishHasNothing)
{
    registry_.SetBOOL(opt::misc::kIME, false);
    registry_.SetBOOL(opt::search::toolbars::kRomajiConversion, true);
    Start();
    ASSERT_TRUE(whole_->panes.searchWindow()->RomajiConversion());
    TypeAndSearch("sakana");
    EXPECT_TRUE(Found(u"魚"));
    EXPECT_EQ(edit_->toPlainText(), QString::fromUtf16(u"さかな")) << "the box shows what was searched";
    EXPECT_NE(platform_.LastStatus(0).find(u"searched as Japanese"), std::u16string::npos);
    for (const char* hepburn : {"chekku", "matcha"}) {
        TypeAndSearch(hepburn);
        EXPECT_FALSE(whole_->state.edict_results[0].empty()) << hepburn;
    }
    // An English word that English finds stays an English search.
    TypeAndSearch("fish");
    EXPECT_TRUE(Found(u"魚")) << "the most relevant are kept under the maximum";
    EXPECT_EQ(edit_->toPlainText(), QString::fromUtf16(u"fish"));
    EXPECT_EQ(platform_.LastStatus(0).find(u"searched as Japanese"), std::u16string::npos);
}

TEST_F(FirstHourTest, KanjiInformationSearchReportsItsCount)
{
    registry_.SetBOOL(opt::misc::kIME, false);
    Start();
    TypeAndSearch("KN:fish");
    const size_t kanji = whole_->state.kanji_results.size();
    ASSERT_GT(kanji, 0u);
    EXPECT_EQ(whole_->panes.kanjiWindow()->EntryCount(), static_cast<int>(kanji));
    EXPECT_EQ(platform_.LastStatus(0), u"Search complete (" + QString::number(kanji).toStdU16String() + u" results) ");
}

TEST_F(FirstHourTest, ACopiedTextReplacesTheSearchText)
{
    registry_.SetBOOL(opt::misc::kIME, false);
    registry_.SetBOOL(opt::misc::kGrabClipboard, true);
    Start();
    MainWindow* w = whole_->program.mainWindow();
    w->OnClipboardChanged();  // the first notice is never acted on
    edit_->setPlainText(QString::fromUtf16(u"食べました"));
    QTextCursor cursor = edit_->textCursor();
    cursor.movePosition(QTextCursor::End);
    edit_->setTextCursor(cursor);  // the caret after the text, nothing selected
    platform_.SetClipboardText(u"こうとう");
    w->OnClipboardChanged();
    EXPECT_EQ(edit_->toPlainText(), QString::fromUtf16(u"こうとう"));
}

TEST_F(FirstHourTest, PanesKeepTheirHeightsAfterTheWindowWasTiny)
{
    registry_.SetBOOL(opt::radical_lookup::kOn, true);
    registry_.SetBOOL(opt::study_list::kOn, true);
    Start();
    MainWindow* w = whole_->program.mainWindow();
    ASSERT_TRUE(w->radicalPaneShown());
    ASSERT_TRUE(w->studyListPaneShown());
    w->resize(900, 640);
    const int kanjiBefore = whole_->panes.kanjiWindow()->height();
    const int resultBefore = whole_->panes.resultWindow(0)->height();
    w->resize(250, 200);
    QCoreApplication::processEvents();
    w->resize(1000, 700);
    QCoreApplication::processEvents();
    EXPECT_GE(whole_->panes.kanjiWindow()->height(), kanjiBefore);
    EXPECT_GE(whole_->panes.resultWindow(0)->height(), resultBefore);
    EXPECT_GT(whole_->panes.radicalWindow()->height(), 0);
    EXPECT_GT(whole_->panes.resultWindow(1)->height(), 0);

    // Grown, the window gives all its extra height to the result and kanji
    // windows: the study list and the radical pane keep theirs.
    const int studyBefore = whole_->panes.resultWindow(1)->height();
    const int radicalBefore = whole_->panes.radicalWindow()->height();
    const int resultAt700 = whole_->panes.resultWindow(0)->height();
    const int kanjiAt700 = whole_->panes.kanjiWindow()->height();
    w->resize(1000, 1000);
    QCoreApplication::processEvents();
    EXPECT_EQ(whole_->panes.resultWindow(0)->height(), resultAt700 + 300);
    EXPECT_EQ(whole_->panes.kanjiWindow()->height(), kanjiAt700 + 300);
    EXPECT_EQ(whole_->panes.resultWindow(1)->height(), studyBefore);
    EXPECT_EQ(whole_->panes.radicalWindow()->height(), radicalBefore);
}

// Every divider dragged, the program closed and started again: each comes
// back where it was left, the study list's and the radical pane's too.
TEST_F(FirstHourTest, DraggedDividersComeBackAfterARestart)
{
    registry_.SetBOOL(opt::window::kRememberSize, true);
    registry_.SetBOOL(opt::radical_lookup::kOn, true);
    registry_.SetBOOL(opt::study_list::kOn, true);
    Start();
    MainWindow* w = whole_->program.mainWindow();
    ClientArea* c = w->clientArea();
    ASSERT_TRUE(w->studyListPaneShown());
    ASSERT_TRUE(w->radicalPaneShown());
    // Each divider dragged by the mouse: up or left by 30 pixels.
    auto drag = [c](PaneNode* node, QPoint by) {
        const PaneRect bar = node->DividerRect();
        const QPoint from(bar.x + bar.width / 2, bar.y + bar.height / 2);
        QTest::mousePress(c, Qt::LeftButton, {}, from);
        QTest::mouseMove(c, from + by);
        QTest::mouseRelease(c, Qt::LeftButton, {}, from + by);
    };
    const int top = c->TopDivider();
    const int columns = c->BottomDivider();
    const int study = c->LowerPaneHeight(PaneId::StudyList);
    const int radical = c->LowerPaneHeight(PaneId::Radical);
    drag(c->resultColumn(), QPoint(0, -30));
    drag(c->kanjiColumn(), QPoint(0, -30));
    drag(&c->root(), QPoint(0, -30));
    drag(c->root().child(1), QPoint(-30, 0));
    EXPECT_EQ(c->LowerPaneHeight(PaneId::StudyList), study + 30);
    EXPECT_EQ(c->LowerPaneHeight(PaneId::Radical), radical + 30);
    const QSize size = w->size();
    const QSize result = whole_->panes.resultWindow(0)->size();
    const QSize studyList = whole_->panes.resultWindow(1)->size();
    const QSize kanji = whole_->panes.kanjiWindow()->size();
    const QSize radicals = whole_->panes.radicalWindow()->size();
    EXPECT_EQ(whole_->Exit(), 0);
    whole_.reset();

    Registry saved;
    ASSERT_TRUE(saved.Load("Options.mxreg"));
    EXPECT_EQ(saved.GetINT(opt::window::kDivVert), top - 30);
    EXPECT_EQ(saved.GetINT(opt::window::kDivVertBottomHoriz), columns - 30);
    EXPECT_EQ(saved.GetINT(opt::window::kStudyListH), study + 30);
    EXPECT_EQ(saved.GetINT(opt::window::kRadicalLookupH), radical + 30);

    WholeProgram again(saved);
    again.program.Start();
    MainWindow* w2 = again.program.mainWindow();
    ASSERT_NE(w2, nullptr);
    EXPECT_EQ(w2->size(), size);
    EXPECT_EQ(w2->clientArea()->TopDivider(), top - 30);
    EXPECT_EQ(w2->clientArea()->BottomDivider(), columns - 30);
    EXPECT_EQ(again.panes.resultWindow(0)->size(), result);
    EXPECT_EQ(again.panes.resultWindow(1)->size(), studyList);
    EXPECT_EQ(again.panes.kanjiWindow()->size(), kanji);
    EXPECT_EQ(again.panes.radicalWindow()->size(), radicals);

    // Hidden at the exit, a pane keeps the height it had when it was last shown.
    w2->OnCommand(ID_WINDOW_STUDYLIST);
    ASSERT_FALSE(w2->studyListPaneShown());
    EXPECT_EQ(again.Exit(), 0);
    Registry last;
    ASSERT_TRUE(last.Load("Options.mxreg"));
    EXPECT_EQ(last.GetINT(opt::window::kStudyListH), study + 30);
    EXPECT_FALSE(last.GetBOOL(opt::study_list::kOn));
}

}  // namespace
}  // namespace mirudex::ui
