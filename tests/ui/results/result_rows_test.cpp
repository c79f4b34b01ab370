// What the rows of a result window show: the cell texts, the romaji mode, and
// the laid-out texts kept between paints.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QTest>

#include "text/Romaji.h"
#include "ui/results/ResultRowPainter.h"
#include "ui/results/result_test_host.h"

using namespace mirudex;
using namespace mirudex::ui;
using mirudex::test::MakeEntry;

TEST(ResultRows, CellTextsOfTheSixItems)
{
    const dict::Entry e = MakeEntry(u"猫舌", u"ねこじた", {u"cat's tongue", u"sensitivity to hot food"},
                                    {u"noun (common)", u"common word"});
    RowTexts texts;
    texts.meaningSeparator = u" / ";
    texts.toRomaji = [](std::u16string_view kana) { return text::KanaToRomaji(kana); };
    struct Case {
        int item;
        bool romaji;
        std::u16string text;
    };
    const Case cases[] = {
        {kItemWord, false, u"猫舌"},
        {kItemKana, false, u"ねこじた"},
        {kItemKana, true, text::KanaToRomaji(u"ねこじた")},
        {kItemInfo, false, u"noun (common) | common word"},
        {kItemMeaning, false, u"cat's tongue / sensitivity to hot food"},
        {kItemWordLength, false, u"2"},
        {kItemKanaLength, true, u"4"},
    };
    for (const Case& c : cases) {
        texts.romaji = c.romaji;
        EXPECT_EQ(CellText(e, c.item, texts), c.text) << c.item;
    }
    EXPECT_EQ(text::KanaToRomaji(u"ねこじた").empty(), false);
    EXPECT_EQ(CellText(MakeEntry(u"", u"", {}), kItemMeaning, texts), u"");
}

TEST(ResultRows, LongTextsAreKeptOnlyAsFarAsTheCellReaches)
{
    test::ResultFixture fx;
    const QFont& font = fx.resources.fonts.result_meaning;
    CellTextCache cache;
    const QString shortText = QStringLiteral("cat");
    const QString longText = QString(300, QLatin1Char('m'));
    const auto& fits = cache.Get(3, shortText, font, 200);
    EXPECT_FALSE(fits.overflows);
    EXPECT_EQ(fits.text.text(), shortText);
    const auto& cut = cache.Get(3, longText, font, 200);
    EXPECT_TRUE(cut.overflows);
    EXPECT_LT(cut.text.text().size(), longText.size());
    EXPECT_GT(QFontMetrics(font).horizontalAdvance(cut.text.text()), 200) << "the kept part reaches past the cell";
    EXPECT_EQ(&cache.Get(3, longText, font, 200), &cut) << "a second paint takes the laid-out text";
    EXPECT_TRUE(cache.Get(3, longText, font, 4000).overflows == false) << "a wider cell is another entry";
}

TEST(ResultRows, RowsAlternateAndSelectedRowsAreComplemented)
{
    test::ResultFixture fx;
    for (int i = 0; i < 3; ++i)
        fx.host.lists[0].push_back(MakeEntry(u"猫", u"ねこ", {u"cat"}));
    fx.host.lists[0][2].selected = true;
    auto window = fx.MakeWindow(0, 500, 400);
    window->SetUpForNewResults();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QImage image = window->grab().toImage();
    const QRect area = window->entriesArea();
    const int h = window->entryHeight();
    const ResultColors& c = fx.resources.result;
    // Sample right of the last cell's text, inside the row.
    const int x = area.right() - 4;
    EXPECT_EQ(image.pixelColor(x, area.top() + 2), c.bg1);
    EXPECT_EQ(image.pixelColor(x, area.top() + h + 2), c.bg2);
    EXPECT_EQ(image.pixelColor(x, area.top() + 2 * h + 2), Complement(c.bg1));
    EXPECT_EQ(image.pixelColor(x, area.top() + 3 * h + 5), c.bg_window) << "below the last row";
    EXPECT_EQ(image.pixelColor(area.left(), area.top() + h / 2), c.border_outside) << "the row frame";
}
