#include "ui/results/ResultHeaderBar.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionHeader>
#include <cstdlib>

namespace mirudex::ui {

namespace {
constexpr int kDividerReach = 4;  // pixels either side of an item's right edge
constexpr int kArrowMargin = 4;
}  // namespace

ResultHeaderBar::ResultHeaderBar(int controlId, const QFont& font, QWidget* parent)
    : QWidget(parent), controlId_(controlId)
{
    setObjectName(QString::number(controlId));
    setFont(font);
    setMouseTracking(true);
    resize(100, PreferredHeight());
}

int ResultHeaderBar::PreferredHeight() const { return QFontMetrics(font()).height() + 6; }

void ResultHeaderBar::SetItems(std::vector<Item> items)
{
    items_ = std::move(items);
    update();
}

bool ResultHeaderBar::ItemRect(int id, int& left, int& right) const
{
    int x = 0;
    for (const Item& item : items_) {
        if (item.id == id) {
            left = x;
            right = x + item.width;
            return true;
        }
        x += item.width;
    }
    return false;
}

int ResultHeaderBar::PlaceOf(int id) const
{
    for (size_t k = 0; k < items_.size(); ++k)
        if (items_[k].id == id)
            return static_cast<int>(k);
    return -1;
}

int ResultHeaderBar::DividerAt(int x) const
{
    int right = 0;
    int found = -1;
    for (size_t k = 0; k < items_.size(); ++k) {
        right += items_[k].width;
        if (std::abs(x - right) <= kDividerReach)
            found = static_cast<int>(k);  // the rightmost item whose edge is in reach
    }
    return found;
}

int ResultHeaderBar::PlaceAt(int x) const
{
    int right = 0;
    for (size_t k = 0; k < items_.size(); ++k) {
        right += items_[k].width;
        if (x < right)
            return static_cast<int>(k);
    }
    return items_.empty() ? -1 : static_cast<int>(items_.size()) - 1;
}

void ResultHeaderBar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    int x = 0;
    for (size_t k = 0; k < items_.size(); ++k) {
        const Item& item = items_[k];
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = QRect(x, 0, item.width, height());
        option.text = item.label;
        option.textAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        option.section = static_cast<int>(k);
        option.position = QStyleOptionHeader::Middle;
        if (static_cast<int>(k) == pressedPlace_ && !dragging_ && tracking_ < 0)
            option.state |= QStyle::State_Sunken;
        // The style leaves its painter state behind (the arrow would not show).
        painter.save();
        style()->drawControl(QStyle::CE_Header, &option, &painter, this);
        painter.restore();
        const QPixmap* arrow = arrows_ ? arrows_(item.id) : nullptr;
        if (arrow && !arrow->isNull()) {
            const QSize size = arrow->deviceIndependentSize().toSize();  // drawn at the screen's pixel ratio
            const int ax = x + item.width - size.width() - kArrowMargin;
            const int ay = (height() - size.height()) / 2;
            if (ax > x)
                painter.drawPixmap(ax, ay, *arrow);
        }
        x += item.width;
    }
    if (x < width())
        painter.fillRect(QRect(x, 0, width() - x, height()), palette().window());
    if (dragging_ && dropPlace_ >= 0) {
        int left = 0, right = 0;
        ItemRect(items_[static_cast<size_t>(dropPlace_)].id, left, right);
        const int mark = dropPlace_ > pressedPlace_ ? right - 1 : left;
        painter.fillRect(QRect(mark - 1, 0, 3, height()), palette().highlight());
    }
}

void ResultHeaderBar::mousePressEvent(QMouseEvent* event)
{
    const int x = static_cast<int>(event->position().x());
    if (event->button() == Qt::RightButton) {
        emit rightClicked();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    stopped_ = false;
    const int divider = DividerAt(x);
    if (divider >= 0) {
        tracking_ = divider;
        return;
    }
    pressedPlace_ = PlaceAt(x);
    pressX_ = x;
    dragging_ = false;
    update();
}

void ResultHeaderBar::mouseMoveEvent(QMouseEvent* event)
{
    const int x = static_cast<int>(event->position().x());
    if (!(event->buttons() & Qt::LeftButton)) {
        setCursor(DividerAt(x) >= 0 ? Qt::SizeHorCursor : Qt::ArrowCursor);
        return;
    }
    if (tracking_ >= 0) {
        int left = 0, right = 0;
        ItemRect(items_[static_cast<size_t>(tracking_)].id, left, right);
        emit dividerTracked(items_[static_cast<size_t>(tracking_)].id, std::max(0, x - left));
        return;
    }
    if (pressedPlace_ >= 0 && !stopped_) {
        if (!dragging_ && std::abs(x - pressX_) >= QApplication::startDragDistance())
            dragging_ = true;
        if (dragging_) {
            dropPlace_ = PlaceAt(x);
            update();
        }
    }
}

void ResultHeaderBar::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int x = static_cast<int>(event->position().x());
    if (tracking_ >= 0 || stopped_) {
        tracking_ = -1;
        stopped_ = false;
        emit dividerReleased();
        return;
    }
    const int pressed = pressedPlace_;
    const bool dragged = dragging_;
    pressedPlace_ = -1;
    dragging_ = false;
    dropPlace_ = -1;
    update();
    if (pressed < 0)
        return;
    if (dragged) {
        const int place = PlaceAt(x);
        if (place >= 0 && place != pressed)
            emit itemMoved(pressed, place);
    } else if (PlaceAt(x) == pressed) {
        emit itemClicked(items_[static_cast<size_t>(pressed)].id);
    }
}

void ResultHeaderBar::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && DividerAt(static_cast<int>(event->position().x())) >= 0) {
        tracking_ = -1;
        stopped_ = true;  // the release that follows ends nothing
        emit dividerDoubleClicked();
        return;
    }
    mousePressEvent(event);
}

}  // namespace mirudex::ui
