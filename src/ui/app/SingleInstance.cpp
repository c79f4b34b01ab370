#include "ui/app/SingleInstance.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

#include "core/DebugLog.h"
#include "platform/api/Utf.h"
#include "ui/main/MainWindow.h"

namespace mirudex::ui {

namespace {

// How long a client may take to send its request.
constexpr int kClientMs = 2000;

// One connection, read until its bytes make a request (or cannot), for at
// most kClientMs. Deletes itself once it is done.
class Client : public QObject {
public:
    Client(int fd, QObject* parent) : QObject(parent), fd_(fd), notifier_(fd, QSocketNotifier::Read, this)
    {
        QTimer::singleShot(kClientMs, this, [this] { Close(); });
    }
    ~Client() override
    {
        notifier_.setEnabled(false);
        if (fd_ >= 0)
            ::close(fd_);
    }

    QSocketNotifier& notifier() { return notifier_; }

    // Adds what has come to `received`; false once the peer has gone or failed.
    bool Read()
    {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::recv(fd_, buffer, sizeof(buffer), 0);
            if (n > 0) {
                received.append(buffer, static_cast<size_t>(n));
                continue;
            }
            if (n < 0 && errno == EINTR)
                continue;
            return n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK);
        }
    }
    void Answer()
    {
        const std::string_view reply = desktop::kInstanceReply;
        (void)::send(fd_, reply.data(), reply.size(), MSG_NOSIGNAL);
    }
    void Close()
    {
        if (fd_ < 0)
            return;
        notifier_.setEnabled(false);
        ::close(fd_);
        fd_ = -1;
        deleteLater();
    }

    std::string received;

private:
    int fd_;
    QSocketNotifier notifier_;
};

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] { CarryOut(); });
}

SingleInstance::~SingleInstance()
{
    if (listenFd_ < 0)
        return;
    delete listenNotifier_;
    ::close(listenFd_);
    ::unlink(socketPath_.c_str());
}

bool SingleInstance::Listen(const QString& socketPath)
{
    std::string error;
    const std::string path = socketPath.toStdString();
    const int fd = desktop::ListenForInstances(path, error);
    if (fd < 0) {
        dlog::Write(u"SingleInstance: ERROR: cannot listen at %S (%S).\n", path, error);
        return false;
    }
    listenFd_ = fd;
    socketPath_ = path;
    listenNotifier_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(listenNotifier_, &QSocketNotifier::activated, this, [this] { OnConnection(); });
    return true;
}

void SingleInstance::SetMainWindow(MainWindow* window)
{
    window_ = window;
    CarryOut();
}

void SingleInstance::Add(const desktop::InstanceRequest& request)
{
    pending_.push_back(request);
    CarryOut();
}

void SingleInstance::OnConnection()
{
    for (;;) {
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                // The connection stays queued and would wake the loop at once
                // again: it is taken when descriptors are free, a second later.
                dlog::Write(u"SingleInstance: a connection waits: no descriptor is free.\n");
                listenNotifier_->setEnabled(false);
                QTimer::singleShot(1000, this, [this] { listenNotifier_->setEnabled(true); });
            }
            return;  // none waiting
        }
        // Only this user's programs may ask anything of this one.
        if (!desktop::PeerIsThisUser(fd)) {
            dlog::Write(u"SingleInstance: a connection from another user was refused.\n");
            ::close(fd);
            continue;
        }
        auto* client = new Client(fd, this);
        connect(&client->notifier(), &QSocketNotifier::activated, this, [this, client] {
            const bool open = client->Read();
            desktop::InstanceRequest request;
            size_t used = 0;
            switch (desktop::DecodeRequest(client->received, request, used)) {
            case desktop::DecodeState::Incomplete:
                if (!open)
                    client->Close();
                return;
            case desktop::DecodeState::Bad:
                dlog::Write(u"SingleInstance: a request that is none was refused.\n");
                client->Close();
                return;
            case desktop::DecodeState::Done: break;
            }
            client->Answer();
            client->Close();
            Add(request);
        });
    }
}

void SingleInstance::CarryOut()
{
    if (!window_)
        return;
    while (!pending_.empty()) {
        const desktop::InstanceRequest& request = pending_.front();
        if (!frontRaised_)
            window_->Raise();
        frontRaised_ = true;
        if (request.kind == desktop::InstanceRequest::Kind::Search) {
            const std::optional<std::u16string> text = DecodeUtf8(request.text);
            if (!text) {
                dlog::Write(u"SingleInstance: a search text that is not UTF-8 was refused.\n");
            } else if (!window_->SearchFromOutside(*text)) {
                retry_.start();
                return;
            }
        }
        pending_.pop_front();
        frontRaised_ = false;
    }
}

}  // namespace mirudex::ui
