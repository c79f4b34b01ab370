#include "ui/kanji/KanjiHeaderBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <cstdlib>

namespace mirudex::ui {

KanjiHeaderBar::KanjiHeaderBar(int id, const std::vector<QString>& texts, const std::vector<int>& percents,
                               QWidget* parent)
    : QWidget(parent), id_(id), texts_(texts), arrows_(texts.size())
{
    setObjectName(QString::number(id));
    setMouseTracking(true);
    items_.percents = percents;
    items_.percents.resize(texts.size(), 0);
    items_.widths.assign(texts.size(), 0);
    resize(kInitialWidth, kInitialHeight);
    LayOut(kInitialWidth);
}

int KanjiHeaderBar::ItemLeft(int item) const
{
    int x = 0;
    for (int i = 0; i < item && i < count(); ++i)
        x += items_.widths[i];
    return x;
}

void KanjiHeaderBar::LayOut(int total)
{
    items_.widths = LayoutPercentWidths(items_.percents, total);
    resize(total, PreferredHeight());
    update();
}

int KanjiHeaderBar::PreferredHeight() const { return std::max(kInitialHeight, fontMetrics().height() + 4); }

void KanjiHeaderBar::SetArrow(int item, const QPixmap& arrow)
{
    arrows_[item] = arrow;
    update();
}

void KanjiHeaderBar::ClearArrow(int item)
{
    arrows_[item] = QPixmap();
    update();
}

int KanjiHeaderBar::GripAt(int x) const
{
    int right = 0;
    for (int i = 0; i < count(); ++i) {
        right += items_.widths[i];
        if (std::abs(x - right) <= kGrip)
            return i;
    }
    return -1;
}

int KanjiHeaderBar::ItemAt(int x) const
{
    int left = 0;
    for (int i = 0; i < count(); ++i) {
        if (x >= left && x < left + items_.widths[i])
            return i;
        left += items_.widths[i];
    }
    return -1;
}

void KanjiHeaderBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.button());
    p.setFont(font());
    int left = 0;
    for (int i = 0; i < count(); ++i) {
        const int w = items_.widths[i];
        if (w <= 0) {
            left += std::max(w, 0);
            continue;
        }
        const QRect r(left, 0, w, height());
        const bool sunken = i == pressed_;
        p.setPen(sunken ? pal.color(QPalette::Dark) : pal.color(QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(sunken ? pal.color(QPalette::Light) : pal.color(QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.save();
        p.setClipRect(r.adjusted(1, 1, -1, -1));
        const int shift = sunken ? 1 : 0;
        QRect textRect = r.adjusted(6 + shift, shift, -3, 0);
        const QPixmap& a = arrows_[i];
        const int arrowWidth = a.isNull() ? 0 : qRound(a.width() / a.devicePixelRatio());
        const int arrowHeight = a.isNull() ? 0 : qRound(a.height() / a.devicePixelRatio());
        if (arrowWidth > 0)
            textRect.setRight(textRect.right() - arrowWidth - 4);  // the arrow keeps its room
        p.setPen(pal.color(QPalette::ButtonText));
        const QString text = p.fontMetrics().elidedText(texts_[i], Qt::ElideRight, std::max(0, textRect.width()));
        QRect used;
        p.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text, &used);
        if (arrowWidth > 0) {
            const int ax = std::min(used.right() + 5, r.right() - 2 - arrowWidth);
            const int ay = r.top() + (r.height() - arrowHeight) / 2 + shift;
            p.drawPixmap(ax, ay, a);
        }
        p.restore();
        left += w;
    }
}

void KanjiHeaderBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    const int grip = GripAt(x);
    if (grip >= 0) {
        if (!onBeginTrack || onBeginTrack(grip))
            tracking_ = grip;
        return;
    }
    pressed_ = ItemAt(x);
    update();
}

void KanjiHeaderBar::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    if (tracking_ >= 0) {
        if (onTrack)
            onTrack(tracking_, x - ItemLeft(tracking_));
        return;
    }
    if (pressed_ < 0)
        setCursor(GripAt(x) >= 0 ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void KanjiHeaderBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (tracking_ >= 0) {
        const int item = tracking_;
        tracking_ = -1;
        if (onEndTrack)
            onEndTrack(item);
        return;
    }
    const int pressed = pressed_;
    pressed_ = -1;
    update();
    if (pressed >= 0 && ItemAt(event->position().toPoint().x()) == pressed && onItemClick)
        onItemClick(pressed);
}

}  // namespace mirudex::ui
