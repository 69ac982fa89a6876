// The station without a window, driven by hand on a fake clock: its rotator output in memory, or on a
// real pseudo-terminal with its endpoint listening.
#include <gtest/gtest.h>

#include <poll.h>

#include <QSignalSpy>
#include <QTest>

#include "app/station/station.h"
#include "tests/support/endpointclient.h"
#include "tests/support/fakeclock.h"
#include "tests/support/fakerotatorport.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/stationfixture.h"

namespace skyrel {
namespace {

// The day's rows of both bodies as one comparable text.
std::string RowsOf(const nav::RiseSetTexts& texts) {
    std::string rows;
    for (const nav::RiseSetPanel* p : {&texts.sun, &texts.moon})
        rows += p->row1Caption + p->row1Text + p->row2Caption + p->row2Text + p->transitText + p->maxMin + "|";
    return rows;
}

// The rows a station started afresh at `site` with `clockOffset` (hours, manual clock) shows.
std::string FreshRows(const test::FakeClock& clock, const nav::ObserverSite& site, double clockOffset) {
    MemorySettingsStore store;
    test::FakeRotatorPort port;
    Station fresh(clock, store, port);
    fresh.loadSettings();
    fresh.state().settings.site = site;
    fresh.state().settings.autoTime = false;
    fresh.state().settings.clockOffset = clockOffset;
    fresh.setShowUtc(false);
    fresh.applySite();
    return RowsOf(fresh.riseSetTexts());
}

// 2005-09-21 17:15 local time, clock set by hand, rows in local time. Applying a new site, or a new clock
// offset, searches the day again at once: the rows are those of a station started there.
TEST(Station, ApplyingASiteOrAClockOffsetSearchesTheDayAgainAtOnce) {
    test::FakeClock clock(2005, 9, 21, 17, 15, 0);
    MemorySettingsStore store;
    test::FakeRotatorPort port;
    Station station(clock, store, port);
    station.loadSettings();
    station.state().settings.autoTime = false;
    station.setShowUtc(false);
    station.applySite();
    const std::string home = RowsOf(station.riseSetTexts());

    const nav::ObserverSite tokyo{35.68, 139.77, 40, "JCC"};
    QSignalSpy searched(&station, &Station::riseSetChanged);
    station.state().settings.site = tokyo;
    station.applySite();
    EXPECT_GE(searched.count(), 1);
    EXPECT_NE(RowsOf(station.riseSetTexts()), home);
    EXPECT_EQ(RowsOf(station.riseSetTexts()), FreshRows(clock, tokyo, 0));

    station.state().settings.clockOffset = 9;
    station.applySite();
    EXPECT_EQ(RowsOf(station.riseSetTexts()), FreshRows(clock, tokyo, 9));
    EXPECT_NE(FreshRows(clock, tokyo, 9), FreshRows(clock, tokyo, 0));
}

// A station driven by hand, as a long simulated run drives it: each tick one line to the injected port,
// and a line that cannot be written ends that second before its EME figures.
TEST(Station, TicksByHandSendOneLineASecondAndAFailedWriteEndsThatSecond) {
    test::FakeClock clock(2005, 9, 21, 17, 15, 0);
    MemorySettingsStore store;
    store.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("1"));
    test::FakeRotatorPort port;
    Station station(clock, store, port);
    station.loadSettings();
    station.applySite();
    station.choose(TrackMode::Park);
    QSignalSpy completed(&station, &Station::cycleCompleted);
    QSignalSpy lost(&station.tracker(), &Tracker::outputLostChanged);
    for (int second = 0; second < 3; ++second) {
        clock.advance(1);
        station.tick();
    }
    EXPECT_EQ(port.lines.size(), 3);
    EXPECT_EQ(completed.count(), 3);

    port.writesFail = true;
    clock.advance(1);
    station.tick();
    EXPECT_EQ(completed.count(), 3);
    ASSERT_EQ(lost.count(), 1);
    EXPECT_TRUE(lost[0][0].toBool());
    port.writesFail = false;
    clock.advance(1);
    station.tick();
    ASSERT_EQ(lost.count(), 2);
    EXPECT_FALSE(lost[1][0].toBool());
    EXPECT_EQ(port.lines.size(), 4);
}

const QByteArray kSunLine = "AZ183.1 EL52.4 UP000000000 UUU DN000000000 DDD\r\n";
const QByteArray kParkLine = "Park AZ:180.0 EL:0.0\r\n";

// The park position at azimuth 180, and the endpoint listening.
class StationOutputTest : public test::StationOnPseudoTerminal {
protected:
    void Start(const QString& format = QStringLiteral("EasyComm1")) {
        store.write(kOptionsGroup, QStringLiteral("Output Format"), format);
        store.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("180"));
        station.loadSettings();
        station.applySite();
        ASSERT_TRUE(station.listen());
        ASSERT_TRUE(client.open(endpoint.path()));
    }

    void Poke(const QByteArray& text) { ASSERT_TRUE(client.pokeCommand(endpoint, text)) << text.constData(); }

    void Tick() {
        clock.advance(1);
        station.tick();
    }

    EndpointServer& endpoint = station.endpoint();
    test::EndpointClient client;
};

TEST_F(StationOutputTest, OutputMovesFromTheSerialPortToTheItemAndBack) {
    Start();
    Poke("TRACK_SUN");
    Tick();
    EXPECT_EQ(pty.readBytes(kSunLine.size()), kSunLine);

    Poke("TRACK_DDE");
    EXPECT_TRUE(state.tracking.ddeOutput);
    EXPECT_TRUE(state.tracking.trackingActive);
    EXPECT_EQ(client.requestItem(), QByteArray("TRACK_DDE\r\n") + '\0');  // the poke stands until the next line
    Tick();
    EXPECT_EQ(client.requestItem(), kSunLine + "\r\n" + '\0');
    EXPECT_TRUE(pty.readAvailable(200).isEmpty());
    EXPECT_EQ(state.settings.comPort, 1);  // the stored choice is untouched

    Poke("TRACK_SER");
    EXPECT_FALSE(state.tracking.ddeOutput);
    Tick();
    EXPECT_EQ(pty.readBytes(kSunLine.size()), kSunLine);
    EXPECT_TRUE(client.pokeNoCommand(endpoint, "TRACK_SUN and more"));
    EXPECT_EQ(client.requestItem(), QByteArray("TRACK_SUN and more\r\n") + '\0');
    Tick();
    EXPECT_EQ(client.requestItem(), QByteArray("TRACK_SUN and more\r\n") + '\0');  // serial output leaves it alone
}

// TRACK_SRC follows the stored source as TRACK_SUN the Sun. Vir A (12h30m49.42s +12d23'28.0") at
// 2005-09-21 17:15:01 UTC from 38.02 N 78.63 W, 100 m, by astronomy-engine 2.1 with its refraction:
// az 164.528, el 63.604 deg; one decimal on the line, far from a rounding edge. Choosing another source
// from the menu stores it and moves the line there at once.
TEST_F(StationOutputTest, TrackSrcFollowsTheStoredSource) {
    store.write(kOptionsGroup, QStringLiteral("Source"), QStringLiteral("vira"));
    Start("Nova");
    Poke("TRACK_SRC");
    EXPECT_EQ(state.tracking.trackMode, TrackMode::Source);
    Tick();
    const QByteArray virA = "Source AZ:164.5 EL:63.6\r\n";
    EXPECT_EQ(pty.readBytes(virA.size()), virA);

    station.chooseSource(nav::RadioSource::CasA);
    EXPECT_EQ(store.read(kOptionsGroup, QStringLiteral("Source")), QStringLiteral("casa"));
    EXPECT_EQ(state.settings.source, nav::RadioSource::CasA);
    Tick();
    const QByteArray casA = pty.readBytes(virA.size());
    EXPECT_TRUE(casA.startsWith("Source AZ:")) << casA.constData();
    EXPECT_NE(casA, virA);
}

TEST_F(StationOutputTest, AdvisedClientsSeeEveryLineWhileOutputGoesToTheEndpoint) {
    Start();
    test::EndpointClient listener;
    ASSERT_TRUE(listener.open(endpoint.path()));
    ASSERT_TRUE(test::IsOk(listener.ask(AdviseRequest(endpoint::kItemName))));
    Poke("TRACK_DDE");
    Poke("TRACK_SUN");
    Tick();
    Tick();
    ASSERT_TRUE(listener.waitForNotices(4));
    EXPECT_EQ(listener.notices()[0], "TRACK_DDE\r\n");
    EXPECT_EQ(listener.notices()[1], "TRACK_SUN\r\n");
    EXPECT_EQ(listener.notices()[2], kSunLine + "\r\n");
    EXPECT_TRUE(listener.notices()[3].startsWith("AZ183.1 EL52.4"));
}

TEST_F(StationOutputTest, AFullDeviceQueueDropsLinesWithoutClosingThePortOrAWord) {
    Start("Nova");
    station.choose(TrackMode::Park);
    QSignalSpy lost(&station.tracker(), &Tracker::outputLostChanged);
    QSignalSpy writeFailed(&station.tracker(), &Tracker::writeFailed);
    // Nobody reads the device: after some thousand lines its queue is full and stays full.
    for (int second = 0; second < 4000; ++second) Tick();
    EXPECT_EQ(lost.count(), 0);
    EXPECT_EQ(writeFailed.count(), 0);
    pollfd master{pty.masterDescriptor(), 0, 0};
    ::poll(&master, 1, 0);
    EXPECT_FALSE(master.revents & POLLHUP) << "the port was closed";

    // Reading again: what was queued arrives, then the next second's line, whole.
    const QByteArray queued = pty.readAvailable(1000);
    EXPECT_GT(queued.size(), 4096);
    EXPECT_LT(queued.size(), 4000 * kParkLine.size());
    while (!pty.readAvailable(200).isEmpty()) QTest::qWait(20);
    Tick();
    EXPECT_EQ(pty.readBytes(kParkLine.size()), kParkLine);
    EXPECT_EQ(writeFailed.count(), 0);
}

}  // namespace
}  // namespace skyrel
