#include "tests/support/endpointclient.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

namespace skyrel::test {

bool EndpointClient::connectTo(const QString& path, int timeoutMs) {
    if (!collecting_) QObject::connect(&socket_, &QLocalSocket::readyRead, &socket_, [this] { collect(); });
    collecting_ = true;
    socket_.connectToServer(path);
    // A refused or missing endpoint leaves the connecting state at once: no need to wait out the time.
    waitUntil([this] { return socket_.state() != QLocalSocket::ConnectingState; }, timeoutMs);
    return socket_.state() == QLocalSocket::ConnectedState;
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

bool EndpointClient::pokeCommand(EndpointServer& server, const QByteArray& text) {
    int commands = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&server, &EndpointServer::commandReceived, &socket_, [&commands] { ++commands; });
    const bool taken = IsOk(ask(PokeRequest(endpoint::kItemName, text))) && waitUntil([&] { return commands == 1; }, 5000);
    QObject::disconnect(counting);
    return taken;
}

bool EndpointClient::pokeNoCommand(EndpointServer& server, const QByteArray& text) {
    int commands = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&server, &EndpointServer::commandReceived, &socket_, [&commands] { ++commands; });
    const bool answered = IsOk(ask(PokeRequest(endpoint::kItemName, text)));
    waitUntil([&] { return commands > 0; }, 50);
    QObject::disconnect(counting);
    return answered && commands == 0;
}

QByteArray EndpointClient::requestItem() {
    const auto answer = ask(RequestRequest(endpoint::kItemName));
    return answer ? answer->payload : QByteArray("(no reply)");
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
    // Wakes the loop below again and again, even when nothing else happens: a single timer at the
    // deadline may fire a little early and leave the loop waiting for an event that never comes.
    QTimer guard;
    guard.setTimerType(Qt::PreciseTimer);
    guard.start(20);
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
