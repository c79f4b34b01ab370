#include "ui/app/SingleInstance.h"

#include <QLocalSocket>

#include "core/DebugLog.h"
#include "platform/api/Utf.h"
#include "ui/main/MainWindow.h"

namespace mirudex::ui {

namespace {

// How long a client may take to send its request.
constexpr int kClientMs = 2000;

}  // namespace

SingleInstance::SingleInstance(QObject* parent) : QObject(parent)
{
    retry_.setSingleShot(true);
    retry_.setInterval(kRetryMs);
    connect(&retry_, &QTimer::timeout, this, [this] { CarryOut(); });
    connect(&server_, &QLocalServer::newConnection, this, [this] { OnConnection(); });
}

SingleInstance::~SingleInstance() { server_.close(); }

bool SingleInstance::Listen(const QString& socketPath)
{
    // Whoever holds the lock may remove a socket its crashed owner left.
    QLocalServer::removeServer(socketPath);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(socketPath)) {
        dlog::Write(u"SingleInstance: ERROR: cannot listen at %S (%S).\n", socketPath.toStdString(),
                    server_.errorString().toStdString());
        return false;
    }
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
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        // A client that never finishes its request is dropped.
        QTimer::singleShot(kClientMs, socket, [socket] { socket->abort(); });
        auto received = std::make_shared<std::string>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, received] {
            const QByteArray bytes = socket->readAll();
            received->append(bytes.constData(), static_cast<size_t>(bytes.size()));
            desktop::InstanceRequest request;
            size_t used = 0;
            switch (desktop::DecodeRequest(*received, request, used)) {
            case desktop::DecodeState::Incomplete: return;
            case desktop::DecodeState::Bad:
                dlog::Write(u"SingleInstance: a request that is none was refused.\n");
                socket->abort();
                return;
            case desktop::DecodeState::Done: break;
            }
            received->clear();
            socket->write(desktop::kInstanceReply.data(), static_cast<qint64>(desktop::kInstanceReply.size()));
            socket->flush();
            socket->disconnectFromServer();
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
