#include "app/singleinstance.h"

#include <QLocalSocket>

namespace skyrel {
namespace {
constexpr int kConnectTimeoutMs = 1000;
const QByteArray kRestoreRequest = QByteArrayLiteral("RESTORE\n");
}  // namespace

SingleInstance::SingleInstance(const QString& runtimeDir, QObject* parent)
    : QObject(parent),
      lockPath_(runtimeDir + QStringLiteral("/SKYREL.MUTEX")),
      socketPath_(runtimeDir + QStringLiteral("/SKYREL.MUTEX.restore")) {}

bool SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale only when its owner is gone, never because it is old: the program runs for days.
    lock_->setStaleLockTime(0);
    return lock_->tryLock(0);
}

bool SingleInstance::askRunningInstanceToRestore() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
    socket.write(kRestoreRequest);
    const bool written = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return written;
}

void SingleInstance::listenForRestoreRequests() {
    // This process holds the lock, so a socket file left here belongs to a dead copy.
    QLocalServer::removeServer(socketPath_);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(socketPath_);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains('\n')) emit restoreRequested();
            });
        }
    });
}

}  // namespace skyrel
