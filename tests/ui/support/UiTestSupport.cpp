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
#include "ui/common/AccessiblePanes.h"
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

std::vector<std::string> UnnamedControls(QWidget* window)
{
    std::vector<std::string> unnamed;
    QList<QWidget*> controls = window->findChildren<QWidget*>();
    controls.prepend(window);
    for (QWidget* control : controls) {
        if (!(control->focusPolicy() & Qt::TabFocus) || !control->isVisible() || !control->isEnabled() ||
            control->focusProxy())
            continue;
        QAccessibleInterface* a11y = QAccessible::queryAccessibleInterface(control);
        if (!a11y || a11y->text(QAccessible::Name).trimmed().isEmpty())
            unnamed.push_back(std::string(control->metaObject()->className()) + " " +
                              control->objectName().toStdString());
    }
    return unnamed;
}

namespace {

std::vector<AccessibleEvents::Event>& Recorded()
{
    static std::vector<AccessibleEvents::Event> events;
    return events;
}

void Record(QAccessibleEvent* event) { Recorded().push_back({event->type(), event->object(), event->child()}); }

}  // namespace

AccessibleEvents::AccessibleEvents()
{
    Recorded().clear();
    previous_ = ui::SetAccessibleEventSink(Record);
}

AccessibleEvents::~AccessibleEvents()
{
    ui::SetAccessibleEventSink(previous_);
    Recorded().clear();
}

const std::vector<AccessibleEvents::Event>& AccessibleEvents::events() const { return Recorded(); }

std::vector<AccessibleEvents::Event> AccessibleEvents::Of(QAccessible::Event type, const QObject* object) const
{
    std::vector<Event> out;
    for (const Event& e : Recorded())
        if (e.type == type && e.object == object)
            out.push_back(e);
    return out;
}

void AccessibleEvents::Clear() { Recorded().clear(); }

}  // namespace mirudex::test
