// A week in a minute: the station runs seven days of one-second ticks on a fake clock, tracking the Moon.
// Its output goes to a real pseudo-terminal on the even days and to the local endpoint on the odd ones,
// where an advised client listens throughout. Every minute is checked: each second with the Moon up gave
// exactly one line on the channel in use and nothing on the other.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QFile>
#include <QLocalSocket>
#include <cstdint>
#include <cstdlib>

#include "app/endpoint/endpointprotocol.h"
#include "app/station/station.h"
#include "tests/support/fakeclock.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

constexpr int kDays = 7;
constexpr int kMinutesPerDay = 1440;
constexpr int kSecondsPerMinute = 60;
// The resident memory after the week may differ from that after the first hour by at most this (kB).
constexpr qint64 kMemoryToleranceKb = 1024;

// Resident memory of this process, kB.
qint64 ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
    return -1;
}

// Runs the event loop until nothing is left to do: written bytes are sent, received ones read.
void Settle() {
    QEventLoop loop;
    for (int idle = 0, turn = 0; idle < 2 && turn < 10000; ++turn) idle = loop.processEvents() ? 0 : idle + 1;
}

// Counts whole lines and how many of them start with `prefix`, keeping only an unfinished line.
class LineCounter {
public:
    explicit LineCounter(QByteArray prefix) : prefix_(std::move(prefix)) {}
    void add(const QByteArray& bytes) {
        partial_ += bytes;
        qsizetype start = 0;
        for (qsizetype end; (end = partial_.indexOf("\r\n", start)) >= 0; start = end + 2) {
            ++lines_;
            if (!QByteArrayView(partial_).sliced(start, end - start).startsWith(prefix_)) ++strange_;
        }
        partial_.remove(0, start);
    }
    int lines() const { return lines_; }
    int strange() const { return strange_; }

private:
    QByteArray prefix_;
    QByteArray partial_;
    int lines_ = 0, strange_ = 0;
};

// An advised client of the endpoint that counts the notices and keeps none.
class NoticeCounter {
public:
    bool open(const QString& path) {
        QObject::connect(&socket_, &QLocalSocket::readyRead, [this] { take(); });
        socket_.connectToServer(path);
        if (!socket_.waitForConnected(5000)) return false;
        socket_.write(ConnectRequest(endpoint::kServiceName, endpoint::kTopicName) + AdviseRequest(endpoint::kItemName));
        Settle();
        return oks_ == 2;
    }
    // Pointing lines received as notices.
    const LineCounter& lines() const { return lines_; }
    int notices() const { return notices_; }

private:
    void take() {
        reader_.receive(socket_.readAll());
        while (const std::optional<EndpointReply> reply = reader_.next()) {
            if (reply->kind == EndpointReply::Kind::Ok) ++oks_;
            if (reply->kind != EndpointReply::Kind::Data) continue;
            ++notices_;
            // A pointing line's text form is the line with its CR LF and one more CR LF.
            lines_.add(reply->payload.chopped(std::min<qsizetype>(2, reply->payload.size())));
        }
    }

    QLocalSocket socket_;
    EndpointReplyReader reader_;
    LineCounter lines_{QByteArrayLiteral("Moon AZ:")};
    int oks_ = 0, notices_ = 0;
};

TEST(StationWeek, SevenDaysOfTicksGiveEveryLineEveryDayAndNoGrowth) {
    test::PseudoTerminal terminal;
    ASSERT_TRUE(terminal.isOpen());
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("1"), terminal.devicePath());
    store.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("1"));
    store.write(kOptionsGroup, QStringLiteral("Output Format"), QStringLiteral("Nova"));
    // Midnight UTC, a day before new Moon: the Moon is up for about half of each day.
    test::FakeClock clock(2026, 12, 7, 0, 0, 0);
    Station station(clock, store);
    ASSERT_FALSE(station.loadSettings().has_value());
    station.applySite();
    ASSERT_TRUE(station.listen(test::RuntimeDir() + QStringLiteral("/Skyrel")));
    NoticeCounter client;
    ASSERT_TRUE(client.open(test::RuntimeDir() + QStringLiteral("/Skyrel")));
    int searches = 0;
    QObject::connect(&station, &Station::riseSetChanged, [&searches] { ++searches; });
    station.choose(TrackMode::Moon);

    LineCounter terminalLines(QByteArrayLiteral("Moon AZ:"));
    int upSeconds[2] = {0, 0};  // on the terminal's days and on the endpoint's days
    int wrongMinutes = 0;
    QString firstWrongMinute;
    qint64 residentAfterHour = 0;
    for (int day = 0; day < kDays; ++day) {
        const bool toTerminal = day % 2 == 0;
        if (toTerminal) station.tracker().UseSerialOutput();
        else station.tracker().UseEndpointOutput();
        for (int minute = 0; minute < kMinutesPerDay; ++minute) {
            const int linesBefore = terminalLines.lines(), noticesBefore = client.lines().lines();
            int up = 0;
            for (int second = 0; second < kSecondsPerMinute; ++second) {
                clock.advance(1);
                station.tick();
                if (station.state().sky.moon.elevation > 0) ++up;
            }
            Settle();
            terminalLines.add(terminal.readAvailable());
            upSeconds[toTerminal ? 0 : 1] += up;
            const int onTerminal = terminalLines.lines() - linesBefore;
            const int atClient = client.lines().lines() - noticesBefore;
            if (onTerminal != (toTerminal ? up : 0) || atClient != (toTerminal ? 0 : up)) {
                if (wrongMinutes++ == 0)
                    firstWrongMinute = QStringLiteral("%1 %2: %3 seconds up, %4 lines, %5 notices")
                                           .arg(station.dateText(), station.timeText())
                                           .arg(up).arg(onTerminal).arg(atClient);
            }
            if (day == 0 && minute == 59) residentAfterHour = ResidentKb();
        }
    }

    EXPECT_EQ(wrongMinutes, 0) << firstWrongMinute.toStdString();
    EXPECT_EQ(terminalLines.lines(), upSeconds[0]);
    EXPECT_EQ(client.lines().lines(), upSeconds[1]);
    EXPECT_EQ(client.notices(), upSeconds[1]);
    EXPECT_EQ(terminalLines.strange() + client.lines().strange(), 0);
    // About half of each day: a channel that never sent would pass the counts above with zero.
    EXPECT_GT(upSeconds[0], 4 * 86400 / 4);
    EXPECT_GT(upSeconds[1], 3 * 86400 / 4);
    EXPECT_EQ(searches, kDays);
    EXPECT_EQ(station.dateText(), QStringLiteral("2026 Dec 14 [Mon]"));
#if !defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer holds freed memory back on purpose, so resident memory says nothing under it.
    EXPECT_LE(std::llabs(ResidentKb() - residentAfterHour), kMemoryToleranceKb);
#endif
}

}  // namespace
}  // namespace skyrel
