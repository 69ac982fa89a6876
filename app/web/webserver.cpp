#include "app/web/webserver.h"

#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonDocument>
#include <QSslCertificate>
#include <QSslKey>
#include <QUrlQuery>
#include <optional>

#include "app/station/station.h"
#include "app/web/guardedtcpserver.h"

namespace skyrel {
namespace {

using Status = QHttpServerResponder::StatusCode;

const QByteArray kJsonType = QByteArrayLiteral("application/json");
const QByteArray kTextType = QByteArrayLiteral("text/plain; charset=utf-8");
const QString kLivePath = QStringLiteral("/api/live");

// The page's own files, the only ones ever served: no part of a request names a file.
struct PageFile {
    const char* path;      // as requested
    const char* resource;  // embedded
    const char* type;
    bool needsToken;       // the login page and what it loads are open to all
};
constexpr PageFile kPageFiles[] = {
    {"/", ":/web/index.html", "text/html; charset=utf-8", true},
    {"/app.js", ":/web/app.js", "text/javascript; charset=utf-8", true},
    {"/style.css", ":/web/style.css", "text/css; charset=utf-8", false},
    {"/login", ":/web/login.html", "text/html; charset=utf-8", false},
    {"/login.js", ":/web/login.js", "text/javascript; charset=utf-8", false},
};

const PageFile* PageFileOf(const QString& path) {
    for (const PageFile& file : kPageFiles)
        if (path == QLatin1String(file.path)) return &file;
    return nullptr;
}

// Every answer: never cached (the state changes every second), never framed, scripts from the page's
// own files only, and no Referer that could carry the address elsewhere.
void Reply(QHttpServerResponder& responder, Status status, const QByteArray& type = {}, const QByteArray& body = {},
           const HeaderList& extraHeaders = {}) {
    responder.writeStatusLine(status);
    responder.writeHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store"));
    responder.writeHeader(QByteArrayLiteral("X-Content-Type-Options"), QByteArrayLiteral("nosniff"));
    responder.writeHeader(QByteArrayLiteral("Referrer-Policy"), QByteArrayLiteral("no-referrer"));
    responder.writeHeader(QByteArrayLiteral("Content-Security-Policy"),
                          QByteArrayLiteral("default-src 'self'; frame-ancestors 'none'"));
    for (const auto& [name, value] : extraHeaders) responder.writeHeader(name, value);
    if (!type.isEmpty()) responder.writeHeader(QByteArrayLiteral("Content-Type"), type);
    responder.writeHeader(QByteArrayLiteral("Content-Length"), QByteArray::number(body.size()));
    responder.writeBody(body);
}

void ReplyJson(QHttpServerResponder& responder, const QJsonObject& object, Status status = Status::Ok) {
    Reply(responder, status, kJsonType, QJsonDocument(object).toJson(QJsonDocument::Compact));
}

void ReplyText(QHttpServerResponder& responder, Status status, const char* text) {
    Reply(responder, status, kTextType, QByteArray(text) + '\n');
}

void ReplyPaused(QHttpServerResponder& responder) {
    ReplyText(responder, Status::TooManyRequests, "paused after wrong tokens; try again in a minute");
}

// A PEM private key of either kind a certificate is commonly made with.
QSslKey PrivateKeyOf(const QByteArray& pem) {
    for (const QSsl::KeyAlgorithm algorithm : {QSsl::Rsa, QSsl::Ec}) {
        const QSslKey key(pem, algorithm, QSsl::Pem);
        if (!key.isNull()) return key;
    }
    return {};
}

std::optional<QSslConfiguration> TlsConfiguration(const WebSettings& settings, QString& problem) {
    if (!settings.tls()) return std::nullopt;
    QFile certificateFile(settings.certificate), keyFile(settings.key);
    if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
        problem = QStringLiteral("cannot read the certificate %1 or the key %2").arg(settings.certificate, settings.key);
        return std::nullopt;
    }
    const QSslCertificate certificate(&certificateFile, QSsl::Pem);
    const QSslKey key = PrivateKeyOf(keyFile.readAll());
    if (certificate.isNull() || key.isNull()) {
        problem = QStringLiteral("%1 or %2 is no PEM certificate or key").arg(settings.certificate, settings.key);
        return std::nullopt;
    }
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    return configuration;
}

}  // namespace

WebServer::WebServer(Station& station, WebSettings settings, QObject* parent, int maxConnections)
    : QAbstractHttpServer(parent),
      station_(station),
      settings_(std::move(settings)),
      access_(settings_.token.toUtf8()),
      maxConnections_(maxConnections) {
    connect(this, &QAbstractHttpServer::newWebSocketConnection, this, &WebServer::acceptLiveClients);
    connect(&station_, &Station::cycleCompleted, this, &WebServer::pushState);
    watchTracker();
}

WebServer::~WebServer() = default;

bool WebServer::start() {
    const QHostAddress address(settings_.address);
    const QString where = QStringLiteral("web page on %1 port %2").arg(settings_.address).arg(settings_.port);
    if (address.isNull()) {
        errorString_ = QStringLiteral("%1 not started: '%2' is no IP address").arg(where, settings_.address);
        return false;
    }
    if (settings_.token.isEmpty()) {
        errorString_ = address.isLoopback()
                           ? QStringLiteral("%1 not started: no token is set").arg(where)
                           : QStringLiteral("%1 not started: an address other than loopback needs a token").arg(where);
        return false;
    }
    QString tlsProblem;
    std::optional<QSslConfiguration> tls = TlsConfiguration(settings_, tlsProblem);
    if (!tlsProblem.isEmpty()) {
        errorString_ = QStringLiteral("%1 not started: %2").arg(where, tlsProblem);
        return false;
    }
    auto* tcp = new GuardedTcpServer(std::move(tls), maxConnections_, this);
    if (!tcp->listen(address, settings_.port)) {
        errorString_ = QStringLiteral("%1 not started: %2").arg(where, tcp->errorString());
        delete tcp;
        return false;
    }
    bind(tcp);
    tcp_ = tcp;
    return true;
}

QString WebServer::startWarning() const {
    if (QHostAddress(settings_.address).isLoopback() || settings_.tls()) return {};
    return QStringLiteral("the web page listens on %1 without TLS: its token crosses the network in clear; "
                          "reach it through an SSH tunnel or a reverse proxy with TLS")
        .arg(settings_.address);
}

quint16 WebServer::port() const { return tcp_ ? tcp_->serverPort() : 0; }

int WebServer::connectionCount() const { return tcp_ ? tcp_->connectionCount() : 0; }

WebServer::Access WebServer::accessOf(const QHostAddress& address, const QByteArray& presented) {
    bool pauseStarted = false;
    const WebAccess::Verdict verdict = access_.check(address, presented, &pauseStarted);
    if (pauseStarted)
        emit message(QStringLiteral("web page: %1 wrong tokens from %2 within a minute; that address is paused for a minute")
                         .arg(kWebFailuresBeforePause)
                         .arg(address.toString()));
    switch (verdict) {
        case WebAccess::Verdict::Allowed: return Access::Allowed;
        case WebAccess::Verdict::Paused: return Access::Paused;
        case WebAccess::Verdict::Refused: break;
    }
    return Access::Refused;
}

bool WebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
    const HeaderList headers = request.headers();
    // This HTTP server hands a WebSocket request to its handler before it upgrades the connection: any
    // answer here would reach the client ahead of the upgrade. The upgraded socket is checked on arrival.
    if (HeaderValue(headers, QByteArrayLiteral("Upgrade")).compare("websocket", Qt::CaseInsensitive) == 0) return true;
    QHttpServerResponder responder = makeResponder(request, socket);
    const QString path = request.url().path();
    const bool post = request.method() == QHttpServerRequest::Method::Post;
    if (access_.paused(request.remoteAddress())) {
        ReplyPaused(responder);
        return true;
    }
    if (post && !OriginAllowed(headers, settings_.tls())) {
        ReplyText(responder, Status::Forbidden, "the Origin of this request is not this page");
        return true;
    }
    if (path == QLatin1String("/login") && post) {
        serveLogin(request, responder);
        return true;
    }
    const PageFile* file = PageFileOf(path);
    if (file && !file->needsToken) {
        serveFile(path, responder);
        return true;
    }
    switch (accessOf(request.remoteAddress(), PresentedToken(headers))) {
        case Access::Allowed: break;
        case Access::Paused: ReplyPaused(responder); return true;
        case Access::Refused:
            // A browser without the cookie is sent to the login page; an API client is told.
            if (file) Reply(responder, Status::SeeOther, {}, {}, {{QByteArrayLiteral("Location"), QByteArrayLiteral("/login")}});
            else ReplyText(responder, Status::Unauthorized, "this needs the token");
            return true;
    }
    if (file) serveFile(path, responder);
    else if (path == QLatin1String("/api/state") && !post) ReplyJson(responder, stateWithPath());
    else if (path == QLatin1String("/api/windows") && !post) serveWindows(request, responder);
    else if (path == QLatin1String("/api/track") && post) serveTrack(request, responder);
    else ReplyText(responder, Status::NotFound, "no such page");
    return true;
}

void WebServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
    QHttpServerResponder responder = makeResponder(request, socket);
    ReplyText(responder, Status::NotFound, "no such page");
}

// The login page posts the token it was given; a right one becomes the cookie every later request
// carries, unreadable by scripts and never sent from another site.
void WebServer::serveLogin(const QHttpServerRequest& request, QHttpServerResponder& responder) {
    const QByteArray presented = request.body().trimmed();
    switch (accessOf(request.remoteAddress(), presented)) {
        case Access::Allowed: break;
        case Access::Paused: ReplyPaused(responder); return;
        case Access::Refused: ReplyText(responder, Status::Unauthorized, "wrong token"); return;
    }
    QByteArray cookie = kWebCookieName + '=' + presented + "; Path=/; HttpOnly; SameSite=Strict";
    if (settings_.tls()) cookie += "; Secure";
    Reply(responder, Status::NoContent, {}, {}, {{QByteArrayLiteral("Set-Cookie"), cookie}});
}

void WebServer::serveFile(const QString& path, QHttpServerResponder& responder) {
    const PageFile* file = PageFileOf(path);
    QFile resource(QLatin1String(file->resource));
    if (!resource.open(QIODevice::ReadOnly)) {
        ReplyText(responder, Status::InternalServerError, "the page is missing from this build");
        return;
    }
    Reply(responder, Status::Ok, file->type, resource.readAll());
}

void WebServer::serveTrack(const QHttpServerRequest& request, QHttpServerResponder& responder) {
    const QJsonObject body = QJsonDocument::fromJson(request.body()).object();
    const std::optional<TrackMode> mode = TrackModeOfName(body.value(QStringLiteral("target")).toString());
    if (!mode) {
        ReplyText(responder, Status::BadRequest, "target is one of sun, moon, park, off");
        return;
    }
    station_.choose(*mode);
    ReplyJson(responder, StateJson(station_, antenna_).value(QStringLiteral("tracking")).toObject());
}

void WebServer::serveWindows(const QHttpServerRequest& request, QHttpServerResponder& responder) {
    const QString daysText = request.query().queryItemValue(QStringLiteral("days"));
    bool ok = true;
    const int days = daysText.isEmpty() ? 1 : daysText.toInt(&ok);
    if (!ok || days < 1 || days > kMaxWindowDays) {
        ReplyText(responder, Status::BadRequest, "days is a whole number from 1 to 7");
        return;
    }
    ReplyJson(responder, WindowsJson(station_, days));
}

QJsonObject WebServer::stateWithPath() {
    const int day = station_.state().sky.clock.utcDay;
    if (day != moonPathDay_) {
        moonPath_ = MoonPathJson(station_);
        moonPathDay_ = day;
    }
    QJsonObject state = StateJson(station_, antenna_);
    state.insert(QStringLiteral("moonPath"), moonPath_);
    return state;
}

// A WebSocket is upgraded before any handler sees its request: its token (and Origin, for a browser) is
// checked here, and a wrong one closes it.
void WebServer::acceptLiveClients() {
    while (hasPendingWebSocketConnections()) {
        // Owned by the server from here on, so that a page still open when the station ends is closed
        // and freed with it.
        QWebSocket* client = nextPendingWebSocketConnection().release();
        client->setParent(this);
        const QNetworkRequest request = client->request();
        HeaderList headers;
        for (const QByteArray& name : request.rawHeaderList()) headers.append({name, request.rawHeader(name)});
        const bool allowed = client->requestUrl().path() == kLivePath && OriginAllowed(headers, settings_.tls()) &&
                             accessOf(client->peerAddress(), PresentedToken(headers)) == Access::Allowed;
        if (!allowed) {
            client->close(QWebSocketProtocol::CloseCodePolicyViolated);
            client->deleteLater();
            continue;
        }
        tcp_->watchUpgraded();
        client->setMaxAllowedIncomingFrameSize(kWebMaxRequestBytes);
        client->setMaxAllowedIncomingMessageSize(kWebMaxRequestBytes);
        liveClients_.append(client);
        connect(client, &QWebSocket::disconnected, this, [this, client] {
            liveClients_.removeOne(client);
            client->deleteLater();
        });
        // After the handshake's answer, which the upgrade writes once this signal returns.
        QMetaObject::invokeMethod(client, [this, client] {
            client->sendTextMessage(QString::fromUtf8(QJsonDocument(stateWithPath()).toJson(QJsonDocument::Compact)));
        }, Qt::QueuedConnection);
    }
}

// One text for every client: the state is made once a second, whatever the number of clients.
void WebServer::pushState() {
    if (liveClients_.isEmpty()) return;
    const QString text = QString::fromUtf8(QJsonDocument(StateJson(station_, antenna_)).toJson(QJsonDocument::Compact));
    for (QWebSocket* client : liveClients_) client->sendTextMessage(text);
}

void WebServer::watchTracker() {
    Tracker& tracker = station_.tracker();
    connect(&tracker, &Tracker::statusTextsChanged, this, [this](const QString& first, const QString& second) {
        antenna_.commandedFirst = first;
        antenna_.commandedSecond = second;
    });
    connect(&tracker, &Tracker::antennaStatusChanged, this, [this](const AntennaStatus& status) {
        antenna_.reportedError = status.error;
        antenna_.rotatorCommanded = status.commanded;
        antenna_.motionReason = status.reason;
        antenna_.reported = status.reported;
    });
    connect(&tracker, &Tracker::outputLostChanged, this, [this](bool lost, const QString& reason) {
        antenna_.linkLost = lost;
        antenna_.linkReason = reason;
    });
}

}  // namespace skyrel
