// The local endpoint on real sockets, server and clients on one event loop as in the program: one poke
// answered, and one pointing line told to 64 advised clients.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <algorithm>
#include <memory>
#include <vector>

#include "app/endpoint/endpointserver.h"

namespace {

using namespace skyrel;

// A client that reads whatever arrives into its reply reader.
struct BenchClient {
    QLocalSocket socket;
    EndpointReplyReader reader;
    int notices = 0;
    int replies = 0;

    explicit BenchClient(const QString& path) {
        QObject::connect(&socket, &QLocalSocket::readyRead, &socket, [this] {
            reader.receive(socket.readAll());
            while (auto reply = reader.next()) {
                if (reply->kind == EndpointReply::Kind::Data && !reply->payload.endsWith('\0')) ++notices;
                else ++replies;
            }
        });
        socket.connectToServer(path);
    }
};

template <typename Done>
void RunEventsUntil(Done done) {
    while (!done()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void BM_EndpointPokeRoundTrip(benchmark::State& state) {
    QTemporaryDir dir;
    EndpointServer server;
    if (!server.listen(dir.path() + QStringLiteral("/Skyrel"))) {
        state.SkipWithError("cannot listen");
        return;
    }
    BenchClient client(server.path());
    client.socket.write(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName));
    RunEventsUntil([&] { return client.replies == 1; });
    const QByteArray poke = PokeRequest(endpoint::kItemName, "Station 1 ready\r\n");
    for (auto _ : state) {
        const int before = client.replies;
        client.socket.write(poke);
        RunEventsUntil([&] { return client.replies > before; });
    }
}
BENCHMARK(BM_EndpointPokeRoundTrip)->Unit(benchmark::kMicrosecond);

void BM_EndpointAdviseFanOut64(benchmark::State& state) {
    QTemporaryDir dir;
    EndpointServer server;
    if (!server.listen(dir.path() + QStringLiteral("/Skyrel"))) {
        state.SkipWithError("cannot listen");
        return;
    }
    std::vector<std::unique_ptr<BenchClient>> clients;
    for (int i = 0; i < endpoint::kMaxConversations; ++i) {
        clients.push_back(std::make_unique<BenchClient>(server.path()));
        clients.back()->socket.write(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName) +
                                     AdviseRequest(endpoint::kItemName));
    }
    auto everyone = [&clients](auto done) {
        return std::all_of(clients.begin(), clients.end(), [&](const auto& c) { return done(*c); });
    };
    RunEventsUntil([&] { return everyone([](const BenchClient& c) { return c.replies == 2; }); });
    const QByteArray line = "Moon AZ:123.5 EL:45.7\r\n";
    int sent = 0;
    for (auto _ : state) {
        server.setPointingLine(line);
        ++sent;
        RunEventsUntil([&] { return everyone([sent](const BenchClient& c) { return c.notices == sent; }); });
    }
}
BENCHMARK(BM_EndpointAdviseFanOut64)->Unit(benchmark::kMicrosecond);

}  // namespace
