// The radical lookup window driven through its widget: picking radicals, the
// context menu, hovering, the font size keys and the search it runs.
#include <QAccessible>
#include <QImage>
#include <filesystem>

#include "core/Format.h"
#include "dict/DictionaryStore.h"
#include "platform/api/Utf.h"
#include "search/AppState.h"
#include "ui/kanji/RadicalWindow.h"
#include "ui/kanji/kanji_fixture.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;

namespace {

dict::RadicalRecord Radical(char16_t r, int strokes, std::u16string kanji, std::u16string remainder)
{
    dict::RadicalRecord rec;
    rec.radical = r;
    rec.strokes = static_cast<uint8_t>(strokes);
    rec.kanji = std::move(kanji);
    rec.kanjiSize = static_cast<int32_t>(rec.kanji.size() + 1);
    rec.remainder = std::move(remainder);
    return rec;
}

class RadicalWindowTest : public test::KanjiFixture {
protected:
    void SetUp() override
    {
        KanjiFixture::SetUp();
        for (int i = 0; i < 40; ++i)
            radicals_.records.push_back(Radical(static_cast<char16_t>(0x4E00 + i), 1 + i % 9, u"一二", u"js01"));
    }
    void TearDown() override
    {
        radicalWindow_.reset();
        KanjiFixture::TearDown();
    }

    RadicalWindow& Make(int width = 300, int height = 200)
    {
        RadicalWindowContext ctx{options_, resources_, radicals_, [this] { return threadSearching_; },
                                 [this] { return searchLock_; }};
        radicalWindow_ = std::make_unique<RadicalWindow>(ctx, nullptr);
        radicalWindow_->radicalSearch = [this] { ++searchCount_; };
        radicalWindow_->runMenu = [this](QMenu& menu, const QPoint&) -> QAction* {
            menuTexts_.clear();
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                menuTexts_ << (a->isSeparator() ? QStringLiteral("|") : a->text());
                if (!a->isSeparator() && a->data().toInt() == menuChoice_)
                    chosen = a;
            }
            return chosen;
        };
        radicalWindow_->resize(width, height);
        radicalWindow_->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(radicalWindow_.get()));
        return *radicalWindow_;
    }

    QPoint CellCentre(int j) const
    {
        const auto& g = radicalWindow_->grid();
        return QPoint(g.CellX(j) + g.cell / 2, g.CellY(j) + g.cell / 2);
    }
    std::vector<int> Selected() const
    {
        std::vector<int> out;
        for (int j = 0; j < radicals_.count(); ++j)
            if (radicals_.records[j].selected)
                out.push_back(j);
        return out;
    }
    void Click(int j, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::mouseClick(radicalWindow_.get(), Qt::LeftButton, mods, CellCentre(j));
    }

    std::unique_ptr<RadicalWindow> radicalWindow_;
    int searchCount_ = 0;
    QStringList menuTexts_;
};

TEST_F(RadicalWindowTest, CtrlClickTrueReplacesTheSelectionUnlessCtrlIsHeld)
{
    options_.SetBOOL(".\\RadicalLookup\\CtrlClick", true);
    Make();
    Click(3);
    Click(5);
    EXPECT_EQ(Selected(), (std::vector<int>{5}));
    Click(5);
    EXPECT_EQ(Selected(), (std::vector<int>{5})) << "a plain click on the only selected radical keeps it";
    EXPECT_EQ(searchCount_, 3) << "and searches again";
    Click(7, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{5, 7}));
    Click(5, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{7})) << "Ctrl+click deselects";
    EXPECT_EQ(searchCount_, 5);
}

TEST_F(RadicalWindowTest, CtrlClickFalseTogglesAndTheMenuClears)
{
    auto& w = Make();
    Click(2);
    Click(2);
    EXPECT_TRUE(Selected().empty()) << "two clicks leave nothing selected";
    EXPECT_EQ(searchCount_, 2);

    Click(1);
    Click(4);
    menuChoice_ = RadicalWindow::kMenuClear;
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, CellCentre(4));
    EXPECT_EQ(menuTexts_, (QStringList{"-Search for kanji-", "|", "Toggle his radical", "|", "(Clear radicals)"}));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(searchCount_, 5);

    menuChoice_ = RadicalWindow::kMenuToggle;
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, CellCentre(6));
    EXPECT_EQ(Selected(), (std::vector<int>{6})) << "toggle acts like a left click there";
    menuChoice_ = RadicalWindow::kMenuSearch;
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, CellCentre(6));
    EXPECT_EQ(searchCount_, 7);

    // Busy: clicks and the menu are ignored.
    searchLock_ = true;
    Click(8);
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, CellCentre(8));
    EXPECT_EQ(Selected(), (std::vector<int>{6}));
    EXPECT_EQ(searchCount_, 7);
}

// A screen reader reads every radical as a check box, checked when picked,
// unavailable while a worker runs, and toggles it as a click does.
TEST_F(RadicalWindowTest, AScreenReaderReadsTheRadicalsAsCheckBoxes)
{
    test::AccessibleEvents events;
    options_.SetBOOL(".\\RadicalLookup\\CtrlClick", true);
    auto& w = Make();
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(&w);
    ASSERT_TRUE(pane);
    ASSERT_GE(pane->childCount(), 40);
    QAccessibleInterface* third = pane->child(2);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->role(), QAccessible::CheckBox);
    EXPECT_EQ(third->text(QAccessible::Name), QString(QChar(0x4E02)));
    EXPECT_EQ(third->text(QAccessible::Description), "Strokes: 3");
    EXPECT_TRUE(third->state().checkable);
    EXPECT_FALSE(third->state().checked);
    EXPECT_EQ(pane->indexOfChild(third), 2);
    EXPECT_EQ(third->parent(), pane);

    Click(2);
    EXPECT_TRUE(third->state().checked);
    EXPECT_FALSE(events.Of(QAccessible::StateChanged, nullptr).empty()) << "a cell has no object of its own";
    // The screen reader's toggle is a plain click: with CtrlClick it keeps one radical.
    QAccessibleInterface* sixth = pane->child(5);
    ASSERT_TRUE(sixth && sixth->actionInterface());
    sixth->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(Selected(), (std::vector<int>{5}));
    EXPECT_FALSE(third->state().checked);
    EXPECT_TRUE(sixth->state().checked);
    EXPECT_EQ(searchCount_, 2);
    // A radical drawn on the grid has its cell on the screen.
    EXPECT_EQ(sixth->rect(),
              QRect(w.mapToGlobal(QPoint(w.grid().CellX(5), w.grid().CellY(5))), QSize(w.grid().cell, w.grid().cell)));

    threadSearching_ = true;
    EXPECT_TRUE(sixth->state().disabled);
    sixth->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(Selected(), (std::vector<int>{5})) << "nothing changes while a worker runs";
    threadSearching_ = false;
    EXPECT_FALSE(sixth->state().disabled);
    // After the radicals come the pane's own controls: its scroll bar.
    QAccessibleInterface* scroll = pane->child(40);
    ASSERT_TRUE(scroll && scroll->object());
    EXPECT_EQ(scroll->role(), QAccessible::ScrollBar);
    EXPECT_EQ(pane->indexOfChild(scroll), 40);
}

TEST_F(RadicalWindowTest, HoverStatusTextAndTheStripRightOfTheLastColumn)
{
    auto& w = Make(300, 200);
    const auto& g = w.grid();
    ASSERT_GT(g.columns, 1);
    ASSERT_GT(w.ClientWidth() - g.columns * g.cell, 0) << "the window needs a strip right of the last column";
    QTest::mouseMove(&w, CellCentre(1));
    EXPECT_EQ(w.hovered(), 1);
    EXPECT_EQ(platform_.LastStatus(0), u"(Radical Info) :: 丁 :: Strokes: 2 :: js01");
    QTest::mouseMove(&w, QPoint(g.columns * g.cell + 1, g.cell / 2));
    EXPECT_EQ(w.hovered(), g.columns) << "the first radical of the next row";

    // The hovered cell is outlined in the complement of BG1; a selected cell is complemented.
    Click(0);
    QTest::mouseMove(&w, CellCentre(1));
    const QImage img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(g.CellX(1), g.CellY(1) + 5), Complement(resources_.kanji.bg1));
    EXPECT_EQ(img.pixelColor(g.CellX(0) + 1, g.CellY(0) + 1), Complement(resources_.kanji.bg1));
    EXPECT_EQ(img.pixelColor(g.CellX(2) + 1, g.CellY(2) + 1), resources_.kanji.bg1);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    EXPECT_EQ(w.hovered(), -1);
}

TEST_F(RadicalWindowTest, FontSizeKeysWheelAndScrolling)
{
    auto& w = Make(200, 30);
    w.setFocus();
    EXPECT_EQ(w.fontSize(), 16);
    const int cell = w.grid().cell;
    QTest::keyClick(&w, Qt::Key_Plus);
    EXPECT_EQ(w.fontSize(), 17);
    EXPECT_GE(w.grid().cell, cell);
    for (int i = 0; i < 20; ++i)
        QTest::keyClick(&w, Qt::Key_Minus);
    EXPECT_EQ(w.fontSize(), 6) << "never below 6";

    QWheelEvent up(QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &up);
    EXPECT_EQ(w.fontSize(), 7);

    QTest::keyClick(&w, Qt::Key_Down);
    EXPECT_EQ(w.grid().firstRow, 1);
    QWheelEvent down(QPointF(5, 5), w.mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &down);
    EXPECT_EQ(w.grid().firstRow, 2);
    QTest::keyClick(&w, Qt::Key_Home);
    EXPECT_EQ(w.grid().firstRow, 0);
    QTest::keyClick(&w, Qt::Key_End);
    EXPECT_EQ(w.grid().firstRow, w.grid().ScrollMaximum());
    EXPECT_EQ(w.grid().LastIndex(), radicals_.count() - 1) << "the bottom shows the last radical";
}

TEST_F(RadicalWindowTest, NarrowerThanOneCellIgnoresTheMouse)
{
    auto& w = Make(300, 200);
    w.resize(w.width() - w.ClientWidth() + w.grid().cell - 1, 200);
    EXPECT_EQ(w.grid().columns, 0);
    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(2, 2));
    QTest::mouseMove(&w, QPoint(3, 3));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(w.hovered(), -1);
    EXPECT_EQ(searchCount_, 0);
    const QImage img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(2, 2), resources_.kanji.bg1);
}

// On Debian's files: two radicals picked in the window give the kanji that
// contain both, in the kanji window's order.
TEST_F(RadicalWindowTest, RealDataTwoRadicalsFillTheKanjiWindow)
{
    namespace fs = std::filesystem;
    const fs::path real = test::RealDataDir();
    if (real.empty())
        GTEST_SKIP() << "no real data (run scripts/setup-data.sh build-data)";
    fs::create_directories("DICT");
    fs::create_symlink(fs::canonical(real / "DICT" / "kanjidic"), "DICT/kanjidic");
    dict::DictionaryStore store;
    ASSERT_EQ(dict::KANJIDIC_Index_Load(store.kanji_index, options_), dict::LoadOutcome::Done);
    ASSERT_EQ(dict::LoadRadicalInfo(store.radical_table, Widen((real / "radkfile.dat").string()), options_), 0);
    search::AppState state(options_, store);

    KanjiWindow kanji(KanjiContextFromState(state, resources_), nullptr);
    kanji.resize(400, 300);
    kanji.HeaderItemClicked(KanjiWindow::kId1, 3);  // secondary: strokes
    kanji.HeaderItemClicked(KanjiWindow::kId1, 1);  // primary: On
    RadicalWindow window(RadicalContextFromState(state, resources_), nullptr);
    ConnectRadicalSearch(window, state, kanji);
    window.resize(700, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto indexOf = [&](char16_t r) {
        for (int j = 0; j < store.radical_table.count(); ++j)
            if (store.radical_table.records[j].radical == r)
                return j;
        return -1;
    };
    const int mouth = indexOf(u'口');
    const int tree = indexOf(u'木');
    ASSERT_GE(mouth, 0);
    ASSERT_GE(tree, 0);
    const auto& g = window.grid();
    ASSERT_LE(store.radical_table.count() - 1, g.LastIndex()) << "every radical visible";
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier,
                      QPoint(g.CellX(mouth) + g.cell / 2, g.CellY(mouth) + g.cell / 2));
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier,
                      QPoint(g.CellX(tree) + g.cell / 2, g.CellY(tree) + g.cell / 2));

    const auto& results = state.kanji_results;
    ASSERT_GT(results.size(), 5u);
    EXPECT_EQ(platform_.LastStatus(0), Format(u"Radical Search complete (%i results)", int(results.size())));
    const auto& a = store.radical_table.records[mouth].kanji;
    const auto& b = store.radical_table.records[tree].kanji;
    for (const auto& k : results) {
        EXPECT_NE(a.find(static_cast<char16_t>(k.code)), std::u16string::npos);
        EXPECT_NE(b.find(static_cast<char16_t>(k.code)), std::u16string::npos);
    }
    const bool hasKun = std::any_of(results.begin(), results.end(), [](const dict::KanjiRecord& k) {
        return k.code == u'困' || k.code == u'呆' || k.code == u'杏';
    });
    EXPECT_TRUE(hasKun);
    for (size_t i = 1; i < results.size(); ++i) {
        const auto& p = results[i - 1];
        const auto& q = results[i];
        if (!p.onReadings.empty() && !q.onReadings.empty()) {
            EXPECT_LE(p.onReadings[0], q.onReadings[0]) << i;
            if (p.onReadings[0] == q.onReadings[0]) {
                EXPECT_LE(p.strokes, q.strokes) << i;
            }
        }
    }
    EXPECT_EQ(kanji.selected(), -1);
    EXPECT_EQ(kanji.firstVisible(), 0);

    // Two radicals with nothing in common: 0 results.
    int fire = -1, water = -1;  // the first pair of radicals without a common kanji
    const auto& recs = store.radical_table.records;
    for (int i = 0; i < store.radical_table.count() && fire < 0; ++i)
        for (int j = i + 1; j < store.radical_table.count() && fire < 0; ++j)
            if (std::none_of(recs[i].kanji.begin(), recs[i].kanji.end(),
                             [&](char16_t c) { return recs[j].kanji.find(c) != std::u16string::npos; }))
                fire = i, water = j;
    ASSERT_GE(fire, 0);
    for (auto& r : store.radical_table.records)
        r.selected = 0;
    store.radical_table.records[fire].selected = 1;
    window.OnMenuCommand(RadicalWindow::kMenuToggle, QPoint(g.CellX(water) + g.cell / 2, g.CellY(water) + g.cell / 2),
                         false);
    EXPECT_EQ(platform_.LastStatus(0), u"Radical Search complete (0 results)");
    EXPECT_TRUE(results.empty());
}

}  // namespace
