// The headless station as a real process, with no DISPLAY, no WAYLAND_DISPLAY and no QT_QPA_PLATFORM:
// its endpoint answers and its commands drive the serial output on a pseudo-terminal, --track starts
// tracking at once, SIGTERM ends it cleanly, a second copy leaves at once, and what cannot work ends it
// with one line on standard error.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>

#include <memory>
#include <vector>

#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <cmath>

#include "app/program/singleinstance.h"
#include "app/rotator/hamlibsettings.h"
#include "app/settings/settingsstore.h"
#include "app/web/websettings.h"
#include "app/station/systemclock.h"
#include "navlib/observer.h"
#include "navlib/timecal.h"
#include "tests/support/endpointclient.h"
#include "tests/support/pseudoterminal.h"
#include "tests/support/skyrelprocess.h"
#include "tests/support/testenv.h"

namespace skyrel {
namespace {

using test::kProcessWaitMs;

const QByteArray kParkLine = "Park AZ:0.0 EL:0.0\r\n";

// Serial port 1 at `device`, pointing lines in the Nova format, as stored before the station starts.
void StorePort(const QString& device) {
    NativeSettingsStore store;
    store.write(kPortsGroup, QStringLiteral("1"), device);
    store.write(kOptionsGroup, QStringLiteral("Com Port"), QStringLiteral("1"));
    store.write(kOptionsGroup, QStringLiteral("Output Format"), QStringLiteral("Nova"));
    ASSERT_TRUE(store.sync());
}

// Whether a program holds the device open: the master hangs up while nobody does.
bool DeviceHeldOpen(const test::PseudoTerminal& device) {
    pollfd master{device.masterDescriptor(), 0, 0};
    ::poll(&master, 1, 0);
    return !(master.revents & POLLHUP);
}

// Two park lines, one a second, arrive on the device once the station has opened it.
void ExpectParkLinesEachSecond(test::PseudoTerminal& device) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return DeviceHeldOpen(device); }, kProcessWaitMs));
    EXPECT_EQ(device.readBytes(kParkLine.size(), 3000), kParkLine);
    EXPECT_EQ(device.readBytes(kParkLine.size(), 3000), kParkLine);
}

QStringList ErrorLines(QProcess& station) {
    return QString::fromLocal8Bit(station.readAllStandardError()).split('\n', Qt::SkipEmptyParts);
}

QString EndpointPath() { return test::RuntimeDir() + QStringLiteral("/Skyrel"); }

// SIGTERM (or SIGHUP, the terminal closed) ends the program with status 0, its socket and its lock removed.
void ExpectSigtermEndsItCleanly(QProcess& program, int signalNumber = SIGTERM) {
    ::kill(static_cast<pid_t>(program.processId()), signalNumber);
    ASSERT_TRUE(program.waitForFinished(kProcessWaitMs));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(EndpointPath()));
    EXPECT_FALSE(QFile::exists(SingleInstance(test::RuntimeDir()).lockPath()));
}

TEST(HeadlessStation, EndpointCommandsDriveThePortAndSighupEndsItCleanly) {
    test::PseudoTerminal device;
    StorePort(device.devicePath());
    QProcess station;
    ASSERT_TRUE(test::StartHeadless(station));
    test::EndpointClient client;
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.open(EndpointPath()); }, kProcessWaitMs));
    // The same command again and again changes nothing after the first: one line tells the change.
    for (int poke = 0; poke < 50; ++poke)
        ASSERT_TRUE(test::IsOk(client.ask(PokeRequest(endpoint::kItemName, "TRACK_PARK\r\n"))));
    ExpectParkLinesEachSecond(device);
    EXPECT_EQ(ErrorLines(station), QStringList{"skyrel: info: parking"});

    ExpectSigtermEndsItCleanly(station, SIGHUP);
    EXPECT_FALSE(DeviceHeldOpen(device));
}

// Bad stored numbers before and after the format, and in the rotator's and the page's groups: the lines
// still flow, one line names the station's bad values and one warning the page's.
TEST(HeadlessStation, TrackParkFromTheStartAndASecondCopyOfEitherKindLeaves) {
    test::PseudoTerminal device;
    StorePort(device.devicePath());
    {
        NativeSettingsStore store;
        store.write(kOptionsGroup, QStringLiteral("Baud Rate"), QStringLiteral("abc"));
        store.write(kOptionsGroup, QStringLiteral("Park Azm"), QStringLiteral("abc"));
        store.write(kHamlibGroup, QStringLiteral("Move Seconds"), QStringLiteral("later"));
        store.write(kWebGroup, QStringLiteral("Port"), QStringLiteral("http"));
        ASSERT_TRUE(store.sync());
    }
    QProcess station;
    ASSERT_TRUE(test::StartHeadless(station, {QStringLiteral("--track"), QStringLiteral("park")}));
    ExpectParkLinesEachSecond(device);

    for (const QStringList& arguments : {QStringList{QStringLiteral("--headless")}, QStringList{}}) {
        QProcess second;
        ASSERT_TRUE(test::StartSkyrel(second, test::HeadlessEnvironment(), arguments));
        ASSERT_TRUE(second.waitForFinished(kProcessWaitMs)) << arguments.join(' ').toStdString();
        EXPECT_EQ(second.exitCode(), 0) << arguments.join(' ').toStdString();
    }
    EXPECT_EQ(station.state(), QProcess::Running);
    EXPECT_EQ(device.readBytes(kParkLine.size(), 3000), kParkLine);
    test::StopSkyrel(station);
    const QStringList lines = ErrorLines(station);
    const QStringList errors = lines.filter(": error: ");
    ASSERT_EQ(errors.size(), 1) << errors.join('|').toStdString();
    EXPECT_TRUE(errors[0].contains("Baud Rate in " + NativeSettingsStore().fileName() +
                                   ": 'abc' is not a valid integer value; using 0"))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("Park Azm in " + NativeSettingsStore().fileName() +
                                   ": 'abc' is not a valid floating point value; using 0"))
        << errors[0].toStdString();
    EXPECT_TRUE(errors[0].endsWith("Hamlib/Move Seconds in " + NativeSettingsStore().fileName() +
                                   ": 'later' is no second of the minute (0 to 59) nor a range of them like 50-59;"
                                   " using any second"))
        << errors[0].toStdString();
    EXPECT_EQ(lines.filter(": warning: Web/Port in ").size(), 1) << lines.join('|').toStdString();
}

// Connections held open by a local client, with the station's file descriptors few: the restore socket
// keeps at most 64, and a server Qt closed after a failed accept is told once and listens again, so both
// sockets are there afterwards and the endpoint answers.
TEST(HeadlessStation, HeldHandOverConnectionsNeverTakeTheSocketsAway) {
    QProcess station;
    station.setProcessEnvironment(test::HeadlessEnvironment());
    station.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("ulimit -n 48 && exec \"$0\" --headless"),
                                              QStringLiteral(SKYREL_BINARY)});
    ASSERT_TRUE(station.waitForStarted(kProcessWaitMs));
    const QString restorePath = SingleInstance(test::RuntimeDir()).socketPath();
    const auto bothThere = [&] { return QFile::exists(restorePath) && QFile::exists(EndpointPath()); };
    ASSERT_TRUE(QTest::qWaitFor(bothThere, kProcessWaitMs));

    std::vector<std::unique_ptr<QLocalSocket>> held;
    for (int i = 0; i < 100; ++i) {
        held.push_back(std::make_unique<QLocalSocket>());
        held.back()->connectToServer(restorePath);
        QTest::qWait(5);
    }
    QTest::qWait(1500);
    held.clear();

    test::EndpointClient client;
    EXPECT_TRUE(QTest::qWaitFor([&] { return bothThere() && client.open(EndpointPath()); }, 5000));
    EXPECT_EQ(station.state(), QProcess::Running);
    const QStringList stops = ErrorLines(station).filter(QStringLiteral("stopped listening"));
    EXPECT_LE(stops.size(), 2) << stops.join('|').toStdString();  // at most once for each server
    test::StopSkyrel(station);
}

// The Moon's position this second from `site`.
nav::BodyState MoonNow(const nav::ObserverSite& site) {
    nav::SkyState sky;
    nav::SetObserver(sky.observerFrame, site.latitude, site.longitude, site.height);
    nav::ReadClock(sky.clock, SystemClock(), true, 0);
    nav::ComputePositions(sky, site);
    return sky.moon;
}

// --track moon points at the Moon: the Nova line names it, and its azimuth is the Moon's of this second at
// the stored site, within 0.3 deg (the line's 0.1 deg and the Moon's motion while the line is read; the
// Sun is that close to the Moon only in a solar eclipse). The site is on the equator, at the longitude
// (every 30 deg tried) where the Moon stands nearest 50 deg up now: nothing is sent for a body below the
// horizon, and near the zenith its azimuth would turn too fast to compare.
TEST(HeadlessStation, TrackMoonFromTheStartPointsAtTheMoon) {
    test::PseudoTerminal device;
    StorePort(device.devicePath());
    constexpr double kWantedElevation = 50;
    nav::ObserverSite site{0, 0, 0, ""};
    for (double longitude = -150; longitude <= 180; longitude += 30)
        if (std::abs(MoonNow({0, longitude, 0, ""}).elevation - kWantedElevation) <
            std::abs(MoonNow(site).elevation - kWantedElevation))
            site.longitude = longitude;
    ASSERT_GT(MoonNow(site).elevation, 20);
    ASSERT_LT(MoonNow(site).elevation, 80);
    {
        NativeSettingsStore store;
        store.write(kOptionsGroup, QStringLiteral("Observer Latitude"), QStringLiteral("0"));
        store.write(kOptionsGroup, QStringLiteral("Observer Longitude"), QString::number(site.longitude));
        ASSERT_TRUE(store.sync());
    }
    QProcess station;
    ASSERT_TRUE(test::StartSkyrel(station, test::HeadlessEnvironment(),
                                  {QStringLiteral("--headless"), QStringLiteral("--track"), QStringLiteral("moon")}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return DeviceHeldOpen(device); }, kProcessWaitMs));
    const QString line = QString::fromLatin1(device.readBytes(kParkLine.size() + 8, 3000));
    const QRegularExpressionMatch pointing =
        QRegularExpression(QStringLiteral("^Moon AZ:([0-9.]+) EL:[0-9.]+\\r\\n")).match(line);
    ASSERT_TRUE(pointing.hasMatch()) << line.toStdString();
    EXPECT_NEAR(std::remainder(pointing.captured(1).toDouble() - MoonNow(site).azimuth, 360), 0, 0.3)
        << line.toStdString();
    test::StopSkyrel(station);
}

// The desktop program ends the same way on SIGTERM, and no window stores its position.
TEST(HeadlessStation, TheDesktopProgramAlsoEndsCleanlyOnSigterm) {
    QProcess desktop;
    ASSERT_TRUE(test::StartSkyrel(desktop));
    ASSERT_TRUE(QTest::qWaitFor(test::SkyrelAnswers, kProcessWaitMs));
    ASSERT_TRUE(QTest::qWaitFor([] { return QFile::exists(EndpointPath()); }, kProcessWaitMs));
    ExpectSigtermEndsItCleanly(desktop);
    EXPECT_EQ(NativeSettingsStore().read(kPositionsGroup, QStringLiteral("Form1.Top")), "");
}

// The lines a refused start writes on standard error, and its exit status.
struct Refusal {
    QStringList errorLines;
    int exitCode = -1;
};

Refusal RunToTheEnd(const QStringList& arguments) {
    QProcess program;
    program.setProcessEnvironment(test::HeadlessEnvironment());
    program.start(QStringLiteral(SKYREL_BINARY), arguments);
    if (!program.waitForFinished(kProcessWaitMs)) {
        program.kill();
        program.waitForFinished();
        return {};
    }
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    return {errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts), program.exitCode()};
}

TEST(HeadlessStation, WhatCannotWorkEndsItWithOneLineOnStandardError) {
    StorePort(test::RuntimeDir() + QStringLiteral("/ttyMissing"));
    const Refusal port = RunToTheEnd({QStringLiteral("--headless"), QStringLiteral("--track"), QStringLiteral("moon")});
    EXPECT_NE(port.exitCode, 0);
    ASSERT_EQ(port.errorLines.size(), 1) << port.errorLines.join('|').toStdString();
    EXPECT_TRUE(port.errorLines[0].contains(QStringLiteral("error: Problem opening port!")))
        << port.errorLines[0].toStdString();
    EXPECT_TRUE(port.errorLines[0].contains(test::RuntimeDir() + QStringLiteral("/ttyMissing: No such file")))
        << port.errorLines[0].toStdString();
    EXPECT_FALSE(QFile::exists(EndpointPath()));

    // Toolkit options and anything else the program does not know are refused, not acted on.
    for (const QStringList& arguments : {QStringList{QStringLiteral("-reverse")},
                                         QStringList{QStringLiteral("--track"), QStringLiteral("mars")},
                                         QStringList{QStringLiteral("--radio"), QStringLiteral("Own Echo")},
                                         QStringList{QStringLiteral("--headless"), QStringLiteral("--radio")},
                                         QStringList{QStringLiteral("--headless"), QStringLiteral("--track")}}) {
        const Refusal refused = RunToTheEnd(arguments);
        EXPECT_EQ(refused.exitCode, 2) << arguments.join(' ').toStdString();
        ASSERT_EQ(refused.errorLines.size(), 1) << arguments.join(' ').toStdString();
        EXPECT_TRUE(refused.errorLines[0].contains(arguments.last())) << refused.errorLines[0].toStdString();
    }
}

TEST(HeadlessStation, HelpNamesTheSettingsFileThisUserHas) {
    QProcess program;
    program.setProcessEnvironment(test::HeadlessEnvironment());
    program.start(QStringLiteral(SKYREL_BINARY), {QStringLiteral("--help")});
    ASSERT_TRUE(program.waitForFinished(kProcessWaitMs));
    EXPECT_EQ(program.exitCode(), 0);
    const QString help = QString::fromLocal8Bit(program.readAllStandardOutput());
    EXPECT_TRUE(help.contains(QStringLiteral("Settings file: ") + test::ConfigHome() +
                              QStringLiteral("/Brenlo Programs/Skyrel.conf\n")))
        << help.toStdString();
}

}  // namespace
}  // namespace skyrel
