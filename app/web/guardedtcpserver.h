// The listening socket of the web page, with the limits that keep one client from holding the station:
// at most kWebMaxConnections open connections by default (a further one is closed at once), no connection idle
// (nothing read or written) for longer than kWebIdleMs, and no more than kWebMaxRequestBytes received
// before the server answers. With a TLS configuration every connection is encrypted before the HTTP
// server reads it.
#pragma once

#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <optional>

#include <QSslConfiguration>

namespace skyrel {

inline constexpr int kWebMaxConnections = 32;
inline constexpr int kWebIdleMs = 60'000;
inline constexpr qint64 kWebMaxRequestBytes = 16 * 1024;

class GuardedTcpServer : public QTcpServer {
    Q_OBJECT

public:
    GuardedTcpServer(std::optional<QSslConfiguration> tls, int maxConnections, QObject* parent = nullptr);

    // Connections open now.
    int connectionCount();
    // Watches again the connections an upgrade to WebSocket has taken over: the upgrade drops every
    // connection to the socket's signals, the watch of its idle time too.
    void watchUpgraded();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    struct Guarded {
        QPointer<QTcpSocket> socket;
        QTimer* idle = nullptr;  // a child of the socket
        QMetaObject::Connection reading;
    };

    QTcpSocket* makeSocket(qintptr descriptor);
    static void watch(Guarded& guarded);

    std::optional<QSslConfiguration> tls_;
    int maxConnections_;
    QList<Guarded> sockets_;
};

}  // namespace skyrel
