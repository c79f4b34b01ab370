// What the rows of a result window show: the cell texts, the romaji mode, and
// the laid-out texts kept between paints, the frames and which rows a paint
// covers.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
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

    // An entry split into senses: the info column says the first sense's
    // markers the way the line writes them, the common-word mark last; a
    // compact row's meaning is the first sense alone.
    const dict::Entry sensed =
        test::MakeSensedEntry(u"猫", u"ねこ", {u"(n,vs) (1) cat", u"feline", u"(n) (2) (abbr) wheelbarrow", u"(P)"});
    texts.romaji = false;
    EXPECT_EQ(CellText(sensed, kItemInfo, texts), u"(n) (vs) (P)");
    EXPECT_EQ(CellText(sensed, kItemMeaning, texts), u"(1) cat / feline / (2) wheelbarrow");
    texts.firstSenseOnly = true;
    EXPECT_EQ(CellText(sensed, kItemMeaning, texts), u"cat / feline");
    EXPECT_EQ(CellText(e, kItemMeaning, texts), u"cat's tongue") << "no senses: the first meaning";
    EXPECT_EQ(CellText(test::MakeSensedEntry(u"甲", u"こう", {u"plain"}), kItemInfo, texts), u"");
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

TEST(ResultRows, FrameOutlinesAreWhatAOnePixelPenDraws)
{
    // Compared with QPainter::drawRect: a rectangle's size plus one pixel,
    // thin and empty rectangles, a painter clipped through the outline, and
    // painters moved and scaled (a high-DPI screen).
    const QRect rects[] = {
        {10, 10, 50, 20}, {0, 0, 1, 1}, {5, 40, 80, 1}, {70, 5, 1, 30}, {30, 30, 0, 10}, {30, 30, 10, 0},
    };
    const QColor color(0x12, 0x80, 0xfe);
    const QTransform transforms[] = {QTransform(), QTransform::fromTranslate(3, 2), QTransform::fromScale(2, 2),
                                     QTransform::fromScale(1.5, 1.5)};
    for (const QRect& r : rects) {
        for (const bool clipped : {false, true}) {
            for (const QTransform& transform : transforms) {
                QImage expected(200, 120, QImage::Format_RGB32);
                expected.fill(Qt::white);
                QImage painted = expected;
                auto begin = [&](QPainter& p) {
                    p.setTransform(transform);
                    if (clipped)
                        p.setClipRect(QRect(0, 0, 40, 35));
                };
                {
                    QPainter p(&expected);
                    begin(p);
                    p.setPen(QPen(color, 1));
                    p.drawRect(r);
                }
                {
                    QPainter p(&painted);
                    begin(p);
                    DrawOutline(p, r, color);
                }
                EXPECT_EQ(painted, expected) << r.x() << "," << r.y() << " " << r.width() << "x" << r.height()
                                             << (clipped ? " clipped" : "") << " scaled " << transform.m11();
            }
        }
    }
}

TEST(ResultRows, TextsReachingPastTheCellAreAlwaysClipped)
{
    // Around each text's own width, a pixel at a time: a text the font
    // measures wider than its cell is drawn clipped, and a cut text still
    // reaches past the cell. Trailing spaces, tabs, line separators and last
    // letters whose ink overhangs their advance are where a layout's width
    // and the font's measure may part.
    test::ResultFixture fx;
    const QFont& font = fx.resources.fonts.result_meaning;
    const QFontMetrics metrics(font);
    // A letter whose rounded advance falls short of its own: a row of them
    // adds up to less than the text's width, so that width is what decides.
    QChar shortLetter = u'i';
    for (const QChar c : QStringLiteral("ilmnrstuaeocx")) {
        auto shortBy = [&](QChar l) { return QFontMetricsF(font).horizontalAdvance(l) - metrics.horizontalAdvance(l); };
        if (shortBy(c) > shortBy(shortLetter))
            shortLetter = c;
    }
    const QString row(40, shortLetter);
    const QString texts[] = {
        row + QStringLiteral("   "),
        row + QStringLiteral("\t") + row,
        row + QChar(QChar::LineSeparator) + row,
        row + QStringLiteral("f"),
        QStringLiteral("educator | teacher | educationalist"),
        QStringLiteral("staff | chef | self"),
        QStringLiteral("cat's tongue   "),
        QStringLiteral("cat\ttongue"),
        QStringLiteral("猫舌 | ねこじた"),
        QStringLiteral("(1) cat (Felis catus) | domestic cat | (2) house cat | indoor cat"),
    };
    for (const QString& text : texts) {
        const int own = metrics.horizontalAdvance(text);
        for (int width = own - 12; width <= own + 12; ++width) {
            CellTextCache cache;
            const CellTextCache::Text& laidOut = cache.Get(3, text, font, width);
            if (own > width) {
                EXPECT_TRUE(laidOut.overflows) << qPrintable(text) << " in " << width;
            }
            if (laidOut.text.text() != text) {
                EXPECT_GT(metrics.horizontalAdvance(laidOut.text.text()), width) << qPrintable(text) << " in " << width;
            }
        }
        CellTextCache cache;
        EXPECT_FALSE(cache.Get(3, text, font, own + 200).overflows) << qPrintable(text) << " fits with room to spare";
    }
}

TEST(ResultRows, OnlyRowsNearTheExposedPartArePainted)
{
    test::ResultFixture fx;
    std::vector<dict::Entry> list;
    for (int i = 0; i < 10; ++i)
        list.push_back(MakeEntry(u"猫", u"ねこ", {u"cat"}));
    const int h = 40;
    RowPaintInput in;
    in.list = &list;
    in.rows = {0, 9, 10};
    in.entryHeight = h;
    in.area = QRect(0, 0, 300, 10 * h);
    in.cells = {{kItemWord, 0, 100, 0, h / 2}, {kItemMeaning, 0, 300, h / 2, h / 2}};
    in.fonts = &fx.resources.fonts;
    in.colors = &fx.resources.result;
    const QColor untouched(1, 2, 3);
    struct Case {
        QRect exposed;
        int firstPainted, lastPainted;
    };
    const Case cases[] = {
        {QRect(), 0, 9},
        {QRect(10, 5 * h + 10, 20, 5), 4, 6},
        {QRect(0, 0, 300, 1), 0, 1},
        {QRect(0, 9 * h + 2, 300, h), 8, 9},
    };
    for (const Case& c : cases) {
        QImage image(300, 10 * h, QImage::Format_RGB32);
        image.fill(untouched);
        in.exposed = c.exposed;
        {
            QPainter p(&image);
            PaintRows(p, in);
        }
        for (int row = 0; row < 10; ++row) {
            const bool painted = image.pixelColor(290, row * h + h / 4) != untouched;
            EXPECT_EQ(painted, row >= c.firstPainted && row <= c.lastPainted)
                << "row " << row << " exposed at " << c.exposed.y() << "+" << c.exposed.height();
        }
    }
}
