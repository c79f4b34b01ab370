// The hover card of the result window: when it opens and closes, its fonts
// and where it is placed.
#include <gtest/gtest.h>

#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "support/TestSupport.h"
#include "ui/model/ResultCardText.h"
#include "ui/results/ResultHoverCard.h"
#include "ui/results/result_test_host.h"
#include "ui/support/UiTestSupport.h"

using namespace mirudex;
using namespace mirudex::ui;
using mirudex::test::MakeEntry;
using mirudex::ui::CardLine;

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

// The card's content: what every sense has once on top, with the entry's own
// info; then each sense, its own markers over its glosses, each marker once.
TEST(ResultHoverCard, EachSenseIsOneBlockWithItsOwnTags)
{
    using K = CardLine::Kind;
    struct Case {
        const char* what;
        dict::Entry entry;
        std::vector<CardLine> lines;
    };
    const Case cases[] = {
        {"tags of every sense said once; the rest beside their sense",
         test::MakeSensedEntry(u"猫", u"ねこ",
                               {u"(n) (1) cat", u"(n) (2) shamisen", u"(n) (3) (abbr) (abbr) wheelbarrow",
                                u"(n) (4) (uk) (col) bottom", u"second meaning", u"(P)"}),
         {{K::EntryTags, u"noun"},
          {K::EntryTags, u"One of top 20,000 words"},
          {K::Sense, u"1. cat"},
          {K::Sense, u"2. shamisen"},
          {K::SenseTags, u"abbreviation"},
          {K::Sense, u"3. wheelbarrow"},
          {K::SenseTags, u"usually kana, colloquialism"},
          {K::Sense, u"4. bottom; second meaning"}}},
        {"one sense: its tags are the entry's, no number",
         test::MakeSensedEntry(u"勉強", u"べんきょう", {u"(n,vs) study", u"diligence"}),
         {{K::EntryTags, u"noun, suru verb"}, {K::Sense, u"study; diligence"}}},
        {"an entry never split into senses shows its lists as they are",
         MakeEntry(u"猫", u"ねこ", {u"cat", u"feline"}, {u"noun"}),
         {{K::EntryTags, u"noun"}, {K::Sense, u"cat"}, {K::Sense, u"feline"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResultCardLines(c.entry), c.lines) << c.what;

    // The card is as tall as its lines: a sense's tags take a line of the info font.
    test::ResultFixture fx;
    const dict::Entry withTags = test::MakeSensedEntry(u"猫", u"ねこ", {u"(1) (abbr) a", u"(2) (col) b"});
    const dict::Entry withoutTags = test::MakeSensedEntry(u"猫", u"ねこ", {u"(1) a", u"(2) b"});
    ResultHoverCard tagged(withTags, fx.resources.fonts, fx.resources.result, 96, nullptr);
    ResultHoverCard plain(withoutTags, fx.resources.fonts, fx.resources.result, 96, nullptr);
    EXPECT_GT(tagged.height(), plain.height()) << "two more lines";
}

TEST(ResultHoverCard, LongMeaningsWrapWithinTheScreen)
{
    test::ResultFixture fx;
    const std::u16string longMeaning(300, u'x');
    std::u16string words;
    for (int i = 0; i < 60; ++i)
        words += u"meaning ";
    const dict::Entry e = MakeEntry(u"猫", u"ねこ", {words, u"cat"});
    ResultHoverCard wide(e, fx.resources.fonts, fx.resources.result, 96, nullptr);
    ResultHoverCard narrow(e, fx.resources.fonts, fx.resources.result, 96, nullptr, 500);
    EXPECT_LE(wide.width(), 8 + 10 + wide.leftWidth() + 22 + 600 + 8 + 1) << "wrapped at 600 pixels";
    EXPECT_LE(narrow.width(), 500);
    EXPECT_GT(narrow.height(), wide.height()) << "more lines when narrower";
}

TEST(ResultHoverCard, ACardTallerThanTheScreenFitsItAndScrolls)
{
    test::ResultFixture fx;
    std::vector<std::u16string> meanings, info;
    for (int i = 0; i < 60; ++i)
        meanings.push_back(u"to take; to pick up; to harvest; to earn " + std::u16string(1, char16_t(u'a' + i % 26)));
    for (int i = 0; i < 14; ++i)
        info.push_back(u"Godan verb with `ru' ending / transitive verb");
    for (int i = 0; i < 3; ++i)
        fx.host.lists[0].push_back(MakeEntry(u"取る", u"とる", i == 1 ? meanings : std::vector<std::u16string>{u"x"},
                                             i == 1 ? info : std::vector<std::u16string>{}));
    auto window = fx.MakeWindow(0);
    window->SetUpForNewResults();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect area = window->entriesArea();
    const int h = window->entryHeight();
    QTest::mouseMove(window.get(), QPoint(area.left() + 40, area.top() + h + h / 2));
    MIRUDEX_WAIT_FOR(window->hoverFrame() != nullptr);
    HoverCardFrame* card = window->hoverFrame();
    const QRect avail = window->screen()->availableGeometry();
    EXPECT_TRUE(avail.contains(card->geometry()));
    EXPECT_TRUE(card->Scrolls());
    EXPECT_EQ(card->content(), window->hoverCard());
    EXPECT_EQ(card->objectName(), QStringLiteral("Result_Hover_Window"));
    EXPECT_EQ(card->windowTitle(), QStringLiteral("(Result_Hover_Window)"));
    // Its scroll bar reaches the content's last line.
    QScrollBar* bar = card->verticalScrollBar();
    bar->setValue(bar->maximum());
    EXPECT_EQ(bar->maximum(), window->hoverCard()->height() - card->viewport()->height());
    EXPECT_FALSE(card->isActiveWindow()) << "the card never takes the focus";
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
    MIRUDEX_WAIT_FOR(window->hoverCard() != nullptr);
    EXPECT_TRUE(window->hoverFrame()->isVisible());
    const QRect row(window->mapToGlobal(QPoint(0, area.top())), QSize(window->width(), h));
    EXPECT_FALSE(window->hoverFrame()->geometry().intersects(row)) << "the card leaves the pointer's row free";
    // The gap between the row and the card, on the way to the card, keeps it.
    const QRect card = window->hoverFrame()->geometry();
    ASSERT_EQ(card.top(), row.bottom() + 1 + kCardRowGap) << "below the row";
    QTest::mouseMove(window.get(), window->mapFromGlobal(QPoint(card.left() + 5, row.bottom() + 1)));
    EXPECT_NE(window->hoverCard(), nullptr) << "crossing to the card";
    QTest::mouseMove(window.get(), QPoint(area.left() + 40, area.top() + h + h / 2));
    EXPECT_EQ(window->hoverCard(), nullptr) << "another row closes the card";
    MIRUDEX_WAIT_FOR(window->hoverCard() != nullptr);

    fx.host.threadSearching = true;
    QTest::mouseMove(window.get(), QPoint(area.left() + 40, area.top() + 2 * h + h / 2));
    QTest::keyClick(window.get(), Qt::Key_Down);
    EXPECT_EQ(window->hoverCard(), nullptr) << "a key drops the card";
    EXPECT_FALSE(window->hoverPending()) << "no card is on its way while a worker runs";
}
