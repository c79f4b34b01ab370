// The Qt platform's clipboard watching and the copy in two forms, over the
// real clipboard of the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
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

// Text and HTML go onto the clipboard as one copy: a program that pastes
// either finds its form, and a later plain copy replaces both.
TEST(QtPlatformTest, TextAndHtmlAreOneCopy)
{
    QtPlatform qt;
    qt.SetClipboardTextAndHtml(u"猫[ねこ]が", u"<ruby>猫<rt>ねこ</rt></ruby>が");
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->text(), QStringLiteral("猫[ねこ]が"));
    EXPECT_EQ(mime->html(), QStringLiteral("<ruby>猫<rt>ねこ</rt></ruby>が"));
    EXPECT_EQ(qt.ClipboardText(), std::optional<std::u16string>(u"猫[ねこ]が"));
    qt.SetClipboardText(u"犬");
    EXPECT_FALSE(QApplication::clipboard()->mimeData()->hasHtml());
}

}  // namespace
}  // namespace mirudex::platform
