// A client of the local endpoint for tests that run the server in their own process: every wait runs
// the event loop, so the server answers meanwhile. Replies and change notices are kept apart: a
// request's payload ends in a zero byte, a notice's never does.
#pragma once

#include <QByteArray>
#include <QList>
#include <QLocalSocket>
#include <QString>
#include <functional>
#include <optional>

#include "app/endpoint/endpointprotocol.h"
#include "app/endpoint/endpointserver.h"

namespace skyrel::test {

class EndpointClient {
public:
    // Connects the socket and waits until the connection stands; false when nobody listens at `path`.
    bool connectTo(const QString& path, int timeoutMs = 5000);
    // Connects and opens the conversation on the service and topic; true when the endpoint said OK.
    bool open(const QString& path);

    void send(const QByteArray& bytes);
    // The next reply to a request (notices that come meanwhile are kept), or nothing after `timeoutMs`.
    std::optional<EndpointReply> reply(int timeoutMs = 5000);
    // Sends a request and waits for its reply.
    std::optional<EndpointReply> ask(const QByteArray& request, int timeoutMs = 5000);

    // Change notices received so far, oldest first.
    const QList<QByteArray>& notices() const { return notices_; }
    // Waits until at least `count` notices arrived.
    bool waitForNotices(qsizetype count, int timeoutMs = 5000);
    // Waits until the endpoint closed the connection.
    bool waitForClose(int timeoutMs = 5000);

    // Pokes `text` into the item; true once the poke is answered OK and `server` took it as a command.
    bool pokeCommand(EndpointServer& server, const QByteArray& text);
    // Pokes `text` into the item; true when the poke is answered OK and no command follows within 50 ms.
    bool pokeNoCommand(EndpointServer& server, const QByteArray& text);
    // The item's text as a request reads it, or "(no reply)".
    QByteArray requestItem();

    QLocalSocket& socket() { return socket_; }

private:
    // Takes what arrived; notices go to their list, replies to the queue.
    void collect();
    bool waitUntil(const std::function<bool()>& done, int timeoutMs);

    QLocalSocket socket_;
    bool collecting_ = false;
    EndpointReplyReader reader_;
    QList<EndpointReply> replies_;
    QList<QByteArray> notices_;
};

// True when `reply` is OK.
bool IsOk(const std::optional<EndpointReply>& reply);
// The reason of an ERR reply, or "(not an error)".
QByteArray ErrorReason(const std::optional<EndpointReply>& reply);

}  // namespace skyrel::test
