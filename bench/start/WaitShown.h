// The end of a timed start: the window shown and painted. On a real display
// the window system maps the window and sends its first expose (which paints
// it) some time after show() has returned; offscreen, the first turn of the
// event loop does both.
#pragma once

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstdlib>

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

// Every timed program ends here, at once, as the desktop program's probe
// does: a start is timed to its window on screen, and a program that went on
// to destroy its windows and the application (some milliseconds for even a
// bare window) would be timed for more than its start.
[[noreturn]] inline void EndOnceShown(QWidget& window)
{
    const bool shown = WaitUntilShown(window);
    std::fflush(nullptr);
    std::_Exit(shown ? 0 : 1);
}
