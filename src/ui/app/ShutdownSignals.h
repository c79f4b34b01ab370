#pragma once
// Ending the program in order when it is asked to from outside: SIGTERM,
// SIGINT and SIGHUP, and the desktop session ending (the session manager's
// request to save, or the application quitting under the program). Each
// runs the shutdown of File > Exit: the quit is posted, and the end of the
// main loop saves the study list, the history, the options and the window
// placement and writes the shutdown lines to the log.
//
// The signal handler only writes the signal's number to a pipe; the pipe's
// other end wakes the user-interface thread (QSocketNotifier), where the
// request is logged and the quit posted. A second signal while the program is
// already on its way out ends it at once (_exit, status 128 + the signal):
// every file is written to a temporary file and renamed into place, so none
// is left half written, and the temporaries are removed at the next start.
//
// One instance per process, made on the user-interface thread once the
// application object exists; it puts the former handlers back when destroyed.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>
#include <string_view>

namespace mirudex::ui {

class ShutdownSignals : public QObject {
    Q_OBJECT
public:
    // unattended runs (on the user-interface thread) when the program is to
    // end without the user at hand, before the quit is posted: from then on
    // nothing may wait for an answer.
    explicit ShutdownSignals(std::function<void()> unattended = {}, QObject* parent = nullptr);
    ~ShutdownSignals() override;
    ShutdownSignals(const ShutdownSignals&) = delete;
    ShutdownSignals& operator=(const ShutdownSignals&) = delete;

    // Whether the handlers are in place (false when the pipe could not be made).
    bool installed() const { return notifier_ != nullptr; }
    // Whether an outside request to end has come.
    bool requested() const { return requested_; }

signals:
    // The request has been posted as a quit; signal is 0 for the session.
    void shutdownRequested(int signal);

private:
    void OnPipeReadable();
    void Request(int signal, std::u16string_view why);

    std::unique_ptr<QSocketNotifier> notifier_;
    std::function<void()> unattended_;
    bool requested_ = false;
};

}  // namespace mirudex::ui
