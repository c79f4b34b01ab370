#include "ui/common/HoverCardWatch.h"

#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QWidget>

#include "ui/model/HoverCardPlace.h"

namespace mirudex::ui {

HoverCardWatch::HoverCardWatch(QWidget* pane, std::function<void()> close) : pane_(pane), close_(std::move(close)) {}

HoverCardWatch::~HoverCardWatch() { Stop(); }

void HoverCardWatch::Start(QWidget* card, const QRect& row)
{
    card_ = card;
    row_ = row;
    if (watching_ || !qApp)
        return;
    watching_ = true;
    qApp->installEventFilter(this);
}

void HoverCardWatch::Stop()
{
    if (!watching_)
        return;
    watching_ = false;
    if (qApp)
        qApp->removeEventFilter(this);
}

bool HoverCardWatch::Keeps(QPoint global) const
{
    const ScreenRect row{row_.x(), row_.y(), row_.width(), row_.height()};
    if (!card_)
        return row.Contains(global.x(), global.y());
    const QRect c = card_->geometry();
    return PointerKeepsCard(global.x(), global.y(), row, ScreenRect{c.x(), c.y(), c.width(), c.height()});
}

bool HoverCardWatch::OnPane(QObject* object) const
{
    // The pane, its children and the windows it owns (the card itself).
    for (auto* widget = qobject_cast<QWidget*>(object); widget; widget = widget->parentWidget())
        if (widget == pane_)
            return true;
    return false;
}

void HoverCardWatch::Close()
{
    Stop();
    if (close_)
        close_();
}

bool HoverCardWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (!pane_) {
        Stop();
        return false;
    }
    switch (event->type()) {
    case QEvent::Enter:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        // Only widgets count: the same event also passes through their windows.
        if (watched->isWidgetType() && !OnPane(watched))
            Close();
        break;
    case QEvent::Show:
        if (watched->isWidgetType() && static_cast<QWidget*>(watched)->windowType() == Qt::Popup)
            Close();  // a menu opens: the card goes with the mouse to it
        break;
    case QEvent::Leave:
        // The pointer left the card: for its row it stays, for anywhere else it goes.
        if (card_ && watched == card_ && !Keeps(QCursor::pos()))
            Close();
        break;
    case QEvent::Hide:
        if (watched == pane_)
            Close();
        break;
    case QEvent::WindowDeactivate:
        if (watched == pane_->window())
            Close();
        break;
    case QEvent::ApplicationDeactivate: Close(); break;
    default: break;
    }
    return false;
}

}  // namespace mirudex::ui
