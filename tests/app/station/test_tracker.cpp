// Tracking control: the states of the Track menu, when the port opens and closes, what one tracking
// second sends, and the two failure paths (a port that will not open, a device that goes away). The
// bytes are read from real pseudo-terminals; the bookkeeping of opens and closes uses a counting port.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "app/settings/settings.h"
#include "app/station/passplan.h"
#include "app/station/tracker.h"
#include "navlib/constants.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "tests/support/fakerotatorport.h"
#include "tests/support/pseudoterminal.h"

namespace skyrel {
namespace {

using test::FakeRotatorPort;
using test::PseudoTerminal;

// What the window would show, as the tracker's signals left it.
struct Shown {
    bool sunChecked = false, moonChecked = false, parkChecked = false, offChecked = true, sourceChecked = false;
    std::optional<bool> sunTitleTracked, moonTitleTracked;  // unset: the system colour of the start
    QString caption = QStringLiteral("Tracking Active");
    bool statusBoxShown = false;
    QString first = QStringLiteral("Az: "), second = QStringLiteral("El: ");
    QByteArrayList endpointLines;
    int portOpenFailures = 0;
    QStringList writeErrors;

    bool operator==(const Shown&) const = default;
};

void Record(Tracker& tracker, Shown& shown) {
    QObject::connect(&tracker, &Tracker::menuChecked, [&shown](TrackMode item, bool checked) {
        switch (item) {
            case TrackMode::Sun: shown.sunChecked = checked; break;
            case TrackMode::Moon: shown.moonChecked = checked; break;
            case TrackMode::Park: shown.parkChecked = checked; break;
            case TrackMode::Off: shown.offChecked = checked; break;
            case TrackMode::Source: shown.sourceChecked = checked; break;
        }
    });
    QObject::connect(&tracker, &Tracker::titleTracked, [&shown](TrackMode body, bool tracked) {
        (body == TrackMode::Sun ? shown.sunTitleTracked : shown.moonTitleTracked) = tracked;
    });
    QObject::connect(&tracker, &Tracker::statusCaptionChanged, [&shown](const QString& c) { shown.caption = c; });
    QObject::connect(&tracker, &Tracker::statusBoxShown, [&shown](bool s) { shown.statusBoxShown = s; });
    QObject::connect(&tracker, &Tracker::statusTextsChanged, [&shown](const QString& a, const QString& b) {
        shown.first = a;
        shown.second = b;
    });
    QObject::connect(&tracker, &Tracker::lineForEndpoint,
                     [&shown](const QByteArray& line) { shown.endpointLines.append(line); });
    QObject::connect(&tracker, &Tracker::portOpenFailed, [&shown] { ++shown.portOpenFailures; });
    QObject::connect(&tracker, &Tracker::writeFailed, [&shown](const QString& m) { shown.writeErrors.append(m); });
}

Settings DefaultSettings() {
    Settings s;
    s.comPort = 1;
    s.baudRate = 1200;
    s.outputFormat = QStringLiteral("EasyComm1");
    return s;
}

nav::SkyState SunUpMoonDown() {
    nav::SkyState sky;
    sky.sun.azimuth = 123.46;
    sky.sun.elevation = 45.67;
    sky.sun.hourAngle = 200;
    sky.sun.declination = nav::Radians(-10);
    sky.moon.azimuth = 5.04;
    sky.moon.elevation = -7.26;
    sky.moon.hourAngle = 90;
    sky.moon.declination = nav::Radians(20);
    return sky;
}

class TrackerWithCountingPort : public ::testing::Test {
protected:
    TrackerWithCountingPort() { Record(tracker, shown); }

    TrackingState state;
    Settings settings = DefaultSettings();
    FakeRotatorPort port;
    Tracker tracker{state, settings, port};
    Shown shown;
};

TEST_F(TrackerWithCountingPort, StartsIdleWithOnlyOffTicked) {
    EXPECT_EQ(state.trackMode, TrackMode::Off);
    EXPECT_FALSE(state.trackingActive);
    EXPECT_FALSE(port.isOpen());
    // Idle, a second sends nothing, to the port or the endpoint, and shows nothing.
    EXPECT_TRUE(tracker.SendTrackingOutput(SunUpMoonDown()));
    state.ddeOutput = true;
    EXPECT_TRUE(tracker.SendTrackingOutput(SunUpMoonDown()));
    EXPECT_EQ(port.openCalls + port.writeCalls, 0);
    EXPECT_EQ(shown, Shown{});
    // "off" chosen while idle opens nothing and leaves "off" the only item ticked, whatever was ticked before.
    shown.sunChecked = shown.moonChecked = shown.parkChecked = true;
    shown.offChecked = false;
    tracker.choose(TrackMode::Off);
    EXPECT_TRUE(shown.offChecked);
    EXPECT_FALSE(shown.sunChecked || shown.moonChecked || shown.parkChecked);
    EXPECT_FALSE(shown.statusBoxShown);
    EXPECT_EQ(port.openCalls, 0);
    EXPECT_FALSE(state.trackingActive);
}

TEST_F(TrackerWithCountingPort, EachChoiceSetsTicksTitlesCaptionAndBox) {
    tracker.choose(TrackMode::Sun);
    EXPECT_EQ(state.trackMode, TrackMode::Sun);
    EXPECT_TRUE(state.trackingActive);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.lastPortNumber, 1);
    EXPECT_EQ(port.lastBaudRate, 1200);
    EXPECT_TRUE(shown.sunChecked);
    EXPECT_FALSE(shown.moonChecked || shown.parkChecked || shown.offChecked);
    EXPECT_EQ(shown.sunTitleTracked, true);
    EXPECT_EQ(shown.moonTitleTracked, false);
    EXPECT_EQ(shown.caption, QStringLiteral("Tracking Active"));
    EXPECT_TRUE(shown.statusBoxShown);

    tracker.choose(TrackMode::Moon);
    EXPECT_EQ(state.trackMode, TrackMode::Moon);
    EXPECT_TRUE(shown.moonChecked);
    EXPECT_FALSE(shown.sunChecked || shown.parkChecked || shown.offChecked);
    EXPECT_EQ(shown.sunTitleTracked, false);
    EXPECT_EQ(shown.moonTitleTracked, true);
    EXPECT_EQ(shown.caption, QStringLiteral("Tracking Active"));

    // A source has no panel title: both titles go back, only its menu item is ticked.
    tracker.choose(TrackMode::Source);
    EXPECT_EQ(state.trackMode, TrackMode::Source);
    EXPECT_TRUE(shown.sourceChecked);
    EXPECT_FALSE(shown.sunChecked || shown.moonChecked || shown.parkChecked || shown.offChecked);
    EXPECT_EQ(shown.sunTitleTracked, false);
    EXPECT_EQ(shown.moonTitleTracked, false);
    EXPECT_EQ(shown.caption, QStringLiteral("Tracking Active"));
    // Its position from the cycle's record goes out as the Sun's would; below the horizon nothing does.
    nav::SkyState sky = SunUpMoonDown();
    sky.source.azimuth = 301.04;
    sky.source.elevation = 12.26;
    const int writes = port.writeCalls;
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_EQ(port.lines.back(), QByteArray("AZ301.0 EL12.3 UP000000000 UUU DN000000000 DDD\r\n"));
    sky.source.elevation = -0.5;
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_EQ(port.writeCalls, writes + 1);

    tracker.choose(TrackMode::Off);
    EXPECT_EQ(state.trackMode, TrackMode::Off);
    EXPECT_FALSE(state.trackingActive);
    EXPECT_FALSE(port.isOpen());
    EXPECT_TRUE(shown.offChecked);
    EXPECT_FALSE(shown.sunChecked || shown.moonChecked || shown.parkChecked || shown.sourceChecked);
    EXPECT_EQ(shown.sunTitleTracked, false);
    EXPECT_EQ(shown.moonTitleTracked, false);
    EXPECT_FALSE(shown.statusBoxShown);
}

TEST_F(TrackerWithCountingPort, SunToParkKeepsThePortOpenAndChangesCaptionTitlesAndTicks) {
    tracker.choose(TrackMode::Sun);
    ASSERT_EQ(port.openCalls, 1);
    tracker.choose(TrackMode::Park);
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_EQ(port.closes, 0);
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(state.trackMode, TrackMode::Park);
    EXPECT_TRUE(state.trackingActive);
    EXPECT_EQ(shown.caption, QStringLiteral("Parking Active"));
    EXPECT_EQ(shown.sunTitleTracked, false);
    EXPECT_EQ(shown.moonTitleTracked, false);
    EXPECT_TRUE(shown.parkChecked);
    EXPECT_FALSE(shown.sunChecked || shown.moonChecked || shown.offChecked);
    EXPECT_TRUE(shown.statusBoxShown);

    tracker.choose(TrackMode::Moon);
    EXPECT_EQ(shown.caption, QStringLiteral("Tracking Active"));
    EXPECT_EQ(port.openCalls, 1);
}

TEST_F(TrackerWithCountingPort, OffTwiceChangesNothing) {
    tracker.choose(TrackMode::Moon);
    tracker.choose(TrackMode::Off);
    const Shown afterFirst = shown;
    const TrackingState stateAfterFirst = state;
    const int closes = port.closes;
    tracker.choose(TrackMode::Off);
    EXPECT_EQ(shown, afterFirst);
    EXPECT_EQ(state.trackMode, stateAfterFirst.trackMode);
    EXPECT_EQ(state.trackingActive, stateAfterFirst.trackingActive);
    EXPECT_EQ(port.closes, closes);
    EXPECT_EQ(port.openCalls, 1);
}

TEST_F(TrackerWithCountingPort, EndpointOutputNeverTouchesTheSerialPort) {
    state.ddeOutput = true;
    settings.outputFormat = QStringLiteral("Nova");
    tracker.choose(TrackMode::Sun);
    EXPECT_TRUE(state.trackingActive);
    EXPECT_TRUE(tracker.SendTrackingOutput(SunUpMoonDown()));
    tracker.choose(TrackMode::Park);
    EXPECT_TRUE(tracker.SendTrackingOutput(SunUpMoonDown()));
    tracker.choose(TrackMode::Off);
    EXPECT_EQ(port.openCalls, 0);
    EXPECT_EQ(port.writeCalls, 0);
    EXPECT_EQ(shown.endpointLines,
              QByteArrayList({"Sun AZ:123.5 EL:45.7\r\n", "Park AZ:0.0 EL:0.0\r\n"}));
    EXPECT_EQ(shown.first, QStringLiteral("Az: 0.0"));
}

TEST_F(TrackerWithCountingPort, UnknownFormatLeavesOneEmptyLineOnTheEndpointAndWritesNothing) {
    settings.outputFormat = QStringLiteral("Bogus");
    tracker.choose(TrackMode::Sun);
    EXPECT_TRUE(tracker.SendTrackingOutput(SunUpMoonDown()));
    EXPECT_EQ(port.writeCalls, 0);
    EXPECT_EQ(shown.first, QStringLiteral("Az: 20.0"));
    EXPECT_EQ(shown.second, QStringLiteral("El: 35.0"));
    state.ddeOutput = true;
    EXPECT_TRUE(tracker.SendTrackingOutput(SunUpMoonDown()));
    EXPECT_EQ(shown.endpointLines, QByteArrayList({QByteArray()}));
}

TEST_F(TrackerWithCountingPort, OneSecondSendsOnlyATargetAboveTheHorizonOrThePark) {
    nav::SkyState sky = SunUpMoonDown();
    // Not tracking: nothing.
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_EQ(port.writeCalls, 0);

    tracker.choose(TrackMode::Moon);
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_EQ(port.writeCalls, 0);
    EXPECT_EQ(shown.first, QStringLiteral("Az: "));

    tracker.choose(TrackMode::Sun);
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    ASSERT_EQ(port.lines.size(), 1);
    EXPECT_EQ(port.lines.back(), "AZ123.5 EL45.7 UP000000000 UUU DN000000000 DDD\r\n");
    EXPECT_EQ(shown.first, QStringLiteral("Az: 123.5"));
    EXPECT_EQ(shown.second, QStringLiteral("El: 45.7"));

    // Exactly 0 is not above the horizon: nothing is sent and the box keeps its values.
    sky.sun.elevation = 0;
    sky.sun.azimuth = 90;
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_EQ(port.lines.size(), 1);
    EXPECT_EQ(shown.first, QStringLiteral("Az: 123.5"));

    // The park position goes out every second, whatever the sky.
    settings.parkAz = 180;
    tracker.choose(TrackMode::Park);
    sky.sun.elevation = -30;
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_TRUE(tracker.SendTrackingOutput(sky));
    EXPECT_EQ(port.lines.size(), 3);
    EXPECT_EQ(port.lines.back(), "AZ180.0 EL0.0 UP000000000 UUU DN000000000 DDD\r\n");
}

TEST_F(TrackerWithCountingPort, PortThatWillNotOpenEndsTheProgramWithoutStartingToTrack) {
    port.deviceAvailable = false;
    tracker.choose(TrackMode::Moon);
    EXPECT_EQ(shown.portOpenFailures, 1);
    EXPECT_FALSE(state.trackingActive);
    EXPECT_FALSE(shown.statusBoxShown);
    EXPECT_EQ(shown.caption, QStringLiteral("Tracking Active"));
    // A command that comes in while the message is read neither tries the port again nor repeats it.
    port.deviceAvailable = true;
    tracker.choose(TrackMode::Park);
    EXPECT_EQ(shown.portOpenFailures, 1);
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_FALSE(state.trackingActive);
}

TEST_F(TrackerWithCountingPort, SwitchToSerialOutputThatFailsStopsAllOutputWhileTheProgramEnds) {
    state.ddeOutput = true;
    tracker.choose(TrackMode::Park);
    ASSERT_TRUE(state.trackingActive);
    state.ddeOutput = false;
    port.deviceAvailable = false;
    EXPECT_FALSE(tracker.OpenRotatorPort());
    EXPECT_EQ(shown.portOpenFailures, 1);
    // The ticks that still come while the message is read neither open the port nor send.
    port.deviceAvailable = true;
    EXPECT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_EQ(port.openCalls, 1);
    EXPECT_EQ(port.writeCalls, 0);
}

TEST_F(TrackerWithCountingPort, WriteErrorIsReportedOnceThenThePortIsReopenedEachSecond) {
    tracker.choose(TrackMode::Park);
    ASSERT_TRUE(tracker.SendTrackingOutput({}));
    const QString shownFirst = shown.first;

    port.writesFail = true;
    EXPECT_FALSE(tracker.SendTrackingOutput({}));
    EXPECT_EQ(shown.writeErrors, QStringList({QStringLiteral("Input/output error")}));
    EXPECT_FALSE(port.isOpen());

    // The adapter stays away: each second tries to open it, silently, and the cycle goes on.
    port.deviceAvailable = false;
    for (int second = 0; second < 3; ++second) EXPECT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_EQ(port.openCalls, 4);
    EXPECT_EQ(shown.writeErrors.size(), 1);
    EXPECT_EQ(shown.portOpenFailures, 0);
    EXPECT_TRUE(state.trackingActive);

    // It comes back: the next second drives it again.
    port.deviceAvailable = true;
    port.writesFail = false;
    EXPECT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_TRUE(port.isOpen());
    EXPECT_EQ(port.lines.size(), 2);
    EXPECT_EQ(shown.first, shownFirst);
}

TEST_F(TrackerWithCountingPort, DeviceThatOpensButStillFailsReportsEverySecond) {
    tracker.choose(TrackMode::Park);
    port.writesFail = true;
    EXPECT_FALSE(tracker.SendTrackingOutput({}));
    EXPECT_FALSE(tracker.SendTrackingOutput({}));
    // The window shows one box at a time; the tracker reports every failed second.
    EXPECT_EQ(shown.writeErrors.size(), 2);
    EXPECT_EQ(port.openCalls, 2);
}

// The serial side on a pseudo-terminal: port 1 names the slave through the "Ports" group.
class TrackerOnPseudoTerminal : public ::testing::Test {
protected:
    TrackerOnPseudoTerminal() {
        store.write(kPortsGroup, QStringLiteral("1"), pty.devicePath());
        Record(tracker, shown);
    }

    PseudoTerminal pty;
    MemorySettingsStore store;
    TrackingState state;
    Settings settings = DefaultSettings();
    SerialRotatorPort port{store};
    Tracker tracker{state, settings, port};
    Shown shown;
};

// The serial port itself refuses port 0 (forced by TRACK_SER while the stored choice is the endpoint).
TEST_F(TrackerOnPseudoTerminal, PortZeroFailsToOpen) {
    settings.comPort = 0;
    tracker.choose(TrackMode::Park);
    EXPECT_EQ(shown.portOpenFailures, 1);
    EXPECT_FALSE(state.trackingActive);
}

TEST_F(TrackerOnPseudoTerminal, LinesOfEveryFormatAndTargetArriveWithCrLf) {
    ASSERT_TRUE(pty.isOpen());
    struct Case {
        const char* format;
        TrackMode target;
        double parkAz, parkEl;
        QByteArray line;
    };
    const std::vector<Case> cases = {
        {"EasyComm1", TrackMode::Sun, 0, 0, "AZ123.5 EL45.7 UP000000000 UUU DN000000000 DDD\r\n"},
        {"EasyComm1", TrackMode::Moon, 0, 0, "AZ5.0 EL7.3 UP000000000 UUU DN000000000 DDD\r\n"},
        {"EasyComm1", TrackMode::Park, 180, 0, "AZ180.0 EL0.0 UP000000000 UUU DN000000000 DDD\r\n"},
        {"Nova", TrackMode::Sun, 0, 0, "Sun AZ:123.5 EL:45.7\r\n"},
        {"Nova", TrackMode::Moon, 0, 0, "Moon AZ:5.0 EL:7.3\r\n"},
        {"Nova", TrackMode::Park, 180, 0, "Park AZ:180.0 EL:0.0\r\n"},
        {"EasyLHA", TrackMode::Sun, 0, 0, "AZ20.0 EL35.0 UP000000000 UUU DN000000000 DDD\r\n"},
        {"EasyLHA", TrackMode::Moon, 0, 0, "AZ270.0 EL65.0 UP000000000 UUU DN000000000 DDD\r\n"},
        {"EasyLHA", TrackMode::Park, 20, 105.37, "AZ20.0 EL105.0 UP000000000 UUU DN000000000 DDD\r\n"},
        {"NovaLHA", TrackMode::Sun, 0, 0, "Sun AZ:20.0 EL:35.0\r\n"},
        {"NovaLHA", TrackMode::Moon, 0, 0, "Moon AZ:270.0 EL:65.0\r\n"},
        {"NovaLHA", TrackMode::Park, 20, 105.37, "Park AZ:20.0 EL:105.0\r\n"},
    };
    // Both bodies up. The Moon's 7.26 rather than the tie 7.25: its elevation passes through asin and
    // may come back a hair below a half-way value (the tie itself is checked on the formatting step).
    nav::SkyState sky = SunUpMoonDown();
    sky.moon.elevation = 7.26;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.format) + " " + c.line.toStdString());
        settings.outputFormat = QLatin1String(c.format);
        settings.parkAz = c.parkAz;
        settings.parkEl = c.parkEl;
        tracker.choose(c.target);
        ASSERT_TRUE(port.isOpen());
        ASSERT_TRUE(tracker.SendTrackingOutput(sky));
        EXPECT_EQ(pty.readBytes(c.line.size()), c.line);
    }
    EXPECT_TRUE(pty.readAvailable().isEmpty());
}

TEST_F(TrackerOnPseudoTerminal, UnknownFormatWritesNothingToTheDevice) {
    settings.outputFormat = QStringLiteral("Nova ");
    settings.parkAz = 180;
    settings.parkEl = 45;
    tracker.choose(TrackMode::Park);
    ASSERT_TRUE(port.isOpen());
    EXPECT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_TRUE(pty.readAvailable(50).isEmpty());
    EXPECT_EQ(shown.first, QStringLiteral("Az: 180.0"));
    EXPECT_EQ(shown.second, QStringLiteral("El: 45.0"));
}

TEST_F(TrackerOnPseudoTerminal, StopClosesTheDevice) {
    tracker.choose(TrackMode::Sun);
    ASSERT_TRUE(port.isOpen());
    tracker.choose(TrackMode::Off);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(shown.portOpenFailures, 0);
}

TEST(TrackerFailureOnPseudoTerminal, UnpluggedAdapterGivesOneErrorAndTrackingResumesWhenItReturns) {
    // The settings name a link, as an operator's udev rule or socat would; the link is removed and made
    // again for a new device, the way an adapter disappears and comes back.
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("ttyRotator"));
    auto pty = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(pty->devicePath(), link));
    MemorySettingsStore store;
    store.write(kPortsGroup, QStringLiteral("1"), link);
    TrackingState state;
    Settings settings = DefaultSettings();
    settings.outputFormat = QStringLiteral("Nova");
    settings.parkAz = 180;
    SerialRotatorPort port(store);
    Tracker tracker(state, settings, port);
    Shown shown;
    Record(tracker, shown);

    tracker.choose(TrackMode::Park);
    ASSERT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_EQ(pty->readBytes(22), QByteArray("Park AZ:180.0 EL:0.0\r\n"));

    pty.reset();
    QFile::remove(link);
    EXPECT_FALSE(tracker.SendTrackingOutput({}));
    ASSERT_EQ(shown.writeErrors.size(), 1);
    EXPECT_FALSE(shown.writeErrors.front().isEmpty());
    for (int second = 0; second < 5; ++second) EXPECT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_EQ(shown.writeErrors.size(), 1);
    EXPECT_EQ(shown.portOpenFailures, 0);
    EXPECT_TRUE(state.trackingActive);

    auto back = std::make_unique<PseudoTerminal>();
    ASSERT_TRUE(QFile::link(back->devicePath(), link));
    settings.parkAz = 181;
    EXPECT_TRUE(tracker.SendTrackingOutput({}));
    EXPECT_EQ(back->readBytes(22), QByteArray("Park AZ:181.0 EL:0.0\r\n"));
    EXPECT_EQ(shown.first, QStringLiteral("Az: 181.0"));
}

// The pass a Hamlib rotator plans for a source. Vir A from Sydney (33.87 S, 151.21 E) searched from
// 2026-12-21 03:00 UTC, when it is down; astronomy-engine 2.1 (DefineStar, SearchRiseSet, refraction
// 0.568 deg at the horizon as the tracker's 0.569) has it rise at 14:57:14 UTC at azimuth 75.60 and set
// at 01:54:06 UTC the next day. The plan steps whole minutes and takes the first at or after each
// crossing: 2 minutes of tolerance, and 0.5 deg of azimuth, which moves under 0.2 deg a minute there.
TEST(PassPlan, ASourcePassRunsFromItsRiseToItsSet) {
    nav::ObserverSite site;
    site.latitude = -33.87;
    site.longitude = 151.21;
    site.height = 0;
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    const int day = nav::DayNumber(2026, 12, 21);
    sky.clock.utcDay = day;
    sky.clock.utcFraction = 3.0 / 24;
    const PassPlan plan = PlanPass(sky, site, TrackMode::Source, nav::RadioSource::VirA);
    constexpr double kMinute = 1.0 / 1440;
    ASSERT_TRUE(plan.riseAt);
    EXPECT_NEAR(*plan.riseAt, day + (14 + 57 / 60.0 + 14 / 3600.0) / 24, 2 * kMinute);
    EXPECT_NEAR(plan.riseAzimuth, 75.60, 0.5);
    EXPECT_NEAR(plan.endsAt, day + 1 + (1 + 54 / 60.0 + 6 / 3600.0) / 24, 2 * kMinute);
    EXPECT_EQ(plan.source, nav::RadioSource::VirA);
    // Rising in the east-north-east, it crosses north of the zenith and sets west-north-west; the path
    // comes out unwrapped, each minute within a few degrees of the one before.
    ASSERT_GT(plan.path.size(), 600u);
    for (std::size_t i = 1; i < plan.path.size(); ++i) EXPECT_LT(std::abs(plan.path[i] - plan.path[i - 1]), 5) << i;
}

}  // namespace
}  // namespace skyrel
