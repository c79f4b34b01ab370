#include "ui/common/ProgressWindow.h"

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QTimer>
#include <chrono>
#include <thread>

#include "core/DebugLog.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "ui/common/EscapeFilter.h"
#include "ui/common/QuitRequest.h"
#include "ui/common/Resources.h"

namespace mirudex::ui {

namespace {

QPointer<ProgressWindow> hwnd_searching;

}  // namespace

ProgressWindow::ProgressWindow(const QString& text, bool escLine, const QString& fontFace, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint), text_(text), escLine_(escLine)
{
    setObjectName(QStringLiteral("Searching"));
    setWindowTitle(QStringLiteral("WindowTitle"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(300, 150);
    const int dpi = logicalDpiY();
    textFont_ = MakeFont(fontFace, 20, dpi);
    escFont_ = MakeFont(fontFace, 14, dpi);
    if (mainWindow) {
        const QRect frame = mainWindow->frameGeometry();
        move(mainWindow->width() / 2 + frame.x() - 150, mainWindow->height() / 2 + frame.y() - 75);
    }
}

QRect ProgressWindow::TextRect() const
{
    const QFontMetrics fm(textFont_);
    const int w = fm.horizontalAdvance(text_);
    const int h = fm.height();
    return QRect(width() / 2 - w / 2, height() / 2 - h / 2, w, h);
}

QRect ProgressWindow::EscRect() const
{
    const QFontMetrics fm(escFont_);
    const QString esc = QCoreApplication::translate("Mirudex", "(Press ESC to stop)");
    const int w = fm.horizontalAdvance(esc);
    return QRect(width() / 2 - w / 2, TextRect().bottom() + 1, w, fm.height());
}

void ProgressWindow::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(128, 128, 128));
    p.fillRect(rect().adjusted(2, 2, -2, -2), QColor(196, 196, 196));
    p.setPen(Qt::black);
    p.setFont(textFont_);
    p.drawText(TextRect(), Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignTop, text_);
    if (escLine_) {
        p.setFont(escFont_);
        p.drawText(EscRect(), Qt::TextSingleLine | Qt::AlignLeft | Qt::AlignTop,
                   QCoreApplication::translate("Mirudex", "(Press ESC to stop)"));
    }
}

ProgressWindow* CreateThreadWindow(Registry& registry, QWidget* mainWindow, const QString& text, bool escLine)
{
    if (hwnd_searching) {
        dlog::Write(u"WARNING: CreateThreadWindow(): hwnd_searching is NOT null!\n");
        delete hwnd_searching.data();
    }
    const QString face = QString::fromStdString(registry.GetString(opt::misc::font::kFont));
    hwnd_searching = new ProgressWindow(text, escLine, face, mainWindow);
    // Most work is over long before anyone could read the window: it comes up
    // only once the work has lasted a moment, instead of flashing on and off
    // at every search and warm start.
    QTimer::singleShot(kProgressWindowDelayMs, hwnd_searching.data(), [window = hwnd_searching.data()] {
        window->show();
        window->repaint();
    });
    return hwnd_searching;
}

ProgressWindow* CurrentProgressWindow() { return hwnd_searching.data(); }

int WaitForWorker(const WorkerProbe& worker, int flags)
{
    EscapeFilter esc;
    if (flags & kWaitEscFlag)
        qApp->installEventFilter(&esc);
    int result;
    // Short pauses first, growing to 10 ms: a worker that ends at once (a
    // warm load, most searches) is seen within a millisecond, a long one
    // costs few wake-ups.
    std::chrono::microseconds pause(250);
    for (;;) {
        if (!worker.Running()) {
            // Status texts the worker queued before its end come before the starter's own.
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            result = kWaitFinished;
            break;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if ((flags & kWaitEscFlag) && esc.pressed) {
            result = kWaitEscPressed;
            break;
        }
        if ((flags & kWaitQuitFlag) && quit::Pending()) {
            quit::Take();
            result = kWaitQuitArrived;
            break;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min<std::chrono::microseconds>(pause * 2, std::chrono::milliseconds(10));
    }
    if (flags & kWaitEscFlag)
        qApp->removeEventFilter(&esc);
    if (hwnd_searching) {
        delete hwnd_searching.data();
        dlog::WriteAt(1, u"   hwnd_searching destroyed.\n");
    }
    return result;
}

bool StateProbe::Running() const { return search::WorkerRunning(state_); }

int WaitWithProgress(search::AppState& state, QWidget* mainWindow, const QString& text, int flags)
{
    CreateThreadWindow(state.options, mainWindow, text, (flags & kWaitEscFlag) != 0);
    return WaitForWorker(StateProbe(state), flags);
}

}  // namespace mirudex::ui
