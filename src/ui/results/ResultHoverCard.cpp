#include "ui/results/ResultHoverCard.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "ui/model/ResultCardText.h"

namespace mirudex::ui {

namespace {

constexpr int kLayoutWidth = 600;
constexpr int kLayoutHeight = 400;
constexpr int kMinRightLayout = 200;  // the narrowest the meanings are wrapped at
constexpr int kTextFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;

QFont Sized(const QFont& face, int points, int dpiY)
{
    QFont font(face);
    font.setPixelSize(std::max(1, MulDiv(points, dpiY, 72)));
    return font;
}

QString ToQ(const std::u16string& text) { return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

int HoverMeaningPoints(const dict::Entry& entry)
{
    const bool longMeaning = std::any_of(entry.meanings.begin(), entry.meanings.end(),
                                         [](const std::u16string& m) { return m.size() > 40; });
    return entry.meanings.size() >= 13 || longMeaning ? kHoverSmallMeaningPoints : kHoverMeaningPoints;
}

ResultHoverCard::ResultHoverCard(const dict::Entry& entry, const Fonts& fonts, const ResultColors& colors, int dpiY,
                                 QWidget* owner, int maxWidth)
    : QWidget(owner),
      entry_(entry),
      colors_(colors),
      word_(Sized(fonts.result_word, kHoverWordPoints, dpiY)),
      kana_(Sized(fonts.result_kana, kHoverKanaPoints, dpiY)),
      info_(Sized(fonts.result_info, kHoverInfoPoints, dpiY)),
      meaning_(Sized(fonts.result_meaning, HoverMeaningPoints(entry), dpiY))
{
    setObjectName(QStringLiteral("Result_Hover_Window"));
    setWindowTitle(QStringLiteral("(Result_Hover_Window)"));
    setFocusPolicy(Qt::NoFocus);

    auto measure = [](const QFont& font, const QString& text, int width) {
        return Line{text, QFontMetrics(font).boundingRect(QRect(0, 0, width, kLayoutHeight), kTextFlags, text)};
    };
    wordLine_ = measure(word_, ToQ(entry.word), kLayoutWidth);
    kanaLine_ = measure(kana_, ToQ(entry.kana), kLayoutWidth);
    left_ = std::max(wordLine_.box.width(), kanaLine_.box.width());
    // The right column wraps where the card would leave the screen.
    int rightLayout = kLayoutWidth;
    if (maxWidth > 0)
        rightLayout = std::clamp(maxWidth - (8 + 10 + left_ + 22 + 8), kMinRightLayout, kLayoutWidth);
    // What holds for the whole entry on top, then the senses.
    for (const CardLine& line : ResultCardLines(entry)) {
        if (line.kind == CardLine::Kind::EntryTags) {
            infoLines_.push_back(measure(info_, ToQ(line.text), rightLayout));
            continue;
        }
        const bool tags = line.kind == CardLine::Kind::SenseTags;
        meaningLines_.push_back(measure(tags ? info_ : meaning_, ToQ(line.text), rightLayout));
        meaningLines_.back().tags = tags;
    }

    const int leftHeight = wordLine_.box.height() + kanaLine_.box.height();
    int right = 0;
    int rightHeight = 10;
    for (const Line& line : infoLines_) {
        right = std::max(right, line.box.width());
        rightHeight += line.box.height();
    }
    for (const Line& line : meaningLines_) {
        right = std::max(right, line.box.width());
        rightHeight += line.box.height();
    }
    resize(8 + 10 + left_ + 22 + right + 8, std::max(rightHeight, leftHeight) + 16);
}

void ResultHoverCard::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int w = width();
    const int h = height();
    const QColor bg = colors_.bg1;
    p.fillRect(rect(), bg);
    // Frame 2 pixels wide around (1, 1, w - 2, h - 2), then the band on the
    // left; the fixed colours stay readable on whatever background the user chose.
    const QColor frame = LegibleOn(QColor(0, 0, 255), bg);
    p.fillRect(QRect(0, 0, w, 2), frame);
    p.fillRect(QRect(0, h - 2, w, 2), frame);
    p.fillRect(QRect(0, 0, 2, h), frame);
    p.fillRect(QRect(w - 2, 0, 2, h), frame);
    p.fillRect(QRect(2, 2, 17, h - 4), QColor(128, 128, 255));

    auto draw = [&p](const QFont& font, const QColor& color, const QString& text, int x, int y, const QRect& box) {
        p.setFont(font);
        p.setPen(color);
        p.drawText(QRect(x, y, box.width() + 1, box.height()), kTextFlags, text);
    };
    draw(word_, colors_.word, wordLine_.text, 18, 8, wordLine_.box);
    draw(kana_, colors_.kana, kanaLine_.text, 18, 8 + wordLine_.box.height(), kanaLine_.box);

    const int textX = 40 + left_;
    const int squareX = 30 + left_;
    int y = 8;
    for (const Line& line : infoLines_) {
        draw(info_, colors_.info, line.text, textX, y, line.box);
        p.fillRect(QRect(squareX, y + QFontMetrics(info_).height() / 2 - 3, 4, 4), colors_.info);
        y += line.box.height();
    }
    y += 10;
    for (const Line& line : meaningLines_) {
        if (line.tags) {
            draw(info_, colors_.info, line.text, textX, y, line.box);
        } else {
            draw(meaning_, colors_.meaning, line.text, textX, y, line.box);
            p.fillRect(QRect(squareX, y + QFontMetrics(meaning_).height() / 2 - 3, 6, 6),
                       LegibleOn(QColor(60, 60, 60), bg));
        }
        y += line.box.height();
    }
}

}  // namespace mirudex::ui
