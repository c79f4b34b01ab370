#pragma once
// The listening side of the one running Mirudex (desktop/InstanceChannel.h):
// a Unix socket at the socket path, watched by the event loop, taking
// requests from later starts and from mirudex-lookup --show, and carrying
// them out on the main window.
//
// Requests that arrive before the program is running (the dictionaries are
// still loading) wait, as do searches while the program cannot search (a
// search runs, a modal window is open); they are carried out in order.
//
// Threads: user-interface thread only.

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <string>

#include "desktop/InstanceChannel.h"

class QSocketNotifier;

namespace mirudex::ui {

class MainWindow;

class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QObject* parent = nullptr);
    ~SingleInstance() override;

    // Listens at socketPath, replacing a socket file left there: only the
    // holder of the instance lock may call this. False when it cannot listen.
    bool Listen(const QString& socketPath);
    bool listening() const { return listenFd_ >= 0; }

    // Requests are carried out on this window from now on (the program runs).
    void SetMainWindow(MainWindow* window);
    // Queues a request as if it had come through the socket (the program's own command line).
    void Add(const desktop::InstanceRequest& request);
    size_t pending() const { return pending_.size(); }

    // How often a waiting search is tried again.
    static constexpr int kRetryMs = 100;

private:
    void OnConnection();
    void CarryOut();

    int listenFd_ = -1;
    QSocketNotifier* listenNotifier_ = nullptr;
    std::string socketPath_;
    QPointer<MainWindow> window_;
    std::deque<desktop::InstanceRequest> pending_;
    QTimer retry_;
    bool frontRaised_ = false;  // the first waiting request has raised the window
};

}  // namespace mirudex::ui
