// The endpoint's wire protocol, free of sockets: one conversation's reading of a client's requests and
// its replies, and the client side's reading of those replies.
//
// Requests are lines ending in LF (a CR before the LF is dropped); replies are lines too. A payload travels
// as a length in the line and exactly that many bytes after it, so CR LF and zero bytes pass unchanged:
//   CONNECT <service> <topic>        OK | ERR no such topic
//   REQUEST <item> TEXT              DATA <n> + the item's text form and one zero byte
//   ADVISE <item> TEXT               OK; from then on DATA <n> + the text form at every change
//   UNADVISE <item>                  OK
//   POKE <item> TEXT <n> + n bytes   OK
//   EXECUTE <n> + n bytes            OK
// A request reply always ends in a zero byte and a change notice never does, so a client that is advised
// and requests on the same conversation tells them apart.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <functional>
#include <optional>

#include "app/endpoint/endpointitem.h"

namespace skyrel {

namespace endpoint {
inline constexpr char kServiceName[] = "Skyrel";
inline constexpr char kTopicName[] = "SkyrelServ";
inline constexpr char kItemName[] = "SkyrelItem";
// The items read and advised like the first one, never poked: the Hamlib rotator's last reported
// position, and the radio's dials, corrections and mode.
inline constexpr char kAntennaItemName[] = "AntennaItem";
inline constexpr char kRadioItemName[] = "RadioItem";
inline constexpr char kTextFormat[] = "TEXT";
// A larger payload is refused and the connection closed.
inline constexpr qsizetype kMaxPayload = 64 * 1024;
// A request line longer than this (no LF in sight) is refused the same way.
inline constexpr qsizetype kMaxRequestLine = 4096;
// A client whose unsent replies and notices pass this is dropped: it stopped reading.
inline constexpr qint64 kMaxUnsentBytes = 1024 * 1024;
// Conversations at once; one more is told "ERR busy" and closed.
inline constexpr int kMaxConversations = 64;
}  // namespace endpoint

// What a conversation needs of the server that holds the item.
class EndpointHost {
public:
    virtual const EndpointItem& item() const = 0;
    // The read-only item of that name (kAntennaItemName, kRadioItemName), or none for a host that does not
    // serve it.
    virtual const EndpointItem* readOnlyItem(QByteArrayView) const { return nullptr; }
    // The value becomes the poked bytes, every advised conversation is told, and the command handler
    // is to run with the new value.
    virtual void poke(QByteArrayView bytes) = 0;

protected:
    ~EndpointHost() = default;
};

// One client's conversation: bytes in, replies out through `send`, in the order the requests came.
class EndpointConversation {
public:
    using Sender = std::function<void(const QByteArray&)>;

    EndpointConversation(EndpointHost& host, Sender send);

    // Answers every complete request in the bytes received so far; keeps an incomplete one for later.
    void receive(QByteArrayView bytes);
    // Sends an advised client the item's new text form.
    void notify(const QByteArray& textForm);
    // The same for the read-only item `name`.
    void notifyReadOnly(QByteArrayView name, const QByteArray& textForm);
    // Stops answering: the rest of what was received, and whatever comes later, is dropped.
    void abandon();

    bool connected() const { return connected_; }
    bool advised() const { return advised_; }
    // True once the conversation refused to go on; the connection is then to be closed.
    bool finished() const { return finished_; }
    // Received bytes that wait for the rest of their request.
    qsizetype pendingBytes() const { return input_.size(); }

    // One reply per request. `args` are the words after the request's name.
    QByteArray Connect(const QList<QByteArray>& args);
    QByteArray Request(const QList<QByteArray>& args);
    QByteArray Advise(const QList<QByteArray>& args);
    QByteArray Unadvise(const QList<QByteArray>& args);
    QByteArray Poke(const QByteArray& item, const QByteArray& format, QByteArrayView payload);
    QByteArray Execute(QByteArrayView payload);

private:
    enum class PayloadFor { Poke, Execute };
    struct PendingPayload {
        PayloadFor target;
        QByteArray item;
        QByteArray format;
        qsizetype length;
    };

    // Answers one request line; for a request with a payload it arranges to wait for the payload instead.
    QByteArray answerLine(QByteArrayView line);
    static QByteArray UsageOf(PayloadFor target);
    QByteArray expectPayload(PayloadFor target, const QByteArray& item, const QByteArray& format,
                             const QByteArray& lengthText);
    QByteArray refuseTooLarge();
    // Empty when the conversation may use the item; the refusal otherwise.
    QByteArray itemRefusal(const QByteArray& item) const;
    // The read-only item `item` names, or none.
    const EndpointItem* readOnly(const QByteArray& item) const;

    EndpointHost& host_;
    Sender send_;
    QByteArray input_;
    std::optional<PendingPayload> pending_;
    bool connected_ = false;
    bool advised_ = false;
    QList<QByteArray> readOnlyAdvised_;  // the read-only items this client is advised of
    bool finished_ = false;
};

// A reply or a change notice as a client reads it.
struct EndpointReply {
    enum class Kind { Ok, Error, Data };
    Kind kind = Kind::Ok;
    QByteArray reason;   // for Error: the text after "ERR "
    QByteArray payload;  // for Data
};

// The client side: bytes from the endpoint in, whole replies out.
class EndpointReplyReader {
public:
    void receive(QByteArrayView bytes);
    // The oldest complete reply not taken yet.
    std::optional<EndpointReply> next();
    // The endpoint sent a line that is no reply; nothing after it can be read.
    bool malformed() const { return malformed_; }

private:
    QByteArray input_;
    bool malformed_ = false;
};

// "ERR <reason>" and its line end, as every refusal is written.
QByteArray ErrorReply(const char* reason);

// Request texts, as a client sends them.
QByteArray ConnectRequest(QByteArrayView service, QByteArrayView topic);
QByteArray RequestRequest(QByteArrayView item);
QByteArray AdviseRequest(QByteArrayView item);
QByteArray UnadviseRequest(QByteArrayView item);
QByteArray PokeRequest(QByteArrayView item, QByteArrayView payload);
QByteArray ExecuteRequest(QByteArrayView payload);

}  // namespace skyrel
