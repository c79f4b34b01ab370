// The updater window against an update server of the test's own on 127.0.0.1:
// layout, the check and its list, Get files, Escape, quitting and refusals.
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QUrl>
#include <filesystem>

#include "ui/common/CommandIds.h"
#include "ui/common/QuitRequest.h"
#include "ui/main/MainWindow.h"
#include "ui/support/UiTestSupport.h"
#include "ui/updater/UpdaterWindow.h"
#include "update/LoopbackServer.h"
#include "update/UpdateThreads.h"

namespace mirudex::ui {
namespace {

using test::LoopbackServer;
using test::ReadFile;
using test::WriteFile;
using Mode = LoopbackServer::Mode;

constexpr const char* kListPath = "one/updates.v2.txt";

// The CRC-32 and SHA-256 of "abc".
const std::string kAbcSums = "352441c2:ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";

// Two updates for this version (the later one with files) and one for another build.
const std::string kTwoUpdates =
    "# updates.v2.txt\n"
    "NEWS\nFirst headline\nDATE\n2026-11-01\nID\nup-1\nTYPE\n98\nAPPLIES TO\nAll\nINFO\nRead me.\n"
    "FILE\nDICT/old:" +
    kAbcSums +
    "\n"
    "NEWS\nSecond headline\nDATE\n2026-12-01\nID\nup-2\nTYPE\nAll\nAPPLIES TO\n1.0.5+/1.0.9-\nINFO\nInfo line\n"
    "FILE\nDICT/abc:" +
    kAbcSums + "\nDICT/words:" + kAbcSums +
    "\n"
    "NEWS\nOther build\nID\nup-3\nTYPE\nXP\nAPPLIES TO\nAll\nFILE\nDICT/xp:1\n";

class UpdaterTest : public test::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        state_.servers = {{{"127.0.0.1", kListPath, "one/files"}, {"127.0.0.1", "two/updates.v2.txt", "two/files"}}};
        state_.scheme = "http";
        state_.port = server_.port();
        state_.timeout = std::chrono::milliseconds(3000);
        std::filesystem::create_directory("DICT");
        UpdaterWindow::SetUrlOpener([this](const QUrl& url) { opened_.push_back(url); });
    }
    void TearDown() override
    {
        update::StopUpdateThread(state_);
        UpdaterWindow::SetUrlOpener([](const QUrl&) {});
        UiTest::TearDown();
    }

    // Runs the updater; `act` is called once when the check has ended and the
    // list is shown. A guard closes the window if a test leaves it open.
    void Run(std::function<void(UpdaterWindow&)> act, std::function<void(UpdaterWindow&)> whileChecking = {})
    {
        bool acted = false;
        bool checking = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            UpdaterWindow* w = CurrentUpdaterWindow();
            if (!w)
                return;
            if (!checking && whileChecking && update::UpdateThreadRunning(state_)) {
                checking = true;
                whileChecking(*w);
            } else if (!acted && w->listShown()) {
                acted = true;
                if (act)
                    act(*w);
            }
        });
        poll.start();
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [&] {
            ADD_FAILURE() << "the updater was still open";
            if (UpdaterWindow* w = CurrentUpdaterWindow())
                w->close();
        });
        guard.start(15000);
        RunUpdater(registry_, state_, nullptr);
        EXPECT_EQ(CurrentUpdaterWindow(), nullptr);
    }

    static QString Status(UpdaterWindow& w) { return w.StatusText(); }
    static QTextCharFormat FormatOf(QTextEdit* box, const QString& text)
    {
        for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
            for (auto it = b.begin(); !it.atEnd(); ++it)
                if (it.fragment().text().contains(text))
                    return it.fragment().charFormat();
        ADD_FAILURE() << "no text " << text.toStdString();
        return {};
    }
    static qreal IndentOf(QTextEdit* box, const QString& text)
    {
        for (QTextBlock b = box->document()->begin(); b.isValid(); b = b.next())
            if (b.text().contains(text))
                return b.blockFormat().leftMargin();
        return -1;
    }
    std::vector<std::string> FileRequests() const
    {
        std::vector<std::string> files;
        for (const std::string& p : server_.Paths())
            if (p.find("/files/") != std::string::npos)
                files.push_back(p);
        return files;
    }

    LoopbackServer server_;
    update::UpdateState state_;
    std::vector<QUrl> opened_;
};

TEST_F(UpdaterTest, WindowLayoutTextsAndIds)
{
    UpdaterWindow w(registry_, state_, nullptr);
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("Mirudex Updater"));
    EXPECT_EQ(w.objectName(), QStringLiteral("Mirudex_Update"));
    EXPECT_EQ(w.statusBar()->objectName(), QStringLiteral("100"));
    EXPECT_EQ(w.updatesBox()->objectName(), QStringLiteral("2101"));
    EXPECT_EQ(w.filesBox()->objectName(), QStringLiteral("2102"));
    EXPECT_EQ(w.updatesBox()->accessibleName(), QStringLiteral("Updates"));
    EXPECT_EQ(w.filesBox()->accessibleName(), QStringLiteral("Files"));
    EXPECT_FALSE(w.updatesBox()->accessibleDescription().isEmpty() || w.filesBox()->accessibleDescription().isEmpty());
    EXPECT_EQ(test::UnnamedControls(&w), std::vector<std::string>{});
    EXPECT_TRUE(w.updatesBox()->isReadOnly());
    EXPECT_TRUE(w.filesBox()->isReadOnly());
    const int cw = w.width();
    EXPECT_EQ(w.updatesBox()->geometry(), QRect(5, 25, cw - 10, 370));
    EXPECT_EQ(w.filesBox()->geometry(), QRect(5, 420, cw - 10, 100));
    EXPECT_EQ(w.cancelButton()->geometry(), QRect(5, 524, 150, 24));
    EXPECT_EQ(w.siteButton()->geometry(), QRect(cw / 2 - 75, 524, 150, 24));
    EXPECT_EQ(w.getFilesButton()->geometry(), QRect(cw - 5 - 150, 524, 150, 24));
    EXPECT_EQ(w.cancelButton()->text(), QStringLiteral("&Cancel"));
    EXPECT_EQ(w.siteButton()->text(), QStringLiteral("Check out the &site"));
    EXPECT_EQ(w.getFilesButton()->text(), QStringLiteral("&Get files"));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());  // no sizing border
    EXPECT_GE(w.statusBar()->geometry().top(), 524 + 24);
    EXPECT_EQ(w.statusBar()->geometry().bottom(), w.height() - 1);
    EXPECT_EQ(w.getFilesButton()->font().pixelSize(), 14);

    QTest::mouseClick(w.siteButton(), Qt::LeftButton);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], QUrl(QString::fromStdString(update::UpdateHomePage())));
    EXPECT_EQ(opened_[0].scheme(), QStringLiteral("https"));
}

TEST_F(UpdaterTest, CheckShowsTheUpdatesAndGetFilesDownloadsTheLastOne)
{
    server_.Serve(kListPath, kTwoUpdates);
    server_.Serve("one/files/DICT/abc", "abc");
    server_.Serve("one/files/DICT/words", "abc");
    Run([&](UpdaterWindow& w) {
        EXPECT_EQ(Status(w), QStringLiteral("Found updates"));
        ASSERT_EQ(w.updates().size(), 2u);
        EXPECT_EQ(w.filesBox()->toPlainText(),
                  QString::fromStdString("DICT/abc:" + kAbcSums + "\nDICT/words:" + kAbcSums + "\n"));
        const QString text = w.updatesBox()->toPlainText();
        EXPECT_TRUE(text.startsWith(QStringLiteral("2026-11-01\nFirst headline\nThis applies to version: All\n")))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QStringLiteral("=======================================")));
        EXPECT_TRUE(text.contains(QStringLiteral("This applies to version: 1.0.5+/1.0.9-")));
        EXPECT_FALSE(text.contains(QStringLiteral("Other build")));
        EXPECT_EQ(text.count(QStringLiteral("Files")), 2);
        EXPECT_TRUE(FormatOf(w.updatesBox(), QStringLiteral("Second headline")).font().bold());
        EXPECT_TRUE(FormatOf(w.updatesBox(), QStringLiteral("2026-12-01")).font().italic());
        EXPECT_EQ(FormatOf(w.updatesBox(), QStringLiteral("This applies")).foreground().color(), QColor(128, 128, 128));
        EXPECT_EQ(FormatOf(w.updatesBox(), QStringLiteral("=====")).foreground().color(), QColor(64, 64, 255));
        EXPECT_GT(IndentOf(w.updatesBox(), QStringLiteral("Info line")), 0);
        EXPECT_GT(IndentOf(w.updatesBox(), QStringLiteral("DICT/abc:352441c2")), 0);
        EXPECT_EQ(IndentOf(w.updatesBox(), QStringLiteral("Second headline")), 0);
        test::SaveShot(&w, "updater_found");
        QTest::mouseClick(w.getFilesButton(), Qt::LeftButton);
    });
    EXPECT_EQ(ReadFile("DICT/abc"), "abc");
    EXPECT_EQ(ReadFile("DICT/words"), "abc");
    EXPECT_EQ(ReadFile("Updates.mxf"), "up-2\n");
    EXPECT_EQ(server_.Paths().front(), "one/updates.v2.txt");
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              u"The updates have been downloaded.\n\nPlease do whatever the instructions said to avoid problems ^_^");
    EXPECT_EQ(boxes[0].caption, u"Updates complete");

    // The next check offers the first update and its file only.
    Run([&](UpdaterWindow& w) {
        ASSERT_EQ(w.updates().size(), 1u);
        EXPECT_EQ(w.updates()[0].id, "up-1");
        EXPECT_EQ(w.filesBox()->toPlainText(), QString::fromStdString("DICT/old:" + kAbcSums + "\n"));
        EXPECT_FALSE(w.updatesBox()->toPlainText().contains(QStringLiteral("=====")));
        w.close();
    });
}

TEST_F(UpdaterTest, NothingToGet)
{
    const struct {
        const char* name;
        std::string list;
        const char* boxText;  // part of the updates box ("" for empty)
    } cases[] = {
        {"no applicable update", "# updates.v2.txt\nNEWS\nx\nID\ni\nTYPE\n98\nAPPLIES TO\n1.0.8+\nFILE\na.txt:1\n", ""},
        {"no files", "# updates.v2.txt\nNEWS\nNo files here\nID\ni\nTYPE\n98\nAPPLIES TO\nAll\n",
         "(There are no files for this update)"},
        {"empty list", "# updates.v2.txt\n", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        server_.Serve(kListPath, c.list);
        Run([&](UpdaterWindow& w) {
            EXPECT_EQ(Status(w), QStringLiteral("Found updates"));
            if (*c.boxText)
                EXPECT_TRUE(w.updatesBox()->toPlainText().contains(QString::fromLatin1(c.boxText)));
            else
                EXPECT_TRUE(w.updatesBox()->toPlainText().isEmpty());
            EXPECT_TRUE(w.filesBox()->toPlainText().isEmpty());
            QTest::mouseClick(w.getFilesButton(), Qt::LeftButton);  // does nothing
            EXPECT_FALSE(update::UpdateThreadRunning(state_));
            QTest::mouseClick(w.cancelButton(), Qt::LeftButton);
        });
    }
    EXPECT_TRUE(FileRequests().empty());
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(UpdaterTest, AFailedCheckShowsAndOffersNothing)
{
    // A good check first: its list stays behind in updates.v2.txt.
    server_.Serve(kListPath, kTwoUpdates);
    Run([&](UpdaterWindow& w) {
        EXPECT_EQ(w.updates().size(), 2u);
        w.close();
    });
    ASSERT_FALSE(state_.downloadList.empty());
    ASSERT_EQ(ReadFile("updates.v2.txt"), kTwoUpdates);

    // Then no server answers with a list (a page in its place, or nobody at all).
    const std::function<void()> failures[] = {
        [&] { server_.Serve(kListPath, "<html>404</html>\n"); },
        [&] {
            WriteFile("updates.v2.txt", kTwoUpdates);
            state_.port = LoopbackServer::ClosedPort();
        },
    };
    // Each says why nothing was checked, in words a user understands.
    const QString says[] = {QStringLiteral("did not send a list of updates"),
                            QStringLiteral("Could not connect to the update server")};
    for (size_t i = 0; i < std::size(failures); ++i) {
        failures[i]();
        Run([&](UpdaterWindow& w) {
            EXPECT_TRUE(Status(w).contains(says[i])) << Status(w).toStdString();
            EXPECT_EQ(w.updatesBox()->toPlainText(), Status(w));
            EXPECT_FALSE(Status(w).contains(QStringLiteral("No updates found")));
            EXPECT_TRUE(w.filesBox()->toPlainText().isEmpty());
            EXPECT_TRUE(w.updates().empty());
            EXPECT_TRUE(state_.downloadList.empty());
            EXPECT_TRUE(state_.chosenId.empty());
            QTest::mouseClick(w.getFilesButton(), Qt::LeftButton);  // nothing to get
            EXPECT_TRUE(FileRequests().empty());
            w.close();
        });
    }
}

// A list of 20,000 updates (2 MB) is formatted a slice at a time: Cancel,
// Escape and quitting end the updater long before the list is complete.
TEST_F(UpdaterTest, ALongListCanBeLeftWhileItIsFormatted)
{
    std::string list = "# updates.v2.txt\n";
    for (int i = 0; i < 20000; ++i)
        list += "NEWS\nHeadline " + std::to_string(i) + "\nDATE\n2026-12-01\nID\nid-" + std::to_string(i) +
                "\nTYPE\n98\nAPPLIES TO\nAll\nINFO\nSome words about this update.\nFILE\nf" + std::to_string(i) +
                ".txt:1\n";
    ASSERT_GT(list.size(), 2000000u);
    server_.Serve(kListPath, list);
    enum class Leave { Cancel, Escape, Quit };
    for (const Leave leave : {Leave::Cancel, Leave::Escape, Leave::Quit}) {
        size_t formattedWhenLeft = 0;
        bool left = false;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            UpdaterWindow* w = CurrentUpdaterWindow();
            if (left || !w || !w->formatting() || w->formattedUpdates() == 0)
                return;
            left = true;
            formattedWhenLeft = w->formattedUpdates();
            if (leave == Leave::Cancel)
                QTest::mouseClick(w->cancelButton(), Qt::LeftButton);
            else if (leave == Leave::Escape)
                QTest::keyClick(w->updatesBox(), Qt::Key_Escape);
            else
                quit::Post(4);
        });
        poll.start(5);
        RunUpdater(registry_, state_, nullptr);
        poll.stop();
        ASSERT_TRUE(left);
        EXPECT_EQ(CurrentUpdaterWindow(), nullptr);
        // Left after a slice or two, not after the whole list.
        EXPECT_LT(formattedWhenLeft, 20000u);
        EXPECT_TRUE(state_.downloadList.empty());
        EXPECT_EQ(quit::Pending(), leave == Leave::Quit);
        if (quit::Pending())
            quit::Take();
    }
}

TEST_F(UpdaterTest, EscapeDuringTheCheckClosesTheWindowAtOnce)
{
    server_.Serve(kListPath, {kTwoUpdates, Mode::Hang});
    const auto start = std::chrono::steady_clock::now();
    Run(nullptr, [&](UpdaterWindow& w) {
        EXPECT_EQ(w.updatesBox()->toPlainText(), QStringLiteral("Press ESCAPE to stop checking for updates..."));
        QTest::mouseClick(w.cancelButton(), Qt::LeftButton);  // ignored while checking
        EXPECT_FALSE(w.closed());
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_FALSE(update::UpdateThreadRunning(state_));
    EXPECT_FALSE(quit::Pending());
}

TEST_F(UpdaterTest, QuitDuringADownloadStopsItAndIsPassedOn)
{
    server_.Serve(kListPath, kTwoUpdates);
    server_.Serve("one/files/DICT/abc", {std::string(4000, 'a'), Mode::Hang});
    WriteFile("DICT/abc", "old\n");
    QTimer quitter;
    QObject::connect(&quitter, &QTimer::timeout, [&] {
        if (update::UpdateThreadRunning(state_) && !FileRequests().empty())
            quit::Post(3);
    });
    quitter.start(5);
    Run([&](UpdaterWindow& w) { QTest::mouseClick(w.getFilesButton(), Qt::LeftButton); });
    EXPECT_TRUE(quit::Pending());
    EXPECT_EQ(quit::Code(), 3);
    EXPECT_FALSE(update::UpdateThreadRunning(state_));
    EXPECT_EQ(ReadFile("DICT/abc"), "old\n");
    EXPECT_FALSE(std::filesystem::exists("Updates.mxf"));
}

TEST_F(UpdaterTest, AFailedFileKeepsTheWindowOpenForAnotherTry)
{
    server_.Serve(kListPath, kTwoUpdates);
    server_.Serve("one/files/DICT/abc", "abc");
    server_.Serve("one/files/DICT/words", "not abc");  // wrong CRC on both servers
    server_.Serve("two/files/DICT/words", "not abc");
    Run([&](UpdaterWindow& w) {
        QTest::mouseClick(w.getFilesButton(), Qt::LeftButton);
        EXPECT_EQ(Status(w), QStringLiteral("At least one file failed."));
        EXPECT_FALSE(w.closed());
        EXPECT_FALSE(std::filesystem::exists("DICT/words"));
        // The server is mended; the second try succeeds.
        server_.Serve("one/files/DICT/words", "abc");
        QTest::mouseClick(w.getFilesButton(), Qt::LeftButton);
        EXPECT_TRUE(w.closed());
    });
    EXPECT_EQ(ReadFile("DICT/words"), "abc");
    EXPECT_EQ(ReadFile("Updates.mxf"), "up-2\n");
}

TEST_F(UpdaterTest, AnUnwritableLogIsReported)
{
    server_.Serve(kListPath, kTwoUpdates);
    server_.Serve("one/files/DICT/abc", "abc");
    server_.Serve("one/files/DICT/words", "abc");
    std::filesystem::create_directories("Updates.mxf");  // a directory: cannot be written
    Run([&](UpdaterWindow& w) { QTest::mouseClick(w.getFilesButton(), Qt::LeftButton); });
    const auto boxes = platform_.MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, u"Couldn't open Updates.mxf to log the update.");
    EXPECT_EQ(boxes[0].caption, u"Error");
    EXPECT_EQ(boxes[1].caption, u"Updates complete");
}

TEST_F(UpdaterTest, HostileFileNamesAreNeverFetched)
{
    WriteFile("Options.mxreg", "the user's options\n");
    const std::string list =
        "# updates.v2.txt\nNEWS\nEvil\nID\nevil\nTYPE\n98\nAPPLIES TO\nAll\nFILE\n"
        "../escape.txt:" +
        kAbcSums + "\n/tmp/mirudex-absolute.txt:" + kAbcSums + "\nOptions.mxreg:" + kAbcSums +
        "\nstudylist.default:" + kAbcSums + "\n";
    server_.Serve(kListPath, list);
    server_.Serve("one/files/Options.mxreg", "abc");
    server_.Serve("one/files/studylist.default", "abc");
    Run([&](UpdaterWindow& w) {
        QTest::mouseClick(w.getFilesButton(), Qt::LeftButton);
        EXPECT_EQ(Status(w), QStringLiteral("At least one file failed."));
        w.close();
    });
    EXPECT_TRUE(FileRequests().empty());
    EXPECT_FALSE(std::filesystem::exists("../escape.txt"));
    EXPECT_EQ(ReadFile("Options.mxreg"), "the user's options\n");
    EXPECT_FALSE(std::filesystem::exists("studylist.default"));
    EXPECT_FALSE(std::filesystem::exists("Updates.mxf"));
}

TEST_F(UpdaterTest, OneUpdaterAtATimeAndClosingWhileCheckingCancels)
{
    server_.Serve(kListPath, {kTwoUpdates, Mode::Hang});
    Run(nullptr, [&](UpdaterWindow& w) {
        UpdaterWindow* first = &w;
        RunUpdater(registry_, state_, nullptr);  // a second command only raises the open one
        EXPECT_EQ(CurrentUpdaterWindow(), first);
        w.close();  // the title bar's close: stops the check like Escape
    });
    EXPECT_FALSE(update::UpdateThreadRunning(state_));
    EXPECT_TRUE(platform_.MessageBoxes().empty());
}

TEST_F(UpdaterTest, TheMainWindowsCommandOpensItUnlessAWorkerRuns)
{
    LocalServices services;
    PaneFactory factory;
    MainWindow main(registry_, services, factory, 800, 600);
    main.SetCommandHandler(ID_CHECK_UPDATES, [&] { RunUpdater(registry_, state_, &main); });
    server_.Serve(kListPath, kTwoUpdates);
    QWidget* parent = nullptr;
    // Runs inside the command, once the window shows its list.
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        UpdaterWindow* w = CurrentUpdaterWindow();
        if (w && w->listShown() && !w->closed()) {
            parent = w->parentWidget();
            w->close();
        }
    });
    look.start(5);
    main.OnCommand(ID_CHECK_UPDATES);
    EXPECT_EQ(parent, &main);
    EXPECT_EQ(CurrentUpdaterWindow(), nullptr);
    const size_t requests = server_.Requests().size();
    EXPECT_EQ(requests, 1u);

    services.threadSearching = true;
    main.OnCommand(ID_CHECK_UPDATES);
    EXPECT_EQ(server_.Requests().size(), requests);
    ASSERT_FALSE(platform_.MessageBoxes().empty());
}

}  // namespace
}  // namespace mirudex::ui
