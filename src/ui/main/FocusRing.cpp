#include "ui/main/FocusRing.h"

#include <QApplication>
#include <QEvent>
#include <QPainter>

namespace mirudex::ui {

FocusRing::FocusRing(const std::vector<QWidget*>& panes, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FocusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    for (QWidget* pane : panes) {
        if (!pane)
            continue;
        panes_.emplace_back(pane);
        pane->installEventFilter(this);
    }
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

void FocusRing::FocusChanged(QWidget* now)
{
    target_ = nullptr;
    for (const QPointer<QWidget>& pane : panes_)
        if (pane && now == pane)
            target_ = pane;
    Follow();
}

void FocusRing::Follow()
{
    if (!target_ || !target_->isVisible() || target_->width() <= 4 || target_->height() <= 4) {
        hide();
        return;
    }
    setGeometry(QRect(target_->mapTo(parentWidget(), QPoint(0, 0)), target_->size()));
    raise();
    show();
    update();
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == target_) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
        case QEvent::Hide: Follow(); break;
        default: break;
        }
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Active, QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace mirudex::ui
