// skyrel-dde: one conversation with a running tracker's local endpoint.
//   skyrel-dde request          prints the item's value
//   skyrel-dde advise           prints every new value until interrupted
//   skyrel-dde poke TEXT        sets the value (a command such as TRACK_MOON), C escapes allowed
//   skyrel-dde execute TEXT     sends an execute string
// Exit status: 0 on OK, 1 on an ERR reply, 2 when no tracker answers, 3 on a wrong command line.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QLocalSocket>
#include <cstdio>
#include <optional>

#include "app/endpoint/endpointprotocol.h"
#include "app/endpoint/endpointserver.h"
#include "escapes.h"

namespace skyrel {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;
constexpr int kExitNoEndpoint = 2;
constexpr int kExitUsage = 3;
constexpr int kConnectTimeoutMs = 5000;
constexpr int kReplyTimeoutMs = 10000;

void PrintError(const QString& text) {
    std::fputs(qPrintable(text + QLatin1Char('\n')), stderr);
    std::fflush(stderr);
}

void PrintBytes(const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
    std::fflush(stdout);
}

class Conversation {
public:
    explicit Conversation(QString path) : path_(std::move(path)) {}

    bool open() {
        socket_.connectToServer(path_);
        return socket_.waitForConnected(kConnectTimeoutMs);
    }

    void send(const QByteArray& bytes) { socket_.write(bytes); }

    // The next reply; nothing when the endpoint went away, fell silent for `timeoutMs` (-1: forever) or
    // sent something that is no reply.
    std::optional<EndpointReply> await(int timeoutMs) {
        for (;;) {
            if (std::optional<EndpointReply> reply = reader_.next()) return reply;
            if (reader_.malformed()) return std::nullopt;
            // A busy endpoint answers and hangs up before reading anything: writing to the closed
            // connection would throw its answer away unread, so what has come is read first.
            if (socket_.bytesToWrite() > 0 && socket_.waitForReadyRead(0)) {
                reader_.receive(socket_.readAll());
                continue;
            }
            socket_.flush();
            const bool more = socket_.waitForReadyRead(timeoutMs);
            reader_.receive(socket_.readAll());
            if (!more) return reader_.next();
        }
    }

    const QString& path() const { return path_; }

private:
    QString path_;
    QLocalSocket socket_;
    EndpointReplyReader reader_;
};

int NoAnswer(const Conversation& conversation) {
    PrintError(QStringLiteral("no answer from the Skyrel endpoint at %1").arg(conversation.path()));
    return kExitNoEndpoint;
}

// Waits for the reply to the last request: OK (or DATA) goes on, anything else ends the program.
std::optional<int> FailureOfReply(const std::optional<EndpointReply>& reply, const Conversation& conversation,
                                  EndpointReply::Kind expected) {
    if (!reply) return NoAnswer(conversation);
    if (reply->kind == EndpointReply::Kind::Error) {
        PrintError(QStringLiteral("ERR ") + QString::fromUtf8(reply->reason));
        return kExitRefused;
    }
    if (reply->kind != expected) return NoAnswer(conversation);
    return std::nullopt;
}

int Run(const QString& command, const QByteArray& text, const QByteArray& service, const QByteArray& topic,
        const QByteArray& item) {
    Conversation conversation(EndpointServer::DefaultPath());
    if (!conversation.open()) {
        PrintError(QStringLiteral("no Skyrel endpoint at %1").arg(conversation.path()));
        return kExitNoEndpoint;
    }
    conversation.send(ConnectRequest(service, topic));
    if (auto failure = FailureOfReply(conversation.await(kReplyTimeoutMs), conversation, EndpointReply::Kind::Ok))
        return *failure;

    if (command == QLatin1String("request")) {
        conversation.send(RequestRequest(item));
        const std::optional<EndpointReply> reply = conversation.await(kReplyTimeoutMs);
        if (auto failure = FailureOfReply(reply, conversation, EndpointReply::Kind::Data)) return *failure;
        // The value's text form without the zero byte that ends a request's payload.
        PrintBytes(reply->payload.endsWith('\0') ? reply->payload.chopped(1) : reply->payload);
        return kExitOk;
    }
    if (command == QLatin1String("advise")) {
        conversation.send(AdviseRequest(item));
        if (auto failure = FailureOfReply(conversation.await(kReplyTimeoutMs), conversation, EndpointReply::Kind::Ok))
            return *failure;
        for (;;) {
            const std::optional<EndpointReply> notice = conversation.await(-1);
            if (!notice || notice->kind != EndpointReply::Kind::Data) {
                PrintError(QStringLiteral("the Skyrel endpoint at %1 went away").arg(conversation.path()));
                return kExitNoEndpoint;
            }
            PrintBytes(notice->payload);
        }
    }
    conversation.send(command == QLatin1String("poke") ? PokeRequest(item, text) : ExecuteRequest(text));
    if (auto failure = FailureOfReply(conversation.await(kReplyTimeoutMs), conversation, EndpointReply::Kind::Ok))
        return *failure;
    return kExitOk;
}

}  // namespace
}  // namespace skyrel

int main(int argc, char** argv) {
    using namespace skyrel;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("skyrel-dde"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Talks to a running Skyrel tracker through its local endpoint.\n\n"
        "  request        print the item's value (the latest pointing line, or the text last poked)\n"
        "  advise         print every new value until interrupted\n"
        "  poke TEXT      set the value; TRACK_SUN, TRACK_MOON, TRACK_PARK, TRACK_OFF, TRACK_DDE,\n"
        "                 TRACK_SER and TRACK_SHUT command the tracker. C escapes such as \\r\\n work.\n"
        "  execute TEXT   send an execute string (accepted and ignored)\n\n"
        "Exit status: 0 on OK, 1 when the tracker answers ERR, 2 when no tracker answers, 3 on a wrong "
        "command line."));
    parser.addHelpOption();
    const QCommandLineOption serviceOption(QStringLiteral("service"),
                                           QStringLiteral("Service name to connect to (default Skyrel)."),
                                           QStringLiteral("name"), QLatin1String(endpoint::kServiceName));
    const QCommandLineOption topicOption(QStringLiteral("topic"),
                                         QStringLiteral("Topic name to connect to (default SkyrelServ)."),
                                         QStringLiteral("name"), QLatin1String(endpoint::kTopicName));
    const QCommandLineOption itemOption(
        QStringLiteral("item"),
        QStringLiteral("Item to read, advise or poke (default SkyrelItem; AntennaItem is the Hamlib rotator's "
                       "reported position)."),
        QStringLiteral("name"), QLatin1String(endpoint::kItemName));
    parser.addOption(serviceOption);
    parser.addOption(topicOption);
    parser.addOption(itemOption);
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("request | advise | poke TEXT | execute TEXT"));

    if (!parser.parse(QCoreApplication::arguments())) {
        PrintError(parser.errorText());
        return kExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) parser.showHelp(kExitOk);

    const QStringList args = parser.positionalArguments();
    const QString command = args.value(0);
    const bool takesText = command == QLatin1String("poke") || command == QLatin1String("execute");
    const bool takesNothing = command == QLatin1String("request") || command == QLatin1String("advise");
    if (!(takesText && args.size() == 2) && !(takesNothing && args.size() == 1)) {
        PrintError(QStringLiteral("usage: skyrel-dde [--service NAME] [--topic NAME] [--item NAME] "
                                  "request | advise | poke TEXT | execute TEXT"));
        return kExitUsage;
    }
    QByteArray text;
    if (takesText) {
        QString error;
        const std::optional<QByteArray> bytes = Unescape(args[1].toLocal8Bit(), error);
        if (!bytes) {
            PrintError(error);
            return kExitUsage;
        }
        text = *bytes;
    }
    return Run(command, text, parser.value(serviceOption).toLocal8Bit(), parser.value(topicOption).toLocal8Bit(),
               parser.value(itemOption).toLocal8Bit());
}
