// The web page under load on loopback: 100 WebSocket clients, as many browsers at one push a second.
// The clients are more than the 32 connections a station serves, so the benchmark's servers are made
// with room for them.
//  - BM_WebLivePush100: one cycle of a station on a fake clock and its push, until the last of 100
//    clients in this process has the state; the time is the tick-to-client latency (a browser's own
//    drawing comes on top). Its counter page_bytes is the page's total size (every embedded file).
//  - BM_WebStationCpu100: two stations on the system clock, each cycling once a second in a thread of its
//    own, one without the page and one serving it to 100 clients in this thread, for kCpuSeconds; the
//    CPU time of each station's thread per second of wall time (ms/s) and their ratio, measured in the
//    same seconds so the machine's load falls on both. pushes_per_client shows whether the clients stayed
//    connected past the 60 s idle limit.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <algorithm>
#include <atomic>
#include <memory>
#include <vector>

#include <pthread.h>
#include <time.h>

#include "app/settings/settingsstore.h"
#include "app/station/station.h"
#include "app/station/systemclock.h"
#include "app/web/webserver.h"
#include "tests/support/fakeclock.h"

namespace {

using namespace skyrel;

constexpr int kClients = 100;
constexpr int kCpuSeconds = 65;  // beyond the idle limit: a pushed-to client must stay
constexpr int kWaitMs = 10000;

struct LiveClient {
    QWebSocket socket;
    int messages = 0;

    LiveClient(quint16 port, const QByteArray& token) {
        QObject::connect(&socket, &QWebSocket::textMessageReceived, &socket, [this] { ++messages; });
        QNetworkRequest request(QUrl(QStringLiteral("ws://127.0.0.1:%1/api/live").arg(port)));
        request.setRawHeader("Authorization", "Bearer " + token);
        socket.open(request);
    }
};

std::vector<std::unique_ptr<LiveClient>> ConnectClients(quint16 port, const QByteArray& token) {
    std::vector<std::unique_ptr<LiveClient>> clients;
    for (int i = 0; i < kClients; ++i) clients.push_back(std::make_unique<LiveClient>(port, token));
    return clients;
}

bool EveryClientHas(const std::vector<std::unique_ptr<LiveClient>>& clients, int messages) {
    return QTest::qWaitFor([&] {
        return std::all_of(clients.begin(), clients.end(), [messages](const auto& c) { return c->messages >= messages; });
    }, kWaitMs);
}

qint64 PageBytes() {
    qint64 bytes = 0;
    for (QDirIterator it(QStringLiteral(":/web"), QDir::Files); it.hasNext();) bytes += QFile(it.next()).size();
    return bytes;
}

// The page of a started station on a port of the system's choice, with room for every client; nullptr
// when it cannot listen.
std::unique_ptr<WebServer> ServePage(Station& station, const QString& token) {
    station.loadSettings();
    station.applySite();
    WebSettings settings;
    settings.port = 0;
    settings.token = token;
    auto server = std::make_unique<WebServer>(station, settings, nullptr, 2 * kClients);
    return server->start() ? std::move(server) : nullptr;
}

void BM_WebLivePush100(benchmark::State& state) {
    test::FakeClock clock(2005, 9, 21, 17, 15, 0);
    MemorySettingsStore store;
    Station station(clock, store);
    const QString token = NewWebToken();
    const std::unique_ptr<WebServer> server = ServePage(station, token);
    if (!server) {
        state.SkipWithError("the page cannot listen");
        return;
    }
    const auto clients = ConnectClients(server->port(), token.toUtf8());
    if (!EveryClientHas(clients, 1)) {
        state.SkipWithError("not every client was let in");
        return;
    }
    int pushed = 1;
    for (auto _ : state) {
        clock.advance(1);
        station.tick();
        EveryClientHas(clients, ++pushed);
    }
    state.counters["page_bytes"] = double(PageBytes());
}
BENCHMARK(BM_WebLivePush100)->Unit(benchmark::kMillisecond);

// A station cycling once a second on the system clock in a thread of its own, with the page or without.
class StationThread : public QThread {
public:
    StationThread(bool web, QString token) : web_(web), token_(std::move(token)) {}

    // The port the page listens on, 0 until it does (or without the page).
    quint16 port() const { return port_; }
    bool ready() const { return ready_; }
    // The thread's CPU time so far (ms).
    double cpuMs() const {
        timespec t{};
        clock_gettime(cpuClock_, &t);
        return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
    }

protected:
    void run() override {
        pthread_getcpuclockid(pthread_self(), &cpuClock_);
        SystemClock clock;
        MemorySettingsStore store;
        Station station(clock, store);
        std::unique_ptr<WebServer> server;
        if (web_) {
            server = ServePage(station, token_);
            if (server) port_ = server->port();
        } else {
            station.loadSettings();
            station.applySite();
        }
        QTimer cycle;
        cycle.setTimerType(Qt::PreciseTimer);
        QObject::connect(&cycle, &QTimer::timeout, &station, &Station::tick);
        cycle.start(1000);
        ready_ = true;
        exec();
    }

private:
    bool web_;
    QString token_;
    clockid_t cpuClock_{};
    std::atomic<quint16> port_{0};
    std::atomic<bool> ready_{false};
};

void BM_WebStationCpu100(benchmark::State& state) {
    const QString token = NewWebToken();
    for (auto _ : state) {
        StationThread without(false, token), with(true, token);
        without.start();
        with.start();
        if (!QTest::qWaitFor([&] { return without.ready() && with.ready() && with.port() != 0; }, kWaitMs)) {
            state.SkipWithError("the stations did not start");
            return;
        }
        const auto clients = ConnectClients(with.port(), token.toUtf8());
        if (!EveryClientHas(clients, 1)) {
            state.SkipWithError("the station did not let every client in");
            return;
        }
        const double startWithout = without.cpuMs(), startWith = with.cpuMs();
        QElapsedTimer wall;
        wall.start();
        QTest::qWait(kCpuSeconds * 1000);
        const double seconds = wall.elapsed() / 1000.0;
        const double off = (without.cpuMs() - startWithout) / seconds;
        const double on = (with.cpuMs() - startWith) / seconds;
        state.counters["cpu_ms_per_s_without"] = off;
        state.counters["cpu_ms_per_s_100_clients"] = on;
        state.counters["ratio"] = off > 0 ? on / off : 0;
        state.counters["pushes_per_client"] = double(std::min_element(clients.begin(), clients.end(), [](const auto& a, const auto& b) {
                                                         return a->messages < b->messages;
                                                     })->get()->messages);
        without.quit();
        with.quit();
        without.wait();
        with.wait();
    }
}
BENCHMARK(BM_WebStationCpu100)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
