// The end of a timed start: the window shown and painted. On a real display
// the window system maps the window and sends its first expose (which paints
// it) some time after show() has returned; offscreen, the first turn of the
// event loop does both.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

inline bool WaitUntilShown(QWidget& window)
{
    const QDeadlineTimer deadline(10000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    QCoreApplication::processEvents();
    return true;
}
