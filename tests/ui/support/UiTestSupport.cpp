#include "ui/support/UiTestSupport.h"

#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "ui/common/QuitRequest.h"

namespace mirudex::test {

void UiTest::SetUp()
{
    WorkDirTest::SetUp();
    ui::quit::Reset();
    OpenLog(1);
    registry_.LoadFromText(DefaultOptionsText());
    registry_.CD(".");
}

void UiTest::TearDown()
{
    ui::quit::Reset();
    WorkDirTest::TearDown();
}

void SaveShot(QWidget* widget, const char* name)
{
    const char* dir = std::getenv("MIRUDEX_SCREENSHOT_DIR");
    if (!dir || !*dir)
        return;
    QDir().mkpath(QString::fromLocal8Bit(dir));
    widget->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/") + QString::fromLatin1(name) +
                        QStringLiteral(".png"));
}

bool WaitUntil(const std::function<bool()>& cond, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!cond()) {
        if (clock.elapsed() > ms)
            return false;
        QTest::qWait(10);
    }
    return true;
}

bool OnX11() { return QGuiApplication::platformName() == QLatin1String("xcb"); }

std::string X11Missing()
{
    if (OnX11())
        return {};
    return "needs an X server (QT_QPA_PLATFORM=xcb, e.g. under xvfb-run); the platform is " +
           QGuiApplication::platformName().toStdString();
}

void MovePointer(QPoint global)
{
    // Warping the pointer makes the X server send the motion and the
    // crossing events a hand on the mouse would.
    QCursor::setPos(global);
    // Until the server reports the pointer there; the tests poll for what the move causes.
    for (int i = 0; i < 200 && QCursor::pos() != global; ++i)
        QTest::qWait(10);
    QCoreApplication::processEvents();
}

}  // namespace mirudex::test
