#pragma once
// The progress window ("Searching") shown while a worker runs, and the wait
// loop every starter runs on the user-interface thread.
//
// There is at most one progress window (hwnd_searching). The wait loop keeps
// dispatching events every 10 ms, so windows repaint and take input; it ends
// when the worker reports that it is done, on ESC (flag kWaitEscFlag) or on a
// quit request (flag kWaitQuitFlag, which consumes the request: the starter
// passes it on).

#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>

#include "core/Registry.h"

namespace mirudex::search {
class AppState;
}

namespace mirudex::ui {

class ProgressWindow : public QWidget {
    Q_OBJECT
public:
    // A frameless 300 × 150 window owned by the main window, centred on it, not activated.
    ProgressWindow(const QString& text, bool escLine, const QString& fontFace, QWidget* mainWindow);

    QString text() const { return text_; }
    // A new text (long work that tells how far it has come).
    void SetText(const QString& text)
    {
        text_ = text;
        update();
    }
    bool escLine() const { return escLine_; }
    // Where the two texts are drawn (for checks of the layout).
    QRect TextRect() const;
    QRect EscRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    bool escLine_;
    QFont textFont_;
    QFont escFont_;
};

// How long work runs before its progress window comes up.
inline constexpr int kProgressWindowDelayMs = 150;

// Makes the progress window with this text (replacing one left over); it is
// shown once the wait has lasted kProgressWindowDelayMs.
ProgressWindow* CreateThreadWindow(Registry& registry, QWidget* mainWindow, const QString& text, bool escLine);
// The progress window while one exists.
ProgressWindow* CurrentProgressWindow();

// What the wait loop asks of the worker.
class WorkerProbe {
public:
    virtual ~WorkerProbe() = default;
    // thread_searching: false once the worker has done its last step.
    virtual bool Running() const = 0;
};

// What may end the wait besides the worker finishing (bits of WaitForWorker's flags).
inline constexpr int kWaitQuitFlag = 1;
inline constexpr int kWaitEscFlag = 2;

// Why the wait ended (WaitForWorker's result).
enum WaitResult { kWaitEscPressed = 0, kWaitFinished = 1, kWaitQuitArrived = 2 };

// Waits for the worker; destroys the progress window before it returns.
int WaitForWorker(const WorkerProbe& worker, int flags);

// The program's worker, as the wait loop sees it: running while thread_searching is set.
class StateProbe : public WorkerProbe {
public:
    explicit StateProbe(const search::AppState& state) : state_(state) {}
    bool Running() const override;

private:
    const search::AppState& state_;
};

// Waits for the worker of state behind a progress window with this text (the
// ESC line when flags allow ESC); the result of WaitForWorker.
int WaitWithProgress(search::AppState& state, QWidget* mainWindow, const QString& text, int flags);

}  // namespace mirudex::ui
