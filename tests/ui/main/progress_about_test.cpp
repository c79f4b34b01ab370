// The progress window and the wait loop; the About window.
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>

#include "platform/qt/QtText.h"
#include "ui/common/AboutWindow.h"
#include "ui/common/CommandIds.h"
#include "ui/common/ProgressWindow.h"
#include "ui/common/QuitRequest.h"
#include "ui/main/MainWindow.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

class FlagWorker : public WorkerProbe {
public:
    bool Running() const override { return running; }
    std::atomic<bool> running{true};
};

class ProgressTest : public test::UiTest {};

TEST_F(ProgressTest, WindowSizeTextsAndPlace)
{
    QWidget main;
    main.setGeometry(100, 80, 800, 600);
    main.show();
    ProgressWindow* w = CreateThreadWindow(registry_, &main, QStringLiteral("Searching..."), true);
    ASSERT_EQ(CurrentProgressWindow(), w);
    EXPECT_EQ(w->objectName(), QStringLiteral("Searching"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("WindowTitle"));
    EXPECT_EQ(w->size(), QSize(300, 150));
    EXPECT_EQ(w->pos(), QPoint(main.width() / 2 + main.frameGeometry().x() - 150,
                               main.height() / 2 + main.frameGeometry().y() - 75));
    // The text centred, the ESC line centred below it.
    const QRect text = w->TextRect();
    EXPECT_NEAR(text.center().x(), 150, 1);
    EXPECT_NEAR(text.center().y(), 75, 1);
    EXPECT_EQ(w->EscRect().top(), text.bottom() + 1);
    EXPECT_NEAR(w->EscRect().center().x(), 150, 1);
    const QImage image = w->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(2, 2), QColor(196, 196, 196));
    test::SaveShot(w, "progress-window");

    // A second window replaces the first, with a warning.
    ProgressWindow* second = CreateThreadWindow(registry_, &main, QStringLiteral("Loading..."), false);
    EXPECT_EQ(CurrentProgressWindow(), second);
    EXPECT_FALSE(second->escLine());
    EXPECT_NE(Log().find("WARNING: CreateThreadWindow(): hwnd_searching is NOT null!\n"), std::string::npos);
    FlagWorker done;
    done.running = false;
    EXPECT_EQ(WaitForWorker(done, kWaitQuitFlag | kWaitEscFlag), kWaitFinished);
    EXPECT_EQ(CurrentProgressWindow(), nullptr);
    EXPECT_NE(Log().find("   hwnd_searching destroyed.\n"), std::string::npos);
}

TEST_F(ProgressTest, TheWindowComesUpOnlyForWorkThatLasts)
{
    QWidget main;
    main.show();
    struct Case {
        const char* name;
        int workMs;
        bool shown;
    };
    const Case cases[] = {
        {"over when the wait begins", -1, false},
        {"still going after the delay", kProgressWindowDelayMs * 3, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FlagWorker worker;
        bool seen = false;
        QObject round;
        QPointer<ProgressWindow> window = CreateThreadWindow(registry_, &main, QStringLiteral("Searching..."), true);
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, [&] { seen = seen || (window && window->isVisible()); });
        watcher.start(5);
        if (c.workMs < 0)
            worker.running = false;
        else
            QTimer::singleShot(c.workMs, &round, [&] {
                seen = seen || (window && window->isVisible());
                worker.running = false;
            });
        EXPECT_EQ(WaitForWorker(worker, kWaitQuitFlag | kWaitEscFlag), kWaitFinished);
        EXPECT_EQ(seen, c.shown);
        EXPECT_TRUE(window.isNull()) << "gone with the wait, shown or not";
    }
}

TEST_F(ProgressTest, WaitEndsByWorkerEscOrQuitAsTheFlagsAllow)
{
    QWidget main;
    main.show();
    struct Case {
        const char* name;
        int flags;
        bool pressEsc, postQuit;
        int expected;
    };
    const Case cases[] = {
        {"worker ends", kWaitQuitFlag | kWaitEscFlag, false, false, kWaitFinished},
        {"ESC stops", kWaitQuitFlag | kWaitEscFlag, true, false, kWaitEscPressed},
        {"quit ends", kWaitQuitFlag | kWaitEscFlag, false, true, kWaitQuitArrived},
        // Start-up: ESC does not stop the load.
        {"ESC ignored without flag 2", kWaitQuitFlag, true, false, kWaitFinished},
        {"quit kept without flag 1", kWaitEscFlag, false, true, kWaitFinished},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        quit::Reset();
        FlagWorker worker;
        // Timers of this round die with it: a wait that ends early must not
        // leave one behind to write into a finished round.
        QObject round;
        CreateThreadWindow(registry_, &main, QStringLiteral("Searching..."), true);
        QTimer::singleShot(20, &round, [&] {
            if (c.pressEsc) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QApplication::sendEvent(&main, &press);
            }
            if (c.postQuit)
                quit::Post(0);
            // The worker ends only after the key or the quit was seen (or not) by the wait.
            QTimer::singleShot(60, &round, [&] { worker.running = false; });
        });
        EXPECT_EQ(WaitForWorker(worker, c.flags), c.expected);
        EXPECT_EQ(CurrentProgressWindow(), nullptr);
        // A quit that ended the wait is consumed; one the wait did not take stays.
        EXPECT_EQ(quit::Pending(), c.postQuit && !(c.flags & kWaitQuitFlag));
    }
}

class AboutTest : public test::UiTest {
protected:
    LocalServices services_;
    PaneFactory factory_;
};

TEST_F(AboutTest, OneWindowWithPictureVersionAndLinks)
{
    MainWindow main(registry_, services_, factory_, 800, 600);
    main.show();
    main.OnCommand(ID_ABOUT);
    AboutWindow* about = main.aboutWindow();
    ASSERT_NE(about, nullptr);
    main.OnCommand(ID_ABOUT);  // already open: nothing
    EXPECT_EQ(main.aboutWindow(), about);
    EXPECT_EQ(about->windowTitle(), QStringLiteral("About Mirudex"));
    EXPECT_EQ(about->size(), QSize(400, 400));
    auto* okay = about->findChild<QPushButton*>(QStringLiteral("Okay"));
    ASSERT_NE(okay, nullptr);
    EXPECT_EQ(okay->text(), QStringLiteral("&Okay"));
    EXPECT_EQ(okay->geometry(), QRect(400 / 2 - 35, 400 - 52, 70, 26));
    EXPECT_EQ(test::UnnamedControls(about), std::vector<std::string>{});

    EXPECT_TRUE(about->linkRect(0).isEmpty());  // until the first paint
    about->grab();
    test::SaveShot(about, "about-window");
    for (int i = 0; i < 3; ++i)
        EXPECT_FALSE(about->linkRect(i).isEmpty()) << i;
    EXPECT_LT(about->linkRect(0).bottom(), about->linkRect(1).top());
    EXPECT_EQ(about->LinkUrl(2).scheme(), QStringLiteral("mailto"));
    // The shipped guide is found as a local file, wherever the build folder
    // (and so this program) is: not only two folders below the source tree.
    EXPECT_TRUE(about->LinkUrl(0).isLocalFile());
    EXPECT_TRUE(about->LinkUrl(0).toLocalFile().endsWith(QStringLiteral("docs/index.html")));
    EXPECT_TRUE(QFileInfo::exists(about->LinkUrl(0).toLocalFile())) << about->LinkUrl(0).toString().toStdString();
    // The licence and the dictionaries' owners, whole, above the button.
    EXPECT_NE(AboutCredits().indexOf(QStringLiteral("GNU General Public License, version 3 or later")), -1);
    EXPECT_NE(AboutCredits().indexOf(QStringLiteral("Electronic Dictionary Research and Development Group")), -1);
    EXPECT_NE(AboutCredits().indexOf(QStringLiteral("https://www.edrdg.org/edrdg/licence.html")), -1);
    EXPECT_GT(about->creditRect().top(), about->linkRect(2).bottom());
    EXPECT_LT(about->creditRect().bottom(), okay->y());
    EXPECT_LE(about->creditRect().right(), about->width() - 10);

    // Every heading is followed by a blank, and every address ends inside the window.
    for (int i = 0; i < 3; ++i)
        EXPECT_LE(about->linkRect(i).right(), about->width() - 10) << i;
    const QImage shot = about->grab().toImage();
    for (int i = 0; i < 2; ++i) {
        const QRect link = about->linkRect(i);
        if (link.left() <= 60)
            continue;  // on a line of its own
        bool blank = true;
        for (int x = link.left() - 2; x < link.left(); ++x)
            for (int y = link.top(); y <= link.bottom(); ++y)
                blank = blank && shot.pixelColor(x * shot.devicePixelRatio(), y * shot.devicePixelRatio()) == Qt::white;
        EXPECT_TRUE(blank) << "a blank between heading " << i << " and its address";
    }

    std::vector<QUrl> opened;
    AboutWindow::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    QTest::mouseClick(about, Qt::LeftButton, {}, about->linkRect(1).center());
    QTest::mouseClick(about, Qt::LeftButton, {}, about->linkRect(2).center());
    // Right of an address, or between the lines: nothing.
    QTest::mouseClick(about, Qt::LeftButton, {},
                      QPoint(about->linkRect(2).right() + 3, about->linkRect(2).center().y()));
    QTest::mouseClick(about, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened[0], about->LinkUrl(1));
    EXPECT_EQ(opened[1], about->LinkUrl(2));
    EXPECT_TRUE(platform_.MessageBoxes().empty());

    // A link nothing opens says so; a file that is not there says where it was looked for.
    AboutWindow::SetUrlOpener([](const QUrl&) { return false; });
    QTest::mouseClick(about, Qt::LeftButton, {}, about->linkRect(2).center());
    ASSERT_EQ(platform_.MessageBoxes().size(), 1u);
    EXPECT_NE(platform_.MessageBoxes()[0].text.find(u"could not open"), std::u16string::npos);
    main.OnCommand(ID_USER_GUIDE);
    ASSERT_EQ(platform_.MessageBoxes().size(), 2u);
    const std::u16string guide = U16(QDir::toNativeSeparators(UserGuideUrl().toLocalFile()));
    EXPECT_NE(platform_.MessageBoxes()[1].text.find(guide), std::u16string::npos)
        << "the message says where the guide is";
    EXPECT_TRUE(OpenLink(QUrl::fromLocalFile(QStringLiteral("/nonexistent/guide.html"))) == false);
    EXPECT_NE(platform_.MessageBoxes().back().text.find(u"/nonexistent/guide.html"), std::u16string::npos);
    AboutWindow::SetUrlOpener([&](const QUrl& url) {
        opened.push_back(url);
        return true;
    });
    main.OnCommand(ID_USER_GUIDE);
    EXPECT_EQ(opened.back(), UserGuideUrl()) << "Help > User Guide opens the guide";
    AboutWindow::SetUrlOpener([](const QUrl&) { return true; });

    QTest::keyClick(about, Qt::Key_Escape);
    MIRUDEX_WAIT_FOR(main.aboutWindow() == nullptr);
    main.OnCommand(ID_ABOUT);
    ASSERT_NE(main.aboutWindow(), nullptr);
    QTest::keyClick(main.aboutWindow(), Qt::Key_W, Qt::ControlModifier);  // the desktop's close key
    MIRUDEX_WAIT_FOR(main.aboutWindow() == nullptr);
}

}  // namespace
}  // namespace mirudex::ui
