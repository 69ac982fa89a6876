#include "tests/support/endpointclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace skyrel::test {

bool EndpointClient::connectTo(const QString& path, int timeoutMs) {
    QObject::connect(&socket_, &QLocalSocket::readyRead, &socket_, [this] { collect(); });
    socket_.connectToServer(path);
    return waitUntil([this] { return socket_.state() == QLocalSocket::ConnectedState; }, timeoutMs);
}

bool EndpointClient::open(const QString& path) {
    return connectTo(path) && IsOk(ask(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName)));
}

void EndpointClient::send(const QByteArray& bytes) { socket_.write(bytes); }

std::optional<EndpointReply> EndpointClient::reply(int timeoutMs) {
    if (!waitUntil([this] { return !replies_.isEmpty(); }, timeoutMs)) return std::nullopt;
    return replies_.takeFirst();
}

std::optional<EndpointReply> EndpointClient::ask(const QByteArray& request, int timeoutMs) {
    send(request);
    return reply(timeoutMs);
}

bool EndpointClient::waitForNotices(qsizetype count, int timeoutMs) {
    return waitUntil([this, count] { return notices_.size() >= count; }, timeoutMs);
}

bool EndpointClient::waitForClose(int timeoutMs) {
    return waitUntil([this] { return socket_.state() == QLocalSocket::UnconnectedState; }, timeoutMs);
}

void EndpointClient::collect() {
    reader_.receive(socket_.readAll());
    while (std::optional<EndpointReply> r = reader_.next()) {
        if (r->kind == EndpointReply::Kind::Data && !r->payload.endsWith('\0')) notices_.append(r->payload);
        else replies_.append(*r);
    }
}

bool EndpointClient::waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // Wakes the loop below once the time is up, even when nothing else happens.
    QTimer guard;
    guard.setSingleShot(true);
    guard.start(timeoutMs);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool IsOk(const std::optional<EndpointReply>& reply) { return reply && reply->kind == EndpointReply::Kind::Ok; }

QByteArray ErrorReason(const std::optional<EndpointReply>& reply) {
    if (!reply || reply->kind != EndpointReply::Kind::Error) return QByteArrayLiteral("(not an error)");
    return reply->reason;
}

}  // namespace skyrel::test
