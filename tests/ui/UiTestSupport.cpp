#include "UiTestSupport.h"

#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <cstdlib>

#include "core/DebugLog.h"
#include "core/DefaultOptions.h"
#include "ui/QuitRequest.h"

namespace mirudex::test {

namespace {

class QtEnvironment : public ::testing::Environment {
public:
    void SetUp() override { App(); }
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QApplication& App()
{
    static int argc = 1;
    static char name[] = "ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        auto* a = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

void UiTest::SetUp()
{
    WorkDirTest::SetUp();
    App();
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

}  // namespace mirudex::test
