#include "ui/support/UiTestSupport.h"

#include <QDir>
#include <QPixmap>
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

}  // namespace mirudex::test
