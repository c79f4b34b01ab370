#include "ui/app/ShutdownSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <array>
#include <cerrno>
#include <csignal>
#include <string>

#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include "core/DebugLog.h"
#include "ui/common/QuitRequest.h"

namespace mirudex::ui {

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// The pipe between the handler and the notifier; -1 while no instance lives.
int pipeRead = -1;
int pipeWrite = -1;
// The first signal caught; a later one ends the process at once.
volatile std::sig_atomic_t caught = 0;
struct sigaction former[kSignals.size()];

// Only async-signal-safe calls here.
void OnSignal(int signal)
{
    if (caught != 0)
        _exit(128 + signal);
    caught = signal;
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = write(pipeWrite, &byte, 1);
    errno = savedErrno;
}

const char* SignalName(int signal)
{
    switch (signal) {
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    case SIGHUP: return "SIGHUP";
    default: return "signal";
    }
}

}  // namespace

ShutdownSignals::ShutdownSignals(std::function<void()> unattended, QObject* parent)
    : QObject(parent), unattended_(std::move(unattended))
{
    caught = 0;
    int fds[2];
    if (pipeWrite < 0 && pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0) {
        pipeRead = fds[0];
        pipeWrite = fds[1];
        notifier_ = std::make_unique<QSocketNotifier>(pipeRead, QSocketNotifier::Read);
        connect(notifier_.get(), &QSocketNotifier::activated, this, &ShutdownSignals::OnPipeReadable);
        struct sigaction action {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (size_t i = 0; i < kSignals.size(); ++i)
            sigaction(kSignals[i], &action, &former[i]);
    } else {
        dlog::Write(u"WARNING: ShutdownSignals: signals end the program without saving (no pipe).\n");
    }

#if QT_CONFIG(sessionmanager)
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this,
                [this](QSessionManager&) { Request(0, u"the desktop session is ending"); });
#endif
    // The application quitting by itself (not through the program's own quit):
    // the session or the window system ended it.
    connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, this, [this] {
        if (!quit::Pending())
            Request(0, u"the application is quitting");
    });
}

ShutdownSignals::~ShutdownSignals()
{
    if (!notifier_)
        return;
    for (size_t i = 0; i < kSignals.size(); ++i)
        sigaction(kSignals[i], &former[i], nullptr);
    notifier_.reset();
    close(pipeRead);
    close(pipeWrite);
    pipeRead = pipeWrite = -1;
}

void ShutdownSignals::OnPipeReadable()
{
    unsigned char byte = 0;
    while (read(pipeRead, &byte, 1) == 1)
        Request(byte, {});
}

void ShutdownSignals::Request(int signal, std::u16string_view why)
{
    if (requested_)
        return;
    requested_ = true;
    if (signal != 0)
        dlog::Write(u"%S received: shutting down.\n", SignalName(signal));
    else
        dlog::Write(u"Shutting down: %s.\n", why);
    if (unattended_)
        unattended_();
    quit::Post(0);
    // Also ends a dialog or message box that is open, before or inside the
    // main loop, so that the shutdown is reached.
    QCoreApplication::exit(0);
    emit shutdownRequested(signal);
}

}  // namespace mirudex::ui
