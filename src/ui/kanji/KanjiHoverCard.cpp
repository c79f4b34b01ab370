#include "ui/kanji/KanjiHoverCard.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "core/Registry.h"
#include "platform/qt/QtText.h"

namespace mirudex::ui {

namespace {

constexpr int kKanjiPoints = 26;
constexpr int kReadingPoints = 13;
constexpr int kLabelPoints = 12;
constexpr int kMeaningPoints = 14;
constexpr int kRadicalPoints = 12;
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

const QColor kFrame(0, 0, 255);
const QColor kBand(128, 128, 255);
const QColor kRadicalColor(0, 128, 255);
const QColor kNumbersColor(255, 0, 128);
const QColor kBullet(60, 60, 60);

QSize Measure(const QFont& font, const QString& text, int width = KanjiCardLayout::kLayoutWidth)
{
    return QFontMetrics(font).boundingRect(QRect(0, 0, width, KanjiCardLayout::kLayoutHeight), kTextFlags, text).size();
}

constexpr int kMinMeaningLayout = 200;  // the narrowest the meanings are wrapped at

QFont FaceFont(Registry& options, std::string_view key, int points, int dpiY)
{
    const std::string face = options.GetString(key);
    return MakeFont(QString::fromLatin1(face.data(), static_cast<qsizetype>(face.size())), points, dpiY);
}

}  // namespace

std::u16string RadicalsOfKanji(const dict::RadicalTable& table, char16_t code)
{
    std::u16string out;
    for (const auto& r : table.records) {
        if (r.radical == 0 || r.kanji.find(code) == std::u16string::npos)
            continue;
        if (out.find(r.radical) == std::u16string::npos)
            out += r.radical;
    }
    return out;
}

int KanjiCardLayout::TopLineHeight() const { return std::max(strokesSize.height(), frequencySize.height()); }

int KanjiCardLayout::Width() const
{
    const int columnsWidth = columns[0].width + kColumnGap + columns[1].width + kColumnGap + columns[2].width +
                             kColumnGap + columns[3].width + kMeaningGap + columns[4].width;
    const int topLine = strokesSize.width() + kMeaningGap + frequencySize.width();
    return kBorder + kBand + leftWidth + kLeftGap + std::max(columnsWidth, topLine) + kBorder;
}

int KanjiCardLayout::Height() const
{
    int tallest = 0;
    for (const auto& c : columns)
        tallest = std::max(tallest, c.height);
    const int left = kanjiSize.height() + kKanjiGap + radicalsLabelSize.height() + radicalsHeight;
    return kBorder + std::max(left, TopLineHeight() + kTopLineGap + tallest) + kBorder;
}

KanjiHoverCard::KanjiHoverCard(const dict::KanjiRecord& record, const dict::RadicalTable& radicals, Registry& options,
                               const KanjiColors& colors, int dpiY, QWidget* owner, int maxWidth)
    : QWidget(owner), colors_(colors)
{
    setObjectName(QStringLiteral("Kanji_Hover_Window"));
    setWindowTitle(QStringLiteral("(Kanji_Hover_Window)"));
    setFocusPolicy(Qt::NoFocus);
    fontKanji_ = FaceFont(options, opt::kanji::fonts::kanji::kFont, kKanjiPoints, dpiY);
    fontReading_ = FaceFont(options, opt::kanji::fonts::on::kFont, kReadingPoints, dpiY);
    fontLabel_ = FaceFont(options, opt::kanji::fonts::meaning::kFont, kLabelPoints, dpiY);
    fontMeaning_ = FaceFont(options, opt::kanji::fonts::meaning::kFont, kMeaningPoints, dpiY);
    fontRadical_ = FaceFont(options, opt::kanji::fonts::kanji::kFont, kRadicalPoints, dpiY);
    Measure(record, radicals, maxWidth);
    setGeometry(0, 0, layout_.Width(), layout_.Height());
}

void KanjiHoverCard::Measure(const dict::KanjiRecord& record, const dict::RadicalTable& radicals, int maxWidth)
{
    KanjiCardLayout& l = layout_;
    l.kanji = QString(QChar(record.code));
    l.radicalsLabel = QCoreApplication::translate("Mirudex", "Radicals");
    l.strokes = QCoreApplication::translate("Mirudex", "Strokes: %1").arg(record.strokes);
    l.frequency = QCoreApplication::translate("Mirudex", "Frequency: %1 / 2501").arg(record.frequency);
    l.kanjiSize = ui::Measure(fontKanji_, l.kanji);
    l.radicalsLabelSize = ui::Measure(fontLabel_, l.radicalsLabel);
    l.strokesSize = ui::Measure(fontLabel_, l.strokes);
    l.frequencySize = ui::Measure(fontLabel_, l.frequency);

    l.leftWidth = std::max(l.kanjiSize.width(), l.radicalsLabelSize.width());
    for (char16_t r : RadicalsOfKanji(radicals, static_cast<char16_t>(record.code))) {
        l.radicals.push_back(QString(QChar(r)));
        l.radicalSizes.push_back(ui::Measure(fontRadical_, l.radicals.back()));
        l.leftWidth = std::max(l.leftWidth, l.radicalSizes.back().width());
        l.radicalsHeight += l.radicalSizes.back().height();
    }

    const std::vector<std::u16string>* lists[5] = {&record.onReadings, &record.kunReadings, &record.nanori,
                                                   &record.radicalReadings, &record.meanings};
    const char* labels[4] = {"On", "Kun", "Nanori", "Radical"};
    int layoutWidth = KanjiCardLayout::kLayoutWidth;
    for (int c = 0; c < 5; ++c) {
        auto& column = l.columns[c];
        auto add = [&column, layoutWidth](const QString& text, const QFont& font) {
            column.texts.push_back(text);
            column.sizes.push_back(ui::Measure(font, text, layoutWidth));
            column.width = std::max(column.width, column.sizes.back().width());
            column.height += column.sizes.back().height();
        };
        if (c == 4 && maxWidth > 0) {
            // The meanings wrap where the card would leave the screen.
            const int used = l.Width() - KanjiCardLayout::kBorder;  // the card without the meanings, but its border
            layoutWidth = std::clamp(maxWidth - used - KanjiCardLayout::kBorder, kMinMeaningLayout, layoutWidth);
        }
        if (c < 4)
            add(QString::fromLatin1(labels[c]), fontLabel_);
        for (const auto& s : *lists[c])
            add(Q(s), c < 4 ? fontReading_ : fontMeaning_);
    }
}

void KanjiHoverCard::paintEvent(QPaintEvent*)
{
    const KanjiCardLayout& l = layout_;
    QPainter p(this);
    // The fixed colours stay readable on whatever background the user chose.
    const QColor bg = colors_.bg1;
    p.fillRect(rect(), bg);
    p.setPen(QPen(LegibleOn(kFrame, bg), 2));
    p.drawRect(1, 1, width() - 2, height() - 2);
    p.fillRect(2, 2, 2 * KanjiCardLayout::kBorder - 1, height() - 4, kBand);

    auto text = [&p](int x, int y, const QSize& size, const QFont& font, const QColor& color, const QString& s) {
        p.setFont(font);
        p.setPen(color);
        p.drawText(QRect(QPoint(x, y), size), kTextFlags, s);
    };

    const int x0 = KanjiCardLayout::kBorder + KanjiCardLayout::kBand;
    const int y0 = KanjiCardLayout::kBorder;
    text(x0, y0, l.kanjiSize, fontKanji_, colors_.kanji, l.kanji);
    int y = y0 + l.kanjiSize.height() + KanjiCardLayout::kKanjiGap;
    text(x0, y, l.radicalsLabelSize, fontLabel_, colors_.meaning, l.radicalsLabel);
    y += l.radicalsLabelSize.height();
    for (size_t i = 0; i < l.radicals.size(); ++i) {
        text(x0, y, l.radicalSizes[i], fontRadical_, LegibleOn(kRadicalColor, bg), l.radicals[i]);
        y += l.radicalSizes[i].height();
    }

    const int xr = l.RightX();
    text(xr, y0, l.strokesSize, fontLabel_, LegibleOn(kNumbersColor, bg), l.strokes);
    text(xr + l.strokesSize.width() + KanjiCardLayout::kMeaningGap, y0, l.frequencySize, fontLabel_,
         LegibleOn(kNumbersColor, bg), l.frequency);

    const int y1 = y0 + l.TopLineHeight() + KanjiCardLayout::kTopLineGap;
    const QColor readingColors[4] = {colors_.on, colors_.kun, colors_.on, colors_.kun};
    int x = xr;
    for (int c = 0; c < 4; ++c) {
        const auto& column = l.columns[c];
        int cy = y1;
        for (size_t i = 0; i < column.texts.size(); ++i) {
            const bool label = i == 0;
            text(x, cy, column.sizes[i], label ? fontLabel_ : fontReading_, label ? colors_.kanji : readingColors[c],
                 column.texts[i]);
            cy += column.sizes[i].height();
        }
        x += column.width + (c < 3 ? KanjiCardLayout::kColumnGap : KanjiCardLayout::kMeaningGap);
    }
    const auto& meanings = l.columns[4];
    int cy = y1;
    for (size_t i = 0; i < meanings.texts.size(); ++i) {
        // The bullet on a wrapped meaning's first line.
        const int lineHeight = QFontMetrics(fontMeaning_).height();
        p.fillRect(x - 10, cy + lineHeight / 2 - 3, 6, 6, LegibleOn(kBullet, bg));
        text(x, cy, meanings.sizes[i], fontMeaning_, colors_.meaning, meanings.texts[i]);
        cy += meanings.sizes[i].height();
    }
}

}  // namespace mirudex::ui
