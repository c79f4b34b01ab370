// The result window driven through its real widgets: header bars, sort
// clicks, mouse and keyboard selection, the context menu, the dialog and the
// worker rules.
#include <gtest/gtest.h>

#include <algorithm>

#include <QAccessible>
#include <QDialog>
#include <QFontMetrics>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "core/OptionNames.h"
#include "support/TestSupport.h"
#include "text/Romaji.h"
#include "ui/results/ResultHeaderBar.h"
#include "ui/results/ResultHeaderDialog.h"
#include "ui/results/result_test_host.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;
using mirudex::test::MakeEntry;

namespace {

std::vector<dict::Entry> TenEntries()
{
    std::vector<dict::Entry> list;
    const char16_t* words[] = {u"猫", u"子猫", u"猫舌", u"猫背", u"黒猫", u"山猫", u"猫車", u"猫目", u"親猫", u"猫又"};
    for (int i = 0; i < 10; ++i)
        list.push_back(MakeEntry(words[i], std::u16string(u"ねこ") + char16_t(u'あ' + i),
                                 {std::u16string(1, char16_t(u'a' + (9 - i))) + u"meaning", u"second"}, {u"noun"}));
    return list;
}

class ResultWindowTest : public test::WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        fx_.host.lists[0] = TenEntries();
        window_ = fx_.MakeWindow(0);
        window_->SetUpForNewResults();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }
    void TearDown() override
    {
        window_.reset();
        WorkDirTest::TearDown();
    }

    std::vector<dict::Entry>& list() { return fx_.host.lists[0]; }
    QPoint RowPoint(int j) const
    {
        const QRect area = window_->entriesArea();
        const int first = window_->visibleRows().first;
        return QPoint(area.left() + 30, area.top() + (j - first) * window_->entryHeight() + window_->entryHeight() / 2);
    }
    void Click(int j, Qt::KeyboardModifiers mods = {})
    {
        QTest::mouseClick(window_.get(), Qt::LeftButton, mods, RowPoint(j));
    }
    std::vector<int> Selected()
    {
        std::vector<int> out;
        for (size_t j = 0; j < list().size(); ++j)
            if (list()[j].selected)
                out.push_back(static_cast<int>(j));
        return out;
    }
    ResultHeaderBar* Bar(const char* id) { return window_->findChild<ResultHeaderBar*>(id); }
    QPoint ItemCentre(ResultHeaderBar* bar, int id)
    {
        int left = 0, right = 0;
        EXPECT_TRUE(bar->ItemRect(id, left, right));
        return QPoint((left + right) / 2, bar->height() / 2);
    }
    void Key(int key, Qt::KeyboardModifiers mods = {})
    {
        QTest::keyClick(window_.get(), static_cast<Qt::Key>(key), mods);
    }

    test::ResultFixture fx_;
    std::unique_ptr<ResultWindow> window_;
};

}  // namespace

TEST_F(ResultWindowTest, HeaderBarsShowTheDefaultItemsAtTheirShares)
{
    ResultHeaderBar* top = Bar("1311");
    ResultHeaderBar* bottom = Bar("1321");
    ASSERT_TRUE(top && bottom);
    // A client area of 801 pixels.
    window_->resize(window_->width() + 801 - window_->entriesArea().width(), 400);
    ASSERT_EQ(window_->entriesArea().width(), 801);
    std::vector<std::pair<int, int>> topItems, bottomItems;
    for (const auto& item : top->items())
        topItems.emplace_back(item.id, item.width);
    for (const auto& item : bottom->items())
        bottomItems.emplace_back(item.id, item.width);
    // Relevance, the first sort key of a new options file, shows last on the top bar.
    EXPECT_EQ(topItems, (std::vector<std::pair<int, int>>{{0, 240}, {2, 416}, {4, 40}, {5, 40}, {6, 65}}));
    EXPECT_EQ(bottomItems, (std::vector<std::pair<int, int>>{{1, 240}, {3, 561}}));
    EXPECT_EQ(window_->entriesArea().top() - window_->contentsRect().top(), top->height() + bottom->height());
    EXPECT_EQ(window_->entryHeight(), window_->rowHeight(0) + window_->rowHeight(1));
    EXPECT_EQ(window_->windowTitle(), "(ResultWindow)");
}

TEST_F(ResultWindowTest, SortClicksOnTheHeaderItems)
{
    fx_.host.sort = {{kItemWord, true}, {-1, false}};  // Word primary, descending
    ResultHeaderBar* bottom = Bar("1321");
    QTest::mouseClick(bottom, Qt::LeftButton, {}, ItemCentre(bottom, kItemMeaning));
    EXPECT_EQ(fx_.host.sort.primary.key, kItemMeaning);
    EXPECT_FALSE(fx_.host.sort.primary.descending);
    EXPECT_EQ(fx_.host.sort.secondary.key, kItemWord);
    EXPECT_TRUE(fx_.host.sort.secondary.descending) << "the old primary keeps its direction";
    EXPECT_EQ(list().front().meanings.front()[0], u'a') << "the clicked window is sorted";

    QTest::mouseClick(bottom, Qt::LeftButton, {}, ItemCentre(bottom, kItemMeaning));
    EXPECT_TRUE(fx_.host.sort.primary.descending);
    // The arrows sit at the right end of the primary (Meaning) and secondary (Word) items only.
    auto arrowInk = [](ResultHeaderBar* bar, int id) {
        const QImage image = bar->grab().toImage();
        int left = 0, right = 0, dark = 0;
        if (!bar->ItemRect(id, left, right))
            return -1;
        for (int x = std::max(left, right - 16); x < right - 1; ++x)
            for (int y = 0; y < image.height(); ++y)
                dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(arrowInk(bottom, kItemMeaning), 10);
    EXPECT_GT(arrowInk(Bar("1311"), kItemWord), 5);
    EXPECT_EQ(arrowInk(bottom, kItemKana), 0);
    EXPECT_EQ(arrowInk(Bar("1311"), kItemInfo), 0);
    EXPECT_EQ(fx_.host.sort.secondary.key, kItemWord);
    EXPECT_EQ(list().front().meanings.front()[0], u'j');

    const int sorts = fx_.host.sorts;
    ResultHeaderBar* top = Bar("1311");
    QTest::mouseClick(top, Qt::LeftButton, {}, ItemCentre(top, kItemInfo));
    EXPECT_EQ(fx_.host.sort.primary.key, kItemMeaning) << "Info is no sort key";
    EXPECT_EQ(fx_.host.sorts, sorts);

    EXPECT_TRUE(window_->ClickHeaderItem(kItemKana));
    EXPECT_EQ(fx_.host.sort.primary.key, kItemKana);
    ResultHeaderItems items = window_->headerItems();
    items[kItemKana].bar = kNoBar;
    window_->SetHeaderItems(items);
    EXPECT_FALSE(window_->ClickHeaderItem(kItemKana)) << "no bar shows the item";

    // Relevance, once shown, sorts the most relevant entry (the smallest figure) first.
    items[kItemRelevance].bar = 0;
    window_->SetHeaderItems(items);
    for (size_t i = 0; i < list().size(); ++i)
        list()[i].relevance = (i * 7) % list().size() + 1;
    const std::u16string mostRelevant =
        std::min_element(list().begin(), list().end(), [](const auto& a, const auto& b) {
            return a.relevance < b.relevance;
        })->word;
    EXPECT_TRUE(window_->ClickHeaderItem(kItemRelevance));
    EXPECT_EQ(fx_.host.sort.primary.key, kItemRelevance);
    EXPECT_EQ(list().front().word, mostRelevant);
}

TEST_F(ResultWindowTest, MouseSelectionPlainCtrlShiftAndAltMove)
{
    Click(3);
    EXPECT_EQ(Selected(), (std::vector<int>{3}));
    Click(6, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4, 5, 6}));
    Click(4, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));
    Click(8, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4, 8}));
    Click(8, Qt::ControlModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{3, 4}));

    Click(2);
    Click(4, Qt::ControlModifier);
    const std::u16string w2 = list()[2].word, w4 = list()[4].word, w0 = list()[0].word;
    Click(0, Qt::AltModifier);
    EXPECT_EQ(list()[0].word, w2);
    EXPECT_EQ(list()[1].word, w4);
    EXPECT_EQ(list()[2].word, w0);
    EXPECT_EQ(window_->selection().current, 0);
    EXPECT_EQ(window_->selection().anchor, 0);
    EXPECT_EQ(list().size(), 10u);

    // Below the last row there is no entry.
    window_->resize(window_->width(), window_->height() + 2000);
    Click(0);
    QTest::mouseClick(window_.get(), Qt::LeftButton, {}, QPoint(40, window_->height() - 5));
    EXPECT_TRUE(Selected().empty());
    EXPECT_EQ(window_->EntryAtPoint(window_->entriesArea().top() - 1 - window_->contentsRect().top()), -1);
}

TEST_F(ResultWindowTest, KeysMoveTheSelectionAndScroll)
{
    window_->resize(window_->width(), window_->entriesArea().top() + 4 * window_->entryHeight() + 10);
    ASSERT_EQ(window_->visibleRows().fit, 4);
    struct Step {
        int key;
        int current;
        int first;
    };
    Click(0);
    const Step steps[] = {
        {Qt::Key_Down, 1, 0},     {Qt::Key_Down, 2, 0},     {Qt::Key_Down, 3, 0}, {Qt::Key_Down, 4, 1},
        {Qt::Key_PageDown, 8, 5}, {Qt::Key_PageDown, 9, 6}, {Qt::Key_Home, 0, 0}, {Qt::Key_End, 9, 6},
        {Qt::Key_PageUp, 5, 2},   {Qt::Key_Up, 4, 2},       {Qt::Key_Up, 3, 2},   {Qt::Key_Up, 2, 2},
        {Qt::Key_Up, 1, 1},
    };
    for (const Step& s : steps) {
        Key(s.key);
        EXPECT_EQ(window_->selection().current, s.current) << s.key;
        EXPECT_EQ(window_->visibleRows().first, s.first) << s.key;
        EXPECT_EQ(Selected(), (std::vector<int>{s.current})) << s.key;
    }
    Key(Qt::Key_Down, Qt::ShiftModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2, 3}));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected().size(), 10u);
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(fx_.host.copies, (std::vector<std::pair<int, int>>{{0, 3}}));
    Key(Qt::Key_Tab);
    EXPECT_EQ(fx_.host.focusCalls, 1);
}

TEST_F(ResultWindowTest, DeleteRemovesTheSelectedEntriesOfTheListOnly)
{
    Click(7);
    Click(9, Qt::ShiftModifier);
    const std::u16string survivor = list()[6].word;
    Key(Qt::Key_Delete);
    ASSERT_EQ(list().size(), 7u);
    EXPECT_EQ(window_->selection().current, 6) << "clamped to the new end";
    EXPECT_EQ(Selected(), (std::vector<int>{6}));
    EXPECT_EQ(list()[6].word, survivor);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    EXPECT_TRUE(list().empty());
    EXPECT_EQ(window_->selection().current, -1);
    Key(Qt::Key_Down);  // nothing to act on
    Key(Qt::Key_Return);
    EXPECT_TRUE(fx_.host.kanjiCalls.empty());
}

// The study list loses entries by Delete or its menu's "Remove"; Ctrl+Z (or
// "Undo Remove") takes the latest removals back, each to its place.
TEST_F(ResultWindowTest, TheStudyListRemovesByMenuOrDeleteAndUndoPutsEntriesBack)
{
    fx_.host.lists[1] = TenEntries();
    auto study = fx_.MakeWindow(1);
    study->SetUpForNewResults();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(study.get()));
    std::vector<dict::Entry>& studyList = fx_.host.lists[1];
    const std::vector<dict::Entry> before = studyList;
    auto words = [](const std::vector<dict::Entry>& list) {
        std::vector<std::u16string> out;
        for (const dict::Entry& e : list)
            out.push_back(e.word);
        return out;
    };
    auto point = [&](int j) {
        const QRect area = study->entriesArea();
        return QPoint(area.left() + 30,
                      area.top() + (j - study->visibleRows().first) * study->entryHeight() + study->entryHeight() / 2);
    };
    QStringList offered;
    bool undoEnabled = true;
    int choice = 0;
    study->SetMenuRunner([&](QMenu& menu, QPoint) {
        offered.clear();
        for (QAction* a : menu.actions())
            if (!a->menu() && !a->isSeparator()) {
                offered << a->text();
                if (a->data().toInt() == kMenuUndoRemove)
                    undoEnabled = a->isEnabled();
            }
        return choice;
    });
    auto rightClick = [&](int j, int id) {
        choice = id;
        QTest::mousePress(study.get(), Qt::RightButton, {}, point(j));
        QTest::mouseRelease(study.get(), Qt::RightButton, {}, point(j));
    };

    rightClick(2, 0);
    EXPECT_EQ(offered, (QStringList{"Remove\tDel", "Undo Remove\tCtrl+Z"}));
    EXPECT_FALSE(undoEnabled) << "nothing to undo yet";
    rightClick(2, kMenuRemove);
    ASSERT_EQ(studyList.size(), 9u);
    EXPECT_EQ(studyList[2].word, before[3].word);

    QTest::mouseClick(study.get(), Qt::LeftButton, {}, point(4));
    QTest::mouseClick(study.get(), Qt::LeftButton, Qt::ControlModifier, point(6));
    QTest::keyClick(study.get(), Qt::Key_Delete);
    ASSERT_EQ(studyList.size(), 7u);
    EXPECT_EQ(study->undoableRemovals(), 2u);

    rightClick(0, 0);
    EXPECT_TRUE(undoEnabled);
    QTest::keyClick(study.get(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(studyList.size(), 9u);
    std::vector<int> selected;
    for (size_t j = 0; j < studyList.size(); ++j)
        if (studyList[j].selected)
            selected.push_back(static_cast<int>(j));
    EXPECT_EQ(selected, (std::vector<int>{4, 6})) << "back in their places, selected alone";
    EXPECT_EQ(study->selection().current, 4);
    rightClick(2, kMenuUndoRemove);
    EXPECT_EQ(words(studyList), words(before)) << "the list as it was";
    EXPECT_FALSE(study->UndoRemove()) << "nothing more to undo";
    EXPECT_EQ(studyList.size(), 10u);

    // A removal at the end of a list that has since grown shorter comes back at its end.
    QTest::mouseClick(study.get(), Qt::LeftButton, {}, point(9));
    QTest::keyClick(study.get(), Qt::Key_Delete);
    studyList.resize(5);
    EXPECT_TRUE(study->UndoRemove());
    ASSERT_EQ(studyList.size(), 6u);
    EXPECT_EQ(studyList.back().word, before[9].word);

    // A list replaced as a whole forgets what was removed from the old one.
    QTest::keyClick(study.get(), Qt::Key_Delete);
    EXPECT_EQ(study->undoableRemovals(), 1u);
    study->SetUpForNewResults();
    EXPECT_EQ(study->undoableRemovals(), 0u);
    // Nothing selected removes nothing and leaves nothing to undo.
    for (dict::Entry& e : studyList)
        e.selected = false;
    study->RemoveSelected();
    EXPECT_EQ(study->undoableRemovals(), 0u);
}

// Compact rows: one line per entry (word, reading, first sense), so about
// twice the entries fit; the setting takes effect at the next layout.
TEST_F(ResultWindowTest, CompactRowsPutAnEntryOnOneLine)
{
    list()[0] = test::MakeSensedEntry(u"猫", u"ねこ", {u"(n) (1) cat", u"(n) (2) (abbr) wheelbarrow"});
    const int twoLines = window_->entryHeight();
    const int fitTwoLines = window_->visibleRows().fit;
    EXPECT_GT(window_->rowHeight(1), 0);
    fx_.options.SetBOOL(opt::results::kCompactRows, true);
    window_->Relayout();
    EXPECT_EQ(window_->rowHeight(1), 0);
    EXPECT_EQ(window_->entryHeight(), window_->rowHeight(0));
    const int line = std::max({QFontMetrics(fx_.resources.fonts.result_word).height(),
                               QFontMetrics(fx_.resources.fonts.result_kana).height(),
                               QFontMetrics(fx_.resources.fonts.result_meaning).height()});
    EXPECT_EQ(window_->entryHeight(), line + 6);
    EXPECT_LT(window_->entryHeight(), twoLines);
    EXPECT_GE(window_->visibleRows().fit * 10, fitTwoLines * 17) << "at least 1.7 times the rows";
    // Rows are picked by the new height.
    Click(3);
    EXPECT_EQ(Selected(), (std::vector<int>{3}));

    // The first row: word and reading in the columns of their header items,
    // the first sense after them; the second sense is not on the line.
    window_->resize(900, 480);
    window_->Relayout();
    const QImage image = window_->grab().toImage();
    const QRect area = window_->entriesArea();
    int wordLeft = 0, wordRight = 0;
    ASSERT_TRUE(Bar("1311")->ItemRect(kItemWord, wordLeft, wordRight));
    auto inkBetween = [&](int x0, int x1) {
        int ink = 0;
        for (int x = x0; x < x1; ++x)
            for (int y = area.top() + 3; y < area.top() + window_->entryHeight() - 3; ++y)
                ink += image.pixelColor(x, y) != fx_.resources.result.bg1 ? 1 : 0;
        return ink;
    };
    const int kanaWidth = wordRight - wordLeft;  // the default Kana item is as wide as the Word item
    EXPECT_GT(inkBetween(area.left() + 2 * kanaWidth + 3, area.left() + 2 * kanaWidth + 60), 0) << "cat";
    fx_.options.SetBOOL(opt::results::kCompactRows, false);
    window_->Relayout();
    EXPECT_EQ(window_->entryHeight(), twoLines);
}

TEST_F(ResultWindowTest, EnterCollectsKanjiAndWritesASingleWordIntoTheSearchBox)
{
    Key(Qt::Key_Return);
    EXPECT_EQ(window_->selection().current, 0) << "without a current entry the first visible one is selected";
    EXPECT_TRUE(fx_.host.kanjiCalls.empty());

    Key(Qt::Key_Return);
    ASSERT_EQ(fx_.host.kanjiCalls.size(), 1u);
    EXPECT_EQ(fx_.host.kanjiCalls[0], (std::vector<std::u16string>{list()[0].word}));
    ASSERT_EQ(fx_.host.searchTexts.size(), 1u);
    EXPECT_EQ(fx_.host.searchTexts[0], std::make_pair(list()[0].word, false));

    Click(2, Qt::ShiftModifier);
    Key(Qt::Key_Enter);
    ASSERT_EQ(fx_.host.kanjiCalls.size(), 2u);
    EXPECT_EQ(fx_.host.kanjiCalls[1].size(), 3u);
    EXPECT_EQ(fx_.host.searchTexts.size(), 1u) << "several entries leave the search box alone";

    QTest::mouseDClick(window_.get(), Qt::LeftButton, {}, RowPoint(5));
    EXPECT_EQ(Selected(), (std::vector<int>{5}));
    EXPECT_EQ(fx_.host.searchTexts.back().first, list()[5].word);
}

TEST_F(ResultWindowTest, ContextMenuSearchesCopiesAndAddsToTheStudyList)
{
    auto study = fx_.MakeWindow(1);
    fx_.host.studyWindow = study.get();

    std::vector<QString> offered;
    int choice = 0;
    window_->SetMenuRunner([&](QMenu& menu, QPoint) {
        offered.clear();
        for (QAction* a : menu.actions()) {
            if (a->menu())
                for (QAction* sub : a->menu()->actions())
                    offered.push_back(a->text() + " > " + sub->text());
            else if (!a->isSeparator())
                offered.push_back(a->text());
        }
        return choice;
    });
    auto rightClick = [&](int j, int id) {
        choice = id;
        QTest::mousePress(window_.get(), Qt::RightButton, {}, RowPoint(j));
        QTest::mouseRelease(window_.get(), Qt::RightButton, {}, RowPoint(j));
    };

    rightClick(4, 0);
    EXPECT_EQ(Selected(), (std::vector<int>{4})) << "an unselected entry is selected first";
    EXPECT_EQ(offered, (std::vector<QString>{
                           "Search... > The kanji in this word", "Search... > Words starting with this word",
                           "Search... > Words ending with this word", "Search... > Words with this word anywhere",
                           "Copy... > This word", "Copy... > This word's kana", "Copy... > This word's meanings",
                           "Copy... > All info on this word", "Add to study list"}));
    const std::u16string w = list()[4].word;
    struct Case {
        int id;
        std::u16string text;
    };
    const Case searches[] = {{2, w + u"\uFF3F"}, {3, u"\uFF3F" + w}, {4, u"\uFF3F" + w + u"\uFF3F"}};
    for (const Case& c : searches) {
        rightClick(4, c.id);
        EXPECT_EQ(fx_.host.searchTexts.back(), std::make_pair(c.text, true)) << c.id;
    }
    rightClick(4, 1);
    EXPECT_EQ(fx_.host.kanjiCalls.back(), (std::vector<std::u16string>{w}));
    for (int id = 5; id <= 8; ++id)
        rightClick(4, id);
    EXPECT_EQ(fx_.host.copies, (std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {0, 3}}));

    Click(1);
    Click(2, Qt::ShiftModifier);
    rightClick(2, 20);  // already selected: the selection stays
    rightClick(2, 20);
    ASSERT_EQ(fx_.host.lists[1].size(), 4u) << "adding twice gives two copies of each";
    for (const dict::Entry& e : fx_.host.lists[1])
        EXPECT_FALSE(e.selected);
    EXPECT_EQ(Selected(), (std::vector<int>{1, 2})) << "the result window keeps its selection";
    EXPECT_EQ(study->visibleRows().last, 3);

    // The study list window offers no "Add to study list".
    const auto menu = study->BuildContextMenu();
    for (QAction* a : menu->actions())
        EXPECT_NE(a->text(), "Add to study list");
    // Right click below the rows: no menu.
    offered.clear();
    window_->resize(window_->width(), window_->height() + 2000);
    QTest::mouseClick(window_.get(), Qt::RightButton, {}, QPoint(40, window_->height() - 5));
    EXPECT_TRUE(offered.empty());
}

TEST_F(ResultWindowTest, WhileAWorkerRunsOnlyTheBackgroundIsPaintedAndNothingActs)
{
    Click(1);
    fx_.host.threadSearching = true;
    window_->update();
    const QImage image = window_->grab().toImage();
    const QRect area = window_->entriesArea();
    EXPECT_EQ(image.pixelColor(area.left() + 20, area.top() + 5), fx_.resources.result.bg_window);

    Click(3);
    Key(Qt::Key_Delete);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Return);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));
    EXPECT_EQ(list().size(), 10u);
    EXPECT_TRUE(fx_.host.kanjiCalls.empty());
    fx_.host.threadSearching = false;
    fx_.host.searchLock = true;

    // The hand-over of a search comes while the search command still holds
    // its lock: the worker has ended, so the new list is laid out already.
    list().resize(4);
    window_->SetUpForNewResults();
    EXPECT_EQ(window_->visibleRows().last, 3);
    list() = TenEntries();
    window_->SetUpForNewResults();
    fx_.host.searchLock = false;
    Click(1);
    fx_.host.searchLock = true;
    Click(3);
    EXPECT_EQ(Selected(), (std::vector<int>{1}));

    fx_.host.searchLock = false;
    window_->update();
    const QImage rows = window_->grab().toImage();
    // Row 0 (even) in BG1 white, row 1 selected: the complement of BG2 silver.
    EXPECT_EQ(rows.pixelColor(area.right() - 3, area.top() + window_->entryHeight() + 2),
              Complement(fx_.resources.result.bg2));
}

// A screen reader reads the entries as a table of rows (word, reading, all the
// meanings), with the selection the rows show, and hears of the current row
// moving and of a new list; while a worker fills the list it reads no row.
TEST_F(ResultWindowTest, AScreenReaderReadsTheRowsAsATable)
{
    test::AccessibleEvents events;
    auto text = [](const std::u16string& s) { return QString::fromStdU16String(s); };
    QAccessibleInterface* pane = QAccessible::queryAccessibleInterface(window_.get());
    ASSERT_TRUE(pane && pane->tableInterface());
    QAccessibleTableInterface* table = pane->tableInterface();
    EXPECT_EQ(pane->role(), QAccessible::Table);
    ASSERT_EQ(table->rowCount(), 10);
    ASSERT_EQ(table->columnCount(), 3);
    EXPECT_EQ(table->columnDescription(0), "Word");
    EXPECT_EQ(table->columnDescription(2), "Meanings");
    for (const int row : {0, 9}) {
        const dict::Entry& e = list()[static_cast<size_t>(row)];
        EXPECT_EQ(table->cellAt(row, 0)->text(QAccessible::Name), text(e.word));
        EXPECT_EQ(table->cellAt(row, 1)->text(QAccessible::Name), text(e.kana));
        const QString meanings = table->cellAt(row, 2)->text(QAccessible::Name);
        EXPECT_TRUE(meanings.startsWith(text(e.meanings[0])) && meanings.endsWith("second")) << meanings.toStdString();
        EXPECT_EQ(table->cellAt(row, 1)->text(QAccessible::Description), "Reading");
    }
    EXPECT_EQ(table->cellAt(10, 0), nullptr);
    EXPECT_EQ(table->cellAt(0, 3), nullptr);
    EXPECT_EQ(table->cellAt(-1, 0), nullptr);

    // The cells are the pane's first children, row by row, each the same
    // object every time it is asked for; the header bars and the scroll bar follow.
    ASSERT_GE(pane->childCount(), 30 + 3);
    QAccessibleInterface* cell = pane->child(4 * 3 + 1);
    EXPECT_EQ(cell, table->cellAt(4, 1));
    EXPECT_EQ(cell->parent(), pane);
    EXPECT_EQ(pane->indexOfChild(cell), 13);
    EXPECT_EQ(cell->tableCellInterface()->rowIndex(), 4);
    EXPECT_EQ(cell->tableCellInterface()->columnIndex(), 1);
    QAccessibleInterface* bar = pane->child(30);
    ASSERT_TRUE(bar && bar->object());
    EXPECT_EQ(bar->object()->parent(), window_.get());
    EXPECT_EQ(pane->indexOfChild(bar), 30);

    // The selection as clicks and keys make it, and as the screen reader makes it.
    Click(2);
    EXPECT_EQ(table->selectedRows(), (QList<int>{2}));
    EXPECT_TRUE(table->cellAt(2, 0)->state().selected);
    EXPECT_FALSE(table->cellAt(3, 0)->state().selected);
    ASSERT_FALSE(events.Of(QAccessible::Selection, window_.get()).empty());
    EXPECT_EQ(events.Of(QAccessible::Selection, window_.get()).back().child, 2 * 3);
    window_->setFocus();
    Key(Qt::Key_Down);
    EXPECT_EQ(events.Of(QAccessible::Selection, window_.get()).back().child, 3 * 3);
    if (window_->hasFocus()) {
        EXPECT_EQ(pane->focusChild(), table->cellAt(3, 0));
        ASSERT_FALSE(events.Of(QAccessible::Focus, window_.get()).empty());
        EXPECT_EQ(events.Of(QAccessible::Focus, window_.get()).back().child, 3 * 3);
    }
    EXPECT_TRUE(table->selectRow(7));
    EXPECT_EQ(Selected(), (std::vector<int>{7}));
    EXPECT_EQ(window_->selection().current, 7);
    EXPECT_FALSE(table->selectRow(10));
    EXPECT_EQ(table->selectedCellCount(), 3);
    // A visible row has its place on the screen; one scrolled away has none.
    EXPECT_EQ(table->cellAt(0, 0)->rect().topLeft(), window_->mapToGlobal(window_->entriesArea().topLeft()));
    if (window_->visibleRows().last < 9)
        EXPECT_TRUE(table->cellAt(9, 0)->state().offscreen);

    // The reading as the rows show it: romaji when they show romaji.
    fx_.options.SetBOOL(opt::misc::kROMAjiMode, true);
    EXPECT_EQ(table->cellAt(0, 1)->text(QAccessible::Name), text(text::KanaToRomaji(list()[0].kana)));
    fx_.options.SetBOOL(opt::misc::kROMAjiMode, false);

    // A new list: the cells known before are forgotten and the change is told.
    events.Clear();
    list().resize(4);
    window_->SetUpForNewResults();
    EXPECT_FALSE(events.Of(QAccessible::TableModelChanged, window_.get()).empty());
    EXPECT_EQ(table->rowCount(), 4);
    EXPECT_EQ(table->cellAt(9, 0), nullptr);
    EXPECT_EQ(table->cellAt(3, 0)->text(QAccessible::Name), text(list()[3].word));
    EXPECT_TRUE(table->selectedRows().isEmpty());
    // Delete and Undo change the rows too.
    Click(1);
    events.Clear();
    Key(Qt::Key_Delete);
    EXPECT_EQ(table->rowCount(), 3);
    EXPECT_FALSE(events.Of(QAccessible::TableModelChanged, window_.get()).empty());

    // A worker filling the list: no rows, no cells, nothing read.
    fx_.host.threadSearching = true;
    EXPECT_EQ(table->rowCount(), 0);
    EXPECT_EQ(table->cellAt(0, 0), nullptr);
    EXPECT_EQ(pane->childCount(), QAccessible::queryAccessibleInterface(window_.get())->childCount());
    EXPECT_LT(pane->childCount(), 9);
    fx_.host.threadSearching = false;

    // The study list is the same table over its own list.
    fx_.host.lists[1] = {MakeEntry(u"犬", u"いぬ", {u"dog"})};
    auto study = fx_.MakeWindow(1);
    study->SetUpForNewResults();
    QAccessibleTableInterface* studyTable = QAccessible::queryAccessibleInterface(study.get())->tableInterface();
    ASSERT_TRUE(studyTable);
    ASSERT_EQ(studyTable->rowCount(), 1);
    EXPECT_EQ(studyTable->cellAt(0, 0)->text(QAccessible::Name), "犬");
    EXPECT_EQ(studyTable->cellAt(0, 2)->text(QAccessible::Name), "dog");
}

TEST_F(ResultWindowTest, HeaderDialogMovesItemsBetweenBars)
{
    OpenLog();
    std::vector<int> radiosChecked;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_TRUE(dialog);
        EXPECT_EQ(dialog->windowTitle(), "Result Window Header Bars");
        for (int id = 1100; id < 1121; ++id) {
            auto* radio = dialog->findChild<QRadioButton*>(QString::number(id));
            ASSERT_TRUE(radio) << id;
            if (radio->isChecked())
                radiosChecked.push_back(id);
        }
        // Each radio button is read aloud with its row.
        EXPECT_EQ(dialog->findChild<QRadioButton*>("1108")->accessibleName(), QStringLiteral("Info: None"));
        EXPECT_EQ(dialog->findChild<QRadioButton*>("1103")->accessibleName(), QStringLiteral("Kana: Top"));
        EXPECT_EQ(test::UnnamedControls(dialog), std::vector<std::string>{});
        dialog->findChild<QRadioButton*>("1108")->click();  // Info: None
        dialog->findChild<QRadioButton*>("1103")->click();  // Kana: Top
        dialog->findChild<QRadioButton*>("1118")->click();  // Relevance: Top
        dialog->accept();
    });
    Key(Qt::Key_Space);
    EXPECT_EQ(radiosChecked, (std::vector<int>{1100, 1104, 1106, 1110, 1112, 1115, 1118}));
    EXPECT_EQ(window_->headerItems()[kItemInfo].bar, kNoBar);
    EXPECT_EQ(window_->headerItems()[kItemKana].bar, 0);
    EXPECT_EQ(Bar("1311")->PlaceOf(kItemInfo), -1);
    EXPECT_GE(Bar("1311")->PlaceOf(kItemKana), 0);
    EXPECT_GE(Bar("1311")->PlaceOf(kItemRelevance), 0);
    int sum = 0;
    for (int id : DisplayOrder(window_->headerItems(), 0))
        sum += window_->headerItems()[static_cast<size_t>(id)].percentage;
    EXPECT_EQ(sum, 100);
    EXPECT_NE(Log().find("RESULT HEADER DIALOG BOX\n"), std::string::npos);

    // Everything off the bottom bar: it is hidden and the rows lose its height.
    ResultHeaderItems items = window_->headerItems();
    items[kItemMeaning].bar = 0;
    window_->SetHeaderItems(items);
    EXPECT_FALSE(Bar("1321")->isVisible());
    EXPECT_EQ(window_->rowHeight(1), 0);
}

// The header dialog in each language the program ships: each row's label
// carries a mnemonic of its own that leads to the row's first choice, and the
// choices are read aloud with their row, without the mnemonic's mark.
TEST_F(ResultWindowTest, HeaderDialogRowsHaveTheirOwnMnemonicsInEveryLanguage)
{
    struct Language {
        const char* locale;
        const char* infoNone;
    };
    const Language languages[] = {{"en_US", "Info: None"}, {"ja_JP", "情報: なし"}, {"de_DE", "Info: Keine"}};
    for (const Language& language : languages) {
        SCOPED_TRACE(language.locale);
        test::LanguageScope scope(language.locale);
        ResultHeaderDialog dialog(
            window_->headerItems(), [](int, int) {}, nullptr);
        dialog.show();
        for (const std::string& problem : test::MnemonicProblems(&dialog))
            ADD_FAILURE() << problem;
        EXPECT_EQ(dialog.findChild<QRadioButton*>("1108")->accessibleName(), QString::fromUtf8(language.infoNone));
    }
}

TEST_F(ResultWindowTest, DraggingDividersAndItems)
{
    ResultHeaderBar* bottom = Bar("1321");
    int left = 0, right = 0;
    bottom->ItemRect(kItemKana, left, right);
    const int width = bottom->width();
    const int y = bottom->height() / 2;
    // Drag the Kana | Meaning divider to 50 %.
    QTest::mousePress(bottom, Qt::LeftButton, {}, QPoint(right, y));
    QTest::mouseMove(bottom, QPoint(width / 2 + 1, y));
    QTest::mouseRelease(bottom, Qt::LeftButton, {}, QPoint(width / 2 + 1, y));
    EXPECT_EQ(window_->headerItems()[kItemKana].percentage, 50);
    EXPECT_EQ(window_->headerItems()[kItemMeaning].percentage, 50);

    // Too close to the right end: refused and the rest of the drag ignored.
    bottom->ItemRect(kItemKana, left, right);
    QTest::mousePress(bottom, Qt::LeftButton, {}, QPoint(right, y));
    QTest::mouseMove(bottom, QPoint(width - 5, y));
    QTest::mouseMove(bottom, QPoint(width * 3 / 5, y));
    QTest::mouseRelease(bottom, Qt::LeftButton, {}, QPoint(width * 3 / 5, y));
    EXPECT_EQ(window_->headerItems()[kItemKana].percentage, 50);

    // The last divider has no right-hand neighbour.
    QTest::mousePress(bottom, Qt::LeftButton, {}, QPoint(width - 1, y));
    QTest::mouseMove(bottom, QPoint(width - 30, y));
    QTest::mouseRelease(bottom, Qt::LeftButton, {}, QPoint(width - 30, y));
    ASSERT_FALSE(platform_.MessageBoxes().empty());
    EXPECT_EQ(platform_.MessageBoxes().back().text, u"Right is -1");
    EXPECT_EQ(platform_.MessageBoxes().back().caption, u"Error");

    // Double click on a divider: equal shares.
    bottom->ItemRect(kItemKana, left, right);
    QTest::mouseDClick(bottom, Qt::LeftButton, {}, QPoint(right, y));
    EXPECT_EQ(window_->headerItems()[kItemKana].percentage, 50);
    ResultHeaderBar* top = Bar("1311");
    top->ItemRect(kItemWord, left, right);
    QTest::mouseDClick(top, Qt::LeftButton, {}, QPoint(right, y));
    EXPECT_EQ(window_->headerItems()[kItemWord].percentage, 20);
    EXPECT_EQ(window_->headerItems()[kItemKanaLength].percentage, 20);

    // Drag Word from the first place to the last.
    const QPoint from = ItemCentre(top, kItemWord);
    const QPoint to = ItemCentre(top, kItemKanaLength);
    QTest::mousePress(top, Qt::LeftButton, {}, from);
    QTest::mouseMove(top, from + QPoint(20, 0));
    QTest::mouseMove(top, to);
    QTest::mouseRelease(top, Qt::LeftButton, {}, to);
    std::vector<int> order;
    for (const auto& item : top->items())
        order.push_back(item.id);
    EXPECT_EQ(order, (std::vector<int>{kItemInfo, kItemWordLength, kItemKanaLength, kItemWord, kItemRelevance}));
}

namespace {

// Counts the paint events a widget receives.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    // Lets the paints asked for so far happen: until none came for 100 ms.
    void Settle()
    {
        int before = -1;
        while (before != paints) {
            before = paints;
            QTest::qWait(100);
        }
    }
};

class ResultWindowAfterWorker : public test::WorkDirTest {};

}  // namespace

TEST_F(ResultWindowAfterWorker, LaysOutAgainUnlessAnEmptyLayoutStillFits)
{
    struct Case {
        const char* name;
        bool emptyBefore;  // the list when the window was laid out
        bool workerRan;    // a worker held the list during that layout
        bool emptyAfter;   // the list when the worker has ended
        bool expectRepaint;
    };
    const Case cases[] = {
        {"empty, still empty", true, false, true, false},
        {"laid out during a worker, still empty", false, true, true, false},
        {"laid out during a worker, filled by it", true, true, false, true},
        {"shown, emptied by a worker", false, false, true, true},
        {"shown, refilled by a worker", false, false, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ResultFixture fx;
        if (!c.emptyBefore)
            fx.host.lists[0] = TenEntries();
        fx.host.threadSearching = c.workerRan;
        auto window = fx.MakeWindow(0);
        PaintCounter counter;
        window->installEventFilter(&counter);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        window->SetUpForNewResults();
        counter.Settle();

        fx.host.lists[0] = c.emptyAfter ? std::vector<dict::Entry>{} : TenEntries();
        fx.host.threadSearching = false;
        counter.paints = 0;
        window->RelayoutAfterWorker();
        counter.Settle();
        EXPECT_EQ(counter.paints > 0, c.expectRepaint);
        EXPECT_EQ(window->visibleRows().last >= 0, !c.emptyAfter);
        window->removeEventFilter(&counter);
    }
}
