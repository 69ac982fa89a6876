// The web page under load on loopback: 100 WebSocket clients, as many browsers at one push a second.
//  - BM_WebLivePush100: one cycle of a station on a fake clock and its push, until the last of 100
//    clients in this process has the state; the time is the tick-to-client latency (the browser's own
//    drawing comes on top). Its counter page_bytes is the page's total size (every embedded file).
//  - BM_WebStationCpu100: two real headless stations side by side for kCpuSeconds, one without the page
//    and one serving it to 100 clients; their CPU time per second of wall time (ms/s) from /proc and the
//    ratio, measured in the same seconds so the machine's load falls on both.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QWebSocket>
#include <algorithm>
#include <memory>
#include <vector>

#include <unistd.h>

#include "app/settings/settingsstore.h"
#include "app/station/station.h"
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

void BM_WebLivePush100(benchmark::State& state) {
    test::FakeClock clock(2005, 9, 21, 17, 15, 0);
    MemorySettingsStore store;
    Station station(clock, store);
    station.loadSettings();
    station.applySite();
    WebSettings settings;
    settings.port = 0;
    settings.token = NewWebToken();
    WebServer server(station, settings);
    if (!server.start()) {
        state.SkipWithError(qPrintable(server.errorString()));
        return;
    }
    const auto clients = ConnectClients(server.port(), settings.token.toUtf8());
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

// A headless station of its own (settings home and runtime directory) with the page on or off.
struct StationProcess {
    QTemporaryDir home;
    QProcess process;

    StationProcess(bool web, quint16 port, const QString& token) {
        QDir(home.path()).mkpath(QStringLiteral("config/Brenlo Programs"));
        QDir(home.path()).mkpath(QStringLiteral("runtime"));
        QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile conf(home.filePath(QStringLiteral("config/Brenlo Programs/Skyrel.conf")));
        conf.open(QIODevice::WriteOnly);
        conf.write(QStringLiteral("[Web]\nEnabled=%1\nPort=%2\nToken=%3\n")
                       .arg(web ? QStringLiteral("True") : QStringLiteral("False"))
                       .arg(port)
                       .arg(token)
                       .toUtf8());
        conf.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(SKYREL_BINARY), {QStringLiteral("--headless")});
        process.waitForStarted();
    }
    ~StationProcess() {
        process.terminate();
        process.waitForFinished();
    }

    // User plus system CPU time so far, in clock ticks (/proc/<pid>/stat fields 14 and 15).
    qint64 cpuTicks() const {
        QFile stat(QStringLiteral("/proc/%1/stat").arg(process.processId()));
        if (!stat.open(QIODevice::ReadOnly)) return 0;
        const QByteArray text = stat.readAll();
        const QList<QByteArray> fields = text.mid(text.lastIndexOf(')') + 2).split(' ');
        return fields.value(11).toLongLong() + fields.value(12).toLongLong();
    }
};

void BM_WebStationCpu100(benchmark::State& state) {
    const QString token = NewWebToken();
    constexpr quint16 kPort = 18173;
    for (auto _ : state) {
        StationProcess without(false, kPort, token);
        StationProcess with(true, kPort, token);
        QTest::qWait(1500);  // both stations started and listening
        const auto clients = ConnectClients(kPort, token.toUtf8());
        if (!EveryClientHas(clients, 1)) {
            state.SkipWithError("the station did not let every client in");
            return;
        }
        const qint64 startWithout = without.cpuTicks(), startWith = with.cpuTicks();
        QElapsedTimer wall;
        wall.start();
        QTest::qWait(kCpuSeconds * 1000);
        const double seconds = wall.elapsed() / 1000.0;
        const double msPerTick = 1000.0 / double(sysconf(_SC_CLK_TCK));
        const double off = (without.cpuTicks() - startWithout) * msPerTick / seconds;
        const double on = (with.cpuTicks() - startWith) * msPerTick / seconds;
        state.counters["cpu_ms_per_s_without"] = off;
        state.counters["cpu_ms_per_s_100_clients"] = on;
        state.counters["ratio"] = off > 0 ? on / off : 0;
        state.counters["pushes_per_client"] = double(clients.front()->messages);
    }
}
BENCHMARK(BM_WebStationCpu100)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
