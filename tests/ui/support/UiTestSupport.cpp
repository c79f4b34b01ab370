#include "ui/support/UiTestSupport.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QRadioButton>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>
#include <cstdlib>
#include <map>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "platform/qt/Translation.h"
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

LanguageScope::LanguageScope(const char* locale)
    : loaded_(platform::InstallTranslations(QLocale(QString::fromLatin1(locale))))
{
}

LanguageScope::~LanguageScope() { platform::RemoveTranslations(); }

namespace {

void AddMenuTexts(const QList<QAction*>& actions, std::vector<QString>& texts)
{
    for (QAction* action : actions) {
        if (action->isSeparator())
            continue;
        texts.push_back(action->text());
        if (QMenu* menu = action->menu())
            AddMenuTexts(menu->actions(), texts);
    }
}

}  // namespace

std::vector<QString> ShownTexts(QWidget* window)
{
    std::vector<QString> texts{window->windowTitle()};
    for (QMenuBar* bar : window->findChildren<QMenuBar*>())
        AddMenuTexts(bar->actions(), texts);
    for (QMenu* menu : window->findChildren<QMenu*>())
        AddMenuTexts(menu->actions(), texts);
    for (QLabel* label : window->findChildren<QLabel*>())
        texts.push_back(label->text());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        texts.push_back(button->text());
    for (QGroupBox* group : window->findChildren<QGroupBox*>())
        texts.push_back(group->title());
    for (QTreeWidget* tree : window->findChildren<QTreeWidget*>())
        for (QTreeWidgetItem* item : tree->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive))
            texts.push_back(item->text(0));
    std::erase_if(texts, [](const QString& text) { return text.trimmed().isEmpty(); });
    return texts;
}

std::vector<std::string> MnemonicProblems(QWidget* dialog)
{
    std::vector<std::string> problems;
    std::map<QString, int> textCount;
    std::vector<std::pair<QWidget*, QString>> shown;
    for (QWidget* widget : dialog->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(dialog))
            continue;
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else
            continue;
        if (text.isEmpty())
            continue;
        ++textCount[text];
        shown.emplace_back(widget, text);
    }
    std::map<int, QString> owners;
    for (const auto& [widget, text] : shown) {
        const QKeySequence key = QKeySequence::mnemonic(text);
        const std::string name = text.toStdString();
        auto* label = qobject_cast<QLabel*>(widget);
        if (key.isEmpty()) {
            const bool box = qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget);
            // OK and Cancel (ids 1 and 2, or a button box's) answer Enter and Escape.
            const bool okOrCancel = widget->objectName() == QLatin1String("1") ||
                                    widget->objectName() == QLatin1String("2") ||
                                    qobject_cast<QDialogButtonBox*>(widget->parentWidget());
            const bool ownButton = qobject_cast<QAbstractButton*>(widget) && textCount[text] == 1 && !okOrCancel;
            if ((box && textCount[text] == 1) || ownButton)
                problems.push_back("no mnemonic: " + name);
            continue;
        }
        if (label && !label->buddy())
            problems.push_back("a label's mnemonic leads nowhere: " + name);
        const int k = key[0].toCombined();
        if (const auto [at, added] = owners.emplace(k, text); !added)
            problems.push_back("same mnemonic: " + at->second.toStdString() + " / " + name);
    }
    return problems;
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
