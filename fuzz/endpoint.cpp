// Fuzz target: the local endpoint's conversation, as far as the station. The input drives one client's
// conversation with a station's endpoint over a real socket: arbitrary bytes in arbitrary chunks, with
// pointing lines, a third client's pokes and the station's cycles (its clock moved on) mixed in, while a
// second client only listens, advised. The TRACK_ commands poked reach the station, which tracks onto the
// endpoint. The input is read with the fuzzer's data provider: the steps and their sizes from its end,
// the bytes sent from its front. After every step, and once more when both clients have left:
// - every byte the talking client received is part of a reply in the protocol's grammar;
// - the advised client received its two OKs and then change notices only, the last one the item's value;
// - after "ERR too large" nothing more arrives and the connection ends;
// - the server's buffered input stays within one payload and one request line;
// - when the clients have left, no conversation remains;
// - every pointing line the station made holds finite numbers, and it tracks what was chosen last.
#include <fuzzer/FuzzedDataProvider.h>

#include <QEventLoop>
#include <QLocalSocket>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/endpoint/endpointprotocol.h"
#include "app/endpoint/endpointserver.h"
#include "app/settings/settingsstore.h"
#include "app/station/station.h"
#include "fuzz/fuzzsupport.h"
#include "tests/support/fakeclock.h"
#include "tests/support/fakerotatorport.h"

namespace skyrel::fuzz {
namespace {

// Event loop turns without work after which the server and the clients count as settled.
constexpr int kIdleTurns = 2;
// A bound on the turns of one settling, far above what the largest step needs.
constexpr int kMaxTurns = 20000;
// Sizes of one step: a chunk of the input, a run of one byte (past every limit of the protocol), a
// third client's poke, the clock moved on before a cycle (s: a little over a year).
constexpr std::size_t kMaxChunk = 5000;
constexpr std::size_t kMaxRun = 70000;
constexpr std::size_t kMaxPokeText = 64;
constexpr std::int64_t kMaxClockStep = 400LL * 86400;
// What the server may hold of one client's input between two reads.
constexpr qint64 kMaxBufferedInput = endpoint::kMaxPayload + endpoint::kMaxRequestLine;

void Settle() {
    QEventLoop loop;
    int idle = 0;
    for (int turn = 0; turn < kMaxTurns && idle < kIdleTurns; ++turn) idle = loop.processEvents() ? 0 : idle + 1;
}

// A client that keeps every byte it received.
class Client {
public:
    explicit Client(const QString& path) {
        QObject::connect(&socket_, &QLocalSocket::readyRead, [this] { received_ += socket_.readAll(); });
        socket_.connectToServer(path);
        Check(socket_.waitForConnected(5000), "a client connects to the endpoint");
    }
    void send(const QByteArray& bytes) {
        if (socket_.state() == QLocalSocket::ConnectedState) socket_.write(bytes);
    }
    void leave() { socket_.disconnectFromServer(); }
    bool connected() const { return socket_.state() == QLocalSocket::ConnectedState; }
    const QByteArray& received() const { return received_; }

private:
    QLocalSocket socket_;
    QByteArray received_;
};

struct Reply {
    enum class Kind { Ok, Error, Data } kind;
    QByteArray text;  // the reason of an error, the payload of data
};

bool IsDecimalLength(QByteArrayView digits) {
    if (digits.isEmpty() || digits.size() > 10 || (digits.size() > 1 && digits.front() == '0')) return false;
    for (const char c : digits)
        if (c < '0' || c > '9') return false;
    return true;
}

// The replies in `stream`, checked against the grammar: "OK", "ERR <reason>" (printable text), or
// "DATA <n>" and n bytes, each line ending in LF. A reply cut short at the end is left out; any byte that
// starts no reply breaks the invariant.
QList<Reply> ParseReplies(const QByteArray& stream, qsizetype* consumed) {
    QList<Reply> replies;
    qsizetype pos = 0;
    while (pos < stream.size()) {
        const qsizetype lineEnd = stream.indexOf('\n', pos);
        if (lineEnd < 0) break;
        const QByteArrayView line = QByteArrayView(stream).sliced(pos, lineEnd - pos);
        if (line == "OK") {
            replies.append({Reply::Kind::Ok, {}});
        } else if (line.startsWith("ERR ")) {
            const QByteArrayView reason = line.sliced(4);
            Check(!reason.isEmpty(), "an error reply names its reason");
            for (const char c : reason) Check(c >= ' ' && c < 127, "an error reason is printable text");
            replies.append({Reply::Kind::Error, reason.toByteArray()});
        } else {
            Check(line.startsWith("DATA ") && IsDecimalLength(line.sliced(5)), "a reply is OK, ERR or DATA <n>");
            const qsizetype length = line.sliced(5).toLongLong();
            if (stream.size() - (lineEnd + 1) < length) break;
            replies.append({Reply::Kind::Data, stream.mid(lineEnd + 1, length)});
            pos = lineEnd + 1 + length;
            continue;
        }
        pos = lineEnd + 1;
    }
    *consumed = pos;
    return replies;
}

void CheckTalker(const Client& talker, bool settled) {
    qsizetype consumed = 0;
    const QList<Reply> replies = ParseReplies(talker.received(), &consumed);
    if (settled) Check(consumed == talker.received().size(), "every reply arrives whole");
    for (qsizetype i = 0; i < replies.size(); ++i) {
        if (replies[i].kind != Reply::Kind::Error || replies[i].text != "too large") continue;
        Check(i == replies.size() - 1 && consumed == talker.received().size(), "nothing follows ERR too large");
        if (settled) Check(!talker.connected(), "the connection ends after ERR too large");
    }
}

// The advised listener's stream: "OK" twice, then change notices, each the text form of a value: lines
// ending in CR LF, no zero byte. The last one is the item's value now.
void CheckListener(const Client& listener, const EndpointServer& server, int outsideChanges) {
    qsizetype consumed = 0;
    const QList<Reply> replies = ParseReplies(listener.received(), &consumed);
    Check(consumed == listener.received().size(), "a notice arrives whole");
    Check(replies.size() >= 2 && replies[0].kind == Reply::Kind::Ok && replies[1].kind == Reply::Kind::Ok,
          "the listener's CONNECT and ADVISE are answered OK");
    for (qsizetype i = 2; i < replies.size(); ++i) {
        Check(replies[i].kind == Reply::Kind::Data, "an advised client that asks nothing receives notices only");
        Check(!replies[i].text.contains('\0'), "a notice holds no zero byte");
        Check(replies[i].text.isEmpty() || replies[i].text.endsWith("\r\n"), "a notice is lines ending in CR LF");
    }
    Check(replies.size() - 2 >= outsideChanges, "every change of the value is noticed");
    if (replies.size() > 2) Check(replies.last().text == server.item().textForm(), "the last notice is the value");
}

// A third client connects, pokes `text` and leaves.
void PokeFromAnotherClient(const QString& path, const QByteArray& text) {
    Client poker(path);
    poker.send(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName) + PokeRequest(endpoint::kItemName, text));
    Settle();
    Check(poker.received() == "OK\nOK\n", "a third client's poke is answered OK");
    poker.leave();
}

QByteArray PointingLine(FuzzedDataProvider& input) {
    const int az = input.ConsumeIntegralInRange(0, 3599);
    const int el = input.ConsumeIntegralInRange(0, 900);
    return QByteArrayLiteral("Moon AZ:") + QByteArray::number(az / 10.0, 'f', 1) + " EL:" +
           QByteArray::number(el / 10.0, 'f', 1) + "\r\n";
}

// The station's pointing line after a cycle: numbers only where they are finite, and while it tracks a
// body that is up (or Park) onto the endpoint, that body's line (the format names it). A body below the
// horizon sends nothing, and the line stays what it was.
void CheckStationCycle(Station& station) {
    const QByteArray line = station.endpoint().item().textForm();
    Check(!line.contains("nan") && !line.contains("inf"), "a pointing line holds finite numbers");
    const TrackingState& tracking = station.state().tracking;
    const nav::SkyState& sky = station.state().sky;
    if (!tracking.trackingActive || !tracking.ddeOutput) return;
    const char* word = nullptr;
    if (tracking.trackMode == TrackMode::Park) word = "Park ";
    else if (tracking.trackMode == TrackMode::Sun && sky.sun.elevation > 0) word = "Sun ";
    else if (tracking.trackMode == TrackMode::Moon && sky.moon.elevation > 0) word = "Moon ";
    if (word) Check(line.startsWith(word), "after a cycle the line is of the body tracked");
}

}  // namespace
}  // namespace skyrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyrel;
    using namespace skyrel::fuzz;
    const QString path = PrivateDirectory() + QStringLiteral("/runtime/") + QLatin1String(endpoint::kServiceName);
    EnsureApplication();
    // One station for the whole run (listening costs more than a whole input), its lines to the endpoint
    // in the format that names the body; every input starts it from the same state and value.
    // TRACK_SER sends to a port in memory.
    static test::FakeClock clock(2026, 12, 7, 10, 0, 0);
    static MemorySettingsStore store;
    static test::FakeRotatorPort port;
    static Station* const station = [&path] {
        store.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("0"));
        store.write(kOptionsGroup, QStringLiteral("Output Format"), QStringLiteral("Nova"));
        auto* made = new Station(clock, store, port);
        made->loadSettings();
        made->applySite();
        Check(made->listen(path), "the endpoint listens");
        return made;
    }();
    EndpointServer* const server = &station->endpoint();
    clock.setUtc(2026, 12, 7, 10, 0, 0);
    station->choose(TrackMode::Off);
    station->tracker().UseEndpointOutput();
    port.lines.clear();
    server->setPointingLine(QByteArrayLiteral("Park AZ:0.0 EL:0.0\r\n"));
    Client listener(path);
    listener.send(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName) + AdviseRequest(endpoint::kItemName));
    Client talker(path);
    Settle();

    FuzzedDataProvider input(data, size);
    int outsideChanges = 0;
    while (input.remaining_bytes() > 0) {
        switch (input.ConsumeIntegralInRange(0, 8)) {
            case 4: {
                const QByteArray before = server->item().textForm();
                clock.advance(input.ConsumeIntegralInRange<std::int64_t>(0, kMaxClockStep));
                station->tick();
                CheckStationCycle(*station);
                if (server->item().textForm() != before) ++outsideChanges;
                break;
            }
            case 5:
                server->setPointingLine(PointingLine(input));
                ++outsideChanges;
                break;
            case 6: {
                const std::size_t count = input.ConsumeIntegralInRange<std::size_t>(0, kMaxRun);
                talker.send(QByteArray(static_cast<qsizetype>(count), input.ConsumeIntegral<char>()));
                break;
            }
            case 7: {
                const std::string text = input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, kMaxPokeText));
                PokeFromAnotherClient(path, QByteArray::fromStdString(text));
                ++outsideChanges;
                break;
            }
            default: {
                const std::vector<char> chunk = input.ConsumeBytes<char>(input.ConsumeIntegralInRange<std::size_t>(0, kMaxChunk));
                talker.send(QByteArray(chunk.data(), static_cast<qsizetype>(chunk.size())));
                break;
            }
        }
        Settle();
        CheckTalker(talker, true);
        CheckListener(listener, *server, outsideChanges);
        Check(server->queuedBytes() <= kMaxBufferedInput, "buffered input stays within one payload and one line");
    }

    talker.leave();
    listener.leave();
    Settle();
    CheckTalker(talker, true);
    CheckListener(listener, *server, outsideChanges);
    Check(server->conversationCount() == 0, "no conversation outlives its client");
    return 0;
}
