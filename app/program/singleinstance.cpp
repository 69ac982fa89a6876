#include "app/program/singleinstance.h"

#include <QFileInfo>
#include <QLocalSocket>

#include "app/endpoint/endpointprotocol.h"

namespace skyrel {
namespace {
constexpr int kConnectTimeoutMs = 1000;
const QByteArray kRestoreRequest = QByteArrayLiteral("RESTORE\n");
// As many as the endpoint holds: a client that opens connections and never closes them must not use up
// the process's file descriptors, which the endpoint needs as well.
constexpr int kMaxRestoreConnections = endpoint::kMaxConversations;
}  // namespace

SingleInstance::SingleInstance(const QString& runtimeDir, QObject* parent)
    : QObject(parent),
      lockPath_(runtimeDir + QStringLiteral("/SKYREL.MUTEX")),
      socketPath_(runtimeDir + QStringLiteral("/SKYREL.MUTEX.restore")) {}

SingleInstance::Lock SingleInstance::acquire() {
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock is stale only when its owner is gone, never because it is old: the program runs for days.
    lock_->setStaleLockTime(0);
    // QLockFile takes over a lock whose recorded owner is gone by itself; a file that records no owner
    // (empty, garbled, not a file at all) is left for us to remove. One removal, then one more try: a
    // copy that took the lock in between wins.
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (lock_->tryLock(0)) return Lock::Ours;
        if (lock_->error() != QLockFile::LockFailedError) break;
        qint64 pid = 0;
        QString hostName, appName;
        if (lock_->getLockInfo(&pid, &hostName, &appName)) return Lock::AnotherCopyRuns;
        if (!lock_->removeStaleLockFile()) break;
    }
    unavailableMessage_ = QStringLiteral("The lock file %1 cannot be made: %2. Skyrel runs on, but it cannot "
                                         "keep a second copy from starting.")
                              .arg(lockPath_, unavailableReason());
    return Lock::Unavailable;
}

QString SingleInstance::unavailableReason() const {
    const QFileInfo existing(lockPath_);
    if (existing.isDir()) return QStringLiteral("a directory of that name is in the way");
    if (existing.exists() && !existing.isFile())
        return QStringLiteral("something that is not a file is in the way");
    if (lock_->error() == QLockFile::PermissionError)
        return QStringLiteral("there is no permission to write in its directory");
    return QStringLiteral("it cannot be written there (the directory may be missing or the disk full)");
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
    if (server_.listen(socketPath_)) watch_.watch();
    connect(&watch_, &ListenerWatch::stopped, this, &SingleInstance::listeningStopped);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            if (connections_ >= kMaxRestoreConnections) {
                socket->abort();
                socket->deleteLater();
                continue;
            }
            ++connections_;
            connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
                --connections_;
                socket->deleteLater();
            });
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains('\n')) emit restoreRequested();
            });
        }
    });
}

}  // namespace skyrel
