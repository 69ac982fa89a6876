// Fuzz target: what the Hamlib rotator replies. A rotator daemon of this process's own, on loopback,
// answers Hamlib's network model with the input: split at zero bytes, one part for each command Hamlib
// sends (the state query with the rotator's range, then each position query or command), a line end
// added where a part has none, every backslash made a slash (below). The connection ends when the parts
// run out or Hamlib stays quiet. The
// station opens the rotator, reads its position, commands one inside the limits it was given, reads
// again, and makes the status box's and the antenna item's texts of each position read.
// Invariants: a failed call says why; a commanded position lies inside ordered limits; the texts of a
// position with finite numbers within 1000 degrees hold finite numbers, the azimuth in 0..360. A reply
// that makes the station spin is a finding of the run's time limit.
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "app/rotator/hamlibrotator.h"
#include "app/station/antennastatus.h"
#include "fuzz/fuzzsupport.h"

namespace skyrel::fuzz {
namespace {

// Hamlib 4.5 (Debian 12's) lets a reply that starts with a backslash run to five times the 64-byte buffer
// its network models read into, and so overwrites their stack; upstream Hamlib no longer does since 2026.
// No daemon of Hamlib's replies with a backslash, so the daemon here never sends one: what it finds is
// then the station's own.
constexpr char kBackslash = '\\';
constexpr char kInPlaceOfBackslash = '/';

// How long the daemon waits for Hamlib's next command before it hangs up (ms): far longer than a
// command takes on loopback, far shorter than Hamlib's own time-out.
constexpr int kQuietMs = 20;
// A position beyond this (degrees) is no rotator's; the station refuses it rather than showing it.
constexpr double kLargestPlausibleDegrees = 1000;
constexpr RotatorPosition kWanted{123.4, 45.6};

std::vector<std::string> Parts(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\0', start)) != std::string::npos; start = end + 1)
        parts.push_back(text.substr(start, end - start));
    parts.push_back(text.substr(start));
    return parts;
}

// A listening socket on loopback for the whole run.
class ReplyDaemon {
public:
    ReplyDaemon() {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        Check(::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) == 0 && ::listen(listener_, 4) == 0 &&
                  ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) == 0,
              "the daemon listens on loopback");
        port_ = ntohs(address.sin_port);
        Check(::pipe2(wake_, O_CLOEXEC) == 0, "the daemon has its wake-up pipe");
    }
    int port() const { return port_; }

    // Serves the connections that arrive while `busy` runs, each with `parts` from the first.
    template <typename Busy>
    void serveWhile(const std::vector<std::string>& parts, Busy busy) {
        std::thread server([&] {
            for (;;) {
                pollfd waiting[] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
                if (::poll(waiting, 2, -1) <= 0) continue;
                if (waiting[1].revents) break;
                const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
                if (client < 0) continue;
                answer(client, parts);
                ::close(client);
            }
            char token;
            Check(::read(wake_[0], &token, 1) == 1, "the daemon wakes");
        });
        busy();
        Check(::write(wake_[1], "x", 1) == 1, "the daemon is woken");
        server.join();
    }

private:
    // One part for each command line that arrives, until the parts run out or the peer is quiet.
    static void answer(int client, const std::vector<std::string>& parts) {
        std::string pending;
        for (const std::string& part : parts) {
            while (pending.find('\n') == std::string::npos) {
                pollfd readable{client, POLLIN, 0};
                char buffer[512];
                if (::poll(&readable, 1, kQuietMs) <= 0) return;
                const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) return;
                pending.append(buffer, static_cast<std::size_t>(got));
            }
            pending.erase(0, pending.find('\n') + 1);
            std::string reply = part.empty() || part.back() != '\n' ? part + '\n' : part;
            std::replace(reply.begin(), reply.end(), kBackslash, kInPlaceOfBackslash);
            if (::send(client, reply.data(), reply.size(), MSG_NOSIGNAL) < 0) return;
        }
    }

    int listener_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
};

bool Plausible(RotatorPosition p) {
    return std::isfinite(p.azimuth) && std::isfinite(p.elevation) && std::fabs(p.azimuth) <= kLargestPlausibleDegrees &&
           std::fabs(p.elevation) <= kLargestPlausibleDegrees;
}

void CheckTexts(RotatorPosition reported, const RotatorReport& report) {
    const AntennaStatus status = ReportStatus(report);
    const QByteArray item = AntennaItemText(report, status);
    if (!Plausible(reported)) return;
    for (const QString& text : {status.position, status.error, QString::fromLatin1(item)})
        Check(!text.contains(QLatin1String("nan")) && !text.contains(QLatin1String("inf")),
              "the texts of a plausible position hold finite numbers");
    const double azimuth = item.mid(2, item.indexOf(' ') - 2).toDouble();
    Check(azimuth >= 0 && azimuth <= 360, "the antenna item's azimuth lies in 0..360");
}

void RunStation(int port) {
    HamlibSettings settings;
    settings.enabled = true;
    settings.model = kHamlibNetworkModel;
    settings.device = QStringLiteral("127.0.0.1:%1").arg(port);
    QString error;
    const std::unique_ptr<HamlibSession> session = HamlibSession::Open(settings, error);
    if (!session) {
        Check(!error.isEmpty(), "a failed open says why");
        return;
    }
    const RotatorLimits limits = session->limits();
    const std::optional<RotatorPosition> first = session->position(error);
    if (first) CheckTexts(*first, RotatorReport{.reported = *first});
    else Check(!error.isEmpty(), "a failed read says why");
    const LimitedPosition commanded =
        ClampToLimits(kWanted, limits, first ? std::optional(first->azimuth) : std::nullopt);
    if (limits.minAzimuth <= limits.maxAzimuth && limits.minElevation <= limits.maxElevation) {
        const RotatorPosition p = commanded.position;
        Check(p.azimuth >= limits.minAzimuth && p.azimuth <= limits.maxAzimuth && p.elevation >= limits.minElevation &&
                  p.elevation <= limits.maxElevation,
              "the commanded position lies inside the limits");
    }
    if (!session->setPosition(commanded.position, error)) {
        Check(!error.isEmpty(), "a refused command says why");
        return;
    }
    if (const std::optional<RotatorPosition> second = session->position(error))
        CheckTexts(*second, RotatorReport{.target = commanded.position,
                                          .commanded = commanded.position,
                                          .clamped = commanded.clamped,
                                          .reported = *second,
                                          .pointingError = PointingError(commanded.position, *second)});
}

}  // namespace
}  // namespace skyrel::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace skyrel::fuzz;
    PrivateDirectory();
    static ReplyDaemon daemon;
    daemon.serveWhile(Parts(data, size), [] { RunStation(daemon.port()); });
    return 0;
}
