// The kanji window driven through its widgets: header bars, sorting, keys,
// mouse, context menu, painting rules and the hover card.
#include <QAccessible>
#include <QCursor>
#include <QImage>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>

#include "ui/kanji/KanjiHoverCard.h"
#include "ui/kanji/kanji_fixture.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;
using mirudex::test::Kanji;

namespace {

class KanjiWindowTest : public test::KanjiFixture {
protected:
    void FillList(int n)
    {
        list_.clear();
        for (int i = 0; i < n; ++i)
            list_.push_back(Kanji(static_cast<char16_t>(0x4E00 + i), u"イチ", u"ひと", u"one", 1 + i % 7, i + 1));
    }
    void Key(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(key), mods);
    }
};

TEST_F(KanjiWindowTest, HeaderBarsFollowThePercentagesAndSaveThem)
{
    auto& w = MakeWindow(600, 300);
    KanjiHeaderBar* h1 = w.findChild<KanjiHeaderBar*>("1211");
    KanjiHeaderBar* h2 = w.findChild<KanjiHeaderBar*>("1221");
    ASSERT_TRUE(h1 && h2);
    EXPECT_EQ(h1->Text(3), "#");
    EXPECT_EQ(h2->Text(1), "Meaning");
    w.resize(801 + (w.width() - w.ClientWidth()), 300);
    EXPECT_EQ(w.ClientWidth(), 801);
    EXPECT_EQ(h1->items().widths, (std::vector<int>{160, 272, 272, 97})) << "'#' takes the rest";
    EXPECT_EQ(h2->items().widths, (std::vector<int>{160, 641}));
    EXPECT_EQ(h2->y(), h1->height());
    EXPECT_EQ(w.geometry().listTop, 2 * h1->height());

    // Dragging the Kanji divider of header 2 moves both Kanji dividers.
    const int y = h2->height() / 2;
    QTest::mousePress(h2, Qt::LeftButton, Qt::NoModifier, QPoint(160, y));
    QTest::mouseMove(h2, QPoint(240, y));
    QTest::mouseRelease(h2, Qt::LeftButton, Qt::NoModifier, QPoint(240, y));
    EXPECT_EQ(h2->ItemWidth(0), 232);
    EXPECT_EQ(h1->ItemWidth(0), 232);
    EXPECT_EQ(h1->Percent(1), 24) << "On gave up 72 px: 200 / 801";
    EXPECT_EQ(h1->ItemWidth(1), 801 * 24 / 100) << "the end of tracking lays the items out from percentages";
    EXPECT_EQ(h2->Percent(0), 29);

    // The last item cannot be resized: its edge does not start tracking.
    const int total = h1->items().Total();
    QTest::mousePress(h1, Qt::LeftButton, Qt::NoModifier, QPoint(total - 1, y));
    QTest::mouseMove(h1, QPoint(total - 60, y));
    QTest::mouseRelease(h1, Qt::LeftButton, Qt::NoModifier, QPoint(total - 60, y));
    EXPECT_EQ(h1->items().Total(), 801);
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    w.SaveHeaderPercentages(options_);
    EXPECT_EQ(options_.GetINT(".\\Kanji\\HeaderWindow1\\Header0"), 29);
    EXPECT_EQ(options_.GetINT(".\\Kanji\\HeaderWindow2\\Header0"), 29);
    EXPECT_EQ(options_.GetINT(".\\Kanji\\HeaderWindow2\\Header1"), 71);
    EXPECT_EQ(options_.GetINT(".\\Kanji\\HeaderWindow1\\Header3"), 11);
}

TEST_F(KanjiWindowTest, HeaderClicksSortWithArrows)
{
    list_ = {Kanji(u'日', u"ニチ", u"ひ", u"day", 4), Kanji(u'一', u"イチ", u"ひと", u"one", 1),
             Kanji(u'猫', u"ビョウ", u"ねこ", u"cat", 11)};
    auto& w = MakeWindow();
    KanjiHeaderBar* h1 = w.Header(KanjiWindow::kId1);
    KanjiHeaderBar* h2 = w.Header(KanjiWindow::kId2);
    auto codes = [this] {
        std::u16string s;
        for (const auto& k : list_)
            s += static_cast<char16_t>(k.code);
        return s;
    };
    auto click = [](KanjiHeaderBar* bar, int item) {
        const QPoint at(bar->ItemLeft(item) + bar->ItemWidth(item) / 2, bar->height() / 2);
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, at);
    };

    click(h1, 3);  // "#"
    EXPECT_EQ(codes(), u"一日猫");
    EXPECT_EQ(sort_.primary.header, 1211);
    EXPECT_EQ(h1->Arrow(3).cacheKey(), resources_.bitmap_sort_asc1.cacheKey());
    click(h1, 3);
    EXPECT_TRUE(sort_.primary.descending);
    EXPECT_EQ(codes(), u"猫日一");
    EXPECT_EQ(h1->Arrow(3).cacheKey(), resources_.bitmap_sort_dsc1.cacheKey());

    click(h2, 1);                   // "Meaning": "#" descending becomes the secondary
    EXPECT_EQ(codes(), u"猫日一");  // cat, day, one
    EXPECT_EQ(h2->Arrow(1).cacheKey(), resources_.bitmap_sort_asc1.cacheKey());
    EXPECT_EQ(h1->Arrow(3).cacheKey(), resources_.bitmap_sort_dsc2.cacheKey());

    click(h1, 0);  // "Kanji": "#" loses its arrow
    EXPECT_FALSE(h1->HasArrow(3));
    EXPECT_EQ(h2->Arrow(1).cacheKey(), resources_.bitmap_sort_asc2.cacheKey());
    EXPECT_EQ(codes(), u"一日猫");

    const auto before = sort_;
    click(h2, 0);  // header 2's Kanji item does nothing
    EXPECT_EQ(sort_.primary.header, before.primary.header);
    EXPECT_EQ(sort_.primary.item, before.primary.item);
    EXPECT_FALSE(h2->HasArrow(0));
}

TEST_F(KanjiWindowTest, KeysWithAndWithoutSelection)
{
    FillList(30);
    auto& w = MakeWindow(500, 300);
    w.setFocus();
    const int page = w.geometry().Page();
    ASSERT_GT(page, 1);

    Key(Qt::Key_Down);
    EXPECT_EQ(w.selected(), -1);
    EXPECT_EQ(w.firstVisible(), 1) << "without a selection the arrows only scroll";
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(copies_.empty());
    Key(Qt::Key_Return);
    EXPECT_EQ(w.selected(), 1) << "Enter selects the first visible entry";
    EXPECT_TRUE(searches_.empty());
    Key(Qt::Key_Up);
    EXPECT_EQ(w.selected(), 0);
    EXPECT_EQ(w.firstVisible(), 0);
    Key(Qt::Key_End);
    EXPECT_EQ(w.selected(), 29);
    EXPECT_EQ(w.firstVisible(), 30 - page);
    Key(Qt::Key_PageUp);
    EXPECT_EQ(w.selected(), 29 - page);
    Key(Qt::Key_Home);
    EXPECT_EQ(w.selected(), 0);
    EXPECT_EQ(w.firstVisible(), 0);
    Key(Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(copies_.size(), 1u);
    EXPECT_EQ(copies_[0], u"一");
    Key(Qt::Key_Return);
    ASSERT_EQ(searches_.size(), 1u);
    EXPECT_EQ(searches_[0], u"一");

    threadSearching_ = true;  // a worker fills the list: keys wait
    Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(w.selected(), 0);
    EXPECT_EQ(searches_.size(), 1u);
}

TEST_F(KanjiWindowTest, OneEntryPagingAndTheWheel)
{
    FillList(1);
    auto& w = MakeWindow(500, 300);
    w.setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(w.selected(), 0);
    Key(Qt::Key_PageDown);
    EXPECT_EQ(w.selected(), 0) << "page down selects the one entry";

    FillList(30);
    w.SetUpForNewResults();
    EXPECT_EQ(w.selected(), -1);
    QWheelEvent down(QPointF(50, 50), w.mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -360), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &down);
    EXPECT_EQ(w.firstVisible(), 1) << "one line per wheel message, whatever the delta";
}

TEST_F(KanjiWindowTest, MouseSelectsAndTheContextMenuSearchesAndCopies)
{
    list_ = {Kanji(u'一', u"イチ", u"ひと", u"one", 1), Kanji(u'日', u"ニチ", u"ひ", u"day", 4)};
    auto& w = MakeWindow();
    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(30, EntryY(1)));
    EXPECT_EQ(w.selected(), 1);

    struct Case {
        int id;
        std::u16string search;
        std::u16string copy;
    };
    const Case cases[] = {
        {1, u"日", u""},
        {2, u"日\uFF3F", u""},
        {3, u"\uFF3F日", u""},  // words ending with this kanji
        {4, u"\uFF3F日\uFF3F", u""},
        {5, u"", u"日"},
        {6, u"", u"ニチ"},
        {7, u"", u"ひ"},
        {10, u"", u"day"},
        {11, u"",
         u"日\nStrokes: 4\nFrequency: 0 / 2501\nOn: ニチ\nKun: ひ\nNanori: \nRadical Readings: \nMeaning: day"},
    };
    for (const auto& c : cases) {
        searches_.clear();
        copies_.clear();
        menuChoice_ = c.id;
        QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, QPoint(30, EntryY(1)));
        if (!c.search.empty()) {
            ASSERT_EQ(searches_.size(), 1u) << c.id;
            EXPECT_EQ(searches_[0], c.search);
        }
        if (!c.copy.empty()) {
            ASSERT_EQ(copies_.size(), 1u) << c.id;
            EXPECT_EQ(copies_[0], c.copy);
        }
    }

    // Below the last entry: the selection goes, the menu opens, its commands do nothing.
    menuShown_ = false;
    searches_.clear();
    menuChoice_ = 1;
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, QPoint(30, w.height() - 5));
    EXPECT_EQ(w.selected(), -1);
    EXPECT_TRUE(menuShown_);
    EXPECT_TRUE(searches_.empty());

    // While a worker runs the menu does not open.
    threadSearching_ = true;
    menuShown_ = false;
    QTest::mouseClick(&w, Qt::RightButton, Qt::NoModifier, QPoint(30, EntryY(0)));
    EXPECT_FALSE(menuShown_);
}

TEST_F(KanjiWindowTest, PaintingColoursSelectionAndBusyBackground)
{
    list_ = {Kanji(u'一', u"イチ", u"ひと", u"one", 1), Kanji(u'日', u"ニチ", u"ひ", u"day", 0)};
    OpenLog();
    auto& w = MakeWindow(500, 300);
    const KanjiColors& c = resources_.kanji;
    // A point inside the On cell, right of any text.
    const QPoint inEntry0(w.Header(1211)->ItemLeft(2) - 4, EntryY(0) + 2);
    const QPoint inEntry1(inEntry0.x(), EntryY(1) + 2);
    const QPoint below(inEntry0.x(), w.height() - 3);

    QImage img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(inEntry0), c.bg1);
    EXPECT_EQ(img.pixelColor(inEntry1), c.bg2);
    EXPECT_EQ(img.pixelColor(below), c.bg_window);
    EXPECT_NE(Log().find("WARNING: Kanji U65E5 has no stroke count."), std::string::npos);

    QTest::mouseClick(&w, Qt::LeftButton, Qt::NoModifier, QPoint(30, EntryY(1)));
    img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(inEntry1), Complement(c.bg2)) << "a selected entry is drawn in complements";

    threadSearching_ = true;
    img = w.grab().toImage();
    EXPECT_EQ(img.pixelColor(inEntry0), c.bg_window) << "only the background while a worker runs";
}

TEST_F(KanjiWindowTest, HoverCardAfterRestShowsRadicalsAndGoesOnLeave)
{
    dict::RadicalRecord sun;
    sun.radical = u'日';
    sun.kanji = u"日明";
    dict::RadicalRecord one;
    one.radical = u'一';
    one.kanji = u"一日二";
    radicals_.records = {sun, one, sun};
    EXPECT_EQ(RadicalsOfKanji(radicals_, u'日'), u"日一") << "file order, each once";
    EXPECT_EQ(RadicalsOfKanji(radicals_, u'猫'), u"");

    list_ = {Kanji(u'日', u"ニチ", u"ひ", u"day", 4, 1), Kanji(u'猫', u"ビョウ", u"ねこ", u"cat", 0)};
    auto& w = MakeWindow(500, 300);
    QTest::mouseMove(&w, QPoint(40, EntryY(0)));
    MIRUDEX_WAIT_FOR(w.hoverCard() != nullptr);
    KanjiHoverCard* card = w.hoverCard();
    EXPECT_EQ(card->layout().radicals.size(), 2u);
    EXPECT_EQ(card->layout().strokes, "Strokes: 4");
    EXPECT_EQ(card->layout().frequency, "Frequency: 1 / 2501");
    EXPECT_EQ(card->width(), card->layout().Width());
    EXPECT_EQ(card->height(), card->layout().Height());
    EXPECT_FALSE(card->isActiveWindow());

    // Another entry: the card goes; resting there makes the next one.
    QTest::mouseMove(&w, QPoint(40, EntryY(1)));
    EXPECT_EQ(w.hoverCard(), nullptr) << "the card starts right of the pointer's column";
    MIRUDEX_WAIT_FOR(w.hoverCard() != nullptr);
    EXPECT_TRUE(w.hoverCard()->layout().radicals.empty()) << "no radical lists this kanji";
    EXPECT_EQ(w.hoverCard()->layout().strokes, "Strokes: 0");
    EXPECT_EQ(w.hoverCard()->layout().columns[4].texts.size(), 1u);

    // Left for neither the entry nor the card.
    QCursor::setPos(w.mapToGlobal(QPoint(w.width() + 300, w.height() + 300)));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&w, &leave);
    EXPECT_EQ(w.hoverCard(), nullptr);
}

TEST_F(KanjiWindowTest, ACardWithMoreMeaningsThanTheScreenHoldsFitsItAndScrolls)
{
    dict::KanjiRecord many = Kanji(u'長', u"チョウ", u"なが.い", u"long", 8, 12);
    for (int i = 0; i < 80; ++i)
        many.meanings.push_back(u"meaning number " + std::u16string(1, char16_t(u'A' + i % 26)));
    list_ = {Kanji(u'日', u"ニチ", u"ひ", u"day", 4, 1), many};
    auto& w = MakeWindow(500, 300);
    QTest::mouseMove(&w, QPoint(40, EntryY(1)));
    MIRUDEX_WAIT_FOR(w.hoverFrame() != nullptr);
    HoverCardFrame* card = w.hoverFrame();
    const QRect avail = w.screen()->availableGeometry();
    const QRect g = card->geometry();
    EXPECT_TRUE(avail.contains(g)) << g.x() << "," << g.y() << " " << g.width() << "x" << g.height() << " on "
                                   << avail.x() << "," << avail.y() << " " << avail.width() << "x" << avail.height();
    EXPECT_GT(w.hoverCard()->height(), card->height()) << "taller than the screen holds";
    EXPECT_TRUE(card->Scrolls());
    EXPECT_LE(w.hoverCard()->width() + card->ScrollBarWidth(), avail.width());
    const QRect row(w.mapToGlobal(QPoint(0, EntryY(1))), QSize(w.width(), 1));
    EXPECT_FALSE(card->geometry().intersects(row)) << "the card leaves the row free";
}

}  // namespace

// A screen reader reads each kanji as a row: the kanji, its readings joined
// as the cells show them, its strokes and meanings; the selection follows the
// keys and the screen reader's own choice, and a new list is told.
TEST_F(KanjiWindowTest, AScreenReaderReadsTheKanjiWithTheirReadings)
{
    test::AccessibleEvents events;
    list_ = {Kanji(u'猫', u"ビョウ", u"ねこ", u"cat", 11), Kanji(u'犬', u"ケン", u"いぬ", u"dog", 0)};
    list_[0].onReadings.push_back(u"ミョウ");
    list_[0].meanings.push_back(u"kitten");
    auto& w = MakeWindow(500, 300);
    w.SetUpForNewResults();
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(&w);
    ASSERT_TRUE(pane && pane->tableInterface());
    QAccessibleTableInterface* table = pane->tableInterface();
    ASSERT_EQ(table->rowCount(), 2);
    ASSERT_EQ(table->columnCount(), 5);
    auto cell = [&](int row, int column) { return table->cellAt(row, column)->text(QAccessible::Name); };
    EXPECT_EQ(cell(0, 0), "猫");
    EXPECT_EQ(cell(0, 1), "ビョウ | ミョウ");
    EXPECT_EQ(cell(0, 2), "ねこ");
    EXPECT_EQ(cell(0, 3), "11");
    EXPECT_EQ(cell(0, 4), "cat | kitten");
    EXPECT_EQ(cell(1, 3), "") << "no stroke count, nothing said";
    EXPECT_EQ(table->columnDescription(1), "On");
    EXPECT_EQ(table->cellAt(2, 0), nullptr);
    EXPECT_EQ(pane->child(5), table->cellAt(1, 0));

    w.setFocus();
    Key(Qt::Key_Return);
    EXPECT_EQ(table->selectedRows(), (QList<int>{0}));
    Key(Qt::Key_Down);
    EXPECT_EQ(table->selectedRows(), (QList<int>{1}));
    ASSERT_FALSE(events.Of(QAccessible::Selection, &w).empty());
    EXPECT_EQ(events.Of(QAccessible::Selection, &w).back().child, 5);
    EXPECT_TRUE(table->selectRow(0));
    EXPECT_EQ(w.selected(), 0);
    EXPECT_TRUE(table->cellAt(0, 2)->state().selected);

    // While a worker rebuilds the list nothing is read, and nothing selected.
    threadSearching_ = true;
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_FALSE(table->selectRow(1));
    threadSearching_ = false;
    searchLock_ = true;
    table->selectRow(1);
    EXPECT_EQ(w.selected(), 0) << "the search command's lock keeps the selection too";
    searchLock_ = false;

    events.Clear();
    list_.pop_back();
    w.SetUpForNewResults();
    EXPECT_FALSE(events.Of(QAccessible::TableModelChanged, &w).empty());
    EXPECT_EQ(table->rowCount(), 1);
    EXPECT_TRUE(table->selectedRows().isEmpty());
}
