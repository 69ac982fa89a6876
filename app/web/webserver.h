// The station's web page and its API on one port: the login page, the page's embedded files, GET
// /api/state, POST /api/track, GET /api/windows and the WebSocket /api/live that pushes the state after
// every cycle. Every request but the login page carries the token (webaccess.h); the listening socket
// caps connections, idle time and request size (guardedtcpserver.h).
#pragma once

#include <QAbstractHttpServer>
#include <QHostAddress>
#include <QJsonArray>
#include <QList>
#include <QString>
#include <QWebSocket>
#include <memory>

#include "app/web/guardedtcpserver.h"
#include "app/web/webaccess.h"
#include "app/web/websettings.h"
#include "app/web/webstate.h"

class QHttpServerResponder;

namespace skyrel {

class Station;

class WebServer : public QAbstractHttpServer {
    Q_OBJECT

public:
    // `station` must outlive the server. `maxConnections` other than kWebMaxConnections is for load
    // measurements with more clients than a station ever serves.
    WebServer(Station& station, WebSettings settings, QObject* parent = nullptr,
              int maxConnections = kWebMaxConnections);
    ~WebServer() override;

    // Listens on exactly the configured address and port. False, with errorString() naming the address,
    // port and reason, when the settings are refused (no token) or the socket cannot listen.
    bool start();
    QString errorString() const { return errorString_; }
    const WebSettings& settings() const { return settings_; }
    // What the log should say once the page runs (the token crossing a network in clear); may be empty.
    QString startWarning() const;
    // The port listened on (the configured one, or the one the system chose for port 0).
    quint16 port() const;
    // Open connections, HTTP and WebSocket; live WebSocket clients.
    int connectionCount() const;
    int liveClientCount() const { return int(liveClients_.size()); }

signals:
    // A line for the log: an address paused after wrong tokens (never the token itself).
    void message(const QString& text);

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    enum class Access { Allowed, Refused, Paused };

    Access accessOf(const QHostAddress& address, const QByteArray& presented);
    void serveLogin(const QHttpServerRequest& request, QHttpServerResponder& responder);
    void serveFile(const QString& path, QHttpServerResponder& responder);
    void serveTrack(const QHttpServerRequest& request, QHttpServerResponder& responder);
    void serveWindows(const QHttpServerRequest& request, QHttpServerResponder& responder);
    QJsonObject stateWithPath();
    void acceptLiveClients();
    void pushState();
    void watchTracker();

    Station& station_;
    WebSettings settings_;
    WebAccess access_;
    int maxConnections_;
    GuardedTcpServer* tcp_ = nullptr;  // owned by the HTTP server once bound
    QString errorString_;
    QList<QWebSocket*> liveClients_;
    AntennaSeen antenna_;
    QJsonArray moonPath_;  // of moonPathDay_ at the site applied last
    int moonPathDay_ = -1;
};

}  // namespace skyrel
