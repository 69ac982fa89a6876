// The local endpoint: a socket named after the service in the user's runtime directory, through which
// other programs read and subscribe to the item and poke commands into it. Everything runs on the GUI
// thread's event loop; a client can neither block it nor grow the program's memory without bound.
#pragma once

#include <QLocalServer>
#include <QLocalSocket>
#include <QObject>
#include <QString>
#include <memory>
#include <vector>

#include "app/endpoint/endpointcommand.h"
#include "app/endpoint/endpointitem.h"
#include "app/endpoint/listenerwatch.h"
#include "app/endpoint/endpointprotocol.h"

namespace skyrel {

class EndpointServer : public QObject, private EndpointHost {
    Q_OBJECT

public:
    explicit EndpointServer(QObject* parent = nullptr);
    // Withdraws the endpoint.
    ~EndpointServer() override;

    // The endpoint's socket: the service name in the user's runtime directory.
    static QString DefaultPath();

    // Starts listening at `path`. A socket file left by a process that died is replaced; one that a
    // living endpoint answers on is left alone, and so is anything at the path that is not a socket
    // (a file, a symbolic link, a directory). Then, as for a path too long for a socket or any other
    // failure, false is returned and errorString() tells the user where and why, in words.
    bool listen(const QString& path = DefaultPath());
    // Closes every conversation (after handing their pending replies to the system) and removes the socket.
    void withdraw();
    QString errorString() const { return errorString_; }
    QString path() const { return server_.fullServerName(); }

    const EndpointItem& item() const override { return item_; }
    // The rotator output's pointing line becomes the value; advised clients are told.
    void setPointingLine(const QByteArray& line);
    const EndpointItem* readOnlyItem(QByteArrayView name) const override;
    const EndpointItem& antennaItem() const { return antennaItem_; }
    const EndpointItem& radioItem() const { return radioItem_; }
    // The Hamlib rotator's reported position ("AZ<az> EL<el>") becomes the antenna item's one line;
    // clients advised of that item are told.
    void setAntennaPosition(const QByteArray& text);
    // The radio's state line (RadioItemText) becomes the radio item's one line, as for the antenna.
    void setRadioState(const QByteArray& text);

    // Bounds that hold whatever the clients do.
    int conversationCount() const;
    // Replies and notices not yet taken by the clients, plus received bytes waiting for their request's end.
    qint64 queuedBytes() const;

signals:
    // A poke named a command. Delivered from the event loop after the poke was answered, so a handler may
    // end the program or open a message box without disturbing a conversation in progress.
    void commandReceived(skyrel::EndpointCommand command);
    // The server had stopped listening and is made to listen again (ListenerWatch): once a stop.
    void listeningStopped(const QString& message);

private:
    struct Client {
        QLocalSocket* socket = nullptr;
        std::unique_ptr<EndpointConversation> conversation;
        bool closing = false;
    };

    // Sets the error text for a listen at `path` that cannot be; returns false.
    bool refuse(const QString& path, const QString& reason);
    void poke(QByteArrayView bytes) override;
    void acceptConnections();
    void readFrom(Client* client);
    void send(Client* client, const QByteArray& bytes);
    void tellAdvisedClients();
    void setReadOnlyItem(EndpointItem& item, QByteArrayView name, const QByteArray& text);
    // Hands what is pending to the system, closes the connection and forgets the client at the next event.
    void close(Client* client);
    void forget(Client* client);

    QLocalServer server_;
    ListenerWatch watch_{server_};
    QString errorString_;
    EndpointItem item_;
    EndpointItem antennaItem_;
    EndpointItem radioItem_;
    std::vector<std::unique_ptr<Client>> clients_;
};

}  // namespace skyrel
