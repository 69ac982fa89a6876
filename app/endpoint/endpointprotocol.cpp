#include "app/endpoint/endpointprotocol.h"

namespace skyrel {
namespace {

const QByteArray kOk = QByteArrayLiteral("OK\n");

QByteArray Data(const QByteArray& payload) {
    return QByteArrayLiteral("DATA ") + QByteArray::number(payload.size()) + '\n' + payload;
}

// A length is 1 to 10 decimal digits; anything else (sign, blank, letter) is no length.
std::optional<qsizetype> ParseLength(QByteArrayView text) {
    if (text.isEmpty() || text.size() > 10) return std::nullopt;
    qint64 value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return static_cast<qsizetype>(value);
}

}  // namespace

EndpointConversation::EndpointConversation(EndpointHost& host, Sender send) : host_(host), send_(std::move(send)) {}

void EndpointConversation::receive(QByteArrayView bytes) {
    if (finished_) return;
    input_.append(bytes);
    qsizetype pos = 0;
    while (!finished_) {
        if (pending_) {
            if (input_.size() - pos < pending_->length) break;
            const QByteArrayView payload = QByteArrayView(input_).sliced(pos, pending_->length);
            pos += pending_->length;
            const PendingPayload request = *std::move(pending_);
            pending_.reset();
            send_(request.target == PayloadFor::Poke ? Poke(request.item, request.format, payload) : Execute(payload));
            continue;
        }
        const qsizetype lineEnd = input_.indexOf('\n', pos);
        const qsizetype lineLength = (lineEnd < 0 ? input_.size() : lineEnd) - pos;
        if (lineLength > endpoint::kMaxRequestLine) {
            send_(refuseTooLarge());
            break;
        }
        if (lineEnd < 0) break;
        const QByteArray reply = answerLine(QByteArrayView(input_).sliced(pos, lineLength));
        pos = lineEnd + 1;
        if (!reply.isEmpty()) send_(reply);
    }
    if (finished_) input_.clear();
    else input_.remove(0, pos);
}

void EndpointConversation::notify(const QByteArray& textForm) {
    if (advised_ && !finished_) send_(Data(textForm));
}

void EndpointConversation::notifyReadOnly(QByteArrayView name, const QByteArray& textForm) {
    if (readOnlyAdvised_.contains(name) && !finished_) send_(Data(textForm));
}

void EndpointConversation::abandon() { finished_ = true; }

QByteArray EndpointConversation::UsageOf(PayloadFor target) {
    return ErrorReply(target == PayloadFor::Poke ? "usage: POKE <item> TEXT <n>" : "usage: EXECUTE <n>");
}

QByteArray EndpointConversation::answerLine(QByteArrayView line) {
    QList<QByteArray> words = line.toByteArray().simplified().split(' ');
    const QByteArray verb = words.takeFirst();
    if (verb.isEmpty()) return ErrorReply("empty request");
    if (verb == "CONNECT") return Connect(words);
    if (verb == "REQUEST") return Request(words);
    if (verb == "ADVISE") return Advise(words);
    if (verb == "UNADVISE") return Unadvise(words);
    if (verb == "POKE") {
        if (words.size() != 3) return UsageOf(PayloadFor::Poke);
        return expectPayload(PayloadFor::Poke, words[0], words[1], words[2]);
    }
    if (verb == "EXECUTE") {
        if (words.size() != 1) return UsageOf(PayloadFor::Execute);
        return expectPayload(PayloadFor::Execute, {}, {}, words[0]);
    }
    return ErrorReply("unknown request");
}

QByteArray EndpointConversation::expectPayload(PayloadFor target, const QByteArray& item, const QByteArray& format,
                                               const QByteArray& lengthText) {
    const std::optional<qsizetype> length = ParseLength(lengthText);
    if (!length) return UsageOf(target);
    if (*length > endpoint::kMaxPayload) return refuseTooLarge();
    pending_ = PendingPayload{target, item, format, *length};
    return {};
}

QByteArray EndpointConversation::refuseTooLarge() {
    finished_ = true;
    return ErrorReply("too large");
}

QByteArray EndpointConversation::itemRefusal(const QByteArray& item) const {
    if (!connected_) return ErrorReply("not connected");
    if (item != endpoint::kItemName && !readOnly(item)) return ErrorReply("no such item");
    return {};
}

const EndpointItem* EndpointConversation::readOnly(const QByteArray& item) const { return host_.readOnlyItem(item); }

QByteArray EndpointConversation::Connect(const QList<QByteArray>& args) {
    if (args.size() != 2) return ErrorReply("usage: CONNECT <service> <topic>");
    connected_ = args[0].compare(endpoint::kServiceName, Qt::CaseInsensitive) == 0 &&
                 args[1].compare(endpoint::kTopicName, Qt::CaseInsensitive) == 0;
    if (!connected_) {
        advised_ = false;
        readOnlyAdvised_.clear();
        return ErrorReply("no such topic");
    }
    return kOk;
}

QByteArray EndpointConversation::Request(const QList<QByteArray>& args) {
    if (args.size() != 2) return ErrorReply("usage: REQUEST <item> TEXT");
    if (QByteArray refusal = itemRefusal(args[0]); !refusal.isEmpty()) return refusal;
    if (args[1] != endpoint::kTextFormat) return ErrorReply("format not supported");
    const EndpointItem* item = readOnly(args[0]);
    return Data((item ? *item : host_.item()).requestPayload());
}

QByteArray EndpointConversation::Advise(const QList<QByteArray>& args) {
    if (args.size() != 2) return ErrorReply("usage: ADVISE <item> TEXT");
    if (QByteArray refusal = itemRefusal(args[0]); !refusal.isEmpty()) return refusal;
    if (args[1] != endpoint::kTextFormat) return ErrorReply("format not supported");
    if (!readOnly(args[0])) advised_ = true;
    else if (!readOnlyAdvised_.contains(args[0])) readOnlyAdvised_.append(args[0]);
    return kOk;
}

QByteArray EndpointConversation::Unadvise(const QList<QByteArray>& args) {
    if (args.size() != 1) return ErrorReply("usage: UNADVISE <item>");
    if (QByteArray refusal = itemRefusal(args[0]); !refusal.isEmpty()) return refusal;
    if (!readOnly(args[0])) advised_ = false;
    else readOnlyAdvised_.removeAll(args[0]);
    return kOk;
}

QByteArray EndpointConversation::Poke(const QByteArray& item, const QByteArray& format, QByteArrayView payload) {
    if (QByteArray refusal = itemRefusal(item); !refusal.isEmpty()) return refusal;
    if (readOnly(item)) return ErrorReply("item is read-only");
    if (format != endpoint::kTextFormat) return ErrorReply("format not supported");
    host_.poke(payload);
    return kOk;
}

QByteArray EndpointConversation::Execute(QByteArrayView) {
    if (!connected_) return ErrorReply("not connected");
    return kOk;
}

void EndpointReplyReader::receive(QByteArrayView bytes) { input_.append(bytes); }

std::optional<EndpointReply> EndpointReplyReader::next() {
    if (malformed_) return std::nullopt;
    const qsizetype lineEnd = input_.indexOf('\n');
    if (lineEnd < 0) return std::nullopt;
    const QByteArrayView line = QByteArrayView(input_).first(lineEnd);
    EndpointReply reply;
    qsizetype consumed = lineEnd + 1;
    if (line == "OK") {
        reply.kind = EndpointReply::Kind::Ok;
    } else if (line == "ERR" || line.startsWith("ERR ")) {
        reply.kind = EndpointReply::Kind::Error;
        reply.reason = line.sliced(std::min<qsizetype>(4, line.size())).toByteArray();
    } else if (line.startsWith("DATA ")) {
        const std::optional<qsizetype> length = ParseLength(line.sliced(5));
        if (!length) {
            malformed_ = true;
            return std::nullopt;
        }
        if (input_.size() - consumed < *length) return std::nullopt;
        reply.kind = EndpointReply::Kind::Data;
        reply.payload = input_.mid(consumed, *length);
        consumed += *length;
    } else {
        malformed_ = true;
        return std::nullopt;
    }
    input_.remove(0, consumed);
    return reply;
}

QByteArray ConnectRequest(QByteArrayView service, QByteArrayView topic) {
    return QByteArrayLiteral("CONNECT ") + service.toByteArray() + ' ' + topic.toByteArray() + '\n';
}

QByteArray RequestRequest(QByteArrayView item) {
    return QByteArrayLiteral("REQUEST ") + item.toByteArray() + ' ' + endpoint::kTextFormat + '\n';
}

QByteArray AdviseRequest(QByteArrayView item) {
    return QByteArrayLiteral("ADVISE ") + item.toByteArray() + ' ' + endpoint::kTextFormat + '\n';
}

QByteArray UnadviseRequest(QByteArrayView item) { return QByteArrayLiteral("UNADVISE ") + item.toByteArray() + '\n'; }

QByteArray PokeRequest(QByteArrayView item, QByteArrayView payload) {
    return QByteArrayLiteral("POKE ") + item.toByteArray() + ' ' + endpoint::kTextFormat + ' ' +
           QByteArray::number(payload.size()) + '\n' + payload.toByteArray();
}

QByteArray ExecuteRequest(QByteArrayView payload) {
    return QByteArrayLiteral("EXECUTE ") + QByteArray::number(payload.size()) + '\n' + payload.toByteArray();
}

QByteArray ErrorReply(const char* reason) { return QByteArrayLiteral("ERR ") + reason + '\n'; }

}  // namespace skyrel
