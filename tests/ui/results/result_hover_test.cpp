// The hover card of the result window: when it opens and closes, its fonts
// and where it is placed.
#include <gtest/gtest.h>

#include <QTest>

#include "support/TestSupport.h"
#include "ui/results/ResultHoverCard.h"
#include "ui/results/result_test_host.h"

using namespace mirudex;
using namespace mirudex::ui;
using mirudex::test::MakeEntry;

TEST(ResultHoverCard, LongOrManyMeaningsUseTheSmallMeaningFont)
{
    struct Case {
        size_t count;
        size_t longest;
        int points;
    };
    const Case cases[] = {{1, 5, 14}, {12, 40, 14}, {13, 5, 9}, {2, 41, 9}, {0, 0, 14}};
    for (const Case& c : cases) {
        dict::Entry e = MakeEntry(u"猫", u"ねこ", std::vector<std::u16string>(c.count, u"cat"));
        if (c.count > 0)
            e.meanings.back() = std::u16string(c.longest, u'x');
        EXPECT_EQ(HoverMeaningPoints(e), c.points) << c.count << " meanings, longest " << c.longest;
    }
    test::ResultFixture fx;
    const dict::Entry many = MakeEntry(u"猫", u"ねこ", std::vector<std::u16string>(13, u"cat"), {u"noun"});
    ResultHoverCard card(many, fx.resources.fonts, fx.resources.result, 96, nullptr);
    EXPECT_EQ(card.meaningFont().pixelSize(), 12);  // 9 points at 96 dpi
    EXPECT_EQ(card.windowTitle(), "(Result_Hover_Window)");
    EXPECT_GT(card.width(), 48 + card.leftWidth());
    EXPECT_GE(card.height(), 16 + 10 + 13 * QFontMetrics(card.meaningFont()).height());
}

TEST(ResultHoverCard, PlacedInsideTheWorkAreaButNeverAtNegativeCoordinates)
{
    const QRect work(0, 0, 1280, 1000);
    struct Case {
        QPoint mouse;
        QSize size;
        QPoint expected;
    };
    const Case cases[] = {
        {{100, 100}, {300, 200}, {100, 100}},
        {{1200, 100}, {300, 200}, {980, 100}},  // moved left to end at the right edge
        {{100, 950}, {300, 200}, {100, 800}},   // moved up
        {{1270, 990}, {300, 200}, {980, 800}},
        {{50, 50}, {2000, 1500}, {0, 0}},  // larger than the work area: not below 0
    };
    for (const Case& c : cases)
        EXPECT_EQ(PlaceHoverCard(c.mouse, c.size, work), c.expected) << c.mouse.x() << "," << c.mouse.y();
    EXPECT_EQ(PlaceHoverCard({1900, 10}, {100, 50}, QRect(1280, 0, 640, 480)), QPoint(1820, 10));
}

TEST(ResultHoverCard, OpensAfterRestingOnARowAndClosesOnAnotherRow)
{
    test::ResultFixture fx;
    for (int i = 0; i < 5; ++i)
        fx.host.lists[0].push_back(MakeEntry(u"猫" + std::u16string(1, char16_t(u'一' + i)), u"ねこ", {u"cat"}));
    auto window = fx.MakeWindow(0);
    window->SetUpForNewResults();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect area = window->entriesArea();
    const int h = window->entryHeight();
    QTest::mouseMove(window.get(), QPoint(area.left() + 40, area.top() + h / 2));
    QTRY_VERIFY_WITH_TIMEOUT(window->hoverCard() != nullptr, 3000);
    EXPECT_TRUE(window->hoverCard()->isVisible());
    QTest::mouseMove(window.get(), QPoint(area.left() + 40, area.top() + h + h / 2));
    EXPECT_EQ(window->hoverCard(), nullptr) << "another row closes the card";
    QTRY_VERIFY_WITH_TIMEOUT(window->hoverCard() != nullptr, 3000);

    fx.host.threadSearching = true;
    QTest::mouseMove(window.get(), QPoint(area.left() + 40, area.top() + 2 * h + h / 2));
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(window->hoverCard(), nullptr) << "a key drops the card";
    EXPECT_FALSE(window->hoverPending()) << "no card is on its way while a worker runs";
}
