#include "app/endpoint/endpointserver.h"

#include <QFile>
#include <algorithm>
#include <optional>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

#include "app/program/runtimepaths.h"

namespace skyrel {
namespace {

// How long to wait for a living endpoint to accept before judging the socket file.
constexpr int kProbeTimeoutMs = 1000;
// What one client's bytes may cost the event loop per turn: a longest request and its payload.
constexpr qint64 kReadChunk = endpoint::kMaxPayload + endpoint::kMaxRequestLine;

// Why nothing may listen at `path` as things stand, or nothing when only a socket (or no file) is there.
// QLocalServer unlinks whatever has the name before it binds, so anything else must be caught first.
std::optional<QString> ObstacleAt(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    constexpr std::size_t kMaxSocketPath = sizeof(sockaddr_un::sun_path) - 1;
    if (static_cast<std::size_t>(name.size()) > kMaxSocketPath)
        return QStringLiteral("the path is %1 bytes long, and a socket's path may have at most %2")
            .arg(name.size())
            .arg(kMaxSocketPath);
    struct stat status {};
    if (::lstat(name.constData(), &status) != 0 || S_ISSOCK(status.st_mode)) return std::nullopt;
    const QString what = S_ISREG(status.st_mode)   ? QStringLiteral("a file")
                         : S_ISLNK(status.st_mode) ? QStringLiteral("a symbolic link")
                         : S_ISDIR(status.st_mode) ? QStringLiteral("a directory")
                                                   : QStringLiteral("something that is not a socket");
    return QStringLiteral("%1 of that name is in the way; it is left as it is").arg(what);
}

QString ListenFailureReason(const QLocalServer& server) {
    switch (server.serverError()) {
        case QAbstractSocket::SocketAccessError:
            return QStringLiteral("there is no permission to make a socket in that directory");
        case QAbstractSocket::SocketResourceError:
            return QStringLiteral("the system has no room for another socket");
        // Qt's "Name error": the directory is missing, read-only or not a directory.
        case QAbstractSocket::HostNotFoundError:
            return QStringLiteral("its directory is missing, read-only or not a directory");
        case QAbstractSocket::AddressInUseError:
            return QStringLiteral("another socket holds that name");
        default: return server.errorString();
    }
}

}  // namespace

EndpointServer::EndpointServer(QObject* parent) : QObject(parent) {
    qRegisterMetaType<EndpointCommand>();
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    // Room for every allowed client and the one more that is to be told it is refused.
    server_.setListenBacklogSize(2 * endpoint::kMaxConversations);
    connect(&server_, &QLocalServer::newConnection, this, &EndpointServer::acceptConnections);
    connect(&watch_, &ListenerWatch::stopped, this, &EndpointServer::listeningStopped);
}

EndpointServer::~EndpointServer() { withdraw(); }

QString EndpointServer::DefaultPath() {
    return RuntimeDirectory() + QLatin1Char('/') + QLatin1String(endpoint::kServiceName);
}

bool EndpointServer::listen(const QString& path) {
    if (const std::optional<QString> obstacle = ObstacleAt(path)) return refuse(path, *obstacle);
    // A blind removal would take the name from a running copy: only a socket nobody answers on is stale.
    QLocalSocket probe;
    probe.connectToServer(path);
    if (probe.waitForConnected(kProbeTimeoutMs)) {
        probe.abort();
        return refuse(path, QStringLiteral("another copy of Skyrel already answers there"));
    }
    if (probe.error() == QLocalSocket::ConnectionRefusedError) QLocalServer::removeServer(path);
    if (!server_.listen(path)) return refuse(path, ListenFailureReason(server_));
    watch_.watch();
    return true;
}

bool EndpointServer::refuse(const QString& path, const QString& reason) {
    errorString_ = QStringLiteral("The local endpoint cannot listen at %1: %2. Other programs cannot reach "
                                  "Skyrel until that is mended and Skyrel is started again.")
                       .arg(path, reason);
    return false;
}

void EndpointServer::withdraw() {
    for (const std::unique_ptr<Client>& client : clients_) {
        client->socket->disconnect(this);
        if (!client->closing) client->socket->flush();
        client->socket->abort();
        client->socket->deleteLater();
    }
    clients_.clear();
    watch_.unwatch();
    server_.close();
}

void EndpointServer::setPointingLine(const QByteArray& line) {
    item_.setPointingLine(line);
    tellAdvisedClients();
}

const EndpointItem* EndpointServer::readOnlyItem(QByteArrayView name) const {
    if (name == endpoint::kAntennaItemName) return &antennaItem_;
    if (name == endpoint::kRadioItemName) return &radioItem_;
    return nullptr;
}

void EndpointServer::setAntennaPosition(const QByteArray& text) {
    setReadOnlyItem(antennaItem_, endpoint::kAntennaItemName, text);
}

void EndpointServer::setRadioState(const QByteArray& text) { setReadOnlyItem(radioItem_, endpoint::kRadioItemName, text); }

void EndpointServer::setReadOnlyItem(EndpointItem& item, QByteArrayView name, const QByteArray& text) {
    item.setPointingLine(text);
    const QByteArray textForm = item.textForm();
    for (const std::unique_ptr<Client>& client : clients_)
        if (!client->closing) client->conversation->notifyReadOnly(name, textForm);
}

int EndpointServer::conversationCount() const {
    return static_cast<int>(std::count_if(clients_.begin(), clients_.end(),
                                          [](const std::unique_ptr<Client>& c) { return !c->closing; }));
}

qint64 EndpointServer::queuedBytes() const {
    qint64 total = 0;
    for (const std::unique_ptr<Client>& client : clients_)
        total += client->socket->bytesToWrite() + client->conversation->pendingBytes();
    return total;
}

void EndpointServer::poke(QByteArrayView bytes) {
    item_.setPokedText(bytes);
    tellAdvisedClients();
    if (const std::optional<EndpointCommand> command = CommandOfItem(item_))
        QMetaObject::invokeMethod(
            this, [this, command = *command] { emit commandReceived(command); }, Qt::QueuedConnection);
}

void EndpointServer::acceptConnections() {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
        if (conversationCount() >= endpoint::kMaxConversations) {
            socket->write(ErrorReply("busy"));
            socket->flush();
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto client = std::make_unique<Client>();
        Client* c = client.get();
        c->socket = socket;
        socket->setReadBufferSize(kReadChunk);
        EndpointHost& host = *this;
        c->conversation = std::make_unique<EndpointConversation>(host, [this, c](const QByteArray& b) { send(c, b); });
        connect(socket, &QLocalSocket::readyRead, this, [this, c] { readFrom(c); });
        connect(socket, &QLocalSocket::disconnected, this, [this, c] { close(c); });
        clients_.push_back(std::move(client));
        if (socket->bytesAvailable() > 0) readFrom(c);
    }
}

void EndpointServer::readFrom(Client* client) {
    const QByteArray bytes = client->socket->readAll();
    if (client->closing) return;
    client->conversation->receive(bytes);
    if (client->conversation->finished()) close(client);
}

void EndpointServer::send(Client* client, const QByteArray& bytes) {
    if (client->closing) return;
    client->socket->write(bytes);
    if (client->socket->bytesToWrite() > endpoint::kMaxUnsentBytes) close(client);
}

void EndpointServer::tellAdvisedClients() {
    const QByteArray text = item_.textForm();
    // Closing a client only marks it; the list changes at a later event, so this walk stays valid.
    for (const std::unique_ptr<Client>& client : clients_)
        if (!client->closing) client->conversation->notify(text);
}

void EndpointServer::close(Client* client) {
    if (client->closing) return;
    client->closing = true;
    client->conversation->abandon();
    client->socket->flush();
    client->socket->abort();
    QMetaObject::invokeMethod(this, [this, client] { forget(client); }, Qt::QueuedConnection);
}

void EndpointServer::forget(Client* client) {
    const auto it = std::find_if(clients_.begin(), clients_.end(),
                                 [client](const std::unique_ptr<Client>& c) { return c.get() == client; });
    if (it == clients_.end()) return;
    client->socket->disconnect(this);
    client->socket->deleteLater();
    clients_.erase(it);
}

}  // namespace skyrel
