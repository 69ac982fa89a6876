// The station without a window, driven by hand on a fake clock, with its rotator output in memory.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "app/station.h"
#include "tests/support/fakeclock.h"
#include "tests/support/fakerotatorport.h"

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

}  // namespace
}  // namespace skyrel
