// The listening socket of the web page, with the limits that keep one client from holding the station:
// at most kWebMaxConnections open connections (a further one is closed at once), no connection idle
// (nothing read or written) for longer than kWebIdleMs, and no more than kWebMaxRequestBytes received
// before the server answers. With a TLS configuration every connection is encrypted before the HTTP
// server reads it.
#pragma once

#include <QList>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <optional>

#include <QSslConfiguration>

namespace skyrel {

inline constexpr int kWebMaxConnections = 32;
inline constexpr int kWebIdleMs = 60'000;
inline constexpr qint64 kWebMaxRequestBytes = 16 * 1024;

class GuardedTcpServer : public QTcpServer {
    Q_OBJECT

public:
    explicit GuardedTcpServer(std::optional<QSslConfiguration> tls, QObject* parent = nullptr);

    // Connections open now.
    int connectionCount();

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QTcpSocket* makeSocket(qintptr descriptor);
    void guard(QTcpSocket* socket);

    std::optional<QSslConfiguration> tls_;
    QList<QPointer<QTcpSocket>> sockets_;
};

}  // namespace skyrel
