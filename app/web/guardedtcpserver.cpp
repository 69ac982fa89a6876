#include "app/web/guardedtcpserver.h"

#include <QSslSocket>
#include <QTimer>
#include <memory>

#include <unistd.h>

namespace skyrel {

GuardedTcpServer::GuardedTcpServer(std::optional<QSslConfiguration> tls, QObject* parent)
    : QTcpServer(parent), tls_(std::move(tls)) {}

int GuardedTcpServer::connectionCount() {
    sockets_.removeIf([](const QPointer<QTcpSocket>& socket) {
        return !socket || socket->state() != QAbstractSocket::ConnectedState;
    });
    return int(sockets_.size());
}

void GuardedTcpServer::incomingConnection(qintptr descriptor) {
    if (connectionCount() >= kWebMaxConnections) {
        ::close(int(descriptor));
        return;
    }
    QTcpSocket* socket = makeSocket(descriptor);
    if (!socket) return;
    guard(socket);
    sockets_.append(socket);
    addPendingConnection(socket);
}

QTcpSocket* GuardedTcpServer::makeSocket(qintptr descriptor) {
    if (!tls_) {
        auto socket = std::make_unique<QTcpSocket>(this);
        return socket->setSocketDescriptor(descriptor) ? socket.release() : nullptr;
    }
    auto socket = std::make_unique<QSslSocket>(this);
    if (!socket->setSocketDescriptor(descriptor)) return nullptr;
    socket->setSslConfiguration(*tls_);
    socket->startServerEncryption();
    return socket.release();
}

// The counters live as long as the socket: the HTTP server and, after an upgrade, the WebSocket take the
// socket over but keep the same object.
void GuardedTcpServer::guard(QTcpSocket* socket) {
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(kWebIdleMs);
    connect(idle, &QTimer::timeout, socket, &QTcpSocket::abort);
    idle->start();
    auto received = std::make_shared<qint64>(0);
    connect(socket, &QTcpSocket::readyRead, idle, [socket, idle, received] {
        idle->start();
        *received += socket->bytesAvailable();
        if (*received > kWebMaxRequestBytes) socket->abort();
    });
    connect(socket, &QTcpSocket::bytesWritten, idle, [idle, received] {
        idle->start();
        *received = 0;
    });
}

}  // namespace skyrel
