// The Qt platform's clipboard watching, over the real clipboard of the
// offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include "platform/qt/QtPlatform.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::platform {
namespace {

TEST(QtPlatformTest, ClipboardWatchingFollowsEveryChangeUntilStopped)
{
    QtPlatform qt;
    int changes = 0;
    qt.WatchClipboard([&] { ++changes; });
    QApplication::clipboard()->setText(QStringLiteral("ねこ"));
    MIRUDEX_WAIT_FOR(changes == 1);
    // A second watcher replaces the first.
    int second = 0;
    qt.WatchClipboard([&] { ++second; });
    QApplication::clipboard()->setText(QStringLiteral("いぬ"));
    MIRUDEX_WAIT_FOR(second == 1);
    EXPECT_EQ(changes, 1);
    qt.WatchClipboard({});
    QApplication::clipboard()->setText(QStringLiteral("とり"));
    QCoreApplication::processEvents();
    EXPECT_EQ(second, 1);
}

}  // namespace
}  // namespace mirudex::platform
