#include "app/web/guardedtcpserver.h"

#include <QSslSocket>
#include <memory>

#include <unistd.h>

namespace skyrel {

GuardedTcpServer::GuardedTcpServer(std::optional<QSslConfiguration> tls, int maxConnections, QObject* parent)
    : QTcpServer(parent), tls_(std::move(tls)), maxConnections_(maxConnections) {}

int GuardedTcpServer::connectionCount() {
    sockets_.removeIf([](const Guarded& guarded) {
        return !guarded.socket || guarded.socket->state() != QAbstractSocket::ConnectedState;
    });
    return int(sockets_.size());
}

void GuardedTcpServer::incomingConnection(qintptr descriptor) {
    if (connectionCount() >= maxConnections_) {
        ::close(int(descriptor));
        return;
    }
    QTcpSocket* socket = makeSocket(descriptor);
    if (!socket) return;
    Guarded guarded{socket, new QTimer(socket), {}};
    guarded.idle->setSingleShot(true);
    guarded.idle->setInterval(kWebIdleMs);
    connect(guarded.idle, &QTimer::timeout, socket, &QTcpSocket::abort);
    guarded.idle->start();
    watch(guarded);
    sockets_.append(guarded);
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

void GuardedTcpServer::watchUpgraded() {
    for (Guarded& guarded : sockets_)
        if (guarded.socket && !guarded.reading) watch(guarded);
}

// Any byte read or written restarts the idle time; what arrives before the server writes again is
// counted against the request limit (a connection is watched before the HTTP server reads from it).
void GuardedTcpServer::watch(Guarded& guarded) {
    QTcpSocket* socket = guarded.socket;
    QTimer* idle = guarded.idle;
    auto received = std::make_shared<qint64>(0);
    guarded.reading = connect(socket, &QTcpSocket::readyRead, idle, [socket, idle, received] {
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
