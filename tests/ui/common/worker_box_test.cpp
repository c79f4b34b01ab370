// A worker that waits for the user-interface thread (a message box of a
// dictionary load) while that thread stops it: the stop answers the box and
// the worker ends; nothing waits for ever. With the program's own Qt platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "dict/DictionaryStore.h"
#include "platform/qt/QtPlatform.h"
#include "search/AppState.h"
#include "search/Worker.h"
#include "ui/common/ProgressWindow.h"
#include "ui/support/UiTestSupport.h"

namespace mirudex::ui {
namespace {

// Ends the test program when the guarded part has not finished in time: a
// deadlock must fail the test, not hang the suite.
class Watchdog {
public:
    Watchdog(int seconds, const char* what)
        : thread_([this, seconds, what] {
              std::unique_lock lock(mutex_);
              if (!done_changed_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; })) {
                  std::fprintf(stderr, "%s: still waiting after %d s: the threads wait for each other\n", what,
                               seconds);
                  std::_Exit(3);
              }
          })
    {
    }
    ~Watchdog()
    {
        {
            std::lock_guard lock(mutex_);
            done_ = true;
        }
        done_changed_.notify_all();
        thread_.join();
    }

private:
    std::mutex mutex_;
    std::condition_variable done_changed_;
    bool done_ = false;
    std::thread thread_;
};

// Answers every message box that opens: ESC first (which a wait loop takes as
// the stop), then OK.
class BoxAnswerer : public QObject {
public:
    BoxAnswerer()
    {
        connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box || box == last_)
                return;
            last_ = box;
            texts.push_back(box->text());
            QTest::keyClick(box, Qt::Key_Escape);
            box->done(QMessageBox::Ok);
        });
        timer_.start(10);
    }
    QStringList texts;

private:
    QTimer timer_;
    QMessageBox* last_ = nullptr;
};

class WorkerBoxTest : public test::UiTest {
protected:
    // A dictionary none of whose lines can be read as EUC-JP: its load ends
    // with a message box from the worker.
    void WriteUnreadableDictionary(dict::Dictionary& d)
    {
        test::WriteFile("bad.dic", "\xff\xfe [\xff\xfe] /x/\n\xff\xfd [\xff] /y/\n");
        d.path = "bad.dic";
        d.name = "Bad";
        d.encoding = "EUC-JP";
        d.on = true;
    }
};

TEST_F(WorkerBoxTest, StoppingAWorkerThatWaitsForItsBoxAnswersTheBox)
{
    platform::QtPlatform qt;
    dict::DictionaryStore store;
    search::AppState state(registry_, store);
    dict::Dictionary d;
    WriteUnreadableDictionary(d);
    ASSERT_TRUE(search::Load_Thread_EDICT_Index_Load(state, d));
    // No event is dispatched meanwhile: the worker waits for its box.
    for (int i = 0; i < 3000 && qt.WaitingCallCount() == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(qt.WaitingCallCount(), 1);
    EXPECT_TRUE(search::WorkerRunning(state));

    // The stop of ESC or a quit: it must not join a worker that waits for it.
    BoxAnswerer answerer;
    {
        Watchdog dog(60, "StopWorker");
        search::StopWorker(state);
    }
    EXPECT_FALSE(search::WorkerRunning(state));
    ASSERT_EQ(answerer.texts.size(), 1);
    EXPECT_TRUE(answerer.texts[0].contains(QStringLiteral("could not be converted")))
        << answerer.texts[0].toStdString();
    EXPECT_EQ(qt.WaitingCallCount(), 0);
}

TEST_F(WorkerBoxTest, EscInTheWorkersBoxStopsTheWaitAndTheWorkerEnds)
{
    platform::QtPlatform qt;
    dict::DictionaryStore store;
    search::AppState state(registry_, store);
    dict::Dictionary d;
    WriteUnreadableDictionary(d);
    BoxAnswerer answerer;
    Watchdog dog(60, "wait and stop");
    ASSERT_TRUE(search::Load_Thread_EDICT_Index_Load(state, d));
    // The wait shows the box; ESC pressed in it ends the wait as a stop.
    const int waited =
        WaitWithProgress(state, nullptr, QStringLiteral("Loading Dictionary..."), kWaitQuitFlag | kWaitEscFlag);
    if (waited != kWaitFinished)
        search::StopWorker(state);
    else
        search::JoinWorker(state);
    EXPECT_FALSE(search::WorkerRunning(state));
    EXPECT_EQ(answerer.texts.size(), 1);
}

}  // namespace
}  // namespace mirudex::ui
